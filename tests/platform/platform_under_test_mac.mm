// The contract tests' platform on a Mac: the real adapters, the main run loop run for real time,
// a scratch folder in the temporary folder, the helper application as a process of its own (the
// contract_helper program), and hot-key events made with Carbon and sent to their target. The
// application object exists before any window.
#import <AppKit/AppKit.h>
#import <Carbon/Carbon.h>
#import <Foundation/Foundation.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "mac/appkit_values.h"
#include "mac/foundation_values.h"
#include "mac/native_menu.h"
#include "mac/run_loop_modes.h"
#include "mac/services.h"
#include "platform_under_test.h"

extern char** environ;

namespace marlowick::platform::testing {
namespace {

// How long the helper may take to start and show its window.
constexpr double kHelperLaunchTime = 15;

class HelperProcess final : public HelperApplication {
public:
    explicit HelperProcess(pid_t pid) : pid_(pid) {}
    ~HelperProcess() override { kill(); }

    std::int32_t pid() const override { return pid_; }
    void kill() override {
        if (reaped_) return;
        ::kill(pid_, SIGKILL);
        // Reaped at once, as launchd reaps an application that dies.
        waitpid(pid_, nullptr, 0);
        reaped_ = true;
    }
    void stop() override { ::kill(pid_, SIGSTOP); }
    void resume() override { ::kill(pid_, SIGCONT); }

private:
    pid_t pid_;
    bool reaped_ = false;
};

NSAppearance* namedAppearance(Appearance appearance) {
    return [NSAppearance appearanceNamed:appearance == Appearance::Dark ? NSAppearanceNameDarkAqua
                                                                         : NSAppearanceNameAqua];
}

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

    std::optional<std::string> accessibilityUnavailable() override {
        if (accessibility_->isProcessTrusted()) return std::nullopt;
        return "this test program has not been granted the accessibility permission (System Settings › "
               "Privacy & Security › Accessibility)";
    }

    std::unique_ptr<HelperApplication> launchHelper(std::string& whyNot) override {
        int output[2];
        if (pipe(output) != 0) {
            whyNot = std::strerror(errno);
            return nullptr;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        char* arguments[] = {const_cast<char*>(MARLOWICK_CONTRACT_HELPER), nullptr};
        pid_t pid = 0;
        const int spawned =
            posix_spawn(&pid, MARLOWICK_CONTRACT_HELPER, &actions, nullptr, arguments, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        if (spawned != 0) {
            close(output[0]);
            whyNot = std::string(MARLOWICK_CONTRACT_HELPER) + ": " + std::strerror(spawned);
            return nullptr;
        }
        auto helper = std::make_unique<HelperProcess>(pid);
        const std::string said = readLine(output[0]);
        close(output[0]);
        if (said.rfind("ready", 0) != 0) {
            whyNot = "it said \"" + said + "\" instead of ready";
            return nullptr;
        }
        if (accessibility_->isProcessTrusted() && !awaitWindow(pid)) {
            whyNot = "its window did not reach the accessibility service";
            return nullptr;
        }
        return helper;
    }

    // Not documented: what a Mac answers is what the hot-key contract test records.
    std::optional<OSStatus> knownStatusForChordHeldElsewhere() const override { return std::nullopt; }

    void runOffTheMainThread(const std::function<void()>& work) override {
        std::thread worker(work);
        worker.join();
    }
    bool isMainThread() override { return NSThread.isMainThread; }

    // The power management's own list of assertions, by owning process.
    std::optional<bool> preventsIdleSystemSleep(std::string& whyNot) override {
        FILE* pmset = popen("/usr/bin/pmset -g assertions", "r");
        if (!pmset) {
            whyNot = std::string("pmset: ") + std::strerror(errno);
            return std::nullopt;
        }
        const std::string owner = "pid " + std::to_string(getpid()) + "(";
        bool held = false;
        char line[1024];
        while (std::fgets(line, sizeof line, pmset)) {
            const std::string text = line;
            if (text.find(owner) != std::string::npos &&
                text.find("PreventUserIdleSystemSleep") != std::string::npos)
                held = true;
        }
        if (pclose(pmset) != 0) {
            whyNot = "pmset -g assertions failed";
            return std::nullopt;
        }
        return held;
    }

    OSStatus sendHotKeyEvent(EventTarget target, std::uint32_t kind, std::optional<HotKeyID> id) override {
        EventRef event = nullptr;
        OSStatus status = CreateEvent(nullptr, kEventClassKeyboard, kind, GetCurrentEventTime(),
                                      kEventAttributeNone, &event);
        if (status != noErr) return status;
        if (id) {
            const EventHotKeyID carbonID{id->signature, id->id};
            SetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, sizeof carbonID, &carbonID);
        }
        status =
            SendEventToEventTarget(event, target == EventTarget::Dispatcher ? GetEventDispatcherTarget()
                                                                            : GetApplicationEventTarget());
        ReleaseEvent(event);
        return status;
    }

    SystemColors menuColors(Appearance appearance) override {
        return mac::resolvedSystemColors(namedAppearance(appearance));
    }

    // The item's view alone, in the appearance given to it: a view outside a window takes its own
    // appearance as its effective one, as one inside a menu takes the menu's. Off screen the menu's
    // material cannot be drawn; the appearance's window background, a near match, stands in for it.
    std::optional<Picture> drawMenuItemView(const MenuItem& item, Appearance appearance,
                                            std::string& whyNot) override {
        const auto* native = dynamic_cast<const mac::NativeMenuItem*>(&item);
        NSView* view = native ? native->nsItem().view : nil;
        if (!view) {
            whyNot = "the item has no view of the Mac's menus";
            return std::nullopt;
        }
        NSAppearance* drawn = namedAppearance(appearance);
        NSAppearance* before = view.appearance;
        view.appearance = drawn;
        const NSRect bounds = view.bounds;
        NSBitmapImageRep* bitmap = [view bitmapImageRepForCachingDisplayInRect:bounds];
        NSGraphicsContext* context = bitmap ? [NSGraphicsContext graphicsContextWithBitmapImageRep:bitmap] : nil;
        if (!context || bounds.size.width <= 0) {
            view.appearance = before;
            whyNot = "no bitmap to draw the view into";
            return std::nullopt;
        }
        NSGraphicsContext* current = NSGraphicsContext.currentContext;
        NSGraphicsContext.currentContext = context;
        [drawn performAsCurrentDrawingAppearance:^{
          [NSColor.windowBackgroundColor setFill];
          NSRectFill(bounds);
        }];
        NSGraphicsContext.currentContext = current;
        [view displayRectIgnoringOpacity:bounds inContext:context];
        view.appearance = before;

        Picture picture{static_cast<int>(bitmap.pixelsWide), static_cast<int>(bitmap.pixelsHigh),
                        bitmap.pixelsWide / bounds.size.width, {}};
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                NSColor* pixel = [bitmap colorAtX:x y:y];
                picture.pixels.push_back(pixel ? mac::toColor(pixel) : Color{0, 0, 0, 0});
            }
        }
        return picture;
    }

private:
    // A line the helper writes, waited for on the run loop.
    std::string readLine(int fd) {
        fcntl(fd, F_SETFL, O_NONBLOCK);
        std::string line;
        const double deadline = runLoop_->now() + kHelperLaunchTime;
        while (line.find('\n') == std::string::npos && runLoop_->now() < deadline) {
            char buffer[64];
            const ssize_t count = read(fd, buffer, sizeof buffer);
            if (count == 0) break; // the helper ended
            if (count > 0)
                line.append(buffer, static_cast<std::size_t>(count));
            else
                runFor(0.05, RunLoopMode::Default);
        }
        return line.substr(0, line.find('\n'));
    }

    // Until the helper's application element lists a window.
    bool awaitWindow(pid_t pid) {
        const double deadline = runLoop_->now() + kHelperLaunchTime;
        while (runLoop_->now() < deadline) {
            AXValue children;
            if (accessibility_->copyAttributeValue(accessibility_->application(pid), "AXChildren",
                                                   children) == kAXErrorSuccess &&
                std::holds_alternative<std::vector<Element>>(children)) {
                for (const Element& child : std::get<std::vector<Element>>(children)) {
                    AXValue role;
                    if (accessibility_->copyAttributeValue(child, "AXRole", role) == kAXErrorSuccess &&
                        role == AXValue(std::string("AXWindow")))
                        return true;
                }
            }
            runFor(0.1, RunLoopMode::Default);
        }
        return false;
    }

    NSApplication* application_ = NSApplication.sharedApplication;
    std::unique_ptr<RunLoop> runLoop_ = mac::makeRunLoop();
    std::unique_ptr<Application> app_ = mac::makeApplication();
    std::unique_ptr<Accessibility> accessibility_ = mac::makeAccessibility();
    std::unique_ptr<Workspace> workspace_ = mac::makeWorkspace();
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
    std::unique_ptr<BundleStrings> bundleStrings_ = mac::makeBundleStrings();
    std::string scratch_ = "/tmp/marlowick-contract-" + std::to_string(getpid());
    Installation installation_{Services{
        .runLoop = runLoop_.get(),
        .accessibility = accessibility_.get(),
        .workspace = workspace_.get(),
        .screens = screens_.get(),
        .files = files_.get(),
        .defaults = defaults_.get(),
        .notifications = notifications_.get(),
        .fonts = fonts_.get(),
        .hotKeys = hotKeys_.get(),
        .keyboardLayouts = keyboardLayouts_.get(),
        .windows = windows_.get(),
        .application = app_.get(),
        .titledWindows = titledWindows_.get(),
        .appearance = appearance_.get(),
        .bundleStrings = bundleStrings_.get(),
    }};
};

} // namespace

std::unique_ptr<PlatformUnderTest> PlatformUnderTest::make() {
    return std::make_unique<MacPlatform>();
}

} // namespace marlowick::platform::testing
