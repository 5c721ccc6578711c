// The elements a simulated process presents to the accessibility service: a tree of nodes with
// attributes, actions and an alive flag. Processes build and change their trees through this.
// Models: any attribute of any type, attributes computed at read time, explicit "AXChildren" or
// "AXParent" values that override the structure (for odd or cyclic trees). Not modelled: hit testing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/accessibility.h"

namespace marlowick::sim {

class AXNode : public std::enable_shared_from_this<AXNode> {
public:
    using Action = std::function<platform::AXError()>;

    static std::shared_ptr<AXNode> make(std::string role = {});
    AXNode(const AXNode&) = delete;
    AXNode& operator=(const AXNode&) = delete;

    std::uint64_t id() const { return id_; }
    std::int32_t pid() const { return pid_; }
    bool isAlive() const { return alive_; }

    // Attributes. A computed attribute is evaluated at every read.
    AXNode& set(std::string name, platform::AXValue value);
    AXNode& compute(std::string name, std::function<platform::AXValue()> value);
    AXNode& erase(const std::string& name);
    // The attribute as a reader sees it: explicit or computed values first, then "AXChildren" and
    // "AXParent" from the structure. Absent when the node has no such attribute.
    std::optional<platform::AXValue> read(std::string_view name) const;
    std::string stringValue(std::string_view name) const;

    // Actions, listed in the order added. Adding an existing name replaces its handler.
    AXNode& addAction(std::string name, Action handler);
    AXNode& removeAction(std::string_view name);
    std::vector<std::string> actionNames() const;
    const Action* action(std::string_view name) const;

    // Structure. A node belongs to at most one parent.
    AXNode& addChild(std::shared_ptr<AXNode> child);
    void setChildren(std::vector<std::shared_ptr<AXNode>> children);
    void removeChild(const std::shared_ptr<AXNode>& child);
    const std::vector<std::shared_ptr<AXNode>>& children() const { return children_; }
    std::shared_ptr<AXNode> parent() const { return parent_.lock(); }

    // The element handle of this node, as the service hands it out.
    platform::Element element() const;

    // The node and all below it are gone: every handle to them reads as stale from now on.
    void destroy();
    // Assigns the process the node (and its subtree) belongs to.
    void adopt(std::int32_t pid);

private:
    explicit AXNode(std::string role);

    std::uint64_t id_;
    std::int32_t pid_ = 0;
    bool alive_ = true;
    std::map<std::string, platform::AXValue, std::less<>> attributes_;
    std::map<std::string, std::function<platform::AXValue()>, std::less<>> computed_;
    std::vector<std::pair<std::string, Action>> actions_;
    std::vector<std::shared_ptr<AXNode>> children_;
    std::weak_ptr<AXNode> parent_;
};

// What a simulated element handle holds: the node (weakly, so that a handle outlives its element)
// and the node's identity for equality.
class SimElementRef final : public platform::ElementRef {
public:
    enum class Kind { Node, Application, SystemWide };

    SimElementRef(Kind kind, std::uint64_t identity, std::int32_t pid, std::weak_ptr<AXNode> node)
        : kind_(kind), identity_(identity), pid_(pid), node_(std::move(node)) {}
    bool isEqual(const platform::ElementRef& other) const override;

    Kind kind() const { return kind_; }
    std::int32_t pid() const { return pid_; }
    std::shared_ptr<AXNode> node() const { return node_.lock(); }

private:
    Kind kind_;
    std::uint64_t identity_;
    std::int32_t pid_;
    std::weak_ptr<AXNode> node_;
};

} // namespace marlowick::sim
