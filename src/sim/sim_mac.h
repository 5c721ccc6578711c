// One simulated Mac: builds every simulated service and installs them as the platform in force for
// its lifetime. Tests build one each; the program builds one for the run.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/accessibility.h"
#include "sim/application.h"
#include "sim/application_events.h"
#include "sim/bundle_strings.h"
#include "sim/date_formatter.h"
#include "sim/files.h"
#include "sim/fonts.h"
#include "sim/hot_key_service.h"
#include "sim/keyboard.h"
#include "sim/keyboard_layouts.h"
#include "sim/login_items.h"
#include "sim/menus.h"
#include "sim/notification_bus.h"
#include "sim/notification_center.h"
#include "sim/process.h"
#include "sim/run_loop.h"
#include "sim/screens.h"
#include "sim/status_bar.h"
#include "sim/symbolic_hot_keys.h"
#include "sim/system_appearance.h"
#include "sim/titled_windows.h"
#include "sim/update_framework.h"
#include "sim/user_defaults_store.h"
#include "sim/window_server.h"
#include "sim/workspace.h"

namespace marlowick::sim {

class SimMac {
public:
    struct Options {
        // The home folder; empty for a fresh temporary one that is removed with the SimMac.
        std::string home = {};
        // Wall-clock seconds since 1970 at virtual time 0 (1 March 2026, 14:05:09 UTC by default).
        double epoch = 1772373909.0;
        // Whether the user has granted the accessibility permission.
        bool trusted = true;
        // Whether Notification Center runs from the start.
        bool notificationCenterRunning = true;
    };

    SimMac();
    explicit SimMac(Options options);
    ~SimMac();
    SimMac(const SimMac&) = delete;
    SimMac& operator=(const SimMac&) = delete;

    SimRunLoop& runLoop() { return loop_; }
    SimAccessibility& accessibility() { return accessibility_; }
    SimWorkspace& workspace() { return workspace_; }
    SimScreens& screens() { return screens_; }
    SimFiles& files() { return files_; }
    SimFonts& fonts() { return fonts_; }
    SimProcess& process() { return process_; }
    SimNotificationBus& notifications() { return notifications_; }
    SimUserDefaults& defaults() { return defaults_; }
    SimHotKeyService& hotKeys() { return hotKeys_; }
    SimApplicationEvents& events() { return events_; }
    SimKeyboardLayouts& keyboardLayouts() { return keyboardLayouts_; }
    SimSymbolicHotKeys& symbolicHotKeys() { return symbolicHotKeys_; }
    SimKeyboard& keyboard() { return keyboard_; }
    SimNotificationCenter& notificationCenter() { return notificationCenter_; }
    SimBundleStrings& bundleStrings() { return bundleStrings_; }
    SimWindowServer& windows() { return windows_; }
    SimMenus& menus() { return menus_; }
    SimStatusBar& statusBar() { return statusBar_; }
    SimTitledWindows& titledWindows() { return titledWindows_; }
    SimApplication& application() { return application_; }
    SimUpdateFramework& updates() { return updates_; }
    SimLoginItems& loginItems() { return loginItems_; }
    SimSystemAppearance& appearance() { return appearance_; }
    SimDateFormatter& dateFormatter() { return dateFormatter_; }
    const std::string& home() const { return home_; }

    void runFor(double seconds) { loop_.runFor(seconds); }
    void runUntilIdle() { loop_.runUntilIdle(); }
    double now() { return loop_.now(); }

    // One of the application's menus opens or closes (the status menu, say): the menu notifications
    // go out on the bus and, while it tracks, the run loop runs in the event-tracking mode.
    void beginMenuTracking();
    void endMenuTracking();

    // The messages of the log lines printed so far (the latest the process keeps), without their
    // time stamps.
    std::vector<std::string> logLines() const;
    // The same from output line `from` on (counting every line printed), each with its number.
    struct LogLine {
        std::uint64_t number = 0;
        std::string message;
    };
    std::vector<LogLine> logLinesFrom(std::uint64_t from) const;

private:
    std::string home_;
    bool ownsHome_;
    SimRunLoop loop_;
    SimAccessibility accessibility_;
    SimWorkspace workspace_;
    SimScreens screens_;
    SimFiles files_;
    SimFonts fonts_;
    SimProcess process_;
    SimNotificationBus notifications_;
    SimUserDefaults defaults_;
    SimHotKeyService hotKeys_;
    SimApplicationEvents events_;
    SimKeyboardLayouts keyboardLayouts_;
    SimSymbolicHotKeys symbolicHotKeys_;
    SimKeyboard keyboard_;
    SimNotificationCenter notificationCenter_;
    SimBundleStrings bundleStrings_;
    SimWindowServer windows_;
    SimMenus menus_;
    SimStatusBar statusBar_;
    SimTitledWindows titledWindows_;
    SimApplication application_;
    SimUpdateFramework updates_;
    SimLoginItems loginItems_;
    SimSystemAppearance appearance_;
    SimDateFormatter dateFormatter_;
    platform::Installation installation_;
};

} // namespace marlowick::sim
