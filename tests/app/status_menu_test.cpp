#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/status_menu.h"
#include "app/updater.h"
#include "app_world.h"
#include "contrast.h"
#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "platform/platform.h"
#include "sim/menu_renderer.h"

namespace marlowick {
namespace {

using KeyboardShortcuts::Shortcut;
using testing::AppWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::kKeyN;
using testing::kOption;

constexpr platform::ModifierFlags kControl = platform::kFlagControl;
constexpr platform::ModifierFlags kShift = platform::kFlagShift;
constexpr platform::ModifierFlags kCommand = platform::kFlagCommand;

const std::vector<std::string> kPickerRows{"Open that notification", "Move the selection",
                                           "Open the selected one", "Cancel"};

bool containsAll(const std::vector<std::string>& titles, const std::vector<std::string>& wanted) {
    for (const auto& title : wanted) {
        if (std::find(titles.begin(), titles.end(), title) == titles.end()) return false;
    }
    return true;
}

class StatusMenuTest : public ::testing::Test {
protected:
    int pickerRuns() { return world.countStartingWith("Hotkey: found"); }
    int indexOf(const std::string& title) {
        auto item = world.item(title);
        return item ? world.app->statusMenu()->indexOfItem(*item) : -1;
    }
    AppWorld world;
};

TEST_F(StatusMenuTest, ShowsTheItemsInOrderWithTheLegendFolded) {
    world.launch();
    world.openMenu();
    EXPECT_THAT(world.shownTitles(),
                ElementsAre("Marlowick", "---", "Anywhere", "Open notification", "Clear all", "---",
                            "In the picker", "---", "Settings", "Quit"));
    // Every action row carries its caps; the hidden twins carry the keys.
    const auto& rows = world.app->keyRows();
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_THAT(rows[0].first->caps, ElementsAre(KeyCap::key("\u2325"), KeyCap::key("N")));
    EXPECT_THAT(rows[12].first->caps, ElementsAre(KeyCap::key("\u2318"), KeyCap::key(",")));
    EXPECT_THAT(rows[2].first->caps, ElementsAre(KeyCap::key("1"), KeyCap::text("\u2013"), KeyCap::key("9")));
    EXPECT_THAT(world.app->switchRow()->caps, ElementsAre(KeyCap::key("\u2303"), KeyCap::key("\u2325"),
                                                          KeyCap::key("\u21E7"), KeyCap::key("N")));
    auto twin = world.item("Open notification", true);
    ASSERT_TRUE(twin);
    EXPECT_EQ(twin->keyEquivalent(), "n");
    EXPECT_EQ(twin->keyEquivalentModifierMask(), kOption);
    EXPECT_TRUE(twin->allowsKeyEquivalentWhenHidden());
    EXPECT_EQ(world.item("Open notification")->keyEquivalent(), "");
}

TEST_F(StatusMenuTest, OpenAndClearNeedTheTrustAndTheSwitch) {
    world.mac.accessibility().setTrusted(false);
    world.launch();
    auto enabledStates = [&] {
        std::vector<bool> states{world.item("Open notification")->isEnabled(),
                                 world.item("Clear all")->isEnabled()};
        for (const auto& twin : world.app->hotkeyItems())
            states.push_back(twin->isEnabled());
        return states;
    };
    world.openMenu();
    EXPECT_EQ(world.shownTitles()[0], "Accessibility: not granted \u2014 Open Settings\u2026");
    EXPECT_EQ(world.shownTitles()[1], "---");
    EXPECT_THAT(enabledStates(), ElementsAre(false, false, false, false));
    EXPECT_EQ(world.mac.menus().openMenu()->highlightedItem(), nullptr);
    world.mac.menus().click(indexOf("Accessibility: not granted \u2014 Open Settings\u2026"));
    EXPECT_THAT(world.mac.workspace().openedURLs(),
                ElementsAre("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"));

    world.mac.accessibility().setTrusted(true);
    world.openMenu();
    EXPECT_EQ(world.shownTitles()[0], "Marlowick");
    EXPECT_THAT(enabledStates(), ElementsAre(true, true, true, true));
    // Opened enabled, the open row is preselected so that Return opens the picker.
    EXPECT_EQ(world.mac.menus().openMenu()->highlightedItem(), world.item("Open notification"));
    world.press(36, 0);
    EXPECT_EQ(pickerRuns(), 1);
    EXPECT_EQ(world.mac.menus().openMenu(), nullptr);

    world.mac.defaults().set("isOn", false);
    world.openMenu();
    EXPECT_THAT(enabledStates(), ElementsAre(false, false, false, false));
    EXPECT_TRUE(world.item("Settings")->isEnabled());
    EXPECT_TRUE(world.item("Quit")->isEnabled());
}

// Keys go to the menu, never to the rows' views: the menu runs the highlighted item's action.
TEST_F(StatusMenuTest, ReturnOrSpaceOnTheHighlightedSwitchOrLegendHeaderRunsIt) {
    world.launch();
    world.openMenu();
    world.press(126, 0); // up, from the preselected open row to the switch
    ASSERT_EQ(world.mac.menus().openMenu()->highlightedItem(), world.item("Marlowick"));
    world.press(36, 0);
    EXPECT_EQ(world.mac.defaults().boolean("isOn"), false);
    EXPECT_EQ(world.mac.menus().openMenu(), nullptr);

    const bool legendOpen = world.mac.defaults().plainBoolean("pickerKeysOpen");
    world.openMenu();
    world.mac.menus().openMenu()->highlightItem(world.item("In the picker"));
    world.press(49, 0);
    EXPECT_EQ(world.mac.defaults().plainBoolean("pickerKeysOpen"), !legendOpen);
}

TEST_F(StatusMenuTest, LegendFollowsShowPickerKeysPickerKeysOpenAndVimKeys) {
    world.mac.defaults().set("pickerKeysOpen", true);
    world.mac.defaults().set("showPickerKeys", false);
    world.launch();
    world.openMenu();
    EXPECT_THAT(world.shownTitles(), ElementsAre("Marlowick", "---", "Anywhere", "Open notification",
                                                 "Clear all", "---", "Settings", "Quit"));
    world.closeMenu();

    world.mac.defaults().set("showPickerKeys", true);
    world.openMenu();
    auto titles = world.shownTitles();
    EXPECT_TRUE(containsAll(titles, kPickerRows));
    EXPECT_FALSE(containsAll(titles, {"Vim keys"}));
    EXPECT_FALSE(containsAll(titles, {"Move down, up"}));
    world.closeMenu();

    world.mac.process().setArguments({"--vim-keys"});
    world.openMenu();
    EXPECT_TRUE(containsAll(world.shownTitles(),
                            {"Vim keys", "Move down, up", "Close the selected one", "Go to top, bottom"}));

    // Folding the legend from its header keeps the menu open and hides the rows in it at once.
    world.mac.menus().click(indexOf("In the picker"));
    world.mac.runUntilIdle();
    EXPECT_EQ(world.mac.defaults().boolean("pickerKeysOpen"), false);
    ASSERT_NE(world.mac.menus().openMenu(), nullptr);
    EXPECT_FALSE(containsAll(world.shownTitles(), {"Cancel"}));
    EXPECT_FALSE(containsAll(world.shownTitles(), {"Vim keys"}));
    EXPECT_TRUE(containsAll(world.shownTitles(), {"In the picker"}));
}

TEST_F(StatusMenuTest, ClearedShortcutsShowNotSetAndNoSwitchCapsAndFreeTheTwin) {
    KeyboardShortcuts::setShortcut(std::nullopt, Hotkeys::openNotification);
    KeyboardShortcuts::setShortcut(std::nullopt, Hotkeys::toggleSwitch);
    world.launch();
    world.openMenu();
    EXPECT_THAT(world.app->keyRows()[0].first->caps, ElementsAre(KeyCap::text("Not set")));
    EXPECT_THAT(world.app->switchRow()->caps, IsEmpty());
    EXPECT_EQ(world.item("Open notification", true)->keyEquivalent(), "");
    world.press(kKeyN, kOption);
    EXPECT_EQ(pickerRuns(), 0);
    EXPECT_NE(world.mac.menus().openMenu(), nullptr);
}

TEST_F(StatusMenuTest, InTheDarkEveryRowIsReadableOnTheMaterialAndTheHighlightTakesTheAccent) {
    using testing::contrastRatio;
    world.mac.appearance().set(platform::Appearance::Dark);
    world.mac.appearance().setAccent(platform::AccentColor::Purple);
    world.launch();
    world.openMenu();
    world.mac.menus().click(indexOf("In the picker")); // the legend's rows too
    auto menu = world.mac.menus().openMenu();
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->highlightedItem(), world.item("Open notification"));

    const double width = world.mac.menus().openMenuWidth();
    const sim::Image picture = sim::renderMenu(*menu, width, world.mac.appearance().colors());
    // Seen over a mid-grey desktop; the material lies in the padding at the top.
    const platform::Color desktop{0.5, 0.5, 0.5, 1};
    auto seen = [&](platform::Point point) { return testing::over(picture.colorAt(point), desktop); };
    const platform::Color material = seen({width / 2, picture.size().height - 2});
    EXPECT_LT(testing::relativeLuminance(material), 0.05) << "a dark menu";
    const platform::Color purple{191 / 255.0, 90 / 255.0, 242 / 255.0, 1};
    int rows = 0;
    for (const auto& placed : sim::placeMenuItems(*menu, width)) {
        if (placed.item->isSeparator()) continue;
        const bool highlighted = placed.item->isHighlighted();
        const platform::Color ground = highlighted ? purple : material;
        if (highlighted) {
            EXPECT_LT(contrastRatio(seen({width / 2, placed.frame.minY() + 3}), purple), 1.05);
        }
        const platform::Rect text{10, placed.frame.minY() + 3, width - 20, placed.frame.height() - 6};
        EXPECT_GE(testing::mostContrast(text, 0.5, ground, seen), highlighted ? 3 : 4.5)
            << placed.item->title();
        ++rows;
    }
    EXPECT_GE(rows, 10);
}

TEST_F(StatusMenuTest, MenuIsAtLeast278WideAsWideAsItsWidestRowWithTheLegendColumnAsItsWidestCaps) {
    world.launch();
    world.openMenu();
    auto& menu = *world.app->statusMenu();
    EXPECT_DOUBLE_EQ(menu.minimumWidth(), 278);
    EXPECT_DOUBLE_EQ(world.app->switchRow()->frame().width(), 278);
    EXPECT_DOUBLE_EQ(world.app->legendHeader()->frame().width(), 278);
    EXPECT_DOUBLE_EQ(world.app->keyRows()[0].first->frame().height(), 28);
    // Without Vim keys their rows take no part and keep their width.
    EXPECT_DOUBLE_EQ(world.app->keyRows()[7].first->frame().width(), 0);
    EXPECT_DOUBLE_EQ(world.app->keyRows()[13].first->frame().width(), 278);
    // The legend's column is the widest shown caps group: "1 – 9", two key boxes of 20, the dash
    // between them, two gaps of 2.
    const double pickerColumn = world.app->keyRows()[0].first->columnWidth;
    const double dash = std::ceil(platform::current().fonts->measureText("\u2013", keyCapFont()).width);
    EXPECT_DOUBLE_EQ(pickerColumn, 20 + dash + 20 + 2 * 2);
    for (const auto& [row, caps] : world.app->keyRows())
        EXPECT_DOUBLE_EQ(row->columnWidth, pickerColumn);
    world.closeMenu();

    // A long chord on the open row widens the whole menu to that row, every row with it.
    KeyboardShortcuts::setShortcut(Shortcut(49, platform::kCarbonControl | platform::kCarbonOption |
                                                    platform::kCarbonShift | platform::kCarbonCommand |
                                                    platform::kCarbonFunction),
                                   Hotkeys::openNotification);
    world.openMenu();
    auto& fonts = *platform::current().fonts;
    const auto& openRow = *world.app->keyRows()[0].first;
    double wide = std::ceil(fonts.measureText("Open notification", MenuRowView::menuFont()).width) + 32 + 24 +
                  std::ceil(fonts.measureText(joinedCapsText(openRow.caps), MenuRowView::menuFont()).width);
    ASSERT_GT(wide, 278);
    EXPECT_DOUBLE_EQ(menu.minimumWidth(), wide);
    EXPECT_DOUBLE_EQ(world.app->switchRow()->frame().width(), wide);
    EXPECT_DOUBLE_EQ(world.app->keyRows()[13].first->frame().width(), wide);
    world.closeMenu();

    world.mac.process().setArguments({"--vim-keys"});
    world.openMenu();
    const double gg =
        std::max(20.0, std::ceil(platform::current().fonts->measureText("gg", keyCapFont()).width) + 8);
    EXPECT_DOUBLE_EQ(world.app->keyRows()[0].first->columnWidth, std::max(pickerColumn, gg + 2 + 20));
}

TEST_F(StatusMenuTest, TwinsAnswerExactlyTheGlobalChordsWhileTheMenuIsOpen) {
    world.launch();
    world.openMenu();
    world.press(kKeyN, kCommand);
    world.press(kKeyN, kOption | kControl);
    EXPECT_NE(world.mac.menus().openMenu(), nullptr);
    EXPECT_EQ(pickerRuns(), 0);

    world.press(kKeyN, kOption);
    world.mac.runFor(1);
    EXPECT_EQ(pickerRuns(), 1);
    EXPECT_EQ(world.mac.menus().openMenu(), nullptr);
    EXPECT_FALSE(world.app->menuIsOpen());

    // Closed again, the global hot key answers as before.
    world.mac.notificationCenter().closeSidebar();
    world.press(kKeyN, kOption);
    world.mac.runFor(1);
    EXPECT_EQ(pickerRuns(), 2);
}

TEST_F(StatusMenuTest, TwinsFollowARecordedChordByKeyPositionAndTheFixedTwinQuits) {
    // Recorded while running. The key at the U.S. y types z on a German layout; the hot key and
    // its twin go by the key.
    world.launch();
    KeyboardShortcuts::setShortcut(Shortcut(16, platform::kCarbonControl | platform::kCarbonOption),
                                   Hotkeys::openNotification);
    world.mac.keyboardLayouts().select(sim::LayoutId::German);
    world.openMenu();
    world.press(kKeyN, kOption);
    world.press(6, kControl | kOption);
    EXPECT_EQ(pickerRuns(), 0);
    world.press(16, kControl | kOption);
    EXPECT_EQ(pickerRuns(), 1);

    world.openMenu();
    world.press(12, kCommand);
    EXPECT_TRUE(world.mac.application().isTerminated());
}

TEST_F(StatusMenuTest, IconRedrawsOnlyForItsStyleOrTheSwitchWhichTheHotKeyFlipsInTheOpenMenu) {
    world.launch();
    world.mac.defaults().set("highlightColor", std::string("pink"));
    world.mac.defaults().set("menuBarIcon", std::string("wideDotStack"));
    EXPECT_EQ(world.mac.statusBar().imageChanges(), std::vector<int>{1});
    world.mac.defaults().set("menuBarIcon", std::string("wideDotFill"));
    EXPECT_EQ(world.mac.statusBar().imageChanges(), std::vector<int>{2});

    world.openMenu();
    world.press(kKeyN, kControl | kOption | kShift);
    EXPECT_EQ(world.count("Turned off"), 1);
    EXPECT_EQ(world.mac.defaults().boolean("isOn"), false);
    EXPECT_FALSE(world.app->switchRow()->isOn);
    EXPECT_TRUE(world.app->switchRow()->needsDisplay());
    EXPECT_TRUE(world.app->switchRow()->host()->isHighlighted());
    EXPECT_FALSE(world.item("Open notification")->isEnabled());
    ASSERT_NE(world.mac.menus().openMenu(), nullptr);

    // The icon follows the stored switch; the engine is silent once the menu closes.
    EXPECT_EQ(world.mac.statusBar().imageChanges(), std::vector<int>{3});
    world.closeMenu();
    world.press(kKeyN, kOption);
    EXPECT_EQ(pickerRuns(), 0);
}

TEST_F(StatusMenuTest, WithoutHighlightItemNothingIsPreselected) {
    world.mac.menus().setHighlightItemAvailable(false);
    world.launch();
    world.openMenu();
    EXPECT_EQ(world.mac.menus().openMenu()->highlightedItem(), nullptr);
    world.press(kKeyN, kControl | kOption | kShift);
    EXPECT_EQ(world.count("Turned off"), 1);
    EXPECT_EQ(world.mac.menus().openMenu()->highlightedItem(), nullptr);
}

TEST_F(StatusMenuTest, UpdateAnnouncedWhileOpenShowsAtTheTopAtOnce) {
    world.mac.process().setBundleValue("SUFeedURL", std::string("https://example.com/appcast.xml"));
    world.mac.process().setBundleValue("SUPublicEDKey", std::string("key"));
    world.mac.defaults().set("SUEnableAutomaticChecks", true);
    world.launch();
    world.openMenu();
    world.mac.updates().setAvailableVersion("1.4");
    world.mac.updates().runScheduledCheck();
    auto titles = world.shownTitles();
    ASSERT_GE(titles.size(), 3u);
    EXPECT_THAT(std::vector<std::string>(titles.begin(), titles.begin() + 3),
                ElementsAre("Update available: 1.4", "---", "Marlowick"));
}

} // namespace
} // namespace marlowick
