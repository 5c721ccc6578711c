#include "sim/accessibility.h"

#include <algorithm>

namespace marlowick::sim {

using platform::AXError;
using platform::AXValue;
using platform::Element;

class SimAccessibility::Observer final : public platform::AXObserver {
public:
    Observer(SimAccessibility& service, std::int32_t pid, platform::AXObserverCallback callback)
        : service_(&service), serviceAlive_(service.alive_), pid_(pid), callback_(std::move(callback)) {
        service_->observers_.insert(this);
    }
    ~Observer() override {
        *alive_ = false;
        if (*serviceAlive_) service_->observers_.erase(this);
    }

    AXError addNotification(const Element& element, std::string_view notification) override {
        if (!*serviceAlive_) return platform::kAXErrorInvalidUIElementObserver;
        if (auto it = service_->injectedFailures_.find(std::string(notification));
            it != service_->injectedFailures_.end()) {
            ++service_->requests_;
            return it->second;
        }
        std::shared_ptr<AXNode> node;
        if (AXError error = service_->begin(element, node); error != platform::kAXErrorSuccess) return error;
        if (!node || node->pid() != pid_) return platform::kAXErrorIllegalArgument;
        for (const auto& subscription : subscriptions_) {
            if (subscription.first == node->id() && subscription.second == notification) {
                return platform::kAXErrorNotificationAlreadyRegistered;
            }
        }
        subscriptions_.emplace_back(node->id(), std::string(notification));
        return platform::kAXErrorSuccess;
    }
    void addRunLoopSource() override { sourceAdded_ = true; }
    void removeRunLoopSource() override { sourceAdded_ = false; }

    // Queues a delivery if this observer listens for the notification on one of the given elements.
    void offer(std::int32_t pid, std::uint64_t nodeId, std::uint64_t rootId, const Element& element,
               const std::string& notification, SimRunLoop& loop) {
        if (pid != pid_ || !sourceAdded_) return;
        bool subscribed = std::any_of(subscriptions_.begin(), subscriptions_.end(), [&](const auto& entry) {
            return entry.second == notification && (entry.first == nodeId || entry.first == rootId);
        });
        if (!subscribed) return;
        loop.async([alive = alive_, this, element, notification] {
            if (!*alive || !sourceAdded_) return;
            // A copy, since the callback may drop this observer while it runs.
            auto callback = callback_;
            callback(element, notification);
        });
    }

private:
    SimAccessibility* service_;
    std::shared_ptr<bool> serviceAlive_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::int32_t pid_;
    platform::AXObserverCallback callback_;
    std::vector<std::pair<std::uint64_t, std::string>> subscriptions_;
    bool sourceAdded_ = false;
};

SimAccessibility::SimAccessibility(SimRunLoop& loop) : loop_(loop) {}

SimAccessibility::~SimAccessibility() {
    *alive_ = false;
}

Element SimAccessibility::systemWide() {
    return Element(
        std::make_shared<SimElementRef>(SimElementRef::Kind::SystemWide, 0, 0, std::weak_ptr<AXNode>()));
}

Element SimAccessibility::application(std::int32_t pid) {
    if (auto root = rootOf(pid)) return root->element();
    return Element(std::make_shared<SimElementRef>(
        SimElementRef::Kind::Application, static_cast<std::uint64_t>(pid), pid, std::weak_ptr<AXNode>()));
}

std::shared_ptr<AXNode> SimAccessibility::rootOf(std::int32_t pid) const {
    auto it = processes_.find(pid);
    return it == processes_.end() ? nullptr : it->second;
}

AXError SimAccessibility::begin(const Element& element, std::shared_ptr<AXNode>& node) {
    ++requests_;
    loop_.advanceClock(latency_);
    if (!trusted_) return kAXErrorAPIDisabled;
    const auto* ref = dynamic_cast<const SimElementRef*>(element.ref());
    if (!ref || ref->kind() == SimElementRef::Kind::SystemWide) return platform::kAXErrorIllegalArgument;
    // A request goes to the element's process: a gone process fails at once, a hung one only after
    // the time-out, and a live one then finds out whether the element still exists. A fresh
    // application element of a crashed process reaches no one: that fails at once as well.
    if (ref->kind() == SimElementRef::Kind::Application && crashed_.contains(ref->pid()))
        return platform::kAXErrorCannotComplete;
    if (!processes_.contains(ref->pid())) return platform::kAXErrorInvalidUIElement;
    if (hung_.contains(ref->pid())) {
        loop_.advanceClock(timeout_);
        return platform::kAXErrorCannotComplete;
    }
    node = ref->node();
    if (!node || !node->isAlive() || node->pid() != ref->pid()) return platform::kAXErrorInvalidUIElement;
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::copyAttributeValue(const Element& element, std::string_view attribute,
                                             AXValue& out) {
    out = std::monostate{};
    std::shared_ptr<AXNode> node;
    if (AXError error = begin(element, node); error != platform::kAXErrorSuccess) return error;
    auto value = node->read(attribute);
    if (!value) return platform::kAXErrorAttributeUnsupported;
    if (std::holds_alternative<std::monostate>(*value)) return platform::kAXErrorNoValue;
    out = std::move(*value);
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::copyMultipleAttributeValues(const Element& element,
                                                      std::span<const std::string_view> names,
                                                      std::vector<platform::AXAttributeResult>& out) {
    out.clear();
    std::shared_ptr<AXNode> node;
    if (AXError error = begin(element, node); error != platform::kAXErrorSuccess) return error;
    out.reserve(names.size());
    for (auto name : names) {
        auto value = node->read(name);
        if (!value) {
            out.push_back({platform::kAXErrorAttributeUnsupported, {}});
        } else if (std::holds_alternative<std::monostate>(*value)) {
            out.push_back({platform::kAXErrorNoValue, {}});
        } else {
            out.push_back({platform::kAXErrorSuccess, std::move(*value)});
        }
    }
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::copyActionNames(const Element& element, std::vector<std::string>& out) {
    out.clear();
    std::shared_ptr<AXNode> node;
    if (AXError error = begin(element, node); error != platform::kAXErrorSuccess) return error;
    out = node->actionNames();
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::performAction(const Element& element, std::string_view action) {
    std::shared_ptr<AXNode> node;
    if (AXError error = begin(element, node); error != platform::kAXErrorSuccess) return error;
    const auto* handler = node->action(action);
    if (!handler) return platform::kAXErrorActionUnsupported;
    auto run = *handler; // the action may change the node's own actions
    return run();
}

AXError SimAccessibility::setMessagingTimeout(const Element& element, double seconds) {
    if (seconds < 0) return platform::kAXErrorIllegalArgument;
    const auto* ref = dynamic_cast<const SimElementRef*>(element.ref());
    if (!ref) return platform::kAXErrorIllegalArgument;
    // Only the process-wide time-out is modelled; a per-element one is accepted and ignored.
    if (ref->kind() == SimElementRef::Kind::SystemWide) timeout_ = seconds == 0 ? 6.0 : seconds;
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::createObserver(std::int32_t pid, platform::AXObserverCallback callback,
                                         std::unique_ptr<platform::AXObserver>& out) {
    out.reset();
    if (!trusted_) return kAXErrorAPIDisabled;
    if (crashed_.contains(pid)) return platform::kAXErrorCannotComplete;
    if (!processes_.contains(pid) || !callback) return platform::kAXErrorIllegalArgument;
    out = std::make_unique<Observer>(*this, pid, std::move(callback));
    return platform::kAXErrorSuccess;
}

void SimAccessibility::registerProcess(std::int32_t pid, std::shared_ptr<AXNode> root) {
    unregisterProcess(pid);
    root->adopt(pid);
    processes_[pid] = std::move(root);
}

void SimAccessibility::unregisterProcess(std::int32_t pid) {
    auto it = processes_.find(pid);
    if (it == processes_.end()) return;
    it->second->destroy();
    processes_.erase(it);
    hung_.erase(pid);
}

void SimAccessibility::crashProcess(std::int32_t pid) {
    unregisterProcess(pid);
    crashed_.insert(pid);
}

void SimAccessibility::setHung(std::int32_t pid, bool hung) {
    if (hung) {
        hung_.insert(pid);
    } else {
        hung_.erase(pid);
    }
}

void SimAccessibility::post(const std::shared_ptr<AXNode>& node, const std::string& notification) {
    auto root = rootOf(node->pid());
    if (!root) return;
    Element element = node->element();
    for (auto* observer : observers_) {
        observer->offer(node->pid(), node->id(), root->id(), element, notification, loop_);
    }
}

void SimAccessibility::failNotification(const std::string& notification, AXError code) {
    if (code == platform::kAXErrorSuccess) {
        injectedFailures_.erase(notification);
    } else {
        injectedFailures_[notification] = code;
    }
}

} // namespace marlowick::sim
