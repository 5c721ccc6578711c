// A simulated Mac with a started controller, and what the controller tests look at: the log, the
// overlay panel, Notification Center's screen.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/hotkeys.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "overlay/sidebar_overlay.h"
#include "sim/sim_mac.h"

namespace marlowick::testing {

struct ControllerWorld {
    explicit ControllerWorld(std::vector<std::string> arguments = {}, sim::SimMac::Options options = {})
        : mac(options) {
        mac.process().setArguments(std::move(arguments));
        // The ring is shown without its animation so that what the tests look at holds still.
        mac.defaults().set("ringReveal", std::string("none"));
        mac.defaults().set("vimKeys", true);
        // As start-up does: no request waits longer than half a second.
        mac.accessibility().setMessagingTimeout(mac.accessibility().systemWide(), 0.5);
        Hotkeys::installHotkeyEventHandler();
    }

    sim::SimMac mac;
    std::shared_ptr<Controller> controller;

    sim::SimNotificationCenter& center() { return mac.notificationCenter(); }

    void setMode(std::string_view mode) { mac.defaults().set("openMode", std::string(mode)); }
    void start() {
        controller = Controller::create();
        controller->start();
        mac.runFor(0.1);
    }
    // Notifications posted a while ago: their banners have gone, their rows stay.
    void postEarlier(const std::vector<sim::SimNotification>& notifications) {
        for (const auto& notification : notifications)
            center().post(notification);
        mac.runFor(sim::SimNotificationCenter::kBannerDuration + 0.5);
    }
    // The hot key, then long enough for the sidebar to open and slide in and the ring to show.
    void openPickerAndSettle() {
        controller->openPicker();
        mac.runFor(1.0);
    }
    // The hot key, then no further than the moment the ring shows (at most two seconds).
    void openPickerUntilRing() {
        controller->openPicker();
        for (int step = 0; step < 200 && !ringShown(); ++step)
            mac.runFor(0.01);
    }

    // The user types a key; picker keys reach the overlay through the hot-key service.
    void type(std::uint16_t keyCode, platform::ModifierFlags modifiers = 0) {
        mac.keyboard().type({.keyCode = keyCode, .modifiers = modifiers});
        mac.runUntilIdle();
    }

    void type(VimKey letter) {
        auto index = static_cast<std::size_t>(letter);
        type(Hotkeys::usVimKeyCodes[index], letter == VimKey::G ? platform::kFlagShift : 0);
    }

    // The user dismisses every row with Notification Center's own buttons: the panel lets clicks
    // through.
    void dismissEveryRowByHand() {
        for (const auto& row : sidebarNotifications()) {
            auto action = customActionName(row.element, "Clear All");
            if (!action) action = customActionName(row.element, "Close");
            if (action) performAction(row.element, *action);
        }
    }

    std::shared_ptr<SidebarOverlay> overlay() const { return controller->shownOverlay(); }
    bool ringShown() const { return overlay() && overlay()->showsRing; }
    std::vector<std::shared_ptr<const sim::SimWindowServer::PanelRecord>> panelsOnScreen() {
        return mac.windows().onScreen();
    }
    std::vector<std::string> openedTitles() {
        std::vector<std::string> titles;
        for (const auto& notification : center().opened())
            titles.push_back(notification.title);
        return titles;
    }

    // Log lines from here on, so that a test can look at what one step wrote.
    std::size_t mark() const { return mac.logLines().size(); }
    std::vector<std::string> linesSince(std::size_t mark) const {
        auto lines = mac.logLines();
        return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(mark, lines.size())), lines.end()};
    }
    long count(const std::string& line) const {
        auto lines = mac.logLines();
        return std::count(lines.begin(), lines.end(), line);
    }
    long countStartingWith(const std::string& prefix) const {
        auto lines = mac.logLines();
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.starts_with(prefix); });
    }
};

} // namespace marlowick::testing
