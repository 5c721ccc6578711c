#include "platform/view_tree.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

#include "platform/view_metrics.h"

namespace marlowick::platform {

namespace {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
// Clang before 17 does not deduce an aggregate's template arguments by itself.
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream stream(text);
    while (std::getline(stream, line))
        lines.push_back(line);
    if (!text.empty() && text.back() == '\n') lines.emplace_back();
    if (lines.empty()) lines.emplace_back();
    return lines;
}

// Greedy word wrap of one paragraph: words go on a line while it fits; a word wider than the line
// stands on a line of its own.
int wrappedLineCount(const std::string& paragraph, const Font& font, double maxWidth, Fonts& fonts,
                     double& widest) {
    std::istringstream words(paragraph);
    std::string word;
    std::string line;
    int count = 0;
    while (words >> word) {
        std::string candidate = line.empty() ? word : line + " " + word;
        double width = fonts.measureText(candidate, font).width;
        if (line.empty() || width <= maxWidth) {
            line = candidate;
            continue;
        }
        widest = std::max(widest, fonts.measureText(line, font).width);
        ++count;
        line = word;
    }
    widest = std::max(widest, fonts.measureText(line, font).width);
    return count + 1;
}

double along(const Size& size, Axis axis) {
    return axis == Axis::Vertical ? size.height : size.width;
}
double across(const Size& size, Axis axis) {
    return axis == Axis::Vertical ? size.width : size.height;
}
Size sizeOn(Axis axis, double alongLength, double acrossLength) {
    return axis == Axis::Vertical ? Size{acrossLength, alongLength} : Size{alongLength, acrossLength};
}

// Whether a node takes all the room its parent gives it along an axis, rather than its own size.
bool fills(const ViewNode& node, Axis axis);

bool stackFills(const StackView& stack, Axis axis) {
    if (axis == Axis::Horizontal ? stack.width.has_value() : stack.height.has_value()) return false;
    return std::any_of(stack.children.begin(), stack.children.end(), [&](const ViewNode& child) {
        return (stack.axis == axis && child.as<SpacerView>()) || fills(child, axis);
    });
}

bool fills(const ViewNode& node, Axis axis) {
    return std::visit(
        Overloaded{
            [&](const StackView& stack) { return stackFills(stack, axis); },
            [&](const ButtonView& button) { return axis == Axis::Horizontal && button.fillsWidth; },
            [&](const HostedView& hosted) {
                return axis == Axis::Horizontal && hosted.fillsWidth && !hosted.size;
            },
            [](const auto&) { return false; },
        },
        node.content);
}

// Whether the node holds text that wraps when it gets less width.
bool wraps(const ViewNode& node) {
    if (node.as<TextView>()) return true;
    const auto* stack = node.as<StackView>();
    if (!stack || stack->width) return false;
    return std::any_of(stack->children.begin(), stack->children.end(), wraps);
}

class Layouter {
public:
    explicit Layouter(Fonts& fonts) : fonts_(fonts) {}

    Size measure(const ViewNode& node, double maxWidth) {
        return std::visit(Overloaded{
                              [&](const StackView& stack) { return measureStack(stack, maxWidth); },
                              [&](const TextView& text) { return measureText(text, maxWidth); },
                              [&](const ButtonView& button) { return measureButton(button); },
                              [&](const SymbolView& symbol) {
                                  return Size{symbol.width, symbol.width};
                              },
                              [&](const SwitchView&) { return metrics::kMiniSwitch; },
                              [&](const PickerView& picker) { return measurePicker(picker); },
                              [&](const SwatchView&) {
                                  return Size{metrics::kSwatchDiameter, metrics::kSwatchDiameter};
                              },
                              [&](const StatusCircleView&) {
                                  return Size{metrics::kStatusCircleDiameter, metrics::kStatusCircleDiameter};
                              },
                              [&](const ShortcutFieldView& field) { return measureField(field); },
                              [&](const HostedView& hosted) {
                                  return hosted.size      ? *hosted.size
                                         : hosted.content ? hosted.content->naturalSize()
                                                          : Size{};
                              },
                              [&](const DividerView&) {
                                  return Size{0, 0};
                              },
                              [&](const SpacerView&) {
                                  return Size{0, 0};
                              },
                          },
                          node.content);
    }

    void place(const ViewNode& node, Rect frame, bool disabled, double opacity,
               std::vector<PlacedView>& out) {
        disabled = disabled || node.disabled;
        opacity *= std::clamp(node.opacity, 0.0, 1.0);
        out.push_back({&node, frame, disabled, opacity});
        if (const auto* stack = node.as<StackView>()) placeStack(*stack, frame, disabled, opacity, out);
    }

private:
    // A divider is a line across its stack; a spacer its minimum length along it.
    Size measureChild(const ViewNode& child, const StackView& stack, double limit) {
        if (child.as<DividerView>()) return sizeOn(stack.axis, metrics::kDividerThickness, 0);
        if (const auto* spacer = child.as<SpacerView>()) return sizeOn(stack.axis, spacer->minLength, 0);
        return measure(child, limit);
    }

    // The sizes of a stack's children within the stack's inner width: a horizontal stack that would
    // run past it narrows the children whose text can wrap.
    std::vector<Size> measureChildren(const StackView& stack, double limit) {
        std::vector<Size> sizes;
        if (stack.axis == Axis::Vertical) {
            for (const auto& child : stack.children)
                sizes.push_back(measureChild(child, stack, limit));
            return sizes;
        }
        double total = 0, flexible = 0;
        for (std::size_t i = 0; i < stack.children.size(); ++i) {
            sizes.push_back(measureChild(stack.children[i], stack, kUnbounded));
            total += sizes.back().width + (i > 0 ? stack.spacing : 0);
            if (wraps(stack.children[i])) flexible += sizes.back().width;
        }
        if (total <= limit || flexible <= 0) return sizes;
        // The spacing and the children that cannot wrap keep their width; the rest share the room.
        double room = std::max(0.0, limit - (total - flexible));
        for (std::size_t i = 0; i < stack.children.size(); ++i) {
            if (wraps(stack.children[i]))
                sizes[i] = measure(stack.children[i], std::floor(room * sizes[i].width / flexible));
        }
        return sizes;
    }

    Size measureStack(const StackView& stack, double maxWidth) {
        double outer = stack.width ? *stack.width : maxWidth;
        double limit = std::max(0.0, outer - 2 * stack.padding);
        auto sizes = measureChildren(stack, limit);
        double length = 0, breadth = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            length += along(sizes[i], stack.axis) + (i > 0 ? stack.spacing : 0);
            breadth = std::max(breadth, across(sizes[i], stack.axis));
        }
        Size content = sizeOn(stack.axis, length, breadth);
        double width = stack.width ? *stack.width : content.width + 2 * stack.padding;
        double height = stack.height ? *stack.height : content.height + 2 * stack.padding;
        return {width, height};
    }

    void placeStack(const StackView& stack, const Rect& frame, bool disabled, double opacity,
                    std::vector<PlacedView>& out) {
        Rect inner(frame.minX() + stack.padding, frame.minY() + stack.padding,
                   std::max(0.0, frame.width() - 2 * stack.padding),
                   std::max(0.0, frame.height() - 2 * stack.padding));
        const Axis axis = stack.axis;
        const Axis cross = axis == Axis::Vertical ? Axis::Horizontal : Axis::Vertical;
        auto sizes = measureChildren(stack, inner.width());
        const double room = along(inner.size, axis);
        const double breadth = across(inner.size, axis);

        // What is left along the axis goes to the spacers, or else to the children that fill.
        double used = 0;
        int spacers = 0, fillers = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            used += along(sizes[i], axis) + (i > 0 ? stack.spacing : 0);
            spacers += stack.children[i].as<SpacerView>() != nullptr;
            fillers += fills(stack.children[i], axis);
        }
        double leftover = std::max(0.0, room - used);
        int sharers = spacers > 0 ? spacers : fillers;

        double position = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const ViewNode& child = stack.children[i];
            double length = along(sizes[i], axis);
            bool shares = spacers > 0 ? child.as<SpacerView>() != nullptr : fills(child, axis);
            if (sharers > 0 && shares) length += leftover / sharers;
            double thickness = across(sizes[i], axis);
            if (fills(child, cross) || child.as<DividerView>()) thickness = breadth;
            double slack = breadth - thickness;
            double offset = stack.alignment == StackAlignment::Leading  ? 0
                            : stack.alignment == StackAlignment::Center ? slack / 2
                                                                        : slack;
            Size size = sizeOn(axis, length, thickness);
            Rect childFrame =
                axis == Axis::Vertical
                    ? Rect(inner.minX() + offset, inner.minY() + position, size.width, size.height)
                    : Rect(inner.minX() + position, inner.minY() + offset, size.width, size.height);
            place(child, childFrame, disabled, opacity, out);
            position += length + stack.spacing;
        }
    }

    Size measureText(const TextView& text, double maxWidth) {
        Font font = fontFor(text.role, text.weight);
        font.monospacedDigits = text.monospacedDigits;
        double lineHeight = fonts_.measureText("Ag", font).height;
        double widest = 0;
        int lines = 0;
        for (const auto& paragraph : splitLines(text.text))
            lines += wrappedLineCount(paragraph, font, maxWidth, fonts_, widest);
        return {std::ceil(std::min(widest, maxWidth)), std::ceil(lines * lineHeight)};
    }

    double textWidth(const std::string& text, const Font& font) {
        return text.empty() ? 0 : std::ceil(fonts_.measureText(text, font).width);
    }

    Size measureButton(const ButtonView& button) {
        double title = textWidth(button.title, fontFor(FontRole::Body));
        double symbol =
            button.symbol ? button.symbol->width + (button.title.empty() ? 0 : metrics::kSymbolGap) : 0;
        if (button.style == ButtonStyle::Plain)
            return {symbol + title + 2 * metrics::kPlainButtonPadding, metrics::kPlainButtonHeight};
        return {symbol + title + 2 * metrics::kButtonPadding, metrics::kButtonHeight};
    }

    Size measurePicker(const PickerView& picker) {
        auto optionWidth = [&](const PickerOption& option) {
            return option.image ? option.image->size.width : textWidth(option.title, fontFor(FontRole::Body));
        };
        double shown = 0;
        const auto index = static_cast<std::size_t>(picker.selectedIndex);
        if (picker.selectedIndex >= 0 && index < picker.options.size()) shown = optionWidth(picker.options[index]);
        double width = shown + metrics::kPopUpLeading + metrics::kPopUpChevronArea;
        if (picker.maximumWidth > 0) width = std::min(width, picker.maximumWidth);
        return {width, metrics::kPopUpHeight};
    }

    Size measureField(const ShortcutFieldView& field) {
        const Font font = fontFor(FontRole::Body);
        double text = std::max(textWidth(field.text, font), textWidth(field.placeholder, font));
        double width = metrics::kFieldIconArea + text + metrics::kFieldClearArea + metrics::kFieldPadding;
        return {std::max(field.minimumWidth, width), metrics::kFieldHeight};
    }

    Fonts& fonts_;
};

void collectTexts(const ViewNode& node, std::vector<std::string>& out) {
    if (const auto* text = node.as<TextView>()) out.push_back(text->text);
    if (const auto* button = node.as<ButtonView>()) out.push_back(button->title);
    if (const auto* stack = node.as<StackView>()) {
        for (const auto& child : stack->children)
            collectTexts(child, out);
    }
}

} // namespace

Font fontFor(FontRole role, std::optional<FontWeight> weight) {
    switch (role) {
    case FontRole::Title2:
        return Font::system(17, weight.value_or(FontWeight::Regular));
    case FontRole::Headline:
        return Font::system(13, weight.value_or(FontWeight::Semibold));
    case FontRole::Body:
        return Font::system(13, weight.value_or(FontWeight::Regular));
    case FontRole::Callout:
        return Font::system(12, weight.value_or(FontWeight::Regular));
    case FontRole::Subheadline:
        return Font::system(11, weight.value_or(FontWeight::Regular));
    case FontRole::Footnote:
        return Font::system(10, weight.value_or(FontWeight::Regular));
    case FontRole::Caption:
        return Font::system(10, weight.value_or(FontWeight::Regular));
    }
    return Font::system(13);
}

ViewLayout layoutViews(const ViewNode& root, Fonts& fonts) {
    Layouter layouter(fonts);
    ViewLayout layout;
    layout.size = layouter.measure(root, kUnbounded);
    layouter.place(root, Rect({0, 0}, layout.size), false, 1, layout.views);
    return layout;
}

const ButtonView* defaultButton(const ViewNode& root) {
    if (const auto* button = root.as<ButtonView>()) return button->isDefault ? button : nullptr;
    if (const auto* stack = root.as<StackView>()) {
        for (const auto& child : stack->children) {
            if (const auto* found = defaultButton(child)) return found;
        }
    }
    return nullptr;
}

std::vector<std::string> texts(const ViewNode& root) {
    std::vector<std::string> out;
    collectTexts(root, out);
    return out;
}

} // namespace marlowick::platform
