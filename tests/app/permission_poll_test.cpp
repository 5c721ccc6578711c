#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/onboarding.h"
#include "app_world.h"
#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "platform/view_tree.h"

namespace marlowick {
namespace {

using platform::ActivationPolicy;
using testing::AppWorld;
using ::testing::ElementsAre;

constexpr std::uint16_t kReturn = 36;

class PermissionPollTest : public ::testing::Test {
protected:
    PermissionPollTest()
        : world(sim::SimMac::Options{.trusted = false, .notificationCenterRunning = false}) {}

    std::vector<std::string> windowTexts() {
        return platform::texts(world.app->onboarding()->window()->content());
    }
    bool windowVisible() { return world.app->onboarding() && world.app->onboarding()->window()->isVisible(); }
    void grant() { world.mac.accessibility().setTrusted(true); }

    AppWorld world;
};

TEST_F(PermissionPollTest, FirstLaunchOpensTheNeededStepAfterOneSecondAndReturnOpensSettings) {
    world.launch();
    EXPECT_EQ(world.count("Waiting for Accessibility permission"), 1);
    world.mac.runFor(0.99);
    EXPECT_EQ(world.app->onboarding(), nullptr);
    world.mac.runFor(0.01);
    ASSERT_TRUE(windowVisible());
    EXPECT_EQ(world.count("Showing onboarding: false"), 1);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::needed);
    EXPECT_EQ(windowTexts()[0], "Allow Marlowick to press notifications");
    EXPECT_EQ(windowTexts()[2], "Open System Settings");
    EXPECT_EQ(world.app->onboarding()->window()->title(), "Marlowick");
    EXPECT_EQ(world.mac.application().activationPolicy(), ActivationPolicy::Regular);

    // The app comes forward 0.2 s later; from then on the keyboard reaches the window. The list the
    // settings open on shows Marlowick only once the system has been asked, once.
    world.mac.runFor(0.2);
    EXPECT_FALSE(world.mac.accessibility().isListedInPrivacySettings());
    world.press(kReturn, 0);
    world.press(kReturn, 0);
    EXPECT_THAT(world.mac.workspace().openedURLs(),
                ElementsAre("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility",
                            "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"));
    EXPECT_TRUE(world.mac.accessibility().isListedInPrivacySettings());
    EXPECT_EQ(world.mac.accessibility().promptCount(), 1);

    // Still not trusted: the poll goes on, and neither the window nor the waiting line repeats.
    world.mac.runFor(5);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::needed);
    EXPECT_EQ(world.mac.titledWindows().visibleWindows().size(), 1u);
    EXPECT_EQ(world.count("Showing onboarding: false"), 1);
    EXPECT_EQ(world.count("Waiting for Accessibility permission"), 1);
    EXPECT_FALSE(world.app->isStarted());
}

TEST_F(PermissionPollTest, PermissionGrantedInAnEarlierRunShowsTheLostStep) {
    world.mac.defaults().set("accessibilityWasGranted", true);
    world.launch();
    world.mac.runFor(1);
    EXPECT_EQ(world.count("Showing onboarding: true"), 1);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::lost);
    EXPECT_EQ(windowTexts()[0], "Marlowick lost its permission");
}

// Every rebuild signed ad hoc leaves a grant that is reported but no longer works.
TEST_F(PermissionPollTest, AGrantWhoseReadsAreRefusedStartsNothingAndLeadsToTheLostStep) {
    world.mac.notificationCenter().launch();
    world.mac.accessibility().setPermissionStale();
    world.launch();
    EXPECT_FALSE(world.app->isStarted());
    EXPECT_EQ(world.count("Accessibility permission reported, but reads are refused"), 1);
    world.mac.runFor(1);
    EXPECT_EQ(world.count("Showing onboarding: true"), 1);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::lost);
    world.mac.runFor(3);
    EXPECT_FALSE(world.app->isStarted()) << "the poll does not take the report for a grant either";

    // Removed from the list and added again, the permission works.
    grant();
    world.mac.runFor(1);
    EXPECT_TRUE(world.app->isStarted());
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::granted);

}

TEST_F(PermissionPollTest, GrantedOnlyAfterARealReadFourFailedReadsThenNoAnswer) {
    world.launch();
    world.mac.runFor(1);
    grant();
    // The next step starts the services at once, although Notification Center does not answer yet.
    world.mac.runFor(1);
    EXPECT_TRUE(world.app->isStarted());
    EXPECT_EQ(world.countStartingWith("Marlowick "), 1);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::checking);
    EXPECT_THAT(windowTexts(), ElementsAre("Checking the permission", "Reading Notification Center\u2026"));

    world.mac.runFor(3); // failed reads 2, 3 and 4
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::checking);
    world.mac.runFor(1); // the fifth
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::noAnswer);
    EXPECT_EQ(windowTexts()[1],
              "The permission is on, but Notification Center isn't answering yet. If this stays, "
              "quit Marlowick and open it again.");
    world.mac.runFor(2);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::noAnswer);

    // Meanwhile another window went in front of the onboarding one; "ready" brings it back.
    auto other = world.mac.titledWindows().makeWindow(
        {0, 0, 300, 200}, platform::kWindowStyleTitled | platform::kWindowStyleClosable, platform::Defer::No);
    other->makeKeyAndOrderFront();
    world.mac.notificationCenter().launch();
    world.mac.application().deactivate();
    world.mac.runFor(1);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::granted);
    EXPECT_EQ(world.mac.titledWindows().visibleWindows().front(), world.app->onboarding()->window());
    EXPECT_EQ(world.count("Accessibility confirmed by a read of Notification Center"), 1);
    EXPECT_THAT(windowTexts(),
                ElementsAre("Marlowick is ready", "Press \u2325N to open a notification.", "Done"));
    EXPECT_TRUE(world.app->onboarding()->window()->isVisible());
    world.mac.runFor(5);
    EXPECT_EQ(world.count("Accessibility confirmed by a read of Notification Center"), 1);
    EXPECT_EQ(world.countStartingWith("Marlowick "), 1);

    // Done closes the window like its close button; the app goes back to the background.
    ASSERT_TRUE(sim::SimTitledWindows::clickButton(*world.app->onboarding()->window(), "Done"));
    EXPECT_FALSE(windowVisible());
    EXPECT_EQ(world.mac.application().activationPolicy(), ActivationPolicy::Accessory);
}

TEST_F(PermissionPollTest, WindowClosedByTheUserStaysClosedAndThePollEndsOnceTrusted) {
    world.launch();
    world.mac.runFor(1);
    world.app->onboarding()->window()->performClose();
    EXPECT_EQ(world.mac.application().activationPolicy(), ActivationPolicy::Accessory);
    world.mac.runFor(3);
    EXPECT_FALSE(windowVisible());
    EXPECT_EQ(world.count("Showing onboarding: false"), 1);

    world.mac.notificationCenter().launch();
    grant();
    world.mac.runFor(1);
    EXPECT_TRUE(world.app->isStarted());
    world.mac.runFor(3);
    // No visible window: the poll ended without a confirming read or another step.
    EXPECT_EQ(world.count("Accessibility confirmed by a read of Notification Center"), 0);
    EXPECT_EQ(world.onboardingStep(), OnboardingStep::needed);
}

TEST(OnboardingTextTest, GrantedTextFollowsTheOpenShortcut) {
    sim::SimMac mac;
    KeyboardShortcuts::setShortcut(KeyboardShortcuts::Shortcut(35, platform::kCarbonControl),
                                   Hotkeys::openNotification);
    EXPECT_EQ(onboardingText(OnboardingStep::granted), "Press \u2303P to open a notification.");
    KeyboardShortcuts::setShortcut(std::nullopt, Hotkeys::openNotification);
    EXPECT_EQ(onboardingText(OnboardingStep::granted), "The permission is on.");
    EXPECT_NE(onboardingText(OnboardingStep::lost).find("remove it with \u2212, then add it back"),
              std::string::npos);
    // Only the first two steps and the last carry a default button.
    for (auto step : {OnboardingStep::checking, OnboardingStep::noAnswer})
        EXPECT_EQ(platform::defaultButton(onboardingView(step, [] {}, [] {})), nullptr);
}

} // namespace
} // namespace marlowick
