// What the plainer services promise, on whichever platform the tests were built for: files, user
// defaults and their change notification, process activities and idle sleep, running applications, hot-key registration
// and its refusal, the keyboard layout, the accessibility service's time-out and permission
// queries, Notification Center's strings, the overlay panel, and the titled windows as far as they go without a person at the
// machine.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "notificationcenter/action_labels.h"
#include "platform/application.h"
#include "platform/layer.h"
#include "platform/workspace.h"
#include "platform/platform.h"
#include "platform/titled_windows.h"
#include "platform_under_test.h"

namespace marlowick::platform {
namespace {

using testing::PlatformUnderTest;

TEST(FilesContract, FoldersAreMadeOnceAndFilesGrowByAppending) {
    auto platform = PlatformUnderTest::make();
    Files& files = *current().files;
    std::string folder = platform->scratchFolder() + "/Library/Logs";
    EXPECT_TRUE(files.createDirectory(folder)) << "with every missing parent";
    EXPECT_FALSE(files.createDirectory(folder)) << "an existing folder is an error";

    std::string log = folder + "/test.log";
    EXPECT_FALSE(files.fileExists(log));
    EXPECT_FALSE(files.fileSize(log));
    EXPECT_EQ(files.openForWriting(log), nullptr) << "writing needs an existing file";
    ASSERT_TRUE(files.createFile(log));
    for (std::string_view line : {"one\n", "two\n"}) {
        auto handle = files.openForWriting(log);
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(handle->seekToEnd());
        EXPECT_TRUE(handle->write(line));
    }
    EXPECT_EQ(files.fileSize(log), 8u);
    ASSERT_TRUE(files.createFile(log));
    EXPECT_EQ(files.fileSize(log), 0u) << "creating replaces the file";
}

TEST(UserDefaultsContract, ValuesKeepTheirTypeAndEveryChangeIsAnnounced) {
    auto platform = PlatformUnderTest::make();
    UserDefaults& defaults = *current().defaults;
    int changes = 0;
    auto observation =
        current().notifications->observe(kUserDefaultsDidChange, [&](const UserInfo&) { ++changes; });

    const std::string key = "marlowickContractTest";
    for (const DefaultsValue& value : {DefaultsValue(std::string("wideDotStack")), DefaultsValue(true),
                                       DefaultsValue(std::int64_t{42}), DefaultsValue(0.25)}) {
        defaults.set(key, value);
        EXPECT_EQ(defaults.object(key), value);
    }
    defaults.remove(key);
    EXPECT_FALSE(defaults.object(key));
    platform->runFor(0.1);
    EXPECT_GE(changes, 5);
}

// The probe is proven by an activity that does keep the Mac awake, and that one's end.
TEST(ApplicationContract, AResponsiveActivityLeavesTheMacFreeToIdleSleep) {
    auto platform = PlatformUnderTest::make();
    Application& application = *current().application;
    std::string whyNot;
    {
        auto awake = application.beginActivity(kActivityUserInitiated, "Contract test: kept awake");
        const auto held = platform->preventsIdleSystemSleep(whyNot);
        if (!held) GTEST_SKIP() << "cannot tell here: " << whyNot;
        EXPECT_TRUE(*held);
    }
    platform->runFor(0.1);
    EXPECT_EQ(platform->preventsIdleSystemSleep(whyNot), false) << "an ended activity lets go";

    auto responsive = application.beginActivity(
        kActivityUserInitiatedAllowingIdleSystemSleep | kActivityLatencyCritical, "Contract test: responsive");
    platform->runFor(0.1);
    EXPECT_EQ(platform->preventsIdleSystemSleep(whyNot), false);
}

// A framework may write the defaults from a queue of its own; what the change sets off (the menu
// bar's icon, the settings window) belongs to the main thread.
TEST(UserDefaultsContract, AChangeMadeOffTheMainThreadIsAnnouncedOnIt) {
    auto platform = PlatformUnderTest::make();
    std::vector<bool> onMainThread;
    auto observation = current().notifications->observe(
        kUserDefaultsDidChange, [&](const UserInfo&) { onMainThread.push_back(platform->isMainThread()); });
    const std::string key = "marlowickContractTestThread";
    platform->runOffTheMainThread([&] { current().defaults->set(key, true); });
    platform->runFor(0.5);
    current().defaults->remove(key);
    ASSERT_FALSE(onMainThread.empty());
    for (bool onMain : onMainThread)
        EXPECT_TRUE(onMain);
}

// Notification Center has no Dock icon, so the workspace's launch and termination notifications
// never mention it: observers of the list must hear of such an application coming and going.
TEST(WorkspaceContract, AnApplicationWithoutADockIconIsSeenStartingAndEnding) {
    auto platform = PlatformUnderTest::make();
    Workspace& workspace = *current().workspace;
    int changes = 0;
    auto observation = workspace.observeRunningApplications([&] { ++changes; });
    std::string whyNot;
    auto helper = platform->launchHelper(whyNot);
    ASSERT_TRUE(helper) << whyNot;
    const auto record = [&]() -> std::shared_ptr<const RunningApplication> {
        for (const auto& application : workspace.runningApplications()) {
            if (application->processIdentifier() == helper->pid()) return application;
        }
        return nullptr;
    };
    platform->runFor(0.5);
    EXPECT_GE(changes, 1);
    const auto helperRecord = record();
    ASSERT_TRUE(helperRecord);

    changes = 0;
    helper->kill();
    platform->runFor(1);
    EXPECT_GE(changes, 1);
    EXPECT_FALSE(record());
    EXPECT_TRUE(helperRecord->isTerminated());
}

// Marlowick presses Notification Center's buttons by their labels in the user's language, which
// it finds in Notification Center's own strings: English texts "Close" and "Clear All" under keys
// that other languages translate.
TEST(BundleStringsContract, NotificationCenterShipsItsButtonLabelsInEveryLanguage) {
    auto platform = PlatformUnderTest::make();
    ASSERT_TRUE(current().bundleStrings);
    const auto table = current().bundleStrings->stringsTable("com.apple.notificationcenterui");
    ASSERT_TRUE(table);
    ASSERT_TRUE(table->languages.contains("en"));
    ASSERT_TRUE(table->languages.contains("de"));
    for (const std::string label : {"Close", "Clear All"}) {
        bool translated = false;
        for (const auto& [key, text] : table->languages.at("en")) {
            translated = translated || (text == label && table->languages.at("de").contains(key));
        }
        EXPECT_TRUE(translated) << label;
    }
    // The user's languages name a region or script ("zh-Hans-CN") where the bundle's folders may
    // name another ("zh_CN.lproj"): each still finds its translation, not English.
    std::vector<std::string> languages;
    for (const auto& [language, strings] : table->languages)
        languages.push_back(language);
    for (const std::string preferred : {"de-DE", "fr-CA", "es-419", "pt-BR", "ja-JP", "zh-Hans-CN"}) {
        const auto chosen = chooseLanguage(std::vector{preferred}, languages);
        EXPECT_TRUE(chosen && *chosen != "en") << preferred;
    }
    EXPECT_FALSE(current().bundleStrings->preferredLanguages().empty());
}

TEST(HotKeysContract, AChordIsHeldOnceUntilItsRegistrationIsDropped) {
    auto platform = PlatformUnderTest::make();
    HotKeys& hotKeys = *current().hotKeys;
    constexpr FourCharCode kOurs = fourCharCode("MWPT");
    constexpr std::uint32_t kF19 = 80; // a chord nobody else is likely to hold
    constexpr std::uint32_t kChord = kCarbonControl | kCarbonOption | kCarbonCommand;
    auto first = hotKeys.registerHotKey(kF19, kChord, {kOurs, 1}, EventTarget::Application);
    ASSERT_TRUE(first.succeeded());
    auto registration = first.takeRegistration();
    EXPECT_TRUE(registration.isRegistered());

    EXPECT_EQ(hotKeys.registerHotKey(kF19, kChord, {kOurs, 2}, EventTarget::Dispatcher).status(),
              kEventHotKeyExistsErr);
    EXPECT_EQ(
        hotKeys.registerHotKey(kF19, kChord | kCarbonCapsLock, {kOurs, 2}, EventTarget::Application).status(),
        kEventHotKeyExistsErr)
        << "caps lock does not make another chord";
    EXPECT_TRUE(
        hotKeys.registerHotKey(kF19, kChord | kCarbonShift, {kOurs, 3}, EventTarget::Application).succeeded())
        << "other modifiers are another chord (the refused and the dropped results hold nothing)";

    registration.unregister();
    EXPECT_FALSE(registration.isRegistered());
    EXPECT_TRUE(hotKeys.registerHotKey(kF19, kChord, {kOurs, 4}, EventTarget::Application).succeeded());
}

TEST(KeyboardLayoutsContract, TheCurrentLayoutTypesALetterWhereQwertyHasAAndNothingForShift) {
    auto platform = PlatformUnderTest::make();
    KeyboardLayouts& layouts = *current().keyboardLayouts;
    auto layout = layouts.currentASCIICapableLayout();
    ASSERT_NE(layout, nullptr);
    auto type = [&](std::uint16_t keyCode) {
        std::uint32_t deadKeyState = 0;
        std::u16string out;
        EXPECT_EQ(layout->translate(keyCode, KeyAction::Down, 0, layouts.keyboardType(), DeadKeys::Suppress,
                                    deadKeyState, 4, out),
                  kNoErr);
        return out;
    };
    // The key left of S is a letter on every ASCII-capable layout; a modifier key types nothing.
    std::u16string letter = type(0);
    ASSERT_EQ(letter.size(), 1u);
    EXPECT_TRUE(letter[0] >= u'a' && letter[0] <= u'z');
    EXPECT_EQ(type(56), u"");
}

TEST(AccessibilityQueriesContract, TheTimeOutIsValidatedAndThePermissionQueryIsSteady) {
    auto platform = PlatformUnderTest::make();
    Accessibility& accessibility = *current().accessibility;
    EXPECT_EQ(accessibility.setMessagingTimeout(accessibility.systemWide(), 0.5), kAXErrorSuccess);
    EXPECT_EQ(accessibility.setMessagingTimeout(accessibility.systemWide(), -1), kAXErrorIllegalArgument);
    EXPECT_EQ(accessibility.setMessagingTimeout(Element(), 0.5), kAXErrorIllegalArgument);
    EXPECT_EQ(accessibility.isProcessTrusted(), accessibility.isProcessTrusted());
}

TEST(WindowServerContract, APanelStaysOffScreenUntilOrderedFrontAndItsContentFillsIt) {
    auto platform = PlatformUnderTest::make();
    auto panel = current().windows->makePanel({100, 100, 200, 120},
                                              kWindowStyleBorderless | kWindowStyleNonactivatingPanel);
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());
    auto content = Layer::make();
    panel->setContentView(content);
    EXPECT_EQ(content->bounds().size, (Size{200, 120}));

    const Rect moved{120, 140, 300, 90};
    panel->setFrame(moved, Display::Now);
    EXPECT_EQ(panel->frame(), moved) << "a borderless panel's frame is its content rectangle";
    EXPECT_EQ(content->bounds().size, moved.size) << "the content view follows the panel";

    panel->orderFrontRegardless();
    platform->runFor(0.05);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_GE(panel->backingScaleFactor(), 1.0);
    panel->orderOut();
    EXPECT_FALSE(panel->isVisible());
}

TEST(TitledWindowsContract, AWindowFitsItsContentTellsItsFieldsAboutFocusShowsOneSheetAtATimeAndClosesOnce) {
    auto platform = PlatformUnderTest::make();
    auto window = current().titledWindows->makeWindow({0, 0, 0, 0}, kWindowStyleTitled | kWindowStyleClosable,
                                                      Defer::Yes);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible());

    std::vector<std::string> told;
    ShortcutFieldView field;
    field.identifier = "contract.field";
    field.placeholder = "Record Shortcut";
    field.onBecomeFirstResponder = [&] { told.push_back("become"); };
    field.onResignFirstResponder = [&] { told.push_back("resign"); };
    StackView stack;
    stack.width = 300;
    stack.padding = 20;
    TextView text;
    text.text = "Contract";
    stack.children = {ViewNode::makeText(text), ViewNode::make(field)};
    window->setContent(ViewNode::makeStack(stack));
    const Size laidOut = layoutViews(window->content(), *current().fonts).size;
    EXPECT_EQ(window->frame().width(), laidOut.width) << "a window made without a size takes its content's";
    EXPECT_GE(window->frame().height(), laidOut.height) << "and its title bar on top";

    const Rect placed{120, 160, 360, 240};
    window->setFrame(placed);
    EXPECT_EQ(window->frame(), placed);

    window->orderFrontRegardless();
    platform->runFor(0.05);
    EXPECT_TRUE(window->isVisible());
    window->makeFirstResponder("contract.field");
    EXPECT_EQ(window->firstResponder(), "contract.field");
    window->makeFirstResponder("no.such.field");
    EXPECT_EQ(window->firstResponder(), "contract.field") << "an identifier of no field changes nothing";
    window->makeFirstResponder(std::nullopt);
    EXPECT_EQ(window->firstResponder(), std::nullopt);
    EXPECT_EQ(told, (std::vector<std::string>{"become", "resign"}));

    // One sheet at a time, its end told with the index it was ended by.
    std::vector<std::int64_t> ended;
    WindowEventHandlers handlers;
    handlers.sheetEnded = [&](std::int64_t response) { ended.push_back(response); };
    window->setEventHandlers(handlers);
    window->showAlert(
        {"Contract", "", {{"OK", ButtonRole::Normal, AlertKey::Return}, {"Cancel", ButtonRole::Cancel}}});
    window->showAlert({"Second", "", {{"OK"}}});
    EXPECT_TRUE(window->hasAlert());
    window->endAlert(1);
    platform->runFor(0.05);
    EXPECT_EQ(ended, (std::vector<std::int64_t>{1}));
    EXPECT_FALSE(window->hasAlert()) << "the second sheet was never shown";

    int closes = 0;
    auto closing = window->observeWillClose([&] { ++closes; });
    window->close();
    window->close();
    EXPECT_EQ(closes, 1) << "a window off the screen does not close again";
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace marlowick::platform
