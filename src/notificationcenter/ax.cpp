#include "notificationcenter/ax.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <utility>

#include "app/log.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;
using platform::Rect;

ElementAttributes TreeWalker::read(const Element& element, AttributeSet attributes) {
    if (outOfBudget()) return ElementAttributes::unread(element);
    --remaining_;
    return ElementAttributes(element, attributes, strategy_);
}

bool TreeWalker::outOfBudget() {
    if (!isExhausted()) return false;
    noteCutOff();
    return true;
}

void TreeWalker::noteCutOff() {
    if (std::exchange(cutOff_, true)) return;
    // What the walk found is still used, but whatever it looked for may have been in the rest.
    log("Tree walk: stopped after reading " + std::to_string(kMaxElementsPerWalk) + " elements");
}

void TreeWalker::search(const Element& root, int maxDepth, AttributeSet attributes,
                        const std::function<SearchStep(ElementAttributes&)>& test) {
    searchFrom(root, 0, maxDepth,
               attributes | AttributeSet{Attribute::Role, Attribute::Children, Attribute::Identifier}, test);
}

namespace {

// Desktop widgets' windows passed by, by element identity: the latest kMaxKnownWidgets of the
// platform in force. Such a window stays for the process's life, so later walks pass it by without a
// request.
constexpr std::size_t kMaxKnownWidgets = 64;

struct KnownWidgets {
    std::uint64_t generation = 0;
    std::deque<Element> elements;
};

KnownWidgets& knownWidgets() {
    static KnownWidgets known;
    if (known.generation != platform::generation()) known = {platform::generation(), {}};
    return known;
}

} // namespace

bool TreeWalker::isKnownWidget(const Element& element) {
    const auto& known = knownWidgets().elements;
    return std::find(known.begin(), known.end(), element) != known.end();
}

bool TreeWalker::staysOutOf(ElementAttributes& element) {
    auto identifier = element.string(Attribute::Identifier);
    if (!identifier || !identifier->starts_with("widget")) return false;
    // Only a desktop widget's window is remembered: no walk looks for one, whereas any other
    // "widget…" element (the "widget-editor-button" above all) may be what a later walk tests for.
    if (identifier->starts_with("widget-local:") && element.stringEquals(Attribute::Role, "AXWindow")) {
        auto& known = knownWidgets().elements;
        known.push_back(element.element());
        if (known.size() > kMaxKnownWidgets) known.pop_front();
    }
    return true;
}

bool TreeWalker::searchFrom(const Element& element, int depth, int maxDepth, AttributeSet attributes,
                            const std::function<SearchStep(ElementAttributes&)>& test) {
    if (outOfBudget()) return true;
    if (isKnownWidget(element)) return false;
    auto current = read(element, attributes);
    if (current.stringEquals(Attribute::Role, "AXMenuBar")) return false;
    switch (test(current)) {
    case SearchStep::Stop:
        return true;
    case SearchStep::SkipChildren:
        return false;
    case SearchStep::Descend:
        break;
    }
    if (staysOutOf(current)) return false;
    if (depth >= maxDepth) return false;
    for (const auto& child : current.children()) {
        if (searchFrom(child, depth + 1, maxDepth, attributes, test)) return true;
    }
    return false;
}

bool TreeWalker::anyBreadthFirst(const Element& root, int maxDepth, AttributeSet attributes,
                                 const std::function<bool(ElementAttributes&)>& test) {
    attributes = attributes | AttributeSet{Attribute::Role, Attribute::Children, Attribute::Identifier};
    std::deque<std::pair<Element, int>> pending{{root, 0}};
    while (!pending.empty() && !outOfBudget()) {
        auto [element, depth] = std::move(pending.front());
        pending.pop_front();
        if (isKnownWidget(element)) continue;
        auto current = read(element, attributes);
        if (current.stringEquals(Attribute::Role, "AXMenuBar")) continue;
        if (test(current)) return true;
        if (staysOutOf(current)) continue;
        if (depth >= maxDepth) continue;
        for (const auto& child : current.children()) {
            // Each queued handle costs a read, so more than the walk may still read would never be
            // looked at; a tree that repeats its elements would otherwise queue its fan-out times that.
            if (pending.size() >= static_cast<std::size_t>(remaining_)) {
                noteCutOff();
                break;
            }
            pending.emplace_back(child, depth + 1);
        }
        mostQueued_ = std::max(mostQueued_, pending.size());
    }
    return false;
}

void TreeWalker::collectStaticTexts(ElementAttributes& element, int depth, std::vector<std::string>& out) {
    if (depth > kStaticTextMaxDepth) return;
    if (element.stringEquals(Attribute::Role, "AXStaticText") &&
        !element.stringEquals(Attribute::Identifier, "header")) {
        if (auto text = element.string(Attribute::Value)) out.push_back(std::move(*text));
    }
    // Children one level down would be past the limit and contribute nothing: not even read them.
    if (depth == kStaticTextMaxDepth) return;
    for (const auto& child : element.children()) {
        auto attributes = read(child, kTextAttributes);
        collectStaticTexts(attributes, depth + 1, out);
    }
}

void TreeWalker::collectStaticTextFrames(ElementAttributes& element, int depth, std::vector<Rect>& out) {
    if (depth > kStaticTextMaxDepth) return;
    if (element.stringEquals(Attribute::Role, "AXStaticText")) {
        if (auto frame = element.frame()) out.push_back(*frame);
    }
    if (depth == kStaticTextMaxDepth) return;
    for (const auto& child : element.children()) {
        auto attributes = read(child, kTextFrameAttributes);
        collectStaticTextFrames(attributes, depth + 1, out);
    }
}

std::optional<Element> TreeWalker::enclosingScrollArea(const Element& element) {
    Element current = element;
    for (int step = 0; step <= kMaxAncestorSteps && !outOfBudget(); ++step) {
        auto attributes = read(current, {Attribute::Role, Attribute::Parent});
        if (attributes.stringEquals(Attribute::Role, "AXScrollArea")) return current;
        auto parent = attributes.parent();
        if (!parent) return std::nullopt;
        current = std::move(*parent);
    }
    return std::nullopt;
}

std::optional<std::string> stringAttribute(const Element& element, std::string_view attribute) {
    platform::AXValue value;
    if (platform::current().accessibility->copyAttributeValue(element, attribute, value) !=
        platform::kAXErrorSuccess) {
        return std::nullopt;
    }
    auto* text = std::get_if<std::string>(&value);
    if (!text || text->empty()) return std::nullopt;
    return std::move(*text);
}

std::vector<Element> children(const Element& element) {
    ElementAttributes attributes(element, {}, ReadStrategy::OneByOne);
    return attributes.children();
}

std::vector<std::string> actionNames(const Element& element) {
    std::vector<std::string> names;
    if (platform::current().accessibility->copyActionNames(element, names) != platform::kAXErrorSuccess)
        return {};
    return names;
}

bool hasAction(const Element& element, std::string_view action) {
    auto names = actionNames(element);
    return std::find(names.begin(), names.end(), action) != names.end();
}

std::vector<CustomAction> customActions(const Element& element) {
    constexpr std::string_view kPrefix = "Name:";
    std::vector<CustomAction> actions;
    for (auto& name : actionNames(element)) {
        if (!name.starts_with(kPrefix)) continue;
        auto end = name.find('\n');
        if (end == std::string::npos) continue;
        std::string label = name.substr(kPrefix.size(), end - kPrefix.size());
        actions.push_back({std::move(label), std::move(name)});
    }
    return actions;
}

std::optional<std::string> customActionName(const Element& element, std::span<const std::string> labels) {
    auto actions = customActions(element);
    for (const auto& label : labels) {
        for (auto& action : actions) {
            if (action.label == label) return std::move(action.name);
        }
    }
    return std::nullopt;
}

std::optional<std::string> customActionName(const Element& element, std::string_view label) {
    const std::string labels[] = {std::string(label)};
    return customActionName(element, labels);
}

platform::AXError performAction(const Element& element, std::string_view action) {
    return platform::current().accessibility->performAction(element, action);
}

std::optional<Rect> frameOf(const Element& element) {
    return TreeWalker().read(element, {Attribute::Position, Attribute::Size}).frame();
}

std::vector<std::string> staticTexts(const Element& element, int depth) {
    std::vector<std::string> texts;
    if (depth > kStaticTextMaxDepth) return texts;
    TreeWalker walker;
    auto attributes = walker.read(element, TreeWalker::kTextAttributes);
    walker.collectStaticTexts(attributes, depth, texts);
    return texts;
}

std::vector<Rect> staticTextFrames(const Element& element, int depth) {
    std::vector<Rect> frames;
    if (depth > kStaticTextMaxDepth) return frames;
    TreeWalker walker;
    auto attributes = walker.read(element, TreeWalker::kTextFrameAttributes);
    walker.collectStaticTextFrames(attributes, depth, frames);
    return frames;
}

std::optional<Element> enclosingScrollArea(const Element& element) {
    return TreeWalker().enclosingScrollArea(element);
}

} // namespace marlowick
