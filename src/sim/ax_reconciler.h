// Keeps a simulated process's accessibility tree in step with a description that the process
// rebuilds from its model after every change. What the description holds is the process's business.
// Models: element identity across rebuilds (same key, same node), stale handles of elements whose
// keys have gone. Not modelled: moving a node between processes.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/accessibility.h"
#include "sim/ax_tree.h"

namespace marlowick::sim {

// One element as the process wants it now. Keys are unique within a tree.
struct AXNodeSpec {
    std::string key;
    std::string role;
    // A window or a row: its coming and going is reported, so that the process can announce it.
    bool announced = false;
    std::vector<std::pair<std::string, platform::AXValue>> attributes;
    std::vector<std::pair<std::string, std::function<platform::AXValue()>>> computed;
    std::vector<std::pair<std::string, AXNode::Action>> actions;
    std::vector<AXNodeSpec> children;

    AXNodeSpec& set(std::string name, platform::AXValue value) {
        attributes.emplace_back(std::move(name), std::move(value));
        return *this;
    }
    AXNodeSpec& compute(std::string name, std::function<platform::AXValue()> value) {
        computed.emplace_back(std::move(name), std::move(value));
        return *this;
    }
    AXNodeSpec& action(std::string name, AXNode::Action handler) {
        actions.emplace_back(std::move(name), std::move(handler));
        return *this;
    }
};

class AXReconciler {
public:
    struct Changes {
        std::vector<std::shared_ptr<AXNode>> created;   // announced nodes that appeared
        std::vector<std::shared_ptr<AXNode>> destroyed; // announced nodes that went (already stale)
    };

    explicit AXReconciler(std::shared_ptr<AXNode> root) : root_(std::move(root)) {}

    // Brings the tree in line with the description, whose top entry is the root itself.
    Changes apply(const AXNodeSpec& description);
    const std::shared_ptr<AXNode>& root() const { return root_; }

private:
    struct Tracked {
        std::shared_ptr<AXNode> node;
        std::vector<std::string> attributes;
        std::vector<std::string> actions;
        bool announced = false;
    };

    std::shared_ptr<AXNode> update(const AXNodeSpec& spec, std::map<std::string, Tracked>& next,
                                   Changes& changes);

    std::shared_ptr<AXNode> root_;
    std::map<std::string, Tracked> nodes_;
};

} // namespace marlowick::sim
