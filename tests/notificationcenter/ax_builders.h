// Small builders for hand-made Notification Center trees in tests: nodes with roles, frames in the
// service's top-left-origin coordinates, pressable rows, and a process that presents the tree.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "notificationcenter/element_attributes.h"
#include "notificationcenter/reader.h"
#include "sim/sim_mac.h"

namespace marlowick {

using sim::AXNode;
using NodePtr = std::shared_ptr<AXNode>;

inline NodePtr node(std::string role, std::vector<NodePtr> children = {}) {
    auto made = AXNode::make(std::move(role));
    for (auto& child : children)
        made->addChild(std::move(child));
    return made;
}

// Position and size as the service reports them: y measured down from the top of the main screen.
inline NodePtr placed(NodePtr made, double x, double y, double width, double height) {
    made->set("AXPosition", platform::Point{x, y}).set("AXSize", platform::Size{width, height});
    return made;
}

inline NodePtr text(std::string value) {
    auto made = node("AXStaticText");
    made->set("AXValue", std::move(value));
    return made;
}

inline NodePtr pressable(NodePtr made) {
    made->addAction("AXPress", [] { return platform::kAXErrorSuccess; });
    return made;
}

// A notification row as the sidebar shows one: a pressable group with a notification subrole.
inline NodePtr row(std::vector<NodePtr> children = {}, std::string subrole = "AXNotificationCenterAlert") {
    auto made = pressable(node("AXGroup", std::move(children)));
    made->set("AXSubrole", std::move(subrole));
    return made;
}

inline NodePtr withIdentifier(NodePtr made, std::string identifier) {
    made->set("AXIdentifier", std::move(identifier));
    return made;
}

// A Mac without its own Notification Center, for trees built by hand.
inline sim::SimMac::Options withoutNotificationCenter() {
    return {.notificationCenterRunning = false};
}

// Launches Notification Center presenting `root` as its application element; returns its pid.
inline std::int32_t launchNotificationCenter(sim::SimMac& mac, const NodePtr& root) {
    auto pid = mac.workspace().launchApplication(std::string(kNotificationCenterBundleID),
                                                  platform::ActivationPolicy::Accessory);
    mac.accessibility().registerProcess(pid, root);
    return pid;
}

// A typical application tree: application > window > scroll area > list of rows, beside a menu bar.
inline NodePtr application(std::vector<NodePtr> rows) {
    auto list = node("AXGroup", std::move(rows));
    auto scrollArea = node("AXScrollArea", {list});
    auto window = node("AXWindow", {scrollArea});
    return node("AXApplication", {node("AXMenuBar"), window});
}

inline void PrintTo(ReadStrategy strategy, std::ostream* out) {
    *out << (strategy == ReadStrategy::Batched ? "Batched" : "OneByOne");
}

// Sets the read strategy for a scope and restores the previous one after it.
class ScopedReadStrategy {
public:
    explicit ScopedReadStrategy(ReadStrategy strategy) : previous_(readStrategy()) {
        setReadStrategy(strategy);
    }
    ~ScopedReadStrategy() { setReadStrategy(previous_); }
    ScopedReadStrategy(const ScopedReadStrategy&) = delete;
    ScopedReadStrategy& operator=(const ScopedReadStrategy&) = delete;

private:
    ReadStrategy previous_;
};

} // namespace marlowick
