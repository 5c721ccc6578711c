#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "overlay/action_list.h"
#include "overlay_fixture.h"

namespace marlowick::testing {
namespace {

using platform::Rect;

class ActionList : public OverlayTest {};

TEST_F(ActionList, StandsRightOfTheItemWhenThereIsRoomElseLeftOfTheSidebarAndAlwaysOnScreen) {
    const Rect screen{0, 0, 1512, 982};
    const Rect sidebar{1140, 60, 360, 880};
    const platform::Size size{180, 100};
    // The sidebar at the screen's right edge: the list goes to its left, level with the item's top.
    Rect item{1150, 700, 340, 64};
    EXPECT_EQ(placeActionList(item, sidebar, size, screen), (Rect{1140 - 12 - 180, 664, 180, 100}));
    // A sidebar with the screen's room on its right.
    EXPECT_EQ(placeActionList(item, sidebar, size, {0, 0, 2000, 982}), (Rect{1502, 664, 180, 100}));
    // An item near the bottom, or scrolled half off the top: the list is moved back onto the screen.
    EXPECT_EQ(placeActionList({1150, 20, 340, 64}, sidebar, size, screen).minY(), 12);
    EXPECT_EQ(placeActionList({1150, 960, 340, 64}, sidebar, size, screen).maxY(), 982 - 12);
    // A list wider than the room left of the sidebar keeps its left edge on the screen.
    EXPECT_EQ(placeActionList(item, {40, 60, 360, 880}, size, {0, 0, 420, 982}).minX(), 12);
}

TEST_F(ActionList, NumbersEveryLineAndRingsOnlyTheSelectedOneInEitherAppearance) {
    const std::vector<std::string> labels{"Reply", "Mark as Read", "Show Details"};
    const platform::Size size = actionListSize(labels);
    EXPECT_GT(size.height, 3 * 20.0);
    EXPECT_LT(actionListSize(std::vector<std::string>{std::string(400, 'W')}).width, 400)
        << "a very long label is cut, not the plate stretched";

    auto light = actionListLayers({0, 0, size.width, size.height}, labels, 1, platform::Appearance::Light, 2);
    auto dark = actionListLayers({0, 0, size.width, size.height}, labels, 1, platform::Appearance::Dark, 2);
    ASSERT_EQ(light.size(), 1u);
    EXPECT_NE(light[0]->backgroundColor(), dark[0]->backgroundColor());
    std::vector<std::string> numbers;
    std::vector<Rect> rings;
    std::vector<Rect> texts;
    for (const auto& layer : light[0]->sublayers()) {
        if (layer->name() == "action ring") rings.push_back(layer->frame());
        if (auto text = std::dynamic_pointer_cast<platform::TextLayer>(layer)) texts.push_back(text->frame());
        for (const auto& inner : layer->sublayers()) {
            if (auto number = std::dynamic_pointer_cast<platform::TextLayer>(inner))
                numbers.push_back(number->string());
        }
    }
    EXPECT_THAT(numbers, ::testing::ElementsAre("1", "2", "3"));
    ASSERT_EQ(rings.size(), 1u);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_GT(texts[0].minY(), texts[1].minY()) << "the first action is the top line";
    EXPECT_TRUE(rings[0].contains({texts[1].midX(), texts[1].midY()})) << "the ring is on the second line";
}

} // namespace
} // namespace marlowick::testing
