// A small declarative description of a window's content: stacks of texts and controls, rebuilt by
// its owner whenever its state changes, and laid out here. Drawing it, and turning clicks and keys
// into the actions it carries, is the window server's job.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/appearance.h"
#include "platform/drawn_image.h"
#include "platform/fonts.h"
#include "platform/geometry.h"

namespace marlowick::platform {

class Layer;

// Text styles by their role, as the platform sizes them.
enum class FontRole { Title2, Headline, Body, Callout, Subheadline, Footnote, Caption };
Font fontFor(FontRole role, std::optional<FontWeight> weight = std::nullopt);

enum class Axis { Vertical, Horizontal };
// Along the cross axis: leading/trailing for a vertical stack, top/bottom for a horizontal one.
enum class StackAlignment { Leading, Center, Trailing };

// The named colours a view's text or symbol takes; the window server resolves them for the
// window's appearance. `Custom` uses the view's own colour as it is.
enum class ForegroundStyle { Primary, Secondary, Tertiary, Accent, Custom };

struct ViewNode;

struct TextView {
    std::string text;
    FontRole role = FontRole::Body;
    std::optional<FontWeight> weight;
    ForegroundStyle style = ForegroundStyle::Primary;
    Color color; // for ForegroundStyle::Custom
    // Digits of equal width, for times and numbers that change in place.
    bool monospacedDigits = false;
};

// A system symbol by its name ("gearshape", "arrow.clockwise"), drawn in a square of `width` points.
struct SymbolView {
    std::string name;
    double width = 14;
    ForegroundStyle style = ForegroundStyle::Secondary;
};

enum class ButtonRole { Normal, Prominent, Cancel, Destructive };
enum class ButtonStyle {
    Bordered, // a push button
    Plain,    // no bezel: a sidebar entry, a link-like row
};

struct ButtonView {
    std::string title;
    std::function<void()> action;
    // The window's default button: Return presses it.
    bool isDefault = false;
    ButtonRole role = ButtonRole::Normal;
    ButtonStyle style = ButtonStyle::Bordered;
    // A symbol before the title (sidebar entries, "Replay").
    std::optional<SymbolView> symbol;
    // The "selected" accessibility trait: the chosen entry of a sidebar list.
    bool isSelected = false;
    // A plain button as wide as its stack leaves it (sidebar entries), title leading.
    bool fillsWidth = false;
};

// A switch at mini size; its label is for accessibility only, never drawn.
struct SwitchView {
    std::string label;
    bool isOn = false;
    std::function<void(bool)> onChange;
};

struct PickerOption {
    std::string title;
    // Shown instead of the title when set (the menu-bar icons); the title stays the option's label.
    std::optional<DrawnImage> image;
};

// A pop-up button over `options`; its label is hidden.
struct PickerView {
    std::string label;
    std::vector<PickerOption> options;
    int selectedIndex = 0;
    std::function<void(int)> onSelect;
    // The button fits its selected option (its menu may be wider), up to this width, beyond which
    // the title is cut short with an ellipsis; 0 for no limit.
    double maximumWidth = 0;
};

// A round colour swatch; the selected one carries a checkmark.
struct SwatchView {
    std::string name;
    Color color;
    bool isSelected = false;
    std::function<void()> action;
};

// A circle that is either done (filled, with a checkmark) or waiting (an empty ring).
struct StatusCircleView {
    bool done = false;
};

// The shortcut recorder's field: a search field that records while it is the window's first
// responder. The window tells the field when it gains and loses that status (a click on it, Tab,
// closing, or `Window::makeFirstResponder`); the key events themselves reach its
// owner through a local event monitor, as in AppKit.
struct ShortcutFieldView {
    // Stable across rebuilds of the tree: the window remembers its first responder by it.
    std::string identifier;
    std::string text;
    std::string placeholder;
    // The clear button inside the field, shown while it holds a chord.
    bool showsClearButton = false;
    double minimumWidth = 130;
    std::function<void()> onBecomeFirstResponder;
    std::function<void()> onResignFirstResponder;
    std::function<void()> onClear;
};

// A view of the core's own, drawn through the layer tree (its layers' draw passes and animations).
// It never takes clicks: hit testing misses it.
class HostedContent {
public:
    virtual ~HostedContent() = default;
    virtual std::shared_ptr<Layer> layer() = 0;
    // The size it asks for when the tree gives it none.
    virtual Size naturalSize() const = 0;
    // The frame the layout gave it, in points; it lays out its own layers.
    virtual void setSize(Size size) = 0;
    // The window's effective appearance, told at first display and on every change.
    virtual void setAppearance(Appearance appearance) = 0;

    // The host lays the content out again when its natural size changes (AppKit's
    // invalidateIntrinsicContentSize).
    void setNaturalSizeObserver(std::function<void()> changed) { naturalSizeChanged_ = std::move(changed); }

protected:
    void invalidateNaturalSize() {
        if (naturalSizeChanged_) naturalSizeChanged_();
    }

private:
    std::function<void()> naturalSizeChanged_;
};

struct HostedView {
    std::shared_ptr<HostedContent> content;
    // A fixed size; none to take the content's natural size (width stretches in a vertical stack
    // when `fillsWidth`).
    std::optional<Size> size;
    bool fillsWidth = false;
};

struct DividerView {};

// Pushes its neighbours apart along its stack's axis.
struct SpacerView {
    double minLength = 0;
};

enum class StackBackground { None, SidebarMaterial, GroupBox };

struct StackView {
    Axis axis = Axis::Vertical;
    StackAlignment alignment = StackAlignment::Center;
    double spacing = 8;
    double padding = 0;
    // A fixed width for the stack, padding included; none to fit the content.
    std::optional<double> width;
    // A fixed height (the sidebar, as tall as the window); none to fit the content.
    std::optional<double> height;
    StackBackground background = StackBackground::None;
    std::vector<ViewNode> children;
};

struct ViewNode {
    using Content = std::variant<StackView, TextView, ButtonView, SymbolView, SwitchView, PickerView,
                                 SwatchView, StatusCircleView, ShortcutFieldView, HostedView,
                                 DividerView, SpacerView>;
    Content content;
    // A disabled node and everything inside it take no clicks and draw as disabled controls do.
    bool disabled = false;
    // Multiplies the node's drawing, children included (dimmed rows draw at 0.42).
    double opacity = 1;
    // Names the node for readers and tests (a row's title), when it has no text of its own.
    std::string accessibilityLabel;

    template <class View> const View* as() const { return std::get_if<View>(&content); }
    template <class View> View* as() { return std::get_if<View>(&content); }

    static ViewNode makeText(TextView view) { return make(std::move(view)); }
    static ViewNode makeButton(ButtonView view) { return make(std::move(view)); }
    static ViewNode makeStack(StackView view) { return make(std::move(view)); }
    template <class View> static ViewNode make(View view) {
        ViewNode node;
        node.content = std::move(view);
        return node;
    }
};

// A node placed in its window's content, top-left origin (y grows downwards), in points.
struct PlacedView {
    const ViewNode* node = nullptr;
    Rect frame;
    // The node or one of its ancestors is disabled, and the product of the opacities down to it.
    bool disabled = false;
    double opacity = 1;
};

// Every node of the tree appears once, parents before their children.
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
