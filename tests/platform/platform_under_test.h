// The platform the contract tests run against, chosen when they are built: the simulated Mac
// (platform_under_test_sim.cpp) or, on a Mac, the real adapters (platform_under_test_mac.mm).
// Tests written against this header alone run on both.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/hot_keys.h"
#include "platform/menus.h"
#include "platform/run_loop.h"
#include "platform/system_colors.h"

namespace marlowick::platform::testing {

// A second application the tests start. It shows one window titled kHelperTitle with two push
// buttons: kRenameButton switches the window's title between kHelperTitle and kRenamedTitle,
// kCloseButton closes the window for good. It holds the
// hot key kHelperChordKeyCode with kHelperChordModifiers for as long as it runs.
inline constexpr const char* kHelperTitle = "Contract Helper";
inline constexpr const char* kRenamedTitle = "Renamed";
inline constexpr const char* kRenameButton = "Rename";
inline constexpr const char* kCloseButton = "Close";
inline constexpr std::uint32_t kHelperChordKeyCode = 79; // F18
inline constexpr std::uint32_t kHelperChordModifiers = kCarbonControl | kCarbonOption | kCarbonCommand;

class HelperApplication {
public:
    // Ends the helper if it still runs.
    virtual ~HelperApplication() = default;
    virtual std::int32_t pid() const = 0;
    // The process dies at once.
    virtual void kill() = 0;
    // The process stops answering (it is stopped, not dead) until resumed.
    virtual void stop() = 0;
    virtual void resume() = 0;
};

// A picture as a person sees it: opaque sRGB pixels, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    double scale = 1; // pixels per point
    std::vector<Color> pixels;
    // The pixel under a point measured from the picture's top-left corner.
    Color at(Point point) const {
        const int x = static_cast<int>(point.x * scale), y = static_cast<int>(point.y * scale);
        return x >= 0 && y >= 0 && x < width && y < height ? pixels[y * width + x] : Color{0, 0, 0, 0};
    }
};

class PlatformUnderTest {
public:
    // Builds the platform and installs its services until it is dropped.
    static std::unique_ptr<PlatformUnderTest> make();
    virtual ~PlatformUnderTest() = default;

    // Runs the main run loop in the mode for this many seconds of its clock: virtual seconds on the
    // simulated Mac (the event-tracking mode as a menu that tracks), real ones on a Mac.
    virtual void runFor(double seconds, RunLoopMode mode = RunLoopMode::Default) = 0;
    // An empty folder of its own, gone with the platform.
    virtual std::string scratchFolder() = 0;
    // How far apart two moments on this clock may be and still count as the same.
    virtual double clockTolerance() const = 0;

    // Why this process cannot read other applications here (no accessibility permission), if so.
    virtual std::optional<std::string> accessibilityUnavailable() = 0;
    // The helper with its window up, or null with the reason in `whyNot`.
    virtual std::unique_ptr<HelperApplication> launchHelper(std::string& whyNot) = 0;
    // What registering a chord that another process holds returns, where this platform is known to
    // answer it; the tests record what the platform did either way.
    virtual std::optional<OSStatus> knownStatusForChordHeldElsewhere() const = 0;

    // Runs the work on a thread other than the main one and returns once it has finished; the main
    // run loop does not turn meanwhile.
    virtual void runOffTheMainThread(const std::function<void()>& work) = 0;
    virtual bool isMainThread() = 0;

    // Whether this process holds a power assertion that keeps the Mac from sleeping while the user
    // leaves it idle, or null with the reason in `whyNot` where that cannot be told.
    virtual std::optional<bool> preventsIdleSystemSleep(std::string& whyNot) = 0;

    // Sends a keyboard event of the kind (pressed or released) to the handlers of the target alone,
    // with the identifier as its direct object, as Carbon's SendEventToEventTarget does; returns
    // what the handlers answered.
    virtual OSStatus sendHotKeyEvent(EventTarget target, std::uint32_t kind, std::optional<HotKeyID> id) = 0;

    // The system colours a menu's custom views are handed in the appearance, with the user's accent.
    virtual SystemColors menuColors(Appearance appearance) = 0;
    // The item's custom view drawn as a menu in the appearance shows it, over the menu's backdrop,
    // or null with the reason in `whyNot`.
    virtual std::optional<Picture> drawMenuItemView(const MenuItem& item, Appearance appearance,
                                                    std::string& whyNot) = 0;
};

} // namespace marlowick::platform::testing
