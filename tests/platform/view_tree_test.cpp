#include "platform/view_tree.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/sim_mac.h"

namespace marlowick::platform {
namespace {

ViewNode text(std::string value, FontRole role = FontRole::Body) {
    TextView view;
    view.text = std::move(value);
    view.role = role;
    return ViewNode::make(std::move(view));
}

StackView stack(Axis axis, StackAlignment alignment, double spacing, double padding,
                std::optional<double> width = std::nullopt) {
    StackView view;
    view.axis = axis;
    view.alignment = alignment;
    view.spacing = spacing;
    view.padding = padding;
    view.width = width;
    return view;
}

TEST(ViewTreeLayoutTest, StacksPlaceChildrenWithSpacingPaddingAndAlignment) {
    sim::SimMac mac;
    Fonts& fonts = *current().fonts;
    StackView row = stack(Axis::Horizontal, StackAlignment::Center, 8, 0);
    ButtonView open;
    open.title = "Open";
    row.children.push_back(ViewNode::make(open));
    row.children.push_back(text("Hi", FontRole::Caption));
    StackView column = stack(Axis::Vertical, StackAlignment::Leading, 12, 20, 420);
    column.children.push_back(text("Title", FontRole::Title2));
    column.children.push_back(ViewNode::makeStack(row));
    auto layout = layoutViews(ViewNode::makeStack(column), fonts);

    ASSERT_EQ(layout.views.size(), 5u);
    EXPECT_DOUBLE_EQ(layout.size.width, 420);
    Rect title = layout.views[1].frame;
    Rect buttons = layout.views[2].frame;
    Rect button = layout.views[3].frame;
    Rect caption = layout.views[4].frame;
    EXPECT_EQ(title.origin, (Point{20, 20}));
    EXPECT_DOUBLE_EQ(buttons.minY(), title.maxY() + 12);
    EXPECT_DOUBLE_EQ(buttons.minX(), 20);
    EXPECT_DOUBLE_EQ(button.height(), 22);
    EXPECT_DOUBLE_EQ(button.width(),
                     std::ceil(fonts.measureText("Open", fontFor(FontRole::Body)).width) + 28);
    EXPECT_DOUBLE_EQ(caption.minX(), button.maxX() + 8);
    EXPECT_DOUBLE_EQ(caption.midY(), button.midY()); // centred across the row
    EXPECT_DOUBLE_EQ(layout.size.height, buttons.maxY() + 20);
}

TEST(ViewTreeLayoutTest, LongTextWrapsInsideAFixedWidthAndParagraphsAddLines) {
    sim::SimMac mac;
    Fonts& fonts = *current().fonts;
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "notification ";
    auto measure = [&](const std::string& value) {
        StackView box = stack(Axis::Vertical, StackAlignment::Leading, 0, 10, 200);
        box.children.push_back(text(value));
        return layoutViews(ViewNode::makeStack(box), fonts).views[1].frame;
    };
    Rect one = measure("notification");
    Rect many = measure(words);
    Rect paragraphs = measure("a\n\nb");
    EXPECT_LE(many.width(), 180);
    EXPECT_GT(many.height(), 5 * one.height());
    EXPECT_DOUBLE_EQ(paragraphs.height(),
                     std::ceil(3 * fonts.measureText("Ag", fontFor(FontRole::Body)).height));
    // A word wider than the line stands alone rather than vanishing.
    Rect wide = measure(std::string(80, 'W'));
    EXPECT_GT(wide.height(), 0);
}

} // namespace
} // namespace marlowick::platform
