#include "notificationcenter/reader.h"

#include <cmath>
#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/ax.h"
#include "notificationcenter/ax_builders.h"

namespace marlowick {
namespace {

using platform::Rect;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

std::vector<std::string> titles(const std::vector<Notification>& notifications) {
    std::vector<std::string> result;
    for (const auto& notification : notifications)
        result.push_back(notification.title);
    return result;
}

// A chain of groups `levels` deep below the application, ending in an element with `identifier`.
NodePtr chainTo(int levels, const std::string& identifier) {
    auto bottom = withIdentifier(node("AXButton"), identifier);
    for (int level = levels - 1; level > 0; --level)
        bottom = node("AXGroup", {bottom});
    return node("AXApplication", {bottom});
}

TEST(NotificationCenterLocator, FollowsTheProcessAndForgetsAnOlderPlatform) {
    {
        sim::SimMac mac{withoutNotificationCenter()};
        EXPECT_EQ(notificationCenterApp(), std::nullopt);
        EXPECT_THAT(sidebarNotifications(), IsEmpty());

        auto first = launchNotificationCenter(mac, application({row({text("A")})}));
        ASSERT_TRUE(notificationCenterProcess());
        EXPECT_EQ(notificationCenterProcess()->processIdentifier(), first);
        EXPECT_THAT(titles(sidebarNotifications()), ElementsAre("A"));

        mac.workspace().terminateApplication(first);
        mac.accessibility().unregisterProcess(first);
        EXPECT_EQ(notificationCenterApp(), std::nullopt);
        auto second = launchNotificationCenter(mac, application({row({text("B")})}));
        EXPECT_EQ(notificationCenterProcess()->processIdentifier(), second);
        EXPECT_THAT(titles(sidebarNotifications()), ElementsAre("B"));
    }
    // The previous Mac's record never terminated, but it belongs to a platform that is gone.
    sim::SimMac next{withoutNotificationCenter()};
    EXPECT_EQ(notificationCenterProcess(), nullptr);
}

// A frame that is not finite, negative or far out is no frame; rows without one sort last, in tree
// order, after rows ordered by their top edge with ties in tree order.
TEST(SidebarReader, OrdersRowsByTopEdgeWithTiesInTreeOrderAndRowsWithoutAUsableFrameLast) {
    sim::SimMac mac{withoutNotificationCenter()};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::string, NodePtr>> rows{
        {"low 1", placed(row({text("low 1")}), 0, 300, 300, 60)},
        {"high 1", placed(row({text("high 1")}), 0, 100, 300, 60)},
        {"no frame", row({text("no frame")})},
        {"high 2", placed(row({text("high 2")}), 0, 100, 300, 80)},
        {"NaN y", placed(row({text("NaN y")}), 0, nan, 300, 60)},
        {"NaN width", placed(row({text("NaN width")}), 0, 100, nan, 60)},
        {"infinite x", placed(row({text("infinite x")}), -infinity, 100, 300, 60)},
        {"negative height", placed(row({text("negative height")}), 0, 100, 300, -60)},
        {"far out", placed(row({text("far out")}), 0, 1e12, 300, 60)},
        {"low 2", placed(row({text("low 2")}), 0, 300, 300, 60)},
    };
    std::vector<NodePtr> nodes;
    for (const auto& [_, node] : rows)
        nodes.push_back(node);
    launchNotificationCenter(mac, application(nodes));
    EXPECT_THAT(titles(sidebarNotifications()),
                ElementsAre("high 1", "high 2", "low 1", "low 2", "no frame", "NaN y", "NaN width",
                            "infinite x", "negative height", "far out"));
    for (const auto& [name, node] : rows)
        EXPECT_EQ(itemFrame(node->element()).has_value(), name.starts_with("high") || name.starts_with("low"))
            << name;
}

TEST(SidebarReader, BuildsRecordsFromVisibleTexts) {
    sim::SimMac mac{withoutNotificationCenter()};
    auto described = row();
    described->set("AXDescription", std::string("Mail, Lunch, At noon?"));
    auto headed = withIdentifier(row({withIdentifier(text("Today"), "header"), text("Calendar"),
                                      node("AXGroup", {text("Stand-up"), text("in 5 minutes")})}),
                                 "row-7");
    auto blankIdentifier = withIdentifier(row(), "");
    launchNotificationCenter(mac, application({headed, described, blankIdentifier}));

    auto notifications = sidebarNotifications();
    ASSERT_EQ(notifications.size(), 3u);
    EXPECT_EQ(notifications[0].element, headed->element());
    EXPECT_EQ(notifications[0].id, "row-7");
    EXPECT_EQ(notifications[0].title, "Calendar");
    EXPECT_EQ(notifications[0].body, "Stand-up in 5 minutes");
    EXPECT_EQ(notifications[1].title, "Mail, Lunch, At noon?");
    EXPECT_EQ(notifications[1].body, "");
    EXPECT_EQ(notifications[2].title, "Notification");
    EXPECT_EQ(notifications[2].id, std::nullopt);
}

TEST(SidebarReader, FindsRowsBySubroleOrElseByPressableTextGroups) {
    sim::SimMac mac{withoutNotificationCenter()};
    // A row is not searched further; an unpressable "Notification" element is.
    auto nested = row({text("outer"), row({text("inner")})});
    auto unpressable = node("AXGroup", {row({text("below")})});
    unpressable->set("AXSubrole", std::string("AXNotificationCenterAlert"));
    auto pid = launchNotificationCenter(mac, application({nested, unpressable}));
    EXPECT_THAT(titles(sidebarNotifications()), ElementsAre("outer", "below"));

    // Without notification subroles: pressable groups that show text, outermost only.
    auto textGroup = pressable(node("AXGroup", {text("plain"), pressable(node("AXGroup", {text("x")}))}));
    auto silentGroup = pressable(node("AXGroup", {node("AXImage")}));
    auto textButton = pressable(node("AXButton", {text("button")}));
    mac.accessibility().unregisterProcess(pid);
    mac.workspace().terminateApplication(pid);
    // Widgets look just like such groups; their identifiers keep them out, with what is below them.
    auto widget = withIdentifier(pressable(node("AXGroup", {text("Weather")})), "widget-0");
    auto widgets = withIdentifier(node("AXGroup", {pressable(node("AXGroup", {text("Clock")}))}), "widgets");
    launchNotificationCenter(mac, application({silentGroup, widget, textButton, widgets, textGroup}));
    EXPECT_THAT(titles(sidebarNotifications()), ElementsAre("plain"));
}

TEST(SidebarReader, NeverLooksInsideTheMenuBar) {
    sim::SimMac mac{withoutNotificationCenter()};
    auto menuBar =
        withIdentifier(node("AXMenuBar", {row({text("status item")}),
                                          withIdentifier(node("AXButton"), "AXShowHistoryButton"),
                                          withIdentifier(node("AXButton"), "widget-editor-button")}),
                       "widget-editor-button");
    auto app = node("AXApplication", {menuBar, node("AXWindow")});
    launchNotificationCenter(mac, app);

    EXPECT_THAT(sidebarNotifications(), IsEmpty());
    EXPECT_EQ(historyButton(app->element()), std::nullopt);
    EXPECT_FALSE(sidebarIsOpen(app->element()));
}

TEST(SidebarReader, SearchesStopAtTheirDepthLimits) {
    sim::SimMac mac{withoutNotificationCenter()};
    auto atSeven = chainTo(7, "widget-editor-button");
    auto atEight = chainTo(8, "widget-editor-button");
    auto at24 = chainTo(24, "AXShowHistoryButton");
    auto at25 = chainTo(25, "AXShowHistoryButton");
    for (const auto& app : {atSeven, atEight, at24, at25})
        launchNotificationCenter(mac, app);

    EXPECT_TRUE(sidebarIsOpen(atSeven->element()));
    EXPECT_FALSE(sidebarIsOpen(atEight->element()));
    EXPECT_TRUE(historyButton(at24->element()));
    EXPECT_FALSE(historyButton(at25->element()));
}

TEST(SidebarReader, ATreeThatLoopsBackOnItselfCostsABoundedWalkThatSaysItWasCutOff) {
    sim::SimMac mac{withoutNotificationCenter()};
    // Every level lists its own element twice: 2^24 paths within the depth limit.
    auto loop = node("AXGroup");
    auto looping = row({text("looping")});
    auto app = node("AXApplication", {loop, looping});
    // Handles made before the process presents the tree would be stale.
    launchNotificationCenter(mac, app);
    loop->set("AXChildren",
              std::vector<platform::Element>{loop->element(), loop->element(), looping->element()});
    const std::string cutOff =
        "Tree walk: stopped after reading " + std::to_string(kMaxElementsPerWalk) + " elements";

    auto notifications = sidebarNotifications();
    ASSERT_FALSE(notifications.empty());
    for (const auto& notification : notifications)
        ASSERT_EQ(notification.element, looping->element());
    EXPECT_FALSE(historyButton(app->element()));
    EXPECT_LT(mac.accessibility().requestCount(), 4u * kMaxElementsPerWalk);
    EXPECT_THAT(mac.logLines(), ElementsAre(cutOff, cutOff)) << "one line for each walk cut off";

    // Ten times itself on every level: the level-by-level search would queue ten handles for each
    // one it reads.
    auto wide = node("AXGroup");
    auto wideApp = node("AXApplication", {wide});
    launchNotificationCenter(mac, wideApp);
    wide->set("AXChildren", std::vector<platform::Element>(10, wide->element()));
    TreeWalker walker;
    EXPECT_FALSE(walker.anyBreadthFirst(wideApp->element(), 7, {Attribute::Identifier},
                                        [](ElementAttributes&) { return false; }));
    EXPECT_TRUE(walker.isExhausted());
    EXPECT_LE(walker.mostQueued(), static_cast<std::size_t>(kMaxElementsPerWalk));
    EXPECT_THAT(mac.logLines(), ElementsAre(cutOff, cutOff, cutOff));

    // A walk that ends within the budget says nothing.
    EXPECT_FALSE(sidebarIsOpen(looping->element()));
    EXPECT_EQ(mac.logLines().size(), 3u);
}

TEST(SidebarReader, NarrowsOnlyARowThatFillsItsParent) {
    sim::SimMac mac{withoutNotificationCenter()};
    // A folded stack: the row has the group's frame; its texts span top-left y 110 to 150.
    auto stack =
        placed(row({placed(text("Mail"), 30, 110, 100, 15), placed(text("2 more"), 30, 130, 100, 20)}), 20,
               100, 300, 80);
    auto earlierButton = placed(node("AXButton"), 100, 100, 20, 20);
    auto lastButton = placed(node("AXButton"), 150, 100, 20, 20);
    auto stackGroup =
        placed(node("AXGroup", {stack, earlierButton, lastButton, node("AXStaticText")}), 20, 100, 300, 80);

    auto larger = placed(row({placed(text("big"), 30, 310, 100, 15)}), 20, 300, 300, 90);
    auto largerGroup = placed(node("AXGroup", {larger}), 20, 300, 300, 80);

    auto textless = placed(row(), 20, 500, 300, 80);
    auto textlessGroup = placed(node("AXGroup", {textless}), 20, 500, 300, 80);

    auto pastButton = placed(row({placed(text("late"), 230, 610, 50, 15)}), 220, 600, 100, 80);
    auto pastButtonGroup =
        placed(node("AXGroup", {pastButton, placed(node("AXButton"), 100, 600, 20, 20)}), 220, 600, 100, 80);

    launchNotificationCenter(mac, application({stackGroup, largerGroup, textlessGroup, pastButtonGroup}));

    // Texts from 832 to 872 (bottom-left); the last button's middle at x = 160 caps the width at 280.
    EXPECT_THAT(itemFrame(stack->element()), Optional(Rect(20, 832 - 12.5, 280, 40 + 25)));
    EXPECT_THAT(itemFrame(larger->element()), Optional(Rect(20, 982 - 300 - 90, 300, 90)));
    EXPECT_THAT(itemFrame(textless->element()), Optional(Rect(20, 982 - 500 - 80, 300, 80)));
    EXPECT_THAT(itemFrame(pastButton->element()), Optional(Rect(220, 982 - 625 - 12.5, 100, 15 + 25)));

    // Framed together, rows that share nothing and a stack that fills its parent read the same.
    std::vector<platform::Element> rows{stack->element(), larger->element(), textless->element(),
                                        pastButton->element()};
    std::vector<std::optional<Rect>> oneByOne;
    for (const auto& element : rows)
        oneByOne.push_back(itemFrame(element));
    EXPECT_EQ(itemFrames(rows), oneByOne);

    stack->destroy();
    EXPECT_EQ(itemFrame(stack->element()), std::nullopt);
}

TEST(SidebarReader, ScrollsARowIntoViewPageByPageAndGivesUpAfterFive) {
    sim::SimMac mac{withoutNotificationCenter()};
    // The area spans top-left y 100 to 500; each page moves the content by 300 points.
    double offset = 0;
    int pagesDown = 0;
    int pagesUp = 0;
    auto area = placed(node("AXScrollArea"), 0, 100, 300, 400);
    area->addAction("AXScrollDownByPage", [&] {
        ++pagesDown;
        offset += 300;
        return platform::kAXErrorSuccess;
    });
    area->addAction("AXScrollUpByPage", [&] {
        ++pagesUp;
        offset -= 300;
        return platform::kAXErrorSuccess;
    });
    auto rowAt = [&](double contentY) {
        auto made = row({text("row")});
        made->compute("AXPosition", [&offset, contentY] { return platform::Point{0, contentY - offset}; });
        made->set("AXSize", platform::Size{300, 50});
        return made;
    };
    auto below = rowAt(1000);
    auto above = rowAt(-500);
    auto inside = rowAt(200);
    auto list = node("AXGroup", {below, above, inside});
    area->addChild(list);
    launchNotificationCenter(mac, node("AXApplication", {node("AXWindow", {area})}));

    scrollIntoView(inside->element());
    EXPECT_EQ(pagesDown + pagesUp, 0);
    scrollIntoView(below->element());
    EXPECT_EQ(pagesDown, 2);
    EXPECT_DOUBLE_EQ(offset, 600);
    scrollIntoView(above->element());
    EXPECT_EQ(pagesUp, 4);

    // Scrolling that does not move the content: five pages, then it gives up.
    pagesDown = 0;
    area->addAction("AXScrollDownByPage", [&] {
        ++pagesDown;
        return platform::kAXErrorSuccess;
    });
    scrollIntoView(below->element());
    EXPECT_EQ(pagesDown, 5);

    auto detached = rowAt(0); // not in the tree: no scroll area above it
    scrollIntoView(detached->element());
    EXPECT_EQ(pagesDown + pagesUp, 9);
}

TEST(SidebarReader, TellsStacksAndTheirApplications) {
    sim::SimMac mac{withoutNotificationCenter()};
    auto stack = row({}, "AXNotificationCenterAlertStack");
    stack->set("AXDescription", std::string("Mail, 3 notifications, Lunch"));
    auto single = row();
    single->set("AXDescription", std::string("Calendar"));
    auto bare = row({}, "");
    launchNotificationCenter(mac, application({stack, single, bare}));

    EXPECT_TRUE(isStack(stack->element()));
    EXPECT_FALSE(isStack(single->element()));
    EXPECT_FALSE(isStack(bare->element()));
    EXPECT_EQ(stackAppName(stack->element()), "Mail");
    EXPECT_EQ(stackAppName(single->element()), "Calendar");
    EXPECT_EQ(stackAppName(bare->element()), std::nullopt);
}

} // namespace
} // namespace marlowick
