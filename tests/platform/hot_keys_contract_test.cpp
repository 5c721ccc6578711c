// What the hot-key service promises on whichever platform the tests were built for: hot-key events
// sent to a target reach that target's handlers, the last installed first, until one takes the
// event; a handler's error ends the event's way; event types come and go per handler. And what a
// registration of a chord that a second process holds returns, recorded where it is not known.
#include "platform/hot_keys.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform_under_test.h"

namespace marlowick::platform {
namespace {

using testing::PlatformUnderTest;

constexpr FourCharCode kOurs = fourCharCode("MWPC");
constexpr std::array<EventTypeSpec, 2> kPressAndRelease{
    {{kEventClassKeyboard, kEventHotKeyPressed}, {kEventClassKeyboard, kEventHotKeyReleased}}};

// A handler that notes each event it is asked about and answers as told.
struct Recorder {
    std::vector<std::string>& asked;
    std::string name;
    OSStatus answer;

    OSStatus operator()(const CarbonEvent& event) const {
        HotKeyID id;
        const bool hasID = getHotKeyID(event, id) == kNoErr;
        asked.push_back(name + " " + std::to_string(event.kind) +
                        (hasID ? " #" + std::to_string(id.id) : ""));
        return hasID ? answer : kEventParameterNotFoundErr;
    }
};

TEST(HotKeysContract, EventsSentToATargetReachItsHandlersNewestFirstUntilOneTakesThem) {
    auto platform = PlatformUnderTest::make();
    HotKeys& hotKeys = *current().hotKeys;
    std::vector<std::string> asked;
    std::unique_ptr<InstalledEventHandler> older, newer, dispatcher;
    ASSERT_EQ(hotKeys.installEventHandler(EventTarget::Application, kPressAndRelease,
                                          Recorder{asked, "older", kNoErr}, older),
              kNoErr);
    ASSERT_EQ(hotKeys.installEventHandler(EventTarget::Application, kPressAndRelease,
                                          Recorder{asked, "newer", kEventNotHandledErr}, newer),
              kNoErr);
    ASSERT_EQ(hotKeys.installEventHandler(EventTarget::Dispatcher, kPressAndRelease,
                                          Recorder{asked, "dispatcher", kNoErr}, dispatcher),
              kNoErr);

    EXPECT_EQ(platform->sendHotKeyEvent(EventTarget::Application, kEventHotKeyPressed, HotKeyID{kOurs, 7}),
              kNoErr);
    EXPECT_EQ(asked, (std::vector<std::string>{"newer 5 #7", "older 5 #7"})) << "passed on, then taken";

    asked.clear();
    EXPECT_EQ(platform->sendHotKeyEvent(EventTarget::Dispatcher, kEventHotKeyReleased, HotKeyID{kOurs, 8}),
              kNoErr);
    EXPECT_EQ(asked, std::vector<std::string>{"dispatcher 6 #8"});

    asked.clear();
    EXPECT_EQ(platform->sendHotKeyEvent(EventTarget::Application, kEventHotKeyPressed, std::nullopt),
              kEventParameterNotFoundErr);
    EXPECT_EQ(asked, std::vector<std::string>{"newer 5"}) << "an error ends the event's way";

    asked.clear();
    ASSERT_EQ(older->removeEventTypes(std::span(kPressAndRelease).subspan(1)), kNoErr);
    newer.reset();
    EXPECT_NE(platform->sendHotKeyEvent(EventTarget::Application, kEventHotKeyReleased, HotKeyID{kOurs, 9}),
              kNoErr);
    EXPECT_TRUE(asked.empty()) << "a dropped handler and a removed type hear nothing";
    ASSERT_EQ(older->addEventTypes(std::span(kPressAndRelease).subspan(1)), kNoErr);
    EXPECT_EQ(platform->sendHotKeyEvent(EventTarget::Application, kEventHotKeyReleased, HotKeyID{kOurs, 9}),
              kNoErr);
    EXPECT_EQ(asked, std::vector<std::string>{"older 6 #9"});
}

TEST(HotKeysContract, AHandlerMayRemoveItselfWhileItRuns) {
    auto platform = PlatformUnderTest::make();
    std::unique_ptr<InstalledEventHandler> handler;
    int calls = 0;
    ASSERT_EQ(current().hotKeys->installEventHandler(
                  EventTarget::Application, kPressAndRelease,
                  [&](const CarbonEvent&) {
                      ++calls;
                      handler.reset();
                      return kNoErr;
                  },
                  handler),
              kNoErr);
    EXPECT_EQ(platform->sendHotKeyEvent(EventTarget::Application, kEventHotKeyPressed, HotKeyID{kOurs, 1}),
              kNoErr);
    platform->sendHotKeyEvent(EventTarget::Application, kEventHotKeyPressed, HotKeyID{kOurs, 1});
    EXPECT_EQ(calls, 1);
}

// Apple documents the refusal (-9878) only for a chord this process or an exclusive registration
// holds. The simulated Mac refuses a chord any other application holds; what a Mac answers when a
// second process holds it is recorded here until it is known.
TEST(HotKeysContract, AChordASecondProcessHoldsIsAnsweredAsThePlatformDoes) {
    auto platform = PlatformUnderTest::make();
    std::string whyNot;
    auto helper = platform->launchHelper(whyNot);
    if (!helper) {
        GTEST_SKIP() << "the helper application did not start: " << whyNot;
    }
    auto result = current().hotKeys->registerHotKey(
        testing::kHelperChordKeyCode, testing::kHelperChordModifiers, {kOurs, 2}, EventTarget::Application);
    RecordProperty("statusForChordHeldElsewhere", result.status());
    std::cout << "registering a chord a second process holds returns " << result.status() << "\n";
    if (auto known = platform->knownStatusForChordHeldElsewhere()) {
        EXPECT_EQ(result.status(), *known);
    }
}

} // namespace
} // namespace marlowick::platform
