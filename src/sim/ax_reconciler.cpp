#include "sim/ax_reconciler.h"

#include <algorithm>

namespace marlowick::sim {

namespace {

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

AXReconciler::Changes AXReconciler::apply(const AXNodeSpec& description) {
    Changes changes;
    if (!nodes_.contains(description.key)) nodes_[description.key].node = root_;
    std::map<std::string, Tracked> next;
    update(description, next, changes);

    // Whatever is left was not described again: it has gone. setChildren has already taken every
    // kept node out of its old parent, so destroying a gone node cannot reach a kept one.
    for (auto& [key, tracked] : nodes_) {
        if (tracked.node == root_) continue;
        if (tracked.announced) changes.destroyed.push_back(tracked.node);
        if (auto parent = tracked.node->parent()) parent->removeChild(tracked.node);
        tracked.node->destroy();
    }
    nodes_ = std::move(next);
    return changes;
}

std::shared_ptr<AXNode> AXReconciler::update(const AXNodeSpec& spec, std::map<std::string, Tracked>& next,
                                             Changes& changes) {
    Tracked tracked;
    if (auto it = nodes_.find(spec.key); it != nodes_.end()) {
        tracked = std::move(it->second);
        nodes_.erase(it);
    } else {
        tracked.node = AXNode::make();
        if (spec.announced) changes.created.push_back(tracked.node);
    }
    AXNode& node = *tracked.node;

    std::vector<std::string> attributes{"AXRole"};
    for (const auto& entry : spec.attributes)
        attributes.push_back(entry.first);
    for (const auto& entry : spec.computed)
        attributes.push_back(entry.first);
    for (const auto& name : tracked.attributes) {
        if (!contains(attributes, name)) node.erase(name);
    }
    if (spec.role.empty()) {
        node.erase("AXRole");
    } else {
        node.set("AXRole", spec.role);
    }
    for (const auto& [name, value] : spec.attributes)
        node.set(name, value);
    for (const auto& [name, value] : spec.computed)
        node.compute(name, value);

    std::vector<std::string> actions;
    for (const auto& entry : spec.actions)
        actions.push_back(entry.first);
    for (const auto& name : tracked.actions) {
        if (!contains(actions, name)) node.removeAction(name);
    }
    for (const auto& [name, handler] : spec.actions)
        node.addAction(name, handler);

    std::vector<std::shared_ptr<AXNode>> children;
    children.reserve(spec.children.size());
    for (const auto& child : spec.children)
        children.push_back(update(child, next, changes));
    node.setChildren(std::move(children));

    tracked.attributes = std::move(attributes);
    tracked.actions = std::move(actions);
    tracked.announced = spec.announced;
    auto result = tracked.node;
    next[spec.key] = std::move(tracked);
    return result;
}

} // namespace marlowick::sim
