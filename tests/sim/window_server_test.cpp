// The simulated window server: panels in front within their level, order-out, frames, panels that
// hide while the application is inactive, and a panel whose last handle is dropped leaving the screen.
#include "sim/window_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/sim_mac.h"

namespace marlowick::sim {
namespace {

using platform::Rect;

TEST(SimWindowServer, StacksPanelsByLevelFollowsTheirFramesAndForgetsDroppedOnes) {
    SimMac mac;
    auto& server = mac.windows();
    auto high = server.makePanel(Rect(), platform::kWindowStyleNonactivatingPanel);
    high->setLevel(platform::kPopUpMenuWindowLevel);
    auto low = server.makePanel(Rect(), 0);
    auto view = platform::Layer::make();
    low->setContentView(view);
    EXPECT_TRUE(server.onScreen().empty()) << "made off screen";

    high->orderFrontRegardless();
    low->orderFrontRegardless();
    ASSERT_EQ(server.onScreen().size(), 2u);
    EXPECT_EQ(server.onScreen()[0]->level, platform::kPopUpMenuWindowLevel) << "its level keeps it in front";

    low->setFrame(Rect(100, 200, 300, 400), platform::Display::Later);
    low->setFrame(Rect(110, 200, 300, 420), platform::Display::Later);
    EXPECT_THAT(server.panels()[1]->frameHistory,
                ::testing::ElementsAre(Rect(100, 200, 300, 400), Rect(110, 200, 300, 420)));
    EXPECT_EQ(view->frame(), Rect(0, 0, 300, 420)) << "the content view fills the panel";

    low->orderOut();
    EXPECT_FALSE(low->isVisible());
    high.reset();
    EXPECT_TRUE(server.onScreen().empty());
    EXPECT_TRUE(server.panels()[0]->released);
}

TEST(SimWindowServer, PanelsHideWhenTheApplicationResignsActiveUnlessToldNotTo) {
    SimMac mac;
    auto hiding = mac.windows().makePanel(Rect(), 0);
    auto staying = mac.windows().makePanel(Rect(), 0);
    auto dropped = mac.windows().makePanel(Rect(), 0);
    staying->setHidesOnDeactivate(false);
    hiding->orderFrontRegardless();
    EXPECT_TRUE(hiding->isVisible()) << "shown while the application was never active";
    for (auto* panel : {&staying, &dropped})
        (*panel)->orderFrontRegardless();

    mac.application().activateIgnoringOtherApps();
    mac.application().deactivate();
    EXPECT_FALSE(hiding->isVisible());
    EXPECT_TRUE(staying->isVisible());
    dropped.reset();
    mac.application().activateIgnoringOtherApps();
    EXPECT_TRUE(hiding->isVisible()) << "back when the application is active again";
    EXPECT_EQ(mac.windows().onScreen().size(), 2u) << "a panel dropped meanwhile stays gone";

    mac.application().deactivate();
    hiding->orderOut();
    mac.application().activateIgnoringOtherApps();
    EXPECT_FALSE(hiding->isVisible()) << "ordered out while hidden, it stays out";
}

TEST(SimWindowServer, APanelTakesTheScaleOfTheScreenHoldingMostOfItAndReleasedOnesAreForgotten) {
    SimMac mac;
    mac.screens().setScreens({{Rect(0, 0, 1512, 982), 2}, {Rect(1512, 0, 1920, 1080), 1}});
    auto panel = mac.windows().makePanel(Rect(), 0);
    panel->setFrame(Rect(1400, 100, 300, 300), platform::Display::Later);
    EXPECT_EQ(panel->backingScaleFactor(), 1.0);
    panel->setFrame(Rect(1300, 100, 300, 300), platform::Display::Later);
    EXPECT_EQ(panel->backingScaleFactor(), 2.0);
    panel->setFrame(Rect(-900, 100, 300, 300), platform::Display::Later);
    EXPECT_EQ(panel->backingScaleFactor(), 2.0) << "off every screen: the main one's";

    for (int i = 0; i < 100; ++i)
        mac.windows().makePanel(Rect(), 0)->orderFrontRegardless();
    EXPECT_EQ(mac.windows().panelsMade(), 101u);
    EXPECT_EQ(mac.windows().panels().size(), 1 + SimWindowServer::kReleasedPanelsKept);
    EXPECT_FALSE(mac.windows().panels().front()->released) << "a panel still held is kept";
}

} // namespace
} // namespace marlowick::sim
