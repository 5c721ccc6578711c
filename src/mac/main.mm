// The process entry on a real Mac: the Mac's services installed as the platform, the AppDelegate
// made the application's delegate, and the application run.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <memory>

#include "app/app_delegate.h"
#include "mac/services.h"

// Hands AppKit's launch to the product's delegate.
@interface MWKApplicationDelegate : NSObject <NSApplicationDelegate>
- (instancetype)initWithDelegate:(std::shared_ptr<marlowick::AppDelegate>)delegate;
@end

@implementation MWKApplicationDelegate {
    std::shared_ptr<marlowick::AppDelegate> _delegate;
}

- (instancetype)initWithDelegate:(std::shared_ptr<marlowick::AppDelegate>)delegate {
    if ((self = [super init])) _delegate = std::move(delegate);
    return self;
}

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
    (void)notification;
    _delegate->applicationDidFinishLaunching();
}

@end

namespace p = marlowick::platform;

int main(int argc, const char* argv[]) {
    (void)argc;
    (void)argv;
    @autoreleasepool {
        using namespace marlowick::mac;
        auto runLoop = makeRunLoop();
        auto accessibility = makeAccessibility();
        auto workspace = makeWorkspace();
        auto files = makeFiles();
        auto process = makeProcess();
        auto defaults = makeUserDefaults();
        auto notifications = makeNotificationBus();
        auto hotKeys = makeHotKeys();
        auto events = makeApplicationEvents();
        auto keyboardLayouts = makeKeyboardLayouts();
        auto symbolicHotKeys = makeSymbolicHotKeys();
        auto application = makeApplication();
        auto updates = makeUpdateFramework();
        auto loginItems = makeLoginItems();
        auto screens = makeScreens();
        auto appearance = makeSystemAppearance();
        auto dateFormatter = makeDateFormatter();
        auto bundleStrings = makeBundleStrings();
        auto fonts = makeFonts();
        auto statusBar = makeStatusBar();
        auto menus = makeMenus();
        auto windows = makeWindowServer();
        auto titledWindows = makeTitledWindows();
        p::Services services{
            .runLoop = runLoop.get(),
            .accessibility = accessibility.get(),
            .workspace = workspace.get(),
            .screens = screens.get(),
            .files = files.get(),
            .process = process.get(),
            .defaults = defaults.get(),
            .notifications = notifications.get(),
            .fonts = fonts.get(),
            .hotKeys = hotKeys.get(),
            .events = events.get(),
            .keyboardLayouts = keyboardLayouts.get(),
            .symbolicHotKeys = symbolicHotKeys.get(),
            .windows = windows.get(),
            .application = application.get(),
            .statusBar = statusBar.get(),
            .menus = menus.get(),
            .titledWindows = titledWindows.get(),
            .updates = updates.get(),
            .loginItems = loginItems.get(),
            .appearance = appearance.get(),
            .bundleStrings = bundleStrings.get(),
            .dateFormatter = dateFormatter.get(),
        };
        p::Installation installation(services);

        NSApplication* app = NSApplication.sharedApplication;
        // The application holds its delegate weakly; this scope keeps it for the whole run.
        MWKApplicationDelegate* delegate =
            [[MWKApplicationDelegate alloc] initWithDelegate:marlowick::AppDelegate::create()];
        app.delegate = delegate;
        [app run];
    }
    return 0;
}
