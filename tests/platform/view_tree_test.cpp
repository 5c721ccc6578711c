#include "platform/view_tree.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/view_metrics.h"
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

// A settings row: title, spacer, control.
ViewNode row(std::string title, ViewNode control) {
    StackView stack;
    stack.axis = Axis::Horizontal;
    stack.children.push_back(text(std::move(title)));
    stack.children.push_back(ViewNode::make(SpacerView{}));
    stack.children.push_back(std::move(control));
    return ViewNode::make(std::move(stack));
}

TEST(ViewTreeLayoutTest, RowsFillTheirColumnAndCarryDisabledAndOpacityDown) {
    sim::SimMac mac;
    Fonts& fonts = *current().fonts;
    StackView column = stack(Axis::Vertical, StackAlignment::Leading, 0, 20, 400);
    ViewNode toggle = ViewNode::make(SwitchView{});
    toggle.opacity = 0.5;
    ViewNode dimmed = row("Open the newest", std::move(toggle));
    dimmed.disabled = true;
    dimmed.opacity = 0.42;
    column.children.push_back(std::move(dimmed));
    column.children.push_back(ViewNode::make(DividerView{}));
    std::string words;
    for (int i = 0; i < 30; ++i)
        words += "badges ";
    column.children.push_back(row(words, ViewNode::make(ButtonView{})));
    auto layout = layoutViews(ViewNode::make(std::move(column)), fonts);

    ASSERT_EQ(layout.views.size(), 10u);
    const PlacedView& first = layout.views[1];
    const PlacedView& control = layout.views[4];
    EXPECT_DOUBLE_EQ(first.frame.width(), 360);
    // The spacer pushes the control to the column's trailing edge.
    EXPECT_DOUBLE_EQ(control.frame.maxX(), 380);
    EXPECT_EQ(control.frame.size, metrics::kMiniSwitch);
    EXPECT_TRUE(control.disabled);
    EXPECT_DOUBLE_EQ(control.opacity, 0.21);
    EXPECT_FALSE(layout.views[5].disabled);
    EXPECT_EQ(layout.views[5].frame, Rect(20, first.frame.maxY(), 360, 1));
    // Text too long for the row wraps, so the control stays inside the column.
    const PlacedView& longText = layout.views[7];
    const PlacedView& button = layout.views[9];
    EXPECT_GT(longText.frame.height(), 2 * first.frame.height());
    EXPECT_LE(button.frame.maxX(), 380);
    EXPECT_GE(button.frame.minX(), longText.frame.maxX());
}

TEST(ViewTreeLayoutTest, AFixedHeightStackGivesItsSpacerTheRoomLeft) {
    sim::SimMac mac;
    StackView sidebar = stack(Axis::Vertical, StackAlignment::Leading, 4, 10, 180);
    sidebar.height = 544;
    ButtonView tab;
    tab.title = "General";
    tab.style = ButtonStyle::Plain;
    tab.fillsWidth = true;
    sidebar.children.push_back(ViewNode::make(tab));
    sidebar.children.push_back(ViewNode::make(SpacerView{}));
    sidebar.children.push_back(text("Marlowick"));
    auto layout = layoutViews(ViewNode::make(std::move(sidebar)), *current().fonts);
    ASSERT_EQ(layout.views.size(), 4u);
    EXPECT_EQ(layout.size, (Size{180, 544}));
    EXPECT_DOUBLE_EQ(layout.views[1].frame.width(), 160);
    EXPECT_DOUBLE_EQ(layout.views[3].frame.maxY(), 534);
}

} // namespace
} // namespace marlowick::platform
