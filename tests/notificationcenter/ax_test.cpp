#include "notificationcenter/ax.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/ax_builders.h"

namespace marlowick {
namespace {

using platform::Rect;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

class AXLayerTest : public ::testing::TestWithParam<ReadStrategy> {
protected:
    AXLayerTest() : strategy_(GetParam()) {}

    sim::SimMac mac{withoutNotificationCenter()};
    ScopedReadStrategy strategy_;
};

TEST_P(AXLayerTest, EmptyMistypedAndStaleValuesReadAsAbsent) {
    auto button = pressable(node("AXButton"));
    button->set("AXDescription", std::string()).set("AXTitle", std::int64_t{7});
    button->set("AXPosition", platform::Size{1, 2}).set("AXSize", platform::Size{3, 4});
    auto group = node("AXGroup", {button});
    group->set("AXRole", std::string()).set("AXChildren", std::string("not a list"));
    auto root = node("AXApplication", {group});
    launchNotificationCenter(mac, root);

    EXPECT_EQ(stringAttribute(button->element(), "AXRole"), "AXButton");
    EXPECT_EQ(stringAttribute(button->element(), "AXDescription"), std::nullopt);
    EXPECT_EQ(stringAttribute(button->element(), "AXTitle"), std::nullopt);
    EXPECT_EQ(stringAttribute(group->element(), "AXRole"), std::nullopt);
    EXPECT_THAT(children(group->element()), IsEmpty());
    EXPECT_EQ(frameOf(button->element()), std::nullopt) << "a size where a point belongs";

    // A handle outlives its element; every read on it then fails quietly.
    auto stale = button->element();
    button->set("AXPosition", platform::Point{1, 2});
    ASSERT_TRUE(frameOf(stale));
    button->destroy();
    EXPECT_EQ(stringAttribute(stale, "AXRole"), std::nullopt);
    EXPECT_THAT(actionNames(stale), IsEmpty());
    EXPECT_FALSE(hasAction(stale, "AXPress"));
    EXPECT_EQ(frameOf(stale), std::nullopt);
    EXPECT_THAT(staticTexts(stale), IsEmpty());
    EXPECT_EQ(enclosingScrollArea(stale), std::nullopt);
    EXPECT_EQ(performAction(stale, "AXPress"), platform::kAXErrorInvalidUIElement);
}

TEST_P(AXLayerTest, CustomActionNamesMatchTheWholeLabel) {
    auto cell = node("AXGroup");
    for (std::string name : {"AXPress", "Name:Close All\nTarget:0x1",
                             "Name:Close\nTarget:0x2\nSelector:close:", "Name:Clear All\n"}) {
        cell->addAction(name, [] { return platform::kAXErrorSuccess; });
    }
    launchNotificationCenter(mac, node("AXApplication", {cell}));

    EXPECT_EQ(customActionName(cell->element(), "Close"), "Name:Close\nTarget:0x2\nSelector:close:");
    EXPECT_EQ(customActionName(cell->element(), "Clear All"), "Name:Clear All\n");
    EXPECT_EQ(customActionName(cell->element(), "Clear"), std::nullopt);
    EXPECT_EQ(customActionName(cell->element(), "Show"), std::nullopt);
    EXPECT_TRUE(hasAction(cell->element(), "AXPress"));
    EXPECT_FALSE(hasAction(cell->element(), "AXPres"));
}

TEST_P(AXLayerTest, FramesFlipAgainstTheFirstScreenOrAgainstZero) {
    auto element = placed(node("AXGroup"), 10, 0, 200, 100);
    launchNotificationCenter(mac, node("AXApplication", {element}));

    mac.screens().setScreenFrames({Rect(0, 0, 1440, 900), Rect(1440, 0, 800, 600)});
    EXPECT_THAT(frameOf(element->element()), Optional(Rect(10, 800, 200, 100)));

    element->set("AXPosition", platform::Point{10, 30});
    mac.screens().setScreenFrames({});
    EXPECT_THAT(frameOf(element->element()), Optional(Rect(10, -130, 200, 100)));
}

TEST_P(AXLayerTest, TextWalksStopBelowDepthNine) {
    // A chain twelve levels deep with a text at every level; level 4's text is a header.
    NodePtr top;
    NodePtr deepest;
    for (int level = 11; level >= 0; --level) {
        auto label = placed(text("t" + std::to_string(level)), 0, level, 10, 1);
        if (level == 4) label->set("AXIdentifier", std::string("header"));
        if (deepest) label->addChild(deepest);
        deepest = label;
    }
    top = deepest;
    launchNotificationCenter(mac, node("AXApplication", {top}));

    EXPECT_THAT(staticTexts(top->element()),
                ElementsAre("t0", "t1", "t2", "t3", "t5", "t6", "t7", "t8", "t9"));
    EXPECT_THAT(staticTexts(top->element(), 8), ElementsAre("t0", "t1"));
    EXPECT_THAT(staticTexts(top->element(), 10), IsEmpty());

    auto frames = staticTextFrames(top->element());
    ASSERT_EQ(frames.size(), 10u) << "headers have frames too";
    EXPECT_EQ(frames[4], Rect(0, 982 - 4 - 1, 10, 1));
}

TEST_P(AXLayerTest, EnclosingScrollAreaWalksUpAndEndsOnLoops) {
    auto inner = node("AXStaticText");
    auto rowNode = node("AXGroup", {inner});
    auto area = node("AXScrollArea", {rowNode});
    auto outside = node("AXGroup");
    launchNotificationCenter(mac, node("AXApplication", {area, outside}));

    EXPECT_EQ(enclosingScrollArea(inner->element()), area->element());
    EXPECT_EQ(enclosingScrollArea(area->element()), area->element());
    EXPECT_EQ(enclosingScrollArea(outside->element()), std::nullopt);

    // Two elements that claim each other as parent.
    auto a = node("AXGroup");
    auto b = node("AXGroup");
    a->set("AXParent", b->element());
    b->set("AXParent", a->element());
    launchNotificationCenter(mac, node("AXApplication", {a, b}));
    EXPECT_EQ(enclosingScrollArea(a->element()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(BothStrategies, AXLayerTest,
                         ::testing::Values(ReadStrategy::Batched, ReadStrategy::OneByOne),
                         [](const auto& info) { return ::testing::PrintToString(info.param); });

} // namespace
} // namespace marlowick
