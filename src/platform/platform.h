// The services in force. The product reaches the OS only through these; a simulated Mac or the real
// adapters install themselves for their lifetime.
#pragma once

#include <cstdint>

#include "platform/accessibility.h"
#include "platform/appearance.h"
#include "platform/date_formatter.h"
#include "platform/application.h"
#include "platform/application_events.h"
#include "platform/bundle_strings.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/hot_keys.h"
#include "platform/keyboard_layouts.h"
#include "platform/login_items.h"
#include "platform/menus.h"
#include "platform/notification_bus.h"
#include "platform/process.h"
#include "platform/run_loop.h"
#include "platform/screens.h"
#include "platform/status_bar.h"
#include "platform/symbolic_hot_keys.h"
#include "platform/titled_windows.h"
#include "platform/update_framework.h"
#include "platform/user_defaults.h"
#include "platform/windows.h"
#include "platform/workspace.h"

namespace marlowick::platform {

struct Services {
    RunLoop* runLoop = nullptr;
    Accessibility* accessibility = nullptr;
    Workspace* workspace = nullptr;
    Screens* screens = nullptr;
    Files* files = nullptr;
    Process* process = nullptr;
    UserDefaults* defaults = nullptr;
    NotificationBus* notifications = nullptr;
    Fonts* fonts = nullptr;
    HotKeys* hotKeys = nullptr;
    ApplicationEvents* events = nullptr;
    KeyboardLayouts* keyboardLayouts = nullptr;
    SymbolicHotKeys* symbolicHotKeys = nullptr;
    WindowServer* windows = nullptr;
    Application* application = nullptr;
    StatusBar* statusBar = nullptr;
    Menus* menus = nullptr;
    TitledWindows* titledWindows = nullptr;
    UpdateFramework* updates = nullptr;
    LoginItems* loginItems = nullptr;
    SystemAppearance* appearance = nullptr;
    // None where another application's strings cannot be read; callers fall back on their own.
    BundleStrings* bundleStrings = nullptr;
    DateFormatter* dateFormatter = nullptr;
};

// The installed services. Calling it with none installed is a programming error and aborts.
Services& current();
bool isInstalled();

// Counts installations. Process-wide caches remember the generation they were filled in and start
// afresh when a new platform has been installed since.
std::uint64_t generation();

// Installs services for its lifetime and restores the previous ones afterwards.
class Installation {
public:
    explicit Installation(Services services);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

private:
    Services services_;
    Services* previous_;
};

} // namespace marlowick::platform
