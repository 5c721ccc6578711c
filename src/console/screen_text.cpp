#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>

#include "app/app_delegate.h"
#include "console/screen.h"
#include "notificationcenter/controller.h"
#include "overlay/sidebar_overlay.h"

namespace marlowick::console {

namespace {

using platform::Rect;

constexpr double kScreenHeight = sim::SimScreens::kHeight;

std::shared_ptr<SidebarOverlay> shownOverlay(sim::SimMac& mac, AppDelegate* app) {
    // The overlay exists only while the controller's panel is on screen.
    if (!app || mac.windows().onScreen().empty()) return nullptr;
    return app->controller()->shownOverlay();
}

// Which picker item (0-based) covers the card, by the overlay's item frames on screen.
std::optional<std::size_t> itemOver(const Card& card, const SidebarOverlay& overlay, const Rect& panel) {
    double cardMiddle = card.frame.origin.y + std::min(card.frame.size.height, 70.0) / 2;
    for (std::size_t i = 0; i < overlay.itemFrames.size(); ++i) {
        const Rect& item = overlay.itemFrames[i];
        double top = kScreenHeight - (panel.origin.y + item.origin.y + item.size.height);
        if (cardMiddle >= top && cardMiddle <= top + item.size.height) return i;
    }
    return std::nullopt;
}

std::string cardLine(const Card& card) {
    switch (card.kind) {
    case Card::Kind::Heading:
        return "── " + card.label + " ──";
    case Card::Kind::Button:
        return "[" + card.label + "]";
    default:
        break;
    }
    std::string line = card.app + ": " + card.title;
    if (!card.body.empty()) line += " — " + card.body;
    // A folded stack shows its newest notification; its description gives the count.
    if (card.kind == Card::Kind::Stack) line += "  (stack: " + card.label + ")";
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

// A control as one word of a line: "[Check Now]", "(on)", "<Trace>", "[⌥N]"; texts as they are.
std::string describeLeaf(const platform::ViewNode& node, bool disabled,
                         const std::optional<std::string>& responder) {
    std::string word;
    if (const auto* text = node.as<platform::TextView>()) word = text->text;
    if (const auto* button = node.as<platform::ButtonView>())
        word = std::string(button->isSelected ? "[*" : "[") + button->title + "]";
    if (const auto* toggle = node.as<platform::SwitchView>()) word = toggle->isOn ? "(on)" : "(off)";
    if (const auto* picker = node.as<platform::PickerView>()) {
        auto index = static_cast<std::size_t>(picker->selectedIndex);
        word = "<" + (index < picker->options.size() ? picker->options[index].title : std::string()) + ">";
    }
    if (const auto* swatch = node.as<platform::SwatchView>())
        word = (swatch->isSelected ? "(✓ " : "(") + swatch->name + ")";
    if (const auto* circle = node.as<platform::StatusCircleView>())
        word = circle->done ? "(done)" : "(waiting)";
    if (const auto* field = node.as<platform::ShortcutFieldView>())
        word = "[" + (field->text.empty() ? field->placeholder : field->text) +
               (responder == field->identifier ? "|recording]" : "]");
    if (node.as<platform::HostedView>()) word = "(view)";
    if (!word.empty() && disabled && !node.as<platform::TextView>()) word += " (disabled)";
    return word;
}

void describeNode(const platform::ViewNode& node, bool disabled, const std::optional<std::string>& responder,
                  std::vector<std::string>& lines);

// A horizontal stack is one line; a vertical one puts each child on its own lines.
void describeParts(const platform::ViewNode& node, bool disabled, const std::optional<std::string>& responder,
                   std::vector<std::string>& lines) {
    const auto* stack = node.as<platform::StackView>();
    if (!stack) {
        if (auto word = describeLeaf(node, disabled, responder); !word.empty()) lines.push_back(word);
        return;
    }
    if (stack->axis == platform::Axis::Vertical) {
        for (const auto& child : stack->children)
            describeNode(child, disabled, responder, lines);
        return;
    }
    // A row (a title with its details, a control) reads as one line and its details below it;
    // side-by-side blocks (the sidebar and the pane) read one after the other.
    std::vector<std::vector<std::string>> parts;
    for (const auto& child : stack->children) {
        parts.emplace_back();
        describeNode(child, disabled, responder, parts.back());
    }
    auto tall = std::count_if(parts.begin(), parts.end(), [](const auto& part) { return part.size() > 1; });
    if (tall > 1) {
        for (const auto& part : parts)
            lines.insert(lines.end(), part.begin(), part.end());
        return;
    }
    std::string line;
    std::vector<std::string> below;
    for (const auto& part : parts) {
        if (part.empty()) continue;
        line += (line.empty() ? "" : "  ") + part.front();
        below.insert(below.end(), part.begin() + 1, part.end());
    }
    if (!line.empty()) lines.push_back(line);
    for (const auto& detail : below)
        lines.push_back("  " + detail);
}

// A dimmed node (a row that does not apply now) says so on its first line.
void describeNode(const platform::ViewNode& node, bool disabled, const std::optional<std::string>& responder,
                  std::vector<std::string>& lines) {
    const auto first = lines.size();
    describeParts(node, disabled || node.disabled, responder, lines);
    if (node.opacity < 1 && lines.size() > first) lines[first] += "  (dimmed)";
}

} // namespace

std::string describeScreen(sim::SimMac& mac, AppDelegate* app) {
    std::ostringstream out;
    auto& center = mac.notificationCenter();
    using State = sim::SimNotificationCenter::State;
    char clock[32];
    std::snprintf(clock, sizeof clock, "%.3f", mac.now());
    out << "t=" << clock << " s · Notification Center "
        << (center.state() == State::Running ? "running"
            : center.state() == State::Hung  ? "hung"
                                             : "quit")
        << " · permission " << (mac.accessibility().isProcessTrusted() ? "granted" : "missing")
        << " · Marlowick "
        << (!app               ? "not launched"
            : app->isStarted() ? "started"
                               : "waiting")
        << "\n";

    auto cards = visibleCards(mac);
    auto overlay = shownOverlay(mac, app);
    Rect panel;
    if (overlay) panel = mac.windows().onScreen().front()->frame;
    std::vector<std::string> banners, sidebar;
    for (const auto& card : cards) {
        std::string mark = "    ";
        if (overlay && (card.kind == Card::Kind::Row || card.kind == Card::Kind::Stack)) {
            if (auto index = itemOver(card, *overlay, panel)) {
                bool ring = overlay->showsRing && static_cast<int>(*index) == overlay->selected;
                std::string badge = *index < SidebarOverlay::kMaxBadges ? std::to_string(*index + 1) : " ";
                mark = (ring ? "(" : "[") + badge + (ring ? ")" : "]") + " ";
            }
        }
        (card.kind == Card::Kind::Banner ? banners : sidebar).push_back(mark + cardLine(card));
    }
    out << "banners:" << (banners.empty() ? " none\n" : "\n");
    for (const auto& line : banners)
        out << "  " << line << "\n";
    out << "sidebar: " << (center.sidebarIsOpen() ? "open" : "closed") << "\n";
    for (const auto& line : sidebar)
        out << "  " << line << "\n";
    if (overlay) {
        out << "picker: " << overlay->itemFrames.size() << " item(s), " << overlay->badges().size()
            << " badge(s), "
            << (overlay->showsRing ? "ring on " + std::to_string(overlay->selected + 1) : "no ring") << "\n";
    } else {
        out << "picker: hidden\n";
    }
    if (auto menu = mac.menus().openMenu()) {
        out << "menu:\n";
        for (const auto& item : menu->items()) {
            if (item->isHidden()) continue;
            if (item->isSeparator()) {
                out << "  ---\n";
                continue;
            }
            out << "  " << (item->isHighlighted() ? "> " : "  ") << item->title()
                << (item->isSectionHeader() ? "  (header)"
                    : !item->isEnabled()    ? "  (disabled)"
                                            : "")
                << "\n";
        }
    }
    for (const auto& window : mac.titledWindows().visibleWindows()) {
        out << "window \"" << window->title() << "\"" << (window->isKeyWindow() ? " (key)" : "") << ":\n";
        std::vector<std::string> lines;
        describeNode(window->content(), false, window->firstResponder(), lines);
        for (const auto& line : lines)
            out << "  " << line << "\n";
        if (auto alert = sim::SimTitledWindows::alert(*window)) {
            out << "  alert: " << alert->title << " / " << alert->message;
            for (const auto& button : alert->buttons)
                out << " [" << button.title << "]";
            out << "\n";
        }
    }
    return out.str();
}

} // namespace marlowick::console
