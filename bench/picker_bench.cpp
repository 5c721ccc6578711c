// What the picker costs on the simulated Mac with 100 µs per accessibility request: requests and
// simulated time from the open-notification hot key to the ring, with Notification Center's own
// slide-in (its rows appear 0.1 s after the toggle, then slide for 0.3 s) reported apart; and the
// requests of one idle watch check against the elements that sidebarIsOpen's walk visits, each with
// no desktop widgets and with twelve (windows of Notification Center's own, as on a typical Mac); and
// the requests that opening a notification's list of actions costs.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "notificationcenter/controller.h"
#include "notificationcenter/reader.h"
#include "overlay/sidebar_overlay.h"
#include "sim/sim_mac.h"

namespace marlowick {
namespace {

constexpr double kRequestLatency = 100e-6;
constexpr double kNotificationCenterSlideIn =
    sim::SimNotificationCenter::kRowsAppearDelay + sim::SimNotificationCenter::kSlideDuration;

// A Mac whose sidebar holds `rows` single rows (one per application, so no stacks), the desktop
// widgets asked for and a started controller, everything settled.
struct World {
    explicit World(int rows, int desktopWidgets, std::vector<std::string> arguments = {}) {
        mac.process().setArguments(std::move(arguments));
        mac.notificationCenter().setDesktopWidgets(desktopWidgets);
        mac.defaults().set("ringReveal", std::string("none"));
        mac.accessibility().setMessagingTimeout(mac.accessibility().systemWide(), 0.5);
        for (int i = 0; i < rows; ++i) {
            mac.notificationCenter().post({.app = "App " + std::to_string(i),
                                           .title = "Title " + std::to_string(i),
                                           .body = "Some body text of notification " + std::to_string(i)});
        }
        mac.runFor(sim::SimNotificationCenter::kBannerDuration + 0.5);
        controller = Controller::create();
        controller->start();
        mac.runFor(0.5);
    }
    bool ringShown() const {
        auto overlay = controller->shownOverlay();
        return overlay && overlay->showsRing;
    }
    // Runs one task after the other until the ring shows; the clock stops where it showed. Returns
    // the requests of the last step, the slide-in poll that found the row standing still. Each
    // step's busy time (how far its requests moved the clock past its due time) goes to `busy`
    // with the time it fell due.
    std::uint64_t runUntilRing(const std::function<void(double due, double busy)>& busy) {
        std::uint64_t before = 0;
        while (!ringShown()) {
            auto due = mac.runLoop().nextDueTime();
            if (!due || mac.now() > 60) return 0;
            before = mac.accessibility().requestCount();
            double dueAt = std::max(*due, mac.now());
            mac.runFor(dueAt - mac.now());
            busy(dueAt, mac.now() - dueAt);
        }
        return mac.accessibility().requestCount() - before;
    }

    sim::SimMac mac;
    std::shared_ptr<Controller> controller;
};

void BM_HotKeyToRing(benchmark::State& state) {
    int rows = static_cast<int>(state.range(0));
    double requests = 0;
    double total = 0;
    double pastSlide = 0;
    double pollRequests = 0;
    double ownBusy = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        World world(rows, static_cast<int>(state.range(1)));
        world.mac.accessibility().setRequestLatency(kRequestLatency);
        world.mac.accessibility().resetRequestCount();
        double start = world.mac.now();
        state.ResumeTiming();

        world.controller->openPicker();
        double hotKeyBusy = world.mac.now() - start;
        std::vector<std::pair<double, double>> steps;
        auto lastPoll = world.runUntilRing([&](double due, double busy) { steps.emplace_back(due, busy); });

        state.PauseTiming();
        auto slideEnd = world.mac.notificationCenter().slideEndsAt();
        // Marlowick's own time: the hot key's task, and the work of every step once Notification
        // Center's slide had ended. Waits between steps, and work done while it still slid, are not.
        double own = hotKeyBusy;
        for (auto [due, busy] : steps) {
            if (slideEnd && due + busy > *slideEnd) own += due >= *slideEnd ? busy : due + busy - *slideEnd;
        }
        ownBusy += own;
        if (!world.ringShown() || !slideEnd) state.SkipWithError("the ring never showed");
        requests += static_cast<double>(world.mac.accessibility().requestCount());
        total += world.mac.now() - start;
        pastSlide += world.mac.now() - slideEnd.value_or(world.mac.now());
        pollRequests += static_cast<double>(lastPoll);
        ++runs;
        state.ResumeTiming();
    }
    if (runs == 0) return;
    state.counters["requests"] = requests / runs;
    state.counters["sim_ms_to_ring"] = 1000 * total / runs;
    state.counters["nc_slide_in_ms"] = 1000 * kNotificationCenterSlideIn;
    // Everything but Notification Center's own 0.4 s: the reads before the toggle, the polls' waits
    // and reads after the slide ended (one 0.03 s wait at least, to see the row stand still).
    state.counters["past_slide_in_ms"] = 1000 * (total / runs - kNotificationCenterSlideIn);
    // Of that, the time Marlowick was at work rather than waiting to see the slide end.
    state.counters["own_ms_to_ring"] = 1000 * ownBusy / runs;
    state.counters["past_slide_ms"] = 1000 * pastSlide / runs;
    state.counters["poll_requests"] = pollRequests / runs;
    state.counters["request_ms"] = 1000 * kRequestLatency * requests / runs;
}
BENCHMARK(BM_HotKeyToRing)
    ->ArgsProduct({{10, 50, 200}, {0, 12}})
    ->ArgNames({"rows", "widget_windows"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The requests that → costs, from the key to the list of the selected row's actions on screen: one
// read of the row's action names, however many rows the sidebar holds.
void BM_OpenActionList(benchmark::State& state) {
    int rows = static_cast<int>(state.range(0));
    double requests = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        World world(rows, 0);
        world.controller->openPicker();
        world.runUntilRing([](double, double) {});
        auto overlay = world.controller->shownOverlay();
        world.mac.accessibility().resetRequestCount();
        state.ResumeTiming();

        if (overlay) overlay->handleKey(SidebarOverlay::kRightArrow);
        world.mac.runUntilIdle();

        state.PauseTiming();
        if (!overlay || overlay->actionLabels.empty()) state.SkipWithError("no list of actions showed");
        requests += static_cast<double>(world.mac.accessibility().requestCount());
        ++runs;
        state.ResumeTiming();
    }
    if (runs == 0) return;
    state.counters["requests"] = requests / runs;
}
BENCHMARK(BM_OpenActionList)->Arg(10)->Arg(200)->Iterations(3);

enum class SidebarState { Closed, ClosedWithBanners, OpenByTheUser };

void idleWatchCheck(benchmark::State& state, SidebarState sidebar) {
    int rows = static_cast<int>(state.range(0));
    double requests = 0;
    double visited = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The watch timer started with the controller, at 5.5 s, so it fires at 10.5 s; the window
        // from 10.4 s to 10.6 s holds that one check and nothing else.
        World world(rows, static_cast<int>(state.range(1)), {"--no-auto-badges"});
        auto& center = world.mac.notificationCenter();
        if (sidebar == SidebarState::OpenByTheUser) center.openSidebar();
        world.mac.runFor(10.0 - world.mac.now());
        if (sidebar == SidebarState::ClosedWithBanners) {
            center.post({.app = "Mail", .title = "New"});
            center.post({.app = "Chat", .title = "Newer"});
        }
        world.mac.runFor(0.4); // the checks that the changes called for
        world.mac.accessibility().setRequestLatency(kRequestLatency);
        world.mac.accessibility().resetRequestCount();
        state.ResumeTiming();

        world.mac.runFor(0.2);

        state.PauseTiming();
        requests += static_cast<double>(world.mac.accessibility().requestCount());
        world.mac.accessibility().resetRequestCount();
        // Batched reads ask once per element, so the walk's requests are the elements it visits.
        if (auto application = notificationCenterApp()) sidebarIsOpen(*application);
        visited += static_cast<double>(world.mac.accessibility().requestCount());
        ++runs;
        state.ResumeTiming();
    }
    if (runs == 0) return;
    state.counters["requests"] = requests / runs;
    state.counters["walk_elements"] = visited / runs;
    state.counters["requests_per_element"] = visited > 0 ? requests / visited : 0;
}

void BM_IdleWatchCheckSidebarClosed(benchmark::State& state) {
    idleWatchCheck(state, SidebarState::Closed);
}
void BM_IdleWatchCheckTwoBanners(benchmark::State& state) {
    idleWatchCheck(state, SidebarState::ClosedWithBanners);
}
void BM_IdleWatchCheckSidebarOpen(benchmark::State& state) {
    idleWatchCheck(state, SidebarState::OpenByTheUser);
}
BENCHMARK(BM_IdleWatchCheckSidebarClosed)
    ->ArgsProduct({{50}, {0, 12}})
    ->ArgNames({"rows", "widget_windows"})
    ->Iterations(3);
BENCHMARK(BM_IdleWatchCheckTwoBanners)
    ->ArgsProduct({{50}, {0, 12}})
    ->ArgNames({"rows", "widget_windows"})
    ->Iterations(3);
BENCHMARK(BM_IdleWatchCheckSidebarOpen)
    ->ArgsProduct({{10, 50, 200}, {0, 12}})
    ->ArgNames({"rows", "widget_windows"})
    ->Iterations(3);

} // namespace
} // namespace marlowick

BENCHMARK_MAIN();
