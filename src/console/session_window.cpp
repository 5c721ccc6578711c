// The console's window commands: they find rows, controls and buttons in the front titled window's
// view tree the way a person finds them on screen, and click them through the simulated window.
#include <cmath>
#include <functional>

#include "console/session.h"

namespace marlowick::console {

namespace {

using Result = Session::Result;
using platform::PlacedView;
using platform::ViewNode;

Result failed(std::string message) {
    return {false, false, std::move(message)};
}
Result printed(std::string message) {
    return {true, false, std::move(message)};
}
std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

constexpr double kDimmedOpacity = 0.42;

// The first node of the subtree, depth first, that matches.
const ViewNode* findFirst(const ViewNode& node, const std::function<bool(const ViewNode&)>& match) {
    if (match(node)) return &node;
    if (const auto* stack = node.as<platform::StackView>()) {
        for (const auto& child : stack->children) {
            if (const auto* found = findFirst(child, match)) return found;
        }
    }
    return nullptr;
}

void collect(const ViewNode& node, const std::function<bool(const ViewNode&)>& match,
             std::vector<const ViewNode*>& out) {
    if (match(node)) out.push_back(&node);
    if (const auto* stack = node.as<platform::StackView>()) {
        for (const auto& child : stack->children)
            collect(child, match, out);
    }
}

bool isRowControl(const ViewNode& node) {
    return node.as<platform::SwitchView>() || node.as<platform::PickerView>() ||
           node.as<platform::ShortcutFieldView>() || node.as<platform::ButtonView>() ||
           node.as<platform::SwatchView>();
}

// The front window laid out, with its rows found by title.
struct Front {
    std::shared_ptr<platform::Window> window;
    platform::ViewLayout layout;

    const PlacedView* placed(const ViewNode* node) const {
        for (const auto& view : layout.views) {
            if (view.node == node) return &view;
        }
        return nullptr;
    }
    const ViewNode* row(const std::string& title) const {
        return findFirst(window->content(), [&](const ViewNode& node) {
            return node.as<platform::StackView>() && node.accessibilityLabel == title;
        });
    }
    const ViewNode* control(const std::string& rowTitle) const {
        const auto* found = row(rowTitle);
        return found ? findFirst(*found, isRowControl) : nullptr;
    }
    const ViewNode* button(const std::string& title) const {
        return findFirst(window->content(), [&](const ViewNode& node) {
            const auto* button = node.as<platform::ButtonView>();
            return button && button->title == title;
        });
    }
};

std::optional<Front> front(sim::SimMac& mac) {
    auto windows = mac.titledWindows().visibleWindows();
    if (windows.empty()) return std::nullopt;
    return Front{windows.front(), platform::layoutViews(windows.front()->content(), mac.fonts())};
}

platform::Point centre(const PlacedView& view) {
    return {view.frame.midX(), view.frame.midY()};
}

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// What the control shows, as `expect window-value` reads it.
std::string valueOf(const ViewNode& row, const ViewNode& control) {
    if (const auto* picker = control.as<platform::PickerView>()) {
        int index = picker->selectedIndex;
        if (index < 0 || index >= static_cast<int>(picker->options.size())) return "";
        return picker->options[static_cast<std::size_t>(index)].title;
    }
    if (const auto* toggle = control.as<platform::SwitchView>()) return toggle->isOn ? "On" : "Off";
    if (const auto* field = control.as<platform::ShortcutFieldView>()) return field->text;
    if (control.as<platform::SwatchView>()) {
        std::vector<const ViewNode*> swatches;
        collect(
            row, [](const ViewNode& node) { return node.as<platform::SwatchView>() != nullptr; }, swatches);
        for (const auto* swatch : swatches) {
            if (swatch->as<platform::SwatchView>()->isSelected)
                return swatch->as<platform::SwatchView>()->name;
        }
        return "";
    }
    if (const auto* button = control.as<platform::ButtonView>()) return button->title;
    return "";
}

double topOf(const platform::Window& window) {
    return sim::SimTitledWindows::targetFrame(window).maxY();
}

} // namespace

Result Session::window(const command::Window& command) {
    using Action = command::Window::Action;
    auto shown = front(mac_);
    if (!shown) return failed("no window is on screen");
    topBeforeWindowCommand_ = topOf(*shown->window);
    platform::Window& window = *shown->window;
    // A click in a window brings its application forward and makes the window key.
    if (!mac_.application().isActive()) mac_.application().activateIgnoringOtherApps();
    if (!window.isKeyWindow()) window.makeKeyAndOrderFront();
    auto clickNode = [&](const ViewNode* node, const std::string& what) -> Result {
        const auto* placed = node ? shown->placed(node) : nullptr;
        if (!placed) return failed("the front window has no " + what);
        if (window.hasAlert()) return failed("an alert is in the way of " + what);
        if (placed->disabled) return printed("(" + what + " is disabled)");
        sim::SimTitledWindows::click(window, centre(*placed));
        return {};
    };
    switch (command.action) {
    case Action::Close:
        if (window.hasAlert()) return failed("the window's alert waits for an answer: it stays open");
        window.performClose();
        return {};
    case Action::Tab:
        return clickNode(shown->button(capitalised(command.target)),
                         "tab " + inQuotes(capitalised(command.target)));
    case Action::Click:
        if (window.hasAlert()) {
            if (sim::SimTitledWindows::pressAlertButton(window, command.target)) return {};
            return failed("the alert has no button " + inQuotes(command.target));
        }
        return clickNode(shown->button(command.target), "button " + inQuotes(command.target));
    case Action::Swatch:
        return clickNode(findFirst(window.content(),
                                   [&](const ViewNode& node) {
                                       const auto* swatch = node.as<platform::SwatchView>();
                                       return swatch && swatch->name == command.target;
                                   }),
                         "swatch " + inQuotes(command.target));
    case Action::Switch: {
        const auto* control = shown->control(command.target);
        if (!control || !control->as<platform::SwitchView>())
            return failed("the front window has no switch in a row " + inQuotes(command.target));
        if (control->as<platform::SwitchView>()->isOn == command.on) return {};
        return clickNode(control, "the switch of " + inQuotes(command.target));
    }
    case Action::Choose: {
        const auto* control = shown->control(command.target);
        const auto* picker = control ? control->as<platform::PickerView>() : nullptr;
        if (!picker) return failed("the front window has no picker in a row " + inQuotes(command.target));
        const auto* placed = shown->placed(control);
        for (std::size_t i = 0; i < picker->options.size(); ++i) {
            if (picker->options[i].title != command.option) continue;
            if (window.hasAlert()) return failed("an alert is in the way");
            if (placed->disabled)
                return printed("(the picker of " + inQuotes(command.target) + " is disabled)");
            sim::SimTitledWindows::choose(window, centre(*placed), static_cast<int>(i));
            return {};
        }
        return failed("the picker of " + inQuotes(command.target) + " has no option " +
                      inQuotes(command.option));
    }
    case Action::Record: {
        const auto* control = shown->control(command.target);
        if (!control || !control->as<platform::ShortcutFieldView>())
            return failed("the front window has no shortcut field in a row " + inQuotes(command.target));
        const auto* placed = shown->placed(control);
        if (window.hasAlert()) return failed("an alert is in the way");
        if (placed->disabled) return printed("(the field of " + inQuotes(command.target) + " is disabled)");
        // Click its leading part, away from the clear button.
        sim::SimTitledWindows::click(window, {placed->frame.minX() + 8, placed->frame.midY()});
        return {};
    }
    }
    return {};
}

std::optional<Result> Session::expectWindow(const CommandBody& body) {
    using namespace command;
    if (const auto* expectation = std::get_if<ExpectWindow>(&body)) {
        bool shown = false;
        for (const auto& window : mac_.titledWindows().visibleWindows())
            shown = shown || window->title() == expectation->title;
        if (shown == expectation->shown) return Result{};
        return failed("a window " + inQuotes(expectation->title) + " is " + (shown ? "shown" : "not shown"));
    }
    if (const auto* alert = std::get_if<ExpectAlert>(&body)) {
        std::optional<platform::Alert> found;
        for (const auto& window : mac_.titledWindows().visibleWindows()) {
            if (!found) found = sim::SimTitledWindows::alert(*window);
        }
        if (!alert->text) return found ? failed("an alert shows: " + inQuotes(found->title)) : Result{};
        if (!found) return failed("no alert is shown");
        if (found->title.find(*alert->text) != std::string::npos ||
            found->message.find(*alert->text) != std::string::npos)
            return Result{};
        return failed("the alert reads " + inQuotes(found->title) + " " + inQuotes(found->message));
    }
    bool windowExpectation =
        std::holds_alternative<ExpectWindowText>(body) || std::holds_alternative<ExpectWindowValue>(body) ||
        std::holds_alternative<ExpectWindowRow>(body) || std::holds_alternative<ExpectWindowHeight>(body) ||
        std::holds_alternative<ExpectWindowTop>(body);
    if (!windowExpectation) return std::nullopt;
    auto shown = front(mac_);
    if (!shown) return failed("no window is on screen");
    const platform::Window& window = *shown->window;
    if (const auto* text = std::get_if<ExpectWindowText>(&body)) {
        for (const auto& found : platform::texts(window.content())) {
            if (found == text->text) return Result{};
        }
        return failed("the front window shows no text " + inQuotes(text->text));
    }
    if (const auto* value = std::get_if<ExpectWindowValue>(&body)) {
        const auto* row = shown->row(value->row);
        const auto* control = shown->control(value->row);
        if (!row || !control) return failed("the front window has no row " + inQuotes(value->row));
        auto actual = valueOf(*row, *control);
        if (actual == value->value) return Result{};
        return failed("the row " + inQuotes(value->row) + " shows " + inQuotes(actual));
    }
    if (const auto* rowState = std::get_if<ExpectWindowRow>(&body)) {
        using State = ExpectWindowRow::State;
        const auto* row = shown->row(rowState->row);
        const ViewNode* control = row ? shown->control(rowState->row) : shown->button(rowState->row);
        const auto* placedControl = control ? shown->placed(control) : nullptr;
        if (!placedControl) return failed("the front window has no row or button " + inQuotes(rowState->row));
        const auto* placedRow = row ? shown->placed(row) : nullptr;
        bool dimmed =
            placedRow && placedRow->disabled && std::abs(placedRow->opacity - kDimmedOpacity) < 1e-6;
        std::string actual = dimmed ? "dimmed" : placedControl->disabled ? "disabled" : "enabled";
        bool holds = rowState->state == State::Dimmed     ? dimmed
                     : rowState->state == State::Disabled ? placedControl->disabled && !dimmed
                                                          : !placedControl->disabled;
        if (holds) return Result{};
        return failed("the row " + inQuotes(rowState->row) + " is " + actual);
    }
    auto target = sim::SimTitledWindows::targetFrame(window);
    if (const auto* height = std::get_if<ExpectWindowHeight>(&body)) {
        double content = target.height() - sim::SimTitledWindows::contentTop(window);
        if (std::abs(content - height->height) < 0.5) return Result{};
        return failed("the front window's content is " + std::to_string(content) + " points high");
    }
    const auto& top = std::get<ExpectWindowTop>(body);
    if (!top.top && !topBeforeWindowCommand_) return failed("no `window` command has run yet");
    double expected = top.top ? *top.top : *topBeforeWindowCommand_;
    if (std::abs(target.maxY() - expected) < 0.5) return Result{};
    return failed("the front window's top edge is at " + std::to_string(target.maxY()) + ", not " +
                  std::to_string(expected));
}

} // namespace marlowick::console
