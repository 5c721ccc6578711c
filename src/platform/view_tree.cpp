#include "platform/view_tree.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace marlowick::platform {

namespace {

constexpr double kButtonPadding = 14;
constexpr double kButtonHeight = 22;
constexpr double kUnbounded = std::numeric_limits<double>::infinity();

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

class Layouter {
public:
    explicit Layouter(Fonts& fonts) : fonts_(fonts) {}

    Size measure(const ViewNode& node, double maxWidth) {
        switch (node.kind) {
        case ViewNode::Kind::Text:
            return measureText(node.text, maxWidth);
        case ViewNode::Kind::Button: {
            Font font = fontFor(FontRole::Body);
            double width = std::ceil(fonts_.measureText(node.button.title, font).width);
            return {width + 2 * kButtonPadding, kButtonHeight};
        }
        case ViewNode::Kind::Stack:
            return measureStack(node.stack, maxWidth);
        }
        return {};
    }

    void place(const ViewNode& node, Rect frame, std::vector<PlacedView>& out) {
        out.push_back({&node, frame});
        if (node.kind != ViewNode::Kind::Stack) return;
        const StackView& stack = node.stack;
        Rect inner(frame.minX() + stack.padding, frame.minY() + stack.padding,
                   std::max(0.0, frame.width() - 2 * stack.padding),
                   std::max(0.0, frame.height() - 2 * stack.padding));
        double along = 0;
        for (const auto& child : stack.children) {
            double limit = stack.axis == Axis::Vertical ? inner.width() : kUnbounded;
            Size size = measure(child, limit);
            double cross =
                stack.axis == Axis::Vertical ? inner.width() - size.width : inner.height() - size.height;
            double offset = stack.alignment == StackAlignment::Leading  ? 0
                            : stack.alignment == StackAlignment::Center ? cross / 2
                                                                        : cross;
            Rect childFrame =
                stack.axis == Axis::Vertical
                    ? Rect(inner.minX() + offset, inner.minY() + along, size.width, size.height)
                    : Rect(inner.minX() + along, inner.minY() + offset, size.width, size.height);
            place(child, childFrame, out);
            along += (stack.axis == Axis::Vertical ? size.height : size.width) + stack.spacing;
        }
    }

private:
    Size measureText(const TextView& text, double maxWidth) {
        Font font = fontFor(text.role, text.weight);
        double lineHeight = fonts_.measureText("Ag", font).height;
        double widest = 0;
        int lines = 0;
        for (const auto& paragraph : splitLines(text.text))
            lines += wrappedLineCount(paragraph, font, maxWidth, fonts_, widest);
        return {std::ceil(std::min(widest, maxWidth)), std::ceil(lines * lineHeight)};
    }

    Size measureStack(const StackView& stack, double maxWidth) {
        double outer = stack.width ? *stack.width : maxWidth;
        double limit = std::max(0.0, outer - 2 * stack.padding);
        double along = 0;
        double across = 0;
        for (std::size_t i = 0; i < stack.children.size(); ++i) {
            Size size = measure(stack.children[i], stack.axis == Axis::Vertical ? limit : kUnbounded);
            if (i > 0) along += stack.spacing;
            if (stack.axis == Axis::Vertical) {
                along += size.height;
                across = std::max(across, size.width);
            } else {
                along += size.width;
                across = std::max(across, size.height);
            }
        }
        Size content = stack.axis == Axis::Vertical ? Size{across, along} : Size{along, across};
        double width = stack.width ? *stack.width : content.width + 2 * stack.padding;
        return {width, content.height + 2 * stack.padding};
    }

    Fonts& fonts_;
};

void collectTexts(const ViewNode& node, std::vector<std::string>& out) {
    switch (node.kind) {
    case ViewNode::Kind::Text:
        out.push_back(node.text.text);
        break;
    case ViewNode::Kind::Button:
        out.push_back(node.button.title);
        break;
    case ViewNode::Kind::Stack:
        for (const auto& child : node.stack.children)
            collectTexts(child, out);
        break;
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
    case FontRole::Caption:
        return Font::system(10, weight.value_or(FontWeight::Regular));
    }
    return Font::system(13);
}

ViewLayout layoutViews(const ViewNode& root, Fonts& fonts) {
    Layouter layouter(fonts);
    ViewLayout layout;
    layout.size = layouter.measure(root, kUnbounded);
    layouter.place(root, Rect({0, 0}, layout.size), layout.views);
    return layout;
}

const ButtonView* defaultButton(const ViewNode& root) {
    if (root.kind == ViewNode::Kind::Button) return root.button.isDefault ? &root.button : nullptr;
    if (root.kind != ViewNode::Kind::Stack) return nullptr;
    for (const auto& child : root.stack.children) {
        if (const auto* found = defaultButton(child)) return found;
    }
    return nullptr;
}

std::vector<std::string> texts(const ViewNode& root) {
    std::vector<std::string> out;
    collectTexts(root, out);
    return out;
}

} // namespace marlowick::platform
