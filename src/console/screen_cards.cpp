#include <algorithm>

#include "console/screen.h"

namespace marlowick::console {

namespace {

using platform::Rect;

constexpr double kScreenWidth = sim::SimScreens::kWidth;
constexpr double kScreenHeight = sim::SimScreens::kHeight;
constexpr double kMenuBarHeight = sim::SimScreens::kMenuBarHeight;

std::string text(const sim::AXNode& node, std::string_view name) {
    return node.stringValue(name);
}

Rect frameOf(const sim::AXNode& node) {
    platform::Point origin;
    platform::Size size;
    if (auto position = node.read("AXPosition")) {
        if (auto* point = std::get_if<platform::Point>(&*position)) origin = *point;
    }
    if (auto extent = node.read("AXSize")) {
        if (auto* s = std::get_if<platform::Size>(&*extent)) size = *s;
    }
    return {origin, size};
}

void collectCards(const sim::AXNode& node, std::vector<Card>& out) {
    std::string role = text(node, "AXRole");
    std::string subrole = text(node, "AXSubrole");
    if (subrole == "AXNotificationCenterBanner" || subrole == "AXNotificationCenterAlert" ||
        subrole == "AXNotificationCenterAlertStack") {
        Card card;
        card.kind = subrole == "AXNotificationCenterBanner"  ? Card::Kind::Banner
                    : subrole == "AXNotificationCenterAlert" ? Card::Kind::Row
                                                             : Card::Kind::Stack;
        card.frame = frameOf(node);
        card.label = text(node, "AXDescription");
        for (const auto& child : node.children()) {
            if (text(*child, "AXRole") != "AXStaticText") continue;
            std::string value = text(*child, "AXValue");
            std::string identifier = text(*child, "AXIdentifier");
            if (identifier == "header")
                card.app = value;
            else if (identifier == "title" || (identifier.empty() && card.title.empty()))
                card.title = value;
            else if (identifier == "subtitle")
                card.body = value + (card.body.empty() ? "" : " · " + card.body);
            else
                card.body = card.body.empty() ? value : card.body + " · " + value;
        }
        out.push_back(std::move(card));
        return;
    }
    bool inMenuBar = role == "AXMenuBar";
    if (!inMenuBar && (role == "AXHeading" || role == "AXButton")) {
        Card card;
        card.kind = role == "AXHeading" ? Card::Kind::Heading : Card::Kind::Button;
        card.frame = frameOf(node);
        card.label = text(node, "AXDescription");
        if (card.label.empty()) card.label = text(node, "AXTitle");
        out.push_back(std::move(card));
    }
    if (inMenuBar) return;
    for (const auto& child : node.children())
        collectCards(*child, out);
}

} // namespace

// The tree is read directly from the simulated process: no request is sent, none is counted, and a
// hung or untrusting world looks the same as any other.
std::vector<Card> visibleCards(sim::SimMac& mac) {
    std::vector<Card> cards;
    auto& center = mac.notificationCenter();
    if (center.state() == sim::SimNotificationCenter::State::Quit) return cards;
    auto element = mac.accessibility().application(center.pid());
    auto* ref = dynamic_cast<const sim::SimElementRef*>(element.ref());
    if (auto root = ref ? ref->node() : nullptr) collectCards(*root, cards);
    // Whatever lies outside the screen (scrolled or slid away) is not seen.
    std::erase_if(cards, [](const Card& c) {
        return c.frame.origin.x >= kScreenWidth || c.frame.origin.y >= kScreenHeight ||
               c.frame.origin.y + c.frame.size.height <= kMenuBarHeight;
    });
    return cards;
}

} // namespace marlowick::console
