// What reading Notification Center's sidebar costs: accessibility requests per call and per element
// the read touched, and CPU time per call, for sidebars of 10, 50 and 200 rows under both read
// strategies. Every request is a round trip to another process on a real Mac, so requests are the
// figure that matters; the target is at most 2 per element touched.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "notificationcenter/element_attributes.h"
#include "notificationcenter/reader.h"
#include "sim/sim_mac.h"

namespace {

using namespace marlowick;
using platform::AXError;
using platform::Element;

// Passes every request on to the simulated service and notes which elements were asked about.
class CountingAccessibility final : public platform::Accessibility {
public:
    explicit CountingAccessibility(platform::Accessibility& inner) : inner_(inner) {}

    std::size_t touchedElements() const { return touched_.size(); }
    // Noting elements costs a scan per request; it is off while the timing runs.
    void setNoting(bool noting) {
        noting_ = noting;
        touched_.clear();
    }

    Element systemWide() override { return inner_.systemWide(); }
    Element application(std::int32_t pid) override { return inner_.application(pid); }
    AXError copyAttributeValue(const Element& element, std::string_view attribute,
                               platform::AXValue& out) override {
        touch(element);
        return inner_.copyAttributeValue(element, attribute, out);
    }
    AXError copyMultipleAttributeValues(const Element& element, std::span<const std::string_view> names,
                                        std::vector<platform::AXAttributeResult>& out) override {
        touch(element);
        return inner_.copyMultipleAttributeValues(element, names, out);
    }
    AXError copyActionNames(const Element& element, std::vector<std::string>& out) override {
        touch(element);
        return inner_.copyActionNames(element, out);
    }
    AXError performAction(const Element& element, std::string_view action) override {
        touch(element);
        return inner_.performAction(element, action);
    }
    AXError setMessagingTimeout(const Element& element, double seconds) override {
        return inner_.setMessagingTimeout(element, seconds);
    }
    bool isProcessTrusted() override { return inner_.isProcessTrusted(); }
    bool isProcessTrustedPromptingUser() override { return inner_.isProcessTrustedPromptingUser(); }
    AXError createObserver(std::int32_t pid, platform::AXObserverCallback callback,
                           std::unique_ptr<platform::AXObserver>& out) override {
        return inner_.createObserver(pid, std::move(callback), out);
    }

private:
    void touch(const Element& element) {
        // Elements are compared, never hashed: a linear scan.
        if (noting_ && std::none_of(touched_.begin(), touched_.end(),
                                    [&](const Element& seen) { return seen == element; })) {
            touched_.push_back(element);
        }
    }

    platform::Accessibility& inner_;
    bool noting_ = false;
    std::vector<Element> touched_;
};

// A Mac whose Notification Center lists `rows` rows in its open sidebar; one in ten is a stack of two.
struct SidebarWorld {
    explicit SidebarWorld(int rows) {
        auto& center = mac.notificationCenter();
        center.setVisibleHeight(100000); // every row on screen, as a long sidebar would be after scrolling
        for (int i = 0; i < rows; ++i) {
            std::string app = "App " + std::to_string(i);
            center.post(
                {.app = app, .title = "Title " + std::to_string(i), .body = "Body of the notification"});
            if (i % 10 == 9) center.post({.app = app, .title = "Second", .body = "Another body"});
        }
        mac.runFor(6.0); // the banners have gone
        center.openSidebar();
        mac.runFor(1.0); // the rows have slid in
    }
    sim::SimMac mac;
};

ReadStrategy strategyOf(const benchmark::State& state) {
    return state.range(1) == 0 ? ReadStrategy::Batched : ReadStrategy::OneByOne;
}

template <class Read> void measure(benchmark::State& state, const char* resultName, Read read) {
    SidebarWorld world(static_cast<int>(state.range(0)));
    CountingAccessibility counting(world.mac.accessibility());
    auto services = platform::current();
    services.accessibility = &counting;
    platform::Installation installation(services);
    setReadStrategy(strategyOf(state));

    // One read outside the timing to count the elements it touches.
    auto& service = world.mac.accessibility();
    counting.setNoting(true);
    service.resetRequestCount();
    state.counters[resultName] = static_cast<double>(read());
    double touched = static_cast<double>(counting.touchedElements());
    double requestsOfOneRead = static_cast<double>(service.requestCount());
    counting.setNoting(false);

    service.resetRequestCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(read());
    double perCall = static_cast<double>(service.requestCount()) / static_cast<double>(state.iterations());
    state.counters["requests/call"] = perCall;
    state.counters["elements/call"] = touched;
    state.counters["requests/element"] = touched > 0 ? requestsOfOneRead / touched : 0;
    setReadStrategy(ReadStrategy::Batched);
}

void BM_sidebarNotifications(benchmark::State& state) {
    measure(state, "rowsRead", [] { return sidebarNotifications().size(); });
}

void BM_sidebarIsOpen(benchmark::State& state) {
    measure(state, "isOpen", [] {
        auto application = notificationCenterApp();
        return static_cast<std::size_t>(application && sidebarIsOpen(*application));
    });
}

void sidebarSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"rows", "oneByOne"});
    for (int strategy : {0, 1}) {
        for (int rows : {10, 50, 200})
            benchmark->Args({rows, strategy});
    }
    benchmark->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_sidebarNotifications)->Apply(sidebarSizes);
BENCHMARK(BM_sidebarIsOpen)->Apply(sidebarSizes);

} // namespace

BENCHMARK_MAIN();
