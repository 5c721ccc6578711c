// The simulated accessibility service over the trees of simulated processes.
// Models: per-process trees, stale handles (-25202) after an element or its process has gone, hung
// processes that fail every request with -25204 after the messaging time-out (the virtual clock
// advances by it), crashed processes whose application element fails with -25204 at once, the
// permission (-25211 while not trusted, and for every request while it is stale; the settings list
// the application only after the prompting trust query or a grant), observers delivering
// notifications through the run loop, a count of every request and an optional latency per request, and
// failures injected per notification name. Not modelled: the system-wide element's own attributes, hit tests.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/accessibility.h"
#include "sim/ax_tree.h"
#include "sim/run_loop.h"

namespace marlowick::sim {

using platform::kAXErrorAPIDisabled;

class SimAccessibility final : public platform::Accessibility {
public:
    explicit SimAccessibility(SimRunLoop& loop);
    ~SimAccessibility() override;

    // platform::Accessibility
    platform::Element systemWide() override;
    platform::Element application(std::int32_t pid) override;
    platform::AXError copyAttributeValue(const platform::Element& element, std::string_view attribute,
                                         platform::AXValue& out) override;
    platform::AXError copyMultipleAttributeValues(const platform::Element& element,
                                                  std::span<const std::string_view> names,
                                                  std::vector<platform::AXAttributeResult>& out) override;
    platform::AXError copyActionNames(const platform::Element& element,
                                      std::vector<std::string>& out) override;
    platform::AXError performAction(const platform::Element& element, std::string_view action) override;
    platform::AXError setMessagingTimeout(const platform::Element& element, double seconds) override;
    bool isProcessTrusted() override { return trusted_ || stale_; }
    bool isProcessTrustedPromptingUser() override {
        ++prompts_;
        listed_ = true;
        return isProcessTrusted();
    }
    platform::AXError createObserver(std::int32_t pid, platform::AXObserverCallback callback,
                                     std::unique_ptr<platform::AXObserver>& out) override;

    // The simulated world's side.
    void setTrusted(bool trusted) {
        trusted_ = trusted;
        stale_ = false;
        if (trusted) listed_ = true;
    }
    // Whether Privacy & Security › Accessibility lists this application: only after the prompting
    // trust query, or once the user has turned the permission on.
    bool isListedInPrivacySettings() const { return listed_; }
    int promptCount() const { return prompts_; }
    // The permission is reported, yet every request is refused, as after an update of the app
    // until the user turns it off and on again.
    void setPermissionStale() {
        trusted_ = false;
        stale_ = true;
    }
    bool isPermissionStale() const { return stale_; }
    // A process presents its tree with this root (the application element). Re-registering a pid
    // replaces its tree.
    void registerProcess(std::int32_t pid, std::shared_ptr<AXNode> root);
    // The process has ended: its elements read as stale and its observers go quiet.
    void unregisterProcess(std::int32_t pid);
    // The process died at once: its elements read as stale, and a request to its application
    // element fails with -25204 without waiting (nobody is there to time out).
    void crashProcess(std::int32_t pid);
    // A hung process answers no request until it answers again.
    void setHung(std::int32_t pid, bool hung);
    bool isHung(std::int32_t pid) const { return hung_.contains(pid); }
    // Posts a notification about node to the observers of its process that subscribed to it on the
    // node or on the application element. Delivery goes through the run loop.
    void post(const std::shared_ptr<AXNode>& node, const std::string& notification);
    // Makes addNotification fail with code for that name, until cleared with code 0.
    void failNotification(const std::string& notification, platform::AXError code);

    // Accounting for benchmarks and tests.
    std::uint64_t requestCount() const { return requests_; }
    void resetRequestCount() { requests_ = 0; }
    // Each request advances the virtual clock by this much (0 by default).
    void setRequestLatency(double seconds) { latency_ = seconds; }
    double messagingTimeout() const { return timeout_; }

private:
    class Observer;
    struct Subscription {
        Observer* observer;
        std::uint64_t elementIdentity;
        std::string notification;
    };

    // Counts the request, applies latency and time-outs, and resolves the handle to a live node.
    platform::AXError begin(const platform::Element& element, std::shared_ptr<AXNode>& node);
    std::shared_ptr<AXNode> rootOf(std::int32_t pid) const;

    SimRunLoop& loop_;
    bool trusted_ = false;
    bool stale_ = false;
    bool listed_ = false;
    int prompts_ = 0;
    double timeout_ = 6.0; // the service's default until the process sets its own
    double latency_ = 0;
    std::uint64_t requests_ = 0;
    std::map<std::int32_t, std::shared_ptr<AXNode>> processes_;
    std::set<std::int32_t> hung_;
    std::set<std::int32_t> crashed_;
    std::map<std::string, platform::AXError> injectedFailures_;
    std::set<Observer*> observers_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace marlowick::sim
