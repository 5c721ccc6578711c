// The simulated window server: the panels the program made, their settings, frames and stacking
// order, and the beeps it sounded (counted, never heard).
// Models: panels ordered front within their level (newest in front), order-out, a panel that leaves
// the screen when its last handle is dropped, frame changes recorded in order, the backing scale of
// the screen a panel is on, panels that hide while the application is inactive (AppKit's default)
// and come back when it is active. Released panels are forgotten beyond the latest few, so a long
// run keeps no history of them. Not modelled: key and main windows (becomesKeyOnlyIfNeeded is only
// recorded: the panels ignore the mouse and never take the keyboard), spaces, full-screen
// applications, mouse events.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/windows.h"
#include "sim/run_loop.h"
#include "sim/screens.h"

namespace marlowick::sim {

class SimWindowServer final : public platform::WindowServer {
public:
    // What one panel was asked to be; read by tests.
    struct PanelRecord {
        std::uint64_t styleMask = 0;
        int level = platform::kNormalWindowLevel;
        bool opaque = true;
        platform::Color background{1, 1, 1, 1};
        bool ignoresMouseEvents = false;
        std::uint64_t collectionBehavior = 0;
        bool hidesOnDeactivate = true;
        bool becomesKeyOnlyIfNeeded = false;
        std::shared_ptr<platform::Layer> contentView;
        platform::Rect frame;
        std::vector<platform::Rect> frameHistory; // every frame set, in order
        bool visible = false;
        bool hiddenWhileInactive = false; // on screen again when the application is active
        bool released = false;            // the program dropped its last handle
    };

    // Released panels kept for tests to look at, the latest ones.
    static constexpr std::size_t kReleasedPanelsKept = 8;

    explicit SimWindowServer(SimScreens& screens);
    ~SimWindowServer() override;

    std::shared_ptr<platform::Panel> makePanel(const platform::Rect& contentRect,
                                               std::uint64_t styleMask) override;
    void beep() override { ++beeps_; }

    int beepCount() const { return beeps_; }
    // The panels still held by the program and the latest released ones, oldest first.
    std::vector<std::shared_ptr<const PanelRecord>> panels() const;
    // How many panels were ever made.
    std::uint64_t panelsMade() const { return made_; }
    // The panels on screen, front to back.
    std::vector<std::shared_ptr<const PanelRecord>> onScreen() const;

    // The application stopped or started being the active one.
    void applicationDidResignActive();
    void applicationDidBecomeActive();

private:
    class SimPanel;
    void orderFront(const std::shared_ptr<PanelRecord>& record);
    void orderOut(const PanelRecord* record);
    void forgetReleased();

    SimScreens& screens_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::vector<std::shared_ptr<PanelRecord>> panels_;
    std::vector<std::shared_ptr<PanelRecord>> order_; // front to back
    int beeps_ = 0;
    std::uint64_t made_ = 0;
};

} // namespace marlowick::sim
