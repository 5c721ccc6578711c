// The contract tests' platform on a Mac: the real adapters, the main run loop run for real time,
// and a scratch folder in the temporary folder. The application object exists before any window.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <unistd.h>

#include <string>

#include "mac/foundation_values.h"
#include "mac/run_loop_modes.h"
#include "mac/services.h"
#include "platform_under_test.h"

namespace marlowick::platform::testing {
namespace {

class MacPlatform final : public PlatformUnderTest {
public:
    ~MacPlatform() override {
        if (NSString* folder = marlowick::mac::toNSString(scratch_))
            [NSFileManager.defaultManager removeItemAtPath:folder error:nil];
    }

    void runFor(double seconds, RunLoopMode mode) override {
        // The common modes are not a mode to run in; the default one stands for them.
        NSRunLoopMode name = mode == RunLoopMode::Common ? NSDefaultRunLoopMode : mac::runLoopModeName(mode);
        double end = runLoop_->now() + seconds;
        // A timer at the end keeps the mode from running dry, so each turn waits instead of spinning;
        // turns return after a source fires, so keep turning until the time is up.
        NSTimer* wake = [NSTimer timerWithTimeInterval:seconds
                                               repeats:NO
                                                 block:^(NSTimer*){
                                                 }];
        [NSRunLoop.currentRunLoop addTimer:wake forMode:name];
        while (runLoop_->now() < end)
            [NSRunLoop.currentRunLoop runMode:name
                                   beforeDate:[NSDate dateWithTimeIntervalSinceNow:end - runLoop_->now()]];
        [wake invalidate];
    }
    std::string scratchFolder() override { return scratch_; }
    // The real clock: timers fire a little late, never early.
    double clockTolerance() const override { return 0.05; }

private:
    NSApplication* application_ = NSApplication.sharedApplication;
    std::unique_ptr<RunLoop> runLoop_ = mac::makeRunLoop();
    std::unique_ptr<Accessibility> accessibility_ = mac::makeAccessibility();
    std::unique_ptr<Files> files_ = mac::makeFiles();
    std::unique_ptr<UserDefaults> defaults_ = mac::makeUserDefaults();
    std::unique_ptr<NotificationBus> notifications_ = mac::makeNotificationBus();
    std::unique_ptr<HotKeys> hotKeys_ = mac::makeHotKeys();
    std::unique_ptr<KeyboardLayouts> keyboardLayouts_ = mac::makeKeyboardLayouts();
    std::unique_ptr<Screens> screens_ = mac::makeScreens();
    std::unique_ptr<SystemAppearance> appearance_ = mac::makeSystemAppearance();
    std::unique_ptr<Fonts> fonts_ = mac::makeFonts();
    std::unique_ptr<WindowServer> windows_ = mac::makeWindowServer();
    std::unique_ptr<TitledWindows> titledWindows_ = mac::makeTitledWindows();
    std::string scratch_ = "/tmp/marlowick-contract-" + std::to_string(getpid());
    Installation installation_{Services{
        .runLoop = runLoop_.get(),
        .accessibility = accessibility_.get(),
        .screens = screens_.get(),
        .files = files_.get(),
        .defaults = defaults_.get(),
        .notifications = notifications_.get(),
        .fonts = fonts_.get(),
        .hotKeys = hotKeys_.get(),
        .keyboardLayouts = keyboardLayouts_.get(),
        .windows = windows_.get(),
        .titledWindows = titledWindows_.get(),
        .appearance = appearance_.get(),
    }};
};

} // namespace

std::unique_ptr<PlatformUnderTest> PlatformUnderTest::make() {
    return std::make_unique<MacPlatform>();
}

} // namespace marlowick::platform::testing
