#include "sim/ax_tree.h"

#include <algorithm>

namespace marlowick::sim {

using platform::AXValue;
using platform::Element;

namespace {
std::uint64_t nextNodeId = 1;
}

std::shared_ptr<AXNode> AXNode::make(std::string role) {
    return std::shared_ptr<AXNode>(new AXNode(std::move(role)));
}

AXNode::AXNode(std::string role) : id_(nextNodeId++) {
    if (!role.empty()) attributes_["AXRole"] = std::move(role);
}

AXNode& AXNode::set(std::string name, AXValue value) {
    computed_.erase(name);
    attributes_[std::move(name)] = std::move(value);
    return *this;
}

AXNode& AXNode::compute(std::string name, std::function<AXValue()> value) {
    attributes_.erase(name);
    computed_[std::move(name)] = std::move(value);
    return *this;
}

AXNode& AXNode::erase(const std::string& name) {
    attributes_.erase(name);
    computed_.erase(name);
    return *this;
}

std::optional<AXValue> AXNode::read(std::string_view name) const {
    if (auto it = attributes_.find(name); it != attributes_.end()) return it->second;
    if (auto it = computed_.find(name); it != computed_.end()) return it->second();
    if (name == "AXChildren") {
        std::vector<Element> elements;
        elements.reserve(children_.size());
        for (const auto& child : children_)
            elements.push_back(child->element());
        return elements;
    }
    if (name == "AXParent") {
        if (auto p = parent_.lock()) return p->element();
        return std::nullopt;
    }
    return std::nullopt;
}

std::string AXNode::stringValue(std::string_view name) const {
    auto value = read(name);
    if (!value) return {};
    if (const auto* text = std::get_if<std::string>(&*value)) return *text;
    return {};
}

AXNode& AXNode::addAction(std::string name, Action handler) {
    for (auto& [existing, action] : actions_) {
        if (existing == name) {
            action = std::move(handler);
            return *this;
        }
    }
    actions_.emplace_back(std::move(name), std::move(handler));
    return *this;
}

AXNode& AXNode::removeAction(std::string_view name) {
    std::erase_if(actions_, [&](const auto& entry) { return entry.first == name; });
    return *this;
}

std::vector<std::string> AXNode::actionNames() const {
    std::vector<std::string> names;
    names.reserve(actions_.size());
    for (const auto& entry : actions_)
        names.push_back(entry.first);
    return names;
}

const AXNode::Action* AXNode::action(std::string_view name) const {
    for (const auto& entry : actions_) {
        if (entry.first == name) return &entry.second;
    }
    return nullptr;
}

AXNode& AXNode::addChild(std::shared_ptr<AXNode> child) {
    if (auto old = child->parent_.lock()) old->removeChild(child);
    child->parent_ = weak_from_this();
    child->adopt(pid_);
    children_.push_back(std::move(child));
    return *this;
}

void AXNode::setChildren(std::vector<std::shared_ptr<AXNode>> children) {
    for (auto& child : children_)
        child->parent_.reset();
    children_.clear();
    for (auto& child : children)
        addChild(std::move(child));
}

void AXNode::removeChild(const std::shared_ptr<AXNode>& child) {
    auto it = std::find(children_.begin(), children_.end(), child);
    if (it == children_.end()) return;
    (*it)->parent_.reset();
    children_.erase(it);
}

Element AXNode::element() const {
    auto self = std::const_pointer_cast<AXNode>(shared_from_this());
    return Element(std::make_shared<SimElementRef>(SimElementRef::Kind::Node, id_, pid_, self));
}

void AXNode::destroy() {
    alive_ = false;
    for (auto& child : children_)
        child->destroy();
}

void AXNode::adopt(std::int32_t pid) {
    pid_ = pid;
    for (auto& child : children_)
        child->adopt(pid);
}

bool SimElementRef::isEqual(const platform::ElementRef& other) const {
    const auto* sim = dynamic_cast<const SimElementRef*>(&other);
    return sim && sim->kind_ == kind_ && sim->identity_ == identity_ && sim->pid_ == pid_;
}

} // namespace marlowick::sim
