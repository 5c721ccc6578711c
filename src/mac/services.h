// The real Mac's services, one maker per platform interface; each lives in its own .mm file whose
// opening lines say what it wraps and what it leaves out. Objective-C++ only.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <memory>

#include "platform/canvas.h"
#include "platform/platform.h"

namespace marlowick::mac {

// The 0.5 s messaging time-out every request to another process keeps unless the product sets its own.
inline constexpr float kDefaultMessagingTimeout = 0.5f;

std::unique_ptr<platform::RunLoop> makeRunLoop();
std::unique_ptr<platform::Accessibility> makeAccessibility();
std::unique_ptr<platform::Workspace> makeWorkspace();
std::unique_ptr<platform::Files> makeFiles();
std::unique_ptr<platform::Process> makeProcess();
std::unique_ptr<platform::UserDefaults> makeUserDefaults();
std::unique_ptr<platform::NotificationBus> makeNotificationBus();
std::unique_ptr<platform::Application> makeApplication();
std::unique_ptr<platform::HotKeys> makeHotKeys();
std::unique_ptr<platform::KeyboardLayouts> makeKeyboardLayouts();
std::unique_ptr<platform::ApplicationEvents> makeApplicationEvents();
std::unique_ptr<platform::SymbolicHotKeys> makeSymbolicHotKeys();
std::unique_ptr<platform::LoginItems> makeLoginItems();
std::unique_ptr<platform::Screens> makeScreens();
std::unique_ptr<platform::SystemAppearance> makeSystemAppearance();
std::unique_ptr<platform::DateFormatter> makeDateFormatter();
// Another application's localized strings, read from its installed bundle.
std::unique_ptr<platform::BundleStrings> makeBundleStrings();
std::unique_ptr<platform::Fonts> makeFonts();
// Overlay panels whose content is the core's layer tree as Core Animation layers, and the beep.
std::unique_ptr<platform::WindowServer> makeWindowServer();
// Titled windows whose content is the core's view tree as AppKit controls, with their alerts.
std::unique_ptr<platform::TitledWindows> makeTitledWindows();
std::unique_ptr<platform::StatusBar> makeStatusBar();
std::unique_ptr<platform::Menus> makeMenus();
// A canvas for one draw pass into the context, which it retains; set up by the view that owns it.
std::unique_ptr<platform::Canvas> makeCanvas(CGContextRef context);
// Over Sparkle when the build found it; otherwise a framework whose controllers never check.
std::unique_ptr<platform::UpdateFramework> makeUpdateFramework();

} // namespace marlowick::mac
