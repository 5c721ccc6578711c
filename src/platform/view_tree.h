// A small declarative description of a window's content: stacks of text and buttons, rebuilt by
// its owner whenever its state changes, and laid out here. Drawing it is the window server's job.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "platform/geometry.h"

namespace marlowick::platform {

// Text styles by their role, as the platform sizes them.
enum class FontRole { Title2, Headline, Body, Caption };
Font fontFor(FontRole role, std::optional<FontWeight> weight = std::nullopt);

enum class Axis { Vertical, Horizontal };
// Along the cross axis: leading/trailing for a vertical stack, top/bottom for a horizontal one.
enum class StackAlignment { Leading, Center, Trailing };

struct ViewNode;

struct TextView {
    std::string text;
    FontRole role = FontRole::Body;
    std::optional<FontWeight> weight;
};

struct ButtonView {
    std::string title;
    std::function<void()> action;
    // The window's default button: Return presses it.
    bool isDefault = false;
};

struct StackView {
    Axis axis = Axis::Vertical;
    StackAlignment alignment = StackAlignment::Center;
    double spacing = 8;
    double padding = 0;
    // A fixed width for the stack, padding included; none to fit the content.
    std::optional<double> width;
    std::vector<ViewNode> children;
};

struct ViewNode {
    enum class Kind { Text, Button, Stack };
    Kind kind = Kind::Stack;
    TextView text;
    ButtonView button;
    StackView stack;

    static ViewNode makeText(TextView view) { return {Kind::Text, std::move(view), {}, {}}; }
    static ViewNode makeButton(ButtonView view) { return {Kind::Button, {}, std::move(view), {}}; }
    static ViewNode makeStack(StackView view) { return {Kind::Stack, {}, {}, std::move(view)}; }
};

// A node placed in its window's content, top-left origin (y grows downwards), in points.
struct PlacedView {
    const ViewNode* node = nullptr;
    Rect frame;
};

// Text wraps to the width a fixed-width stack leaves it; a button is its title plus 14 points on
// each side, 22 points tall. Every node of the tree appears once, parents before their children.
struct ViewLayout {
    Size size;
    std::vector<PlacedView> views;
};
ViewLayout layoutViews(const ViewNode& root, Fonts& fonts);

// The default button of the tree, or none; the first one wins.
const ButtonView* defaultButton(const ViewNode& root);
// Every text of the tree in order (titles of buttons included), for readers and tests.
std::vector<std::string> texts(const ViewNode& root);

} // namespace marlowick::platform
