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
        out << "window \"" << window->title() << "\":";
        for (const auto& line : platform::texts(window->content()))
            out << " | " << line;
        out << "\n";
    }
    return out.str();
}

} // namespace marlowick::console
