// The core's layer trees as Core Animation layers: one CALayer for each core layer that a view
// hosts, made once and kept in step with the changes the core reports. Objective-C++ only.
#pragma once

#import <QuartzCore/QuartzCore.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "mac/cf_ref.h"
#include "platform/layer.h"

@class MWKLayerMirrorDelegate;

namespace marlowick::mac {

class LayerMirror final : public platform::LayerObserver {
public:
    // The process's one mirror; it observes every core layer from its first use on.
    static LayerMirror& shared();

    // The CALayer standing for the core layer, made with its whole subtree on first use; layers
    // that draw render at `scale` device pixels per point.
    CALayer* layerFor(const std::shared_ptr<platform::Layer>& layer, double scale);
    // The tree under `root` renders at `scale` from now on (its window moved to another screen).
    void setScale(const platform::Layer& root, double scale);

    // Applies every change reported since the last flush, in one transaction without implicit
    // animations: the core's own animations are mirrored instead. Runs before the main run loop
    // waits, in every mode, so the screen is current whenever the loop sleeps.
    void flush();

    // What the layer's delegate draws: the core layer's content drawer over the context.
    void draw(CALayer* layer, CGContextRef context);

    void layerChanged(const platform::Layer& layer) override;
    void layerDestroyed(const platform::Layer& layer) override;

private:
    struct Mirrored {
        std::weak_ptr<platform::Layer> core;
        CALayer* layer = nil;
        double scale = 1;
        // What was last handed to Core Animation, so that only changes are applied.
        std::map<std::string, platform::AnimatableValue, std::less<>> values;
        std::vector<const platform::Layer*> sublayers;
        const platform::Layer* mask = nullptr;
        std::optional<platform::Path> path;
        std::uint64_t contentRevision = 0;
        std::uint64_t animationRevision = 0;
        bool draws = false;
    };

    LayerMirror();
    Mirrored& mirror(const std::shared_ptr<platform::Layer>& layer, double scale);
    void sync(Mirrored& mirrored, const platform::Layer& core);
    void syncValues(Mirrored& mirrored, const platform::Layer& core);
    void syncTree(Mirrored& mirrored, const platform::Layer& core);
    void syncContent(Mirrored& mirrored, const platform::Layer& core);
    void syncAnimations(Mirrored& mirrored, const platform::Layer& core);
    void setScale(Mirrored& mirrored, const platform::Layer& core, double scale);

    std::unordered_map<const platform::Layer*, Mirrored> mirrored_;
    std::unordered_map<const void*, const platform::Layer*> coreByLayer_;
    std::unordered_set<const platform::Layer*> changed_;
    MWKLayerMirrorDelegate* delegate_ = nil;
    CFRef<CFRunLoopObserverRef> flushObserver_;
    // The core's media clock and Core Animation's, read together at each flush.
    double mediaTimeOffset_ = 0;
};

} // namespace marlowick::mac
