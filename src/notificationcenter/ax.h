// The accessibility layer: the only way the product reads and presses Notification Center's
// elements. It keeps no state between calls but the widgets its walks have passed by (so that
// they are not read again); the service itself (and its time-out) is the platform's.
// Every read degrades to an absent value or an empty list; only performAction reports a code.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "notificationcenter/element_attributes.h"
#include "platform/accessibility.h"
#include "platform/geometry.h"

namespace marlowick {

// Text walks stop below this depth.
inline constexpr int kStaticTextMaxDepth = 9;
// One read of the tree visits at most this many elements. The service hands out whatever the other
// process claims, and a tree whose elements repeat or point back up would otherwise cost a number
// of requests that grows exponentially with the depth limits. A real sidebar needs a few thousand.
inline constexpr int kMaxElementsPerWalk = 20000;
// A walk up "AXParent" gives up after this many steps: no real interface is nested that deeply, and
// a parent chain that loops would otherwise never end.
inline constexpr int kMaxAncestorSteps = 64;

enum class SearchStep { Descend, SkipChildren, Stop };

// One walk over another process's tree: the read strategy in force when it began and the number of
// elements it may still read. Operations that read many elements share one walk.
class TreeWalker {
public:
    TreeWalker() : TreeWalker(readStrategy()) {}
    explicit TreeWalker(ReadStrategy strategy) : strategy_(strategy) {}

    // The element's attributes, prefetching `attributes` when reads are batched. Once the walk has
    // used up its elements, this reads nothing and every attribute is absent.
    ElementAttributes read(const platform::Element& element, AttributeSet attributes);
    bool isExhausted() const { return remaining_ <= 0; }
    // The most handles the level-by-level search held at once.
    std::size_t mostQueued() const { return mostQueued_; }

    // Pre-order search from root (depth 0) down to maxDepth over "AXChildren". An element whose role
    // is "AXMenuBar" is neither tested nor entered, so the process's status items are never reached.
    // One whose identifier begins with "widget" (a desktop widget's window, a widget in the panel)
    // is tested but not entered; one known from an earlier walk is not even read.
    // `attributes` are what `test` reads of each element.
    void search(const platform::Element& root, int maxDepth, AttributeSet attributes,
                const std::function<SearchStep(ElementAttributes&)>& test);

    // Whether any element down to maxDepth passes `test`, under the same rules as search, looking
    // level by level: the answer is the same, but an element near the root is found without
    // reading the deep parts of the tree first.
    bool anyBreadthFirst(const platform::Element& root, int maxDepth, AttributeSet attributes,
                         const std::function<bool(ElementAttributes&)>& test);

    // The visible texts below an element, own value first, depth first (see staticTexts).
    void collectStaticTexts(ElementAttributes& element, int depth, std::vector<std::string>& out);
    // The frames of the static texts below an element, in the same order (see staticTextFrames).
    void collectStaticTextFrames(ElementAttributes& element, int depth, std::vector<platform::Rect>& out);
    std::optional<platform::Element> enclosingScrollArea(const platform::Element& element);

    // What collectStaticTexts and collectStaticTextFrames read of each element.
    static constexpr AttributeSet kTextAttributes{Attribute::Role, Attribute::Identifier, Attribute::Value,
                                                  Attribute::Children};
    static constexpr AttributeSet kTextFrameAttributes{Attribute::Role, Attribute::Position, Attribute::Size,
                                                       Attribute::Children};

private:
    bool searchFrom(const platform::Element& element, int depth, int maxDepth, AttributeSet attributes,
                    const std::function<SearchStep(ElementAttributes&)>& test);

    // Widgets: never entered; desktop widgets' windows are remembered across walks (see ax.cpp).
    static bool isKnownWidget(const platform::Element& element);
    static bool staysOutOf(ElementAttributes& element);

    // True once the walk wants more than it may read; the first time, it says so in the log.
    bool outOfBudget();
    void noteCutOff();

    ReadStrategy strategy_;
    int remaining_ = kMaxElementsPerWalk;
    bool cutOff_ = false;
    std::size_t mostQueued_ = 0;
};

// A non-empty string value of the attribute, or absent.
std::optional<std::string> stringAttribute(const platform::Element& element, std::string_view attribute);
// "AXChildren" in the service's order; empty on any failure.
std::vector<platform::Element> children(const platform::Element& element);
std::vector<std::string> actionNames(const platform::Element& element);
bool hasAction(const platform::Element& element, std::string_view action);
// Custom actions are listed as "Name:" + label + "\n" + more lines; this is the first such entry for
// the label (the line feed keeps "Close" from matching "Close All"), to be handed to performAction.
std::optional<std::string> customActionName(const platform::Element& element, std::string_view label);
// The same for the first of `labels` (in their order) that the element offers, from one request.
std::optional<std::string> customActionName(const platform::Element& element,
                                            std::span<const std::string> labels);
// A custom action: the label it is shown by and the full name that performAction takes.
struct CustomAction {
    std::string label;
    std::string name;
};
// The element's custom actions, in the service's order.
std::vector<CustomAction> customActions(const platform::Element& element);
platform::AXError performAction(const platform::Element& element, std::string_view action);
// The element's frame in bottom-left-origin screen coordinates.
std::optional<platform::Rect> frameOf(const platform::Element& element);
// Visible texts: "AXValue" of static texts not identified as "header", pre-order, down to depth 9.
std::vector<std::string> staticTexts(const platform::Element& element, int depth = 0);
// Frames of all static texts ("header" ones included), pre-order, down to depth 9.
std::vector<platform::Rect> staticTextFrames(const platform::Element& element, int depth = 0);
// The element itself or its nearest ancestor whose role is "AXScrollArea".
std::optional<platform::Element> enclosingScrollArea(const platform::Element& element);

} // namespace marlowick
