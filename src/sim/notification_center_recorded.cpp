// Notification Center presenting a recorded tree instead of its model's.
#include <algorithm>

#include "sim/notification_center.h"

namespace marlowick::sim {

using platform::AXError;
using platform::kAXErrorSuccess;

namespace {

constexpr std::string_view kCustomActionPrefix = "Name:";

// A banner, an alert or a folded stack; not the menu bar's clock, whose subrole names Notification
// Center as well.
bool isRow(const AXNode& node) {
    auto subrole = node.stringValue("AXSubrole");
    return subrole == "AXNotificationCenterBanner" || subrole.starts_with("AXNotificationCenterAlert");
}

void collectRows(const AXNode& node, int depth, std::vector<std::string>& out) {
    if (isRow(node)) {
        out.push_back(node.stringValue("AXDescription"));
        return;
    }
    if (depth >= kMaxRecordedDepth) return;
    for (const auto& child : node.children())
        collectRows(*child, depth + 1, out);
}

// The first static text below the element that is not its "header", pre-order; as a row's title.
std::string firstText(const AXNode& node, int depth) {
    if (node.stringValue("AXRole") == "AXStaticText" && node.stringValue("AXIdentifier") != "header") {
        if (auto value = node.stringValue("AXValue"); !value.empty()) return value;
    }
    if (depth >= kMaxRecordedDepth) return {};
    for (const auto& child : node.children()) {
        if (auto text = firstText(*child, depth + 1); !text.empty()) return text;
    }
    return {};
}

std::string headerText(const AXNode& row) {
    for (const auto& child : row.children()) {
        if (child->stringValue("AXIdentifier") == "header") return child->stringValue("AXValue");
    }
    return {};
}

// "Name:Close\nTarget:0x0\nSelector:(null)" is shown as "Close"; a plain name as itself.
std::string actionLabel(const std::string& action) {
    if (!action.starts_with(kCustomActionPrefix)) return action;
    auto label = action.substr(kCustomActionPrefix.size());
    return label.substr(0, label.find('\n'));
}

} // namespace

void SimNotificationCenter::showRecordedTree(RecordedElement application) {
    recorded_ = std::make_shared<const RecordedElement>(std::move(application));
    if (state_ != State::Quit) presentRecorded();
}

void SimNotificationCenter::presentRecorded() {
    // The model's elements go; the application element stays, so that observers keep hearing.
    tree_.reset();
    for (const auto& child : root_->children())
        child->destroy();
    // What a recording presents of an element replaces the model's own.
    for (const auto& recorded : kRecordedTexts)
        root_->erase(std::string(recorded.attribute));
    root_->erase("AXPosition").erase("AXSize");
    for (const auto& action : root_->actionNames())
        root_->removeAction(action);
    fillRecorded(*root_, *recorded_);
    root_->adopt(pid_);
    accessibility_.post(root_, "AXFocusedWindowChanged");
    accessibility_.post(root_, "AXLayoutChanged");
}

void SimNotificationCenter::fillRecorded(AXNode& node, const RecordedElement& element) {
    for (const auto& recorded : kRecordedTexts) {
        if (const auto& text = element.*recorded.field) node.set(std::string(recorded.attribute), *text);
    }
    if (element.position) node.set("AXPosition", *element.position);
    if (element.size) node.set("AXSize", *element.size);
    std::weak_ptr<AXNode> weak = node.weak_from_this();
    for (const auto& action : element.actions) {
        node.addAction(action, [this, alive = alive_, weak, action] {
            return *alive ? performRecorded(weak, action) : platform::kAXErrorFailure;
        });
    }
    std::vector<std::shared_ptr<AXNode>> children;
    children.reserve(element.children.size());
    for (const auto& child : element.children) {
        auto made = AXNode::make();
        fillRecorded(*made, child);
        children.push_back(std::move(made));
    }
    node.setChildren(std::move(children));
}

AXError SimNotificationCenter::performRecorded(const std::weak_ptr<AXNode>& target,
                                               const std::string& action) {
    auto node = target.lock();
    if (!node || !node->isAlive()) return platform::kAXErrorInvalidUIElement;
    std::string title = firstText(*node, 0);
    if (title.empty()) title = node->stringValue("AXDescription");
    recordAction(actionLabel(action), title);
    if (!isRow(*node)) return kAXErrorSuccess;
    bool press = action == "AXPress";
    if (press && node->stringValue("AXSubrole").ends_with("Stack")) return kAXErrorSuccess;
    if (!press && !action.starts_with(kCustomActionPrefix)) return kAXErrorSuccess;
    if (press) record(opened_, SimNotification{.app = headerText(*node), .title = title});
    after(removalDelay_, [this, target] { removeRecordedRow(target); });
    return kAXErrorSuccess;
}

void SimNotificationCenter::removeRecordedRow(const std::weak_ptr<AXNode>& row) {
    auto node = row.lock();
    if (!node || !node->isAlive()) return;
    if (auto parent = node->parent()) parent->removeChild(node);
    node->destroy();
    accessibility_.post(node, "AXUIElementDestroyed");
    accessibility_.post(root_, "AXLayoutChanged");
}

std::vector<std::string> SimNotificationCenter::recordedRows() const {
    std::vector<std::string> rows;
    if (root_) collectRows(*root_, 0, rows);
    return rows;
}

void SimNotificationCenter::recordAction(std::string label, std::string title) {
    receivedActions_.push_back({std::move(label), std::move(title)});
    if (receivedActions_.size() > kRecordsKept) receivedActions_.pop_front();
}

} // namespace marlowick::sim
