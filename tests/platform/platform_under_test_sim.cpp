// The contract tests' platform on Linux: a simulated Mac on its virtual clock, and a helper whose
// accessibility tree is built here as the Mac's would present the helper's window.
#include "contrast.h"
#include "platform/platform.h"
#include "platform_under_test.h"
#include "sim/menu_renderer.h"
#include "sim/sim_mac.h"

namespace marlowick::platform::testing {
namespace {

// What shows through the menu's material: a mid-grey desktop.
constexpr Color kDesktop{0.5, 0.5, 0.5, 1};

class SimulatedHelper final : public HelperApplication {
public:
    explicit SimulatedHelper(sim::SimMac& mac)
        : mac_(mac), pid_(mac.workspace().launchApplication("Helper", ActivationPolicy::Accessory)) {
        using sim::AXNode;
        auto root = AXNode::make("AXApplication");
        window_->set("AXTitle", std::string(kHelperTitle))
            .set("AXPosition", Point{200, 200})
            .set("AXSize", Size{400, 300});
        auto button = [&](const char* title, double x, AXNode::Action press) {
            auto node = AXNode::make("AXButton");
            node->set("AXTitle", std::string(title))
                .set("AXPosition", Point{x, 420})
                .set("AXSize", Size{90, 32});
            node->addAction("AXPress", std::move(press));
            window_->addChild(node);
        };
        button(kRenameButton, 220, [this] {
            const bool renamed = window_->stringValue("AXTitle") == kRenamedTitle;
            window_->set("AXTitle", std::string(renamed ? kHelperTitle : kRenamedTitle));
            mac_.accessibility().post(window_, "AXTitleChanged");
            return kAXErrorSuccess;
        });
        button(kCloseButton, 320, [this] {
            if (auto root = window_->parent()) root->removeChild(window_);
            mac_.accessibility().post(window_, "AXUIElementDestroyed");
            window_->destroy();
            return kAXErrorSuccess;
        });
        root->addChild(window_);
        mac_.accessibility().registerProcess(pid_, root);
        mac_.hotKeys().holdForOtherApplication(kHelperChordKeyCode, kHelperChordModifiers, "Helper");
    }
    ~SimulatedHelper() override {
        mac_.hotKeys().releaseFromOtherApplication(kHelperChordKeyCode, kHelperChordModifiers);
        mac_.accessibility().unregisterProcess(pid_);
        mac_.workspace().terminateApplication(pid_);
    }

    std::int32_t pid() const override { return pid_; }
    void kill() override {
        mac_.accessibility().crashProcess(pid_);
        mac_.workspace().terminateApplication(pid_);
    }
    void stop() override { mac_.accessibility().setHung(pid_, true); }
    void resume() override { mac_.accessibility().setHung(pid_, false); }

private:
    sim::SimMac& mac_;
    std::int32_t pid_;
    std::shared_ptr<sim::AXNode> window_ = sim::AXNode::make("AXWindow");
};

class SimulatedPlatform final : public PlatformUnderTest {
public:
    void runFor(double seconds, RunLoopMode mode) override {
        if (mode == RunLoopMode::EventTracking) mac_.beginMenuTracking();
        mac_.runFor(seconds);
        if (mode == RunLoopMode::EventTracking) mac_.endMenuTracking();
    }
    std::string scratchFolder() override { return mac_.home() + "/scratch"; }
    double clockTolerance() const override { return 1e-9; }

    std::optional<std::string> accessibilityUnavailable() override { return std::nullopt; }
    std::unique_ptr<HelperApplication> launchHelper(std::string&) override {
        return std::make_unique<SimulatedHelper>(mac_);
    }
    // The simulated Mac refuses a chord another application holds, as it refuses our own second one.
    std::optional<OSStatus> knownStatusForChordHeldElsewhere() const override {
        return kEventHotKeyExistsErr;
    }
    void runOffTheMainThread(const std::function<void()>& work) override { mac_.runLoop().runOnBackgroundQueue(work); }
    bool isMainThread() override { return mac_.runLoop().isMainThread(); }
    std::optional<bool> preventsIdleSystemSleep(std::string&) override {
        return mac_.application().preventsIdleSystemSleep();
    }
    OSStatus sendHotKeyEvent(EventTarget target, std::uint32_t kind, std::optional<HotKeyID> id) override {
        return mac_.hotKeys().sendToTarget({kEventClassKeyboard, kind, id}, target);
    }

    SystemColors menuColors(Appearance appearance) override {
        return standardColors(appearance, mac_.appearance().accent());
    }
    // The item's place cut out of its whole menu, over a mid-grey desktop.
    std::optional<Picture> drawMenuItemView(const MenuItem& item, Appearance appearance,
                                            std::string& whyNot) override {
        auto menu = item.menu();
        if (!menu || !item.view()) {
            whyNot = "the item has no view or is in no menu";
            return std::nullopt;
        }
        const double width = item.view()->frame().width();
        const sim::Image image = sim::renderMenu(*menu, width, menuColors(appearance));
        for (const auto& placed : sim::placeMenuItems(*menu, width)) {
            if (placed.item.get() != &item) continue;
            Picture picture{static_cast<int>(placed.frame.width() * image.scale()),
                            static_cast<int>(placed.frame.height() * image.scale()), image.scale(), {}};
            const int top = image.pixelHeight() - static_cast<int>(placed.frame.maxY() * image.scale());
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    picture.pixels.push_back(marlowick::testing::over(image.pixel(x, top + y), kDesktop));
                }
            }
            return picture;
        }
        whyNot = "the item is hidden";
        return std::nullopt;
    }

private:
    sim::SimMac mac_;
};

} // namespace

std::unique_ptr<PlatformUnderTest> PlatformUnderTest::make() {
    return std::make_unique<SimulatedPlatform>();
}

} // namespace marlowick::platform::testing
