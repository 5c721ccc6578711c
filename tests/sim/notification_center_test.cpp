// The simulated Notification Center as a reader sees it through the accessibility service: banners,
// the sidebar with its slide, stacks, history, paging, the row actions, the process's life and the
// notifications it posts.
#include "sim/notification_center.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/sim_mac.h"

namespace marlowick::sim {
namespace {

using platform::AXValue;
using platform::Element;
using platform::kAXErrorSuccess;
using ::testing::ElementsAre;

std::string custom(const std::string& label) {
    return "Name:" + label + "\nTarget:0x0\nSelector:(null)";
}

constexpr double kColumnX = SimScreens::kWidth - 16 - 344;

// Reads the tree through the platform's service only, as the product does.
struct Screen {
    SimNotificationCenter& nc;

    platform::Accessibility& ax() { return *platform::current().accessibility; }
    Element app() { return ax().application(nc.pid()); }
    AXValue read(const Element& e, std::string_view attribute) {
        AXValue value;
        ax().copyAttributeValue(e, attribute, value);
        return value;
    }
    std::string text(const Element& e, std::string_view attribute) {
        auto value = read(e, attribute);
        return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
    }
    std::vector<Element> children(const Element& e) {
        auto value = read(e, "AXChildren");
        return std::holds_alternative<std::vector<Element>>(value) ? std::get<std::vector<Element>>(value)
                                                                   : std::vector<Element>{};
    }
    std::vector<std::string> actions(const Element& e) {
        std::vector<std::string> names;
        ax().copyActionNames(e, names);
        return names;
    }
    bool perform(const Element& e, const std::string& action) {
        return ax().performAction(e, action) == kAXErrorSuccess;
    }
    Element parent(const Element& e) {
        auto value = read(e, "AXParent");
        return std::holds_alternative<Element>(value) ? std::get<Element>(value) : Element();
    }
    double x(const Element& e) { return std::get<platform::Point>(read(e, "AXPosition")).x; }
    double y(const Element& e) { return std::get<platform::Point>(read(e, "AXPosition")).y; }
    double height(const Element& e) { return std::get<platform::Size>(read(e, "AXSize")).height; }
    bool isStale(const Element& e) {
        AXValue value;
        return ax().copyAttributeValue(e, "AXRole", value) == platform::kAXErrorInvalidUIElement;
    }

    // Pre-order below the application down to maxDepth, entering the menu bar only when asked.
    std::vector<Element> find(const std::function<bool(const Element&)>& test, int maxDepth = 24,
                              bool intoMenuBar = false) {
        std::vector<Element> found;
        std::function<void(const Element&, int)> walk = [&](const Element& e, int depth) {
            if (depth > maxDepth || (!intoMenuBar && text(e, "AXRole") == "AXMenuBar")) return;
            if (test(e)) found.push_back(e);
            for (const auto& child : children(e))
                walk(child, depth + 1);
        };
        walk(app(), 0);
        return found;
    }
    std::vector<Element> withRole(const std::string& role) {
        return find([&](const Element& e) { return text(e, "AXRole") == role; });
    }
    bool hasIdentifier(const std::string& identifier, int maxDepth = 24) {
        return !find([&](const Element& e) { return text(e, "AXIdentifier") == identifier; }, maxDepth)
                    .empty();
    }
    std::vector<Element> rows() {
        return find(
            [&](const Element& e) { return text(e, "AXSubrole").find("Notification") != std::string::npos; });
    }
    std::vector<std::string> descriptions(const std::vector<Element>& elements) {
        std::vector<std::string> result;
        for (const auto& e : elements)
            result.push_back(text(e, "AXDescription"));
        return result;
    }
    std::vector<std::string> rowDescriptions() { return descriptions(rows()); }
};

struct NotificationCenterTest : ::testing::Test {
    SimMac mac;
    SimNotificationCenter& nc = mac.notificationCenter();
    Screen screen{nc};

    // AXToggleUI works, yet answers that it is not supported, as on macOS 26.
    void toggle() {
        EXPECT_EQ(screen.ax().performAction(screen.app(), "AXToggleUI"),
                  platform::kAXErrorAttributeUnsupported);
    }
    void toggleAndSettle() {
        toggle();
        mac.runFor(0.5);
    }
    Element scrollArea() { return screen.withRole("AXScrollArea").at(0); }
    // The list inside the scroll area: rows, stacks' headings and buttons, the history button.
    Element list() { return screen.children(scrollArea()).at(0); }
};

TEST_F(NotificationCenterTest, BannersShowFiveSecondsEachNewestOnTopAndStayListed) {
    nc.post({.app = "Mail", .title = "Lunch", .body = "At noon?"});
    mac.runFor(3);
    nc.post({.app = "Slack", .title = "Deploy done"});
    nc.post({.app = "Calendar", .title = "Earlier", .older = true});
    auto banners = screen.rows();
    ASSERT_THAT(screen.descriptions(banners), ElementsAre("Slack, Deploy done", "Mail, Lunch, At noon?"));
    EXPECT_EQ(screen.text(banners[0], "AXSubrole"), "AXNotificationCenterBanner");
    EXPECT_EQ(screen.x(banners[0]), kColumnX);
    EXPECT_GT(screen.y(banners[0]), SimScreens::kMenuBarHeight);
    EXPECT_GT(screen.y(banners[1]), screen.y(banners[0]) + 70) << "stacked downward without overlap";

    mac.runFor(2.01);
    EXPECT_THAT(screen.rowDescriptions(), ElementsAre("Slack, Deploy done"));
    EXPECT_TRUE(screen.isStale(banners[1]));
    EXPECT_FALSE(screen.isStale(banners[0])) << "a banner that stays keeps its element";
    mac.runFor(3);
    EXPECT_TRUE(screen.withRole("AXWindow").empty());
    EXPECT_THAT(nc.sidebarRows(), ElementsAre("Slack, Deploy done", "Mail, Lunch, At noon?"));

    // Opening the sidebar hides banners; what arrives while it is open shows only in its list.
    nc.post({.app = "Notes", .title = "Before"});
    nc.openSidebar();
    nc.post({.app = "Notes", .title = "While open"});
    EXPECT_TRUE(nc.banners().empty());
    mac.runFor(0.5);
    EXPECT_EQ(screen.rowDescriptions().front(), "Notes, While open, stacked");
}

TEST_F(NotificationCenterTest, ToggleShowsRowsATenthLaterSlidingInAndOutOverThreeTenths) {
    nc.post({.app = "Mail", .title = "Lunch"});
    toggle();
    EXPECT_TRUE(screen.hasIdentifier("widget-editor-button", 7)) << "at once, within depth 7";
    EXPECT_TRUE(screen.rows().empty()) << "the banner has gone and the rows are not there yet";

    mac.runFor(0.1);
    auto rows = screen.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(screen.x(rows[0]), SimScreens::kWidth) << "from the screen's right edge";
    mac.runFor(0.15);
    EXPECT_LT(screen.x(rows[0]), (kColumnX + SimScreens::kWidth) / 2)
        << "easing out: most of the way at half time";
    mac.runFor(0.151);
    EXPECT_EQ(screen.x(rows[0]), kColumnX);

    // Closing takes the editor button away at once; the rows stay while they slide out.
    toggle();
    EXPECT_FALSE(nc.sidebarIsOpen());
    EXPECT_FALSE(screen.hasIdentifier("widget-editor-button"));
    mac.runFor(0.15);
    ASSERT_THAT(screen.rows(), ElementsAre(rows[0]));
    EXPECT_GT(screen.x(rows[0]), kColumnX);
    mac.runFor(0.151);
    EXPECT_TRUE(screen.isStale(rows[0]));
    EXPECT_TRUE(screen.withRole("AXWindow").empty());

    // Reopened halfway out, the same rows turn round.
    toggleAndSettle();
    rows = screen.rows();
    nc.closeSidebar();
    mac.runFor(0.15);
    nc.openSidebar();
    EXPECT_THAT(screen.rows(), ElementsAre(rows[0]));
    mac.runFor(0.301);
    EXPECT_EQ(screen.x(rows[0]), kColumnX);
}

TEST_F(NotificationCenterTest, RowsAndTheirWindowHaveMacOS26sShapeWithTheMenuBarTrapBeside) {
    std::string untrusted = "Line\nbreak\x01\x7f " + std::string(10000, 'x');
    nc.post({.app = "Mail", .title = "Lunch", .body = "At noon?", .subtitle = "Ana", .id = "mail-1"});
    nc.post({.app = "Notes", .title = untrusted});
    toggleAndSettle();
    auto rows = screen.rows();
    ASSERT_THAT(screen.descriptions(rows), ElementsAre("Notes, " + untrusted, "Mail, Lunch, Ana, At noon?"));
    EXPECT_EQ(screen.text(rows[0], "AXIdentifier"), "");
    EXPECT_EQ(screen.text(rows[1], "AXIdentifier"), "mail-1");
    EXPECT_EQ(screen.text(rows[1], "AXSubrole"), "AXNotificationCenterAlert");
    EXPECT_THAT(screen.actions(rows[1]),
                ElementsAre("AXPress", custom("Show Details"), custom("Close"), custom("Show")));
    std::vector<std::string> texts;
    for (const auto& t : screen.children(rows[1])) {
        texts.push_back(screen.text(t, "AXRole") + " " + screen.text(t, "AXIdentifier") + ":" +
                        screen.text(t, "AXValue"));
    }
    EXPECT_THAT(texts, ElementsAre("AXStaticText header:Mail", "AXStaticText title:Lunch",
                                   "AXStaticText subtitle:Ana", "AXStaticText body:At noon?"));
    EXPECT_EQ(screen.children(rows[0]).size(), 2u) << "no text for an empty subtitle or body";

    // One full-screen system dialog; the list and the editor button inside the scroll area.
    std::vector<std::string> ancestry;
    for (Element e = rows[0]; e; e = screen.parent(e)) {
        ancestry.push_back(screen.text(e, "AXRole") + " " + screen.text(e, "AXSubrole") + " " +
                           screen.text(e, "AXIdentifier"));
    }
    EXPECT_THAT(ancestry,
                ElementsAre("AXGroup AXNotificationCenterAlert ", "AXGroup  AXNotificationListItems",
                            "AXScrollArea  ", "AXGroup  ", "AXGroup AXHostingView ",
                            "AXWindow AXSystemDialog ", "AXApplication  "));
    Element window = screen.withRole("AXWindow").at(0);
    EXPECT_EQ(screen.read(window, "AXSize"),
              AXValue(platform::Size{SimScreens::kWidth, SimScreens::kHeight}));
    EXPECT_EQ(screen.text(screen.children(scrollArea()).back(), "AXIdentifier"), "widget-editor-button");

    // Only the menu bar holds something else that looks like a row.
    auto lookalikes = screen.find(
        [&](const Element& e) {
            return screen.text(e, "AXSubrole").find("Notification") != std::string::npos;
        },
        24, true);
    ASSERT_EQ(lookalikes.size(), 3u);
    EXPECT_EQ(screen.text(lookalikes[0], "AXRole"), "AXMenuBarItem");
    EXPECT_THAT(screen.actions(lookalikes[0]), ::testing::Contains("AXPress"));

    // A lone banner hangs straight off its scroll area; two sit in the list.
    nc.closeSidebar();
    mac.runFor(0.5);
    nc.post({.app = "Slack", .title = "Deploy"});
    EXPECT_EQ(screen.text(screen.parent(screen.rows().at(0)), "AXRole"), "AXScrollArea");
    nc.post({.app = "Slack", .title = "Again"});
    EXPECT_EQ(screen.text(screen.parent(screen.rows().at(0)), "AXIdentifier"), "AXNotificationListItems");
}

TEST_F(NotificationCenterTest, StackSitsAtItsNewestUnfoldsOnPressAndStaysSoUntilFoldedOrCleared) {
    nc.post({.app = "Mail", .title = "First"});
    nc.post({.app = "Slack", .title = "Hi"});
    nc.post({.app = "Mail", .title = "Second", .body = "More"});
    toggleAndSettle();
    auto rows = screen.rows();
    ASSERT_THAT(screen.descriptions(rows), ElementsAre("Mail, Second, More, stacked", "Slack, Hi"));
    Element stack = rows[0];
    EXPECT_EQ(screen.text(stack, "AXSubrole"), "AXNotificationCenterAlertStack");
    EXPECT_THAT(screen.actions(stack),
                ElementsAre("AXPress", custom("Show Details"), custom("Clear All"), custom("Show")));
    EXPECT_EQ(screen.parent(stack), list()) << "no group of its own, no button beside it";

    ASSERT_TRUE(screen.perform(stack, "AXPress"));
    mac.runFor(0.195);
    EXPECT_EQ(screen.rows().front(), stack) << "unfolds only after 0.2 s";
    mac.runFor(0.01);
    EXPECT_TRUE(screen.isStale(stack));
    auto items = screen.descriptions(screen.children(list()));
    std::vector<std::string> roles;
    for (const auto& e : screen.children(list()))
        roles.push_back(screen.text(e, "AXRole"));
    EXPECT_THAT(roles, ElementsAre("AXHeading", "AXButton", "AXButton", "AXGroup", "AXGroup", "AXGroup"));
    EXPECT_THAT(std::vector(items.begin(), items.begin() + 3), ElementsAre("Mail", "Show Less", "Clear"));
    EXPECT_THAT(screen.rowDescriptions(), ElementsAre("Mail, Second, More", "Mail, First", "Slack, Hi"));

    // Still unfolded after closing and reopening; the first button folds it back, even mid-slide-out.
    nc.closeSidebar();
    mac.runFor(0.5);
    toggleAndSettle();
    Element heading = screen.withRole("AXHeading").at(0);
    Element fold = screen.children(list()).at(1);
    nc.closeSidebar();
    mac.runFor(0.1);
    ASSERT_TRUE(screen.perform(fold, "AXPress"));
    mac.runFor(0.5);
    EXPECT_TRUE(screen.isStale(heading));
    EXPECT_THAT(nc.sidebarRows(), ElementsAre("Mail, 2 notifications", "Slack, Hi"));

    // The second button clears it; its rows go 0.15 s later.
    toggleAndSettle();
    screen.perform(screen.rows().front(), "AXPress");
    mac.runFor(0.25);
    ASSERT_TRUE(screen.perform(screen.children(list()).at(2), "AXPress"));
    mac.runFor(0.145);
    EXPECT_EQ(screen.rows().size(), 3u);
    mac.runFor(0.01);
    EXPECT_THAT(screen.rowDescriptions(), ElementsAre("Slack, Hi"));
    EXPECT_EQ(nc.closedOrCleared().size(), 2u);
    nc.post({.app = "Mail", .title = "Third"});
    nc.post({.app = "Mail", .title = "Fourth"});
    EXPECT_EQ(nc.sidebarRows().front(), "Mail, 2 notifications") << "a cleared stack comes back folded";
}

TEST_F(NotificationCenterTest, HistoryButtonRevealsOlderNotificationsBelowAndExistsOnlyWhileSomeAreHidden) {
    nc.post({.app = "Mail", .title = "Old", .older = true});
    nc.post({.app = "Notes", .title = "New"});
    toggleAndSettle();
    EXPECT_THAT(screen.rowDescriptions(), ElementsAre("Notes, New"));
    auto history = screen.find(
        [&](const Element& e) { return screen.text(e, "AXIdentifier") == "AXShowHistoryButton"; });
    ASSERT_EQ(history.size(), 1u);
    EXPECT_GT(screen.y(history[0]), screen.y(screen.rows()[0]));

    ASSERT_TRUE(screen.perform(history[0], "AXPress"));
    mac.runFor(0.195);
    EXPECT_EQ(screen.rows().size(), 1u);
    mac.runFor(0.01);
    EXPECT_THAT(screen.rowDescriptions(), ElementsAre("Notes, New", "Mail, Old"));
    EXPECT_FALSE(screen.hasIdentifier("AXShowHistoryButton"));
    nc.post({.app = "Mail", .title = "Older still", .older = true});
    EXPECT_TRUE(screen.hasIdentifier("AXShowHistoryButton"));
}

TEST_F(NotificationCenterTest, OpeningRecordsRemovesAndClosesTheSidebarWhileClosingRemovesLater) {
    nc.post({.app = "Mail", .title = "One"});
    nc.post({.app = "Notes", .title = "Two"});
    nc.post({.app = "Slack", .title = "Three"});
    ASSERT_TRUE(screen.perform(screen.rows().at(0), "AXPress")) << "a banner opens too";
    EXPECT_THAT(nc.banners(), ElementsAre("Notes, Two", "Mail, One"));

    toggleAndSettle();
    auto rows = screen.rows();
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_TRUE(screen.perform(rows[1], custom("Close")));
    EXPECT_FALSE(screen.perform(rows[1], custom("Close"))) << "already on its way out";
    mac.runFor(0.145);
    EXPECT_FALSE(screen.isStale(rows[1]));
    mac.runFor(0.01);
    EXPECT_TRUE(screen.isStale(rows[1]));

    ASSERT_TRUE(screen.perform(rows[0], custom("Show")));
    EXPECT_TRUE(screen.isStale(rows[0]));
    EXPECT_FALSE(nc.sidebarIsOpen());
    std::vector<std::string> opened, closed;
    for (const auto& n : nc.opened())
        opened.push_back(n.title);
    for (const auto& n : nc.closedOrCleared())
        closed.push_back(n.title);
    EXPECT_THAT(opened, ElementsAre("Three", "Two"));
    EXPECT_THAT(closed, ElementsAre("One"));
    EXPECT_TRUE(nc.sidebarRows().empty());
    EXPECT_FALSE(nc.userClear("Nobody"));
}

TEST_F(NotificationCenterTest, ScrollAreaShowsItsVisibleHeightAndPagesWithoutCuttingRows) {
    for (int i = 9; i >= 0; --i)
        nc.post({.app = "App " + std::to_string(i), .title = "Row"});
    nc.setVisibleHeight(200); // two rows and a part of the third
    toggleAndSettle();
    Element area = scrollArea();
    double top = screen.y(area);
    EXPECT_EQ(screen.height(area), 200);
    auto rows = screen.rows();
    ASSERT_EQ(rows.size(), 10u) << "rows out of sight stay in the tree";
    EXPECT_GT(screen.y(rows[9]), top + 200);

    ASSERT_TRUE(screen.perform(area, "AXScrollDownByPage"));
    EXPECT_EQ(screen.y(rows[2]), top) << "the row cut at the bottom comes to the top";
    EXPECT_EQ(screen.rows(), rows);
    for (int i = 0; i < 10; ++i)
        screen.perform(area, "AXScrollDownByPage");
    EXPECT_EQ(screen.y(rows[9]) + 70, top + 200) << "stops at the end";
    for (int i = 0; i < 10; ++i)
        screen.perform(area, "AXScrollUpByPage");
    EXPECT_EQ(screen.y(rows[0]), top);
}

TEST_F(NotificationCenterTest, RestartQuitAndHangBehaveAsTheProcessWould) {
    nc.post({.app = "Mail", .title = "One"});
    nc.post({.app = "Mail", .title = "Two"});
    toggleAndSettle();
    screen.perform(screen.rows().at(0), "AXPress");
    mac.runFor(0.2);
    auto oldPid = nc.pid();
    Element oldRow = screen.rows().at(0);
    // Without a Dock icon it gets no launch or termination notification; observers of the list
    // hear of it, and of an ordinary application as well.
    int listChanges = 0;
    std::vector<std::int32_t> notified;
    auto list = mac.workspace().observeRunningApplications([&] { ++listChanges; });
    auto notifications = mac.workspace().observeLaunchNotifications(
        [&](std::int32_t pid, bool) { notified.push_back(pid); });

    nc.restart();
    const auto ordinary = mac.workspace().launchApplication("com.example.app");
    mac.runUntilIdle();
    EXPECT_EQ(listChanges, 3);
    EXPECT_EQ(notified, std::vector<std::int32_t>{ordinary});
    mac.workspace().terminateApplication(ordinary);
    EXPECT_NE(nc.pid(), oldPid);
    EXPECT_TRUE(screen.isStale(oldRow));
    EXPECT_FALSE(nc.sidebarIsOpen());
    EXPECT_THAT(nc.sidebarRows(), ElementsAre("Mail, 2 notifications")) << "stored, and folded again";
    ASSERT_EQ(mac.workspace().runningApplications().size(), 1u);
    EXPECT_EQ(mac.workspace().runningApplications()[0]->processIdentifier(), nc.pid());

    // Hung, nothing changes on screen; what fell due happens once it answers.
    toggleAndSettle();
    Element stack = screen.rows().at(0);
    ASSERT_TRUE(screen.perform(stack, custom("Clear All")));
    nc.hang();
    EXPECT_FALSE(nc.closeSidebar());
    mac.runFor(1);
    EXPECT_EQ(nc.sidebarRows().size(), 1u);
    nc.answer();
    EXPECT_TRUE(nc.sidebarRows().empty());
    EXPECT_TRUE(screen.isStale(stack));

    nc.quit();
    EXPECT_TRUE(mac.workspace().runningApplications().empty());
    nc.post({.app = "Notes", .title = "While quit"});
    nc.launch();
    EXPECT_THAT(nc.sidebarRows(), ElementsAre("Notes, While quit"));
}

TEST_F(NotificationCenterTest, ACrashFailsRequestsAtOnceAndTheSystemRelaunchesItWithANewPid) {
    nc.post({.app = "Mail", .title = "One"});
    toggleAndSettle();
    Element row = screen.rows().at(0);
    auto oldPid = nc.pid();
    nc.crash();
    double crashedAt = mac.now();
    AXValue value;
    EXPECT_EQ(screen.ax().copyAttributeValue(screen.ax().application(oldPid), "AXChildren", value),
              platform::kAXErrorCannotComplete);
    EXPECT_EQ(screen.ax().copyAttributeValue(row, "AXRole", value), platform::kAXErrorInvalidUIElement);
    EXPECT_EQ(mac.now(), crashedAt) << "nobody is there to time out";
    ASSERT_EQ(mac.workspace().runningApplications().size(), 1u) << "the workspace notices a moment later";
    mac.runFor(SimNotificationCenter::kCrashNoticedDelay);
    EXPECT_TRUE(mac.workspace().runningApplications().empty());
    mac.runFor(SimNotificationCenter::kRelaunchAfterCrash);
    ASSERT_EQ(nc.state(), SimNotificationCenter::State::Running);
    EXPECT_NE(nc.pid(), oldPid);
    EXPECT_FALSE(nc.sidebarIsOpen());
    EXPECT_THAT(nc.sidebarRows(), ElementsAre("Mail, One"));
    EXPECT_EQ(screen.ax().copyAttributeValue(screen.app(), "AXChildren", value), kAXErrorSuccess);

    // Quit by hand before the relaunch, it stays quit.
    nc.crash();
    nc.quit();
    mac.runFor(2);
    EXPECT_EQ(nc.state(), SimNotificationCenter::State::Quit);
}

TEST_F(NotificationCenterTest, EveryLabelAndTheStringsTableFollowTheLanguageAndAChangeRelaunches) {
    nc.post({.app = "Mail", .title = "One"});
    nc.post({.app = "Mail", .title = "Two"});
    nc.post({.app = "Notes", .title = "Alone", .older = true});
    auto pid = nc.pid();
    EXPECT_FALSE(nc.setLanguage("xx"));
    ASSERT_TRUE(nc.setLanguage("de"));
    EXPECT_NE(nc.pid(), pid);
    toggleAndSettle();
    auto history = screen.find(
        [&](const Element& e) { return screen.text(e, "AXIdentifier") == "AXShowHistoryButton"; });
    EXPECT_EQ(screen.text(history.at(0), "AXDescription"), "Ältere Mitteilungen");
    screen.perform(screen.rows().at(0), "AXPress");
    mac.runFor(0.3);
    EXPECT_THAT(screen.descriptions(screen.children(list())),
                ::testing::IsSupersetOf({"Mail", "Weniger anzeigen", "Entfernen"}));

    // A language of its own: the labels it lacks stay English.
    nc.setCustomLanguage("tlh", "Qoy", "Hoch Qoy", "Ha'");
    auto table = nc.strings().table();
    EXPECT_EQ(table.languages.size(), NotificationCenterStrings::shippedLanguages().size() + 1);
    EXPECT_EQ(table.languages.at("tlh").at("NOTIFICATION_ACTION_CLOSE"), "Qoy");
    EXPECT_EQ(table.languages.at("tlh").at("GROUP_SHOW_LESS"), "Show Less");
    for (const auto& language : NotificationCenterStrings::shippedLanguages())
        EXPECT_EQ(table.languages.at(language).size(), table.languages.at("en").size()) << language;
}

TEST_F(NotificationCenterTest, DesktopWidgetsAreWindowsOfTheirOwnThereWhetherOrNotThePanelIsOpen) {
    nc.setDesktopWidgets(12);
    auto widgetWindows = [&] {
        std::vector<Element> found;
        for (const auto& e : screen.children(screen.app())) {
            if (screen.text(e, "AXIdentifier").starts_with("widget-local:")) found.push_back(e);
        }
        return found;
    };
    auto windows = widgetWindows();
    ASSERT_EQ(windows.size(), 12u);
    std::function<int(const Element&)> size = [&](const Element& e) {
        int count = 1;
        for (const auto& child : screen.children(e))
            count += size(child);
        return count;
    };
    EXPECT_EQ(size(windows[0]), 30);
    EXPECT_EQ(screen.text(windows[0], "AXRole"), "AXWindow");
    toggleAndSettle();
    EXPECT_EQ(widgetWindows(), windows) << "the same windows while the panel is open";
    EXPECT_EQ(screen.text(screen.children(screen.app()).at(1), "AXSubrole"), "AXSystemDialog");
}

TEST_F(NotificationCenterTest, ChangesPostTheirAccessibilityNotificationsThroughTheRunLoop) {
    std::vector<std::pair<std::string, Element>> received;
    std::unique_ptr<platform::AXObserver> observer;
    ASSERT_EQ(screen.ax().createObserver(
                  nc.pid(), [&](const Element& e, std::string_view name) { received.emplace_back(name, e); },
                  observer),
              kAXErrorSuccess);
    for (const char* name :
         {"AXLayoutChanged", "AXUIElementDestroyed", "AXFocusedWindowChanged", "AXWindowCreated"}) {
        ASSERT_EQ(observer->addNotification(screen.app(), name), kAXErrorSuccess);
    }
    observer->addRunLoopSource();
    auto names = [&] {
        std::vector<std::string> result;
        for (const auto& entry : received)
            result.push_back(entry.first);
        received.clear();
        return result;
    };
    using ::testing::Contains;
    using ::testing::Pair;

    nc.post({.app = "Mail", .title = "One"});
    EXPECT_TRUE(received.empty());
    mac.runUntilIdle();
    EXPECT_THAT(names(), ElementsAre("AXWindowCreated", "AXFocusedWindowChanged", "AXLayoutChanged"));
    Element banner = screen.rows().at(0);
    nc.openSidebar();
    mac.runUntilIdle();
    EXPECT_THAT(received, Contains(Pair("AXUIElementDestroyed", banner)));
    EXPECT_THAT(names(), ElementsAre("AXUIElementDestroyed", "AXLayoutChanged"))
        << "the panel opens in the banners' window";
    mac.runFor(0.1);
    EXPECT_THAT(names(), ElementsAre("AXLayoutChanged")) << "the rows appear";
    Element row = screen.rows().at(0);
    screen.perform(row, custom("Close"));
    mac.runFor(0.15);
    EXPECT_THAT(received, Contains(Pair("AXUIElementDestroyed", row)));
}

TEST_F(NotificationCenterTest, BannersLeaveMidRequestSomeAreNeverListedAndSomeRowsCannotBeClosed) {
    nc.post({.app = "Chat", .title = "Ping", .keptInSidebar = false});
    nc.post({.app = "Calendar", .title = "Meeting", .closable = false});
    mac.runFor(4.9);
    auto banners = screen.rows();
    ASSERT_EQ(banners.size(), 2u);
    // Time passes inside a slow request: by the time the press arrives the banner has gone.
    mac.runLoop().advanceClock(0.15);
    EXPECT_EQ(screen.ax().performAction(banners[1], "AXPress"), platform::kAXErrorInvalidUIElement);
    EXPECT_TRUE(nc.opened().empty());

    mac.runFor(0.5);
    EXPECT_THAT(nc.sidebarRows(), ElementsAre("Calendar, Meeting")) << "Chat shows banners only";
    toggleAndSettle();
    auto rows = screen.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_THAT(screen.actions(rows[0]), ::testing::Not(::testing::Contains(custom("Close"))));
    EXPECT_THAT(screen.actions(rows[0]), ::testing::Contains(custom("Show")));

    // A busy process keeps closed rows listed for longer.
    nc.post({.app = "Mail", .title = "Lunch"});
    mac.runFor(0.1);
    nc.setRemovalDelay(1.0);
    ASSERT_TRUE(screen.perform(screen.rows().at(0), custom("Close")));
    mac.runFor(0.9);
    EXPECT_EQ(screen.rows().size(), 2u);
    mac.runFor(0.2);
    EXPECT_EQ(screen.rows().size(), 1u);
}

} // namespace
} // namespace marlowick::sim
