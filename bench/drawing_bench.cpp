// What drawing the selection indicator costs: the overlay rebuilds its layers on every draw pass
// and caches nothing, so the union of two ring outlines (the stack silhouette) runs per redraw;
// rendering a small tree at 2x shows what a picture of the overlay costs the simulator.
#include <benchmark/benchmark.h>

#include "platform/layer.h"
#include "platform/path.h"
#include "sim/layer_renderer.h"
#include "sim/sim_mac.h"

namespace {

using namespace marlowick;
using platform::Path;
using platform::Rect;

Path outline(const Rect& rect) {
    Path path;
    path.addContinuousRoundedRect(rect.insetBy(-3, -3), 27);
    return path;
}

void BM_UnionOfItemAndCardOutlines(benchmark::State& state) {
    const Rect item{16, 400, 340, 64};
    const Path front = outline(item);
    const Path card = outline({item.minX() + 14, item.minY() - 9, item.width() - 28, item.height()});
    for (auto _ : state)
        benchmark::DoNotOptimize(front.united(card));
}
BENCHMARK(BM_UnionOfItemAndCardOutlines);

void BM_RenderRingAndPillAt2x(benchmark::State& state) {
    sim::SimMac mac;
    auto root = platform::Layer::make();
    root->setFrame({0, 0, 372, 800});
    auto ring = platform::Layer::make();
    ring->setFrame({13, 397, 346, 70});
    ring->setBorderWidth(3);
    ring->setBorderColor({0, 0.48, 1, 1});
    ring->setCornerRadius(27);
    ring->setCornerCurve(platform::CornerCurve::Continuous);
    root->addSublayer(ring);
    auto pill = platform::Layer::make();
    pill->setFrame({146, 386, 80, 22});
    pill->setBackgroundColor({0, 0.48, 1, 1});
    pill->setCornerRadius(11);
    pill->setShadowOpacity(0.35);
    pill->setShadowRadius(1.5);
    pill->setShadowOffset({0, -1});
    root->addSublayer(pill);
    for (auto _ : state)
        benchmark::DoNotOptimize(sim::renderLayerTree(*root, 0).pixelWidth());
}
BENCHMARK(BM_RenderRingAndPillAt2x)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
