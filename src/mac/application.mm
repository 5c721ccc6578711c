// Wraps: NSApplication's activation policy, activation and termination (and the C library's exit
// for a run that ends with a status), NSProcessInfo's activities,
// and its key window as the core's titled window it shows (a sheet counts as the window it is
// attached to). The main menu is the NSMenu of a Mac menu, kept alive by its handle here.
// Leaves out: key windows that are no titled window of ours (panels, AppKit's own), which count
// as none.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "mac/foundation_values.h"
#include "mac/native_menu.h"
#include "mac/services.h"
#include "mac/titled_window.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

// The core names activity options by the Mac's own bits.
static_assert(p::kActivityIdleSystemSleepDisabled == NSActivityIdleSystemSleepDisabled);
static_assert(p::kActivityUserInitiated == NSActivityUserInitiated);
static_assert(p::kActivityUserInitiatedAllowingIdleSystemSleep == NSActivityUserInitiatedAllowingIdleSystemSleep);
static_assert(p::kActivityLatencyCritical == NSActivityLatencyCritical);

class MacApplication final : public p::Application {
public:
    p::ActivationPolicy activationPolicy() override {
        switch ([NSApplication.sharedApplication activationPolicy]) {
        case NSApplicationActivationPolicyRegular:
            return p::ActivationPolicy::Regular;
        case NSApplicationActivationPolicyAccessory:
            return p::ActivationPolicy::Accessory;
        case NSApplicationActivationPolicyProhibited:
            return p::ActivationPolicy::Prohibited;
        }
        return p::ActivationPolicy::Prohibited;
    }

    void setActivationPolicy(p::ActivationPolicy policy) override {
        NSApplicationActivationPolicy mac = NSApplicationActivationPolicyProhibited;
        if (policy == p::ActivationPolicy::Regular) mac = NSApplicationActivationPolicyRegular;
        if (policy == p::ActivationPolicy::Accessory) mac = NSApplicationActivationPolicyAccessory;
        [NSApplication.sharedApplication setActivationPolicy:mac];
    }

    // Since macOS 14 activation is cooperative and -activate replaces -activateIgnoringOtherApps:.
    void activateIgnoringOtherApps() override { [NSApplication.sharedApplication activate]; }
    bool isActive() override { return NSApplication.sharedApplication.active; }

    std::shared_ptr<p::Menu> mainMenu() override { return mainMenu_; }
    void setMainMenu(std::shared_ptr<p::Menu> menu) override {
        auto* native = dynamic_cast<NativeMenu*>(menu.get());
        NSApplication.sharedApplication.mainMenu = native ? native->nsMenu() : nil;
        mainMenu_ = std::move(menu);
    }
    std::shared_ptr<p::Window> keyWindow() override {
        NSWindow* key = NSApplication.sharedApplication.keyWindow;
        if (NSWindow* parent = key.sheetParent) key = parent;
        if (![key isKindOfClass:MWKWindow.class]) return nullptr;
        return static_cast<MWKWindow*>(key).handle.lock();
    }

    p::ActivityToken beginActivity(p::ActivityOptions options, const std::string& reason) override {
        NSString* text = toNSString(reason);
        id<NSObject> activity =
            [NSProcessInfo.processInfo beginActivityWithOptions:static_cast<NSActivityOptions>(options)
                                                         reason:text ? text : @""];
        return p::ActivityToken(
            p::Subscription([activity] { [NSProcessInfo.processInfo endActivity:activity]; }));
    }

    void terminate() override { [NSApplication.sharedApplication terminate:nil]; }

    void exitProcess(int status) override {
        std::fflush(nullptr);
        std::exit(status);
    }

private:
    std::shared_ptr<p::Menu> mainMenu_;
};

} // namespace

std::unique_ptr<platform::Application> makeApplication() {
    return std::make_unique<MacApplication>();
}

} // namespace marlowick::mac
