// Wraps: CALayer, CAShapeLayer, CATextLayer and CAGradientLayer, one per core layer: geometry,
// transform, opacity, background, corners and their curve, border, shadow, masks, hidden, name,
// sublayers in order, paths with their fill rule, caps, joins and dashes, text in the system font,
// gradients, drawn content through the layer's delegate at the window's scale, and the core's
// animations (ca_animations.mm); every flush in a CATransaction with actions disabled.
// Leaves out: implicit animations (the core makes its own, which are mirrored), sublayer
// transforms, filters, contents gravity and rasterisation, none of which the core uses. The core's
// transaction completions stay with the core: they run on the run loop when its animations end,
// which is when the mirrored ones end on the same clock.
#import <Foundation/Foundation.h>
#import <QuartzCore/QuartzCore.h>

#include <cmath>
#include <string>

#include "mac/ca_animations.h"
#include "mac/foundation_values.h"
#include "mac/layer_mirror.h"
#include "mac/quartz_values.h"
#include "mac/services.h"
#include "mac/text_lines.h"
#include "platform/animation.h"

namespace p = marlowick::platform;

// Draws the layers whose core layer has a content drawer, and answers "no action" for every key,
// so that nothing Core Animation does on its own animates a change the core made without one.
@interface MWKLayerMirrorDelegate : NSObject <CALayerDelegate>
@end

@implementation MWKLayerMirrorDelegate

- (void)drawLayer:(CALayer*)layer inContext:(CGContextRef)ctx {
    marlowick::mac::LayerMirror::shared().draw(layer, ctx);
}

- (nullable id<CAAction>)actionForLayer:(CALayer*)layer forKey:(NSString*)event {
    (void)layer;
    (void)event;
    return (id<CAAction>)[NSNull null];
}

@end

namespace marlowick::mac {
namespace {

// The order Core Animation's own commit observer runs at; the mirror flushes just before it.
constexpr CFIndex kBeforeCoreAnimationCommit = 2000000 - 1;

// Scales outside this range are not a screen's; the layer keeps 1.
double validScale(double scale) {
    return std::isfinite(scale) && scale >= 1 && scale <= 8 ? scale : 1;
}

CALayer* makeLayerLike(const p::Layer& core) {
    if (dynamic_cast<const p::ShapeLayer*>(&core)) return [CAShapeLayer layer];
    if (dynamic_cast<const p::TextLayer*>(&core)) return [CATextLayer layer];
    if (dynamic_cast<const p::GradientLayer*>(&core)) return [CAGradientLayer layer];
    return [CALayer layer];
}

CAShapeLayerLineCap toCALineCap(p::LineCap cap) {
    switch (cap) {
    case p::LineCap::Butt:
        return kCALineCapButt;
    case p::LineCap::Round:
        return kCALineCapRound;
    case p::LineCap::Square:
        return kCALineCapSquare;
    }
    return kCALineCapButt;
}

CAShapeLayerLineJoin toCALineJoin(p::LineJoin join) {
    switch (join) {
    case p::LineJoin::Miter:
        return kCALineJoinMiter;
    case p::LineJoin::Round:
        return kCALineJoinRound;
    case p::LineJoin::Bevel:
        return kCALineJoinBevel;
    }
    return kCALineJoinMiter;
}

CATextLayerAlignmentMode toCAAlignment(p::TextAlignment alignment) {
    switch (alignment) {
    case p::TextAlignment::Left:
        return kCAAlignmentLeft;
    case p::TextAlignment::Center:
        return kCAAlignmentCenter;
    case p::TextAlignment::Right:
        return kCAAlignmentRight;
    }
    return kCAAlignmentLeft;
}

void applyShape(CAShapeLayer* layer, const p::ShapeLayer& shape) {
    layer.fillRule = shape.fillRule() == p::FillRule::EvenOdd ? kCAFillRuleEvenOdd : kCAFillRuleNonZero;
    layer.lineCap = toCALineCap(shape.lineCap());
    layer.lineJoin = toCALineJoin(shape.lineJoin());
    // A dash with a negative or non-finite length, or none but zeros, draws a solid line.
    NSMutableArray<NSNumber*>* dashes = [NSMutableArray array];
    bool anyLength = false;
    for (double length : shape.lineDashPattern()) {
        if (!std::isfinite(length) || length < 0) {
            dashes = nil;
            break;
        }
        anyLength = anyLength || length > 0;
        [dashes addObject:@(length)];
    }
    layer.lineDashPattern = dashes && anyLength ? dashes : nil;
}

void applyText(CATextLayer* layer, const p::TextLayer& text) {
    layer.string = displayString(text.string());
    NSFont* font = systemFont(text.font());
    // The layer takes its size from fontSize, not from the font.
    layer.font = (__bridge CFTypeRef)font;
    layer.fontSize = font.pointSize;
    layer.alignmentMode = toCAAlignment(text.alignment());
    layer.wrapped = NO;
    layer.truncationMode = kCATruncationNone;
    layer.contentsScale = validScale(text.contentsScale());
}

void applyGradient(CAGradientLayer* layer, const p::GradientLayer& gradient) {
    NSMutableArray* colors = [NSMutableArray array];
    NSMutableArray<NSNumber*>* locations = [NSMutableArray array];
    for (const auto& stop : gradient.gradient().stops) {
        [colors addObject:CFBridgingRelease(toCGColor(stop.color).release())];
        [locations addObject:@(stop.location)];
    }
    layer.colors = colors;
    layer.locations = locations;
    const p::Point start = gradient.startPoint();
    const p::Point end = gradient.endPoint();
    if (isFinite(start)) layer.startPoint = CGPoint{start.x, start.y};
    if (isFinite(end)) layer.endPoint = CGPoint{end.x, end.y};
    layer.type = gradient.type() == p::GradientLayer::Type::Radial ? kCAGradientLayerRadial : kCAGradientLayerAxial;
}

} // namespace

LayerMirror& LayerMirror::shared() {
    // Lives as long as the process: layers may report to it until the very end.
    static LayerMirror* mirror = new LayerMirror();
    return *mirror;
}

LayerMirror::LayerMirror() : delegate_([[MWKLayerMirrorDelegate alloc] init]) {
    platform::setLayerObserver(this);
    flushObserver_ = CFRef<CFRunLoopObserverRef>::adopt(CFRunLoopObserverCreateWithHandler(
        kCFAllocatorDefault, kCFRunLoopBeforeWaiting | kCFRunLoopExit, true, kBeforeCoreAnimationCommit,
        ^(CFRunLoopObserverRef, CFRunLoopActivity) {
          LayerMirror::shared().flush();
        }));
    CFRunLoopAddObserver(CFRunLoopGetMain(), flushObserver_.get(), kCFRunLoopCommonModes);
}

CALayer* LayerMirror::layerFor(const std::shared_ptr<platform::Layer>& layer, double scale) {
    if (!layer) return nil;
    [CATransaction begin];
    [CATransaction setDisableActions:YES];
    mediaTimeOffset_ = CACurrentMediaTime() - platform::currentMediaTime();
    CALayer* made = mirror(layer, validScale(scale)).layer;
    [CATransaction commit];
    return made;
}

LayerMirror::Mirrored& LayerMirror::mirror(const std::shared_ptr<platform::Layer>& layer, double scale) {
    if (auto found = mirrored_.find(layer.get()); found != mirrored_.end()) return found->second;
    Mirrored& made = mirrored_[layer.get()];
    made.core = layer;
    made.layer = makeLayerLike(*layer);
    made.layer.delegate = delegate_;
    made.scale = scale;
    coreByLayer_[(__bridge const void*)made.layer] = layer.get();
    sync(made, *layer);
    return made;
}

void LayerMirror::setScale(const platform::Layer& root, double scale) {
    auto found = mirrored_.find(&root);
    if (found == mirrored_.end()) return;
    [CATransaction begin];
    [CATransaction setDisableActions:YES];
    setScale(found->second, root, validScale(scale));
    [CATransaction commit];
}

void LayerMirror::setScale(Mirrored& mirrored, const platform::Layer& core, double scale) {
    if (mirrored.scale != scale) {
        mirrored.scale = scale;
        // Text layers keep the scale their owner gives them.
        if (!dynamic_cast<const p::TextLayer*>(&core)) mirrored.layer.contentsScale = scale;
        if (mirrored.draws) [mirrored.layer setNeedsDisplay];
    }
    for (const auto& sublayer : core.sublayers())
        if (auto found = mirrored_.find(sublayer.get()); found != mirrored_.end())
            setScale(found->second, *sublayer, scale);
    if (const auto& mask = core.mask())
        if (auto found = mirrored_.find(mask.get()); found != mirrored_.end()) setScale(found->second, *mask, scale);
}

void LayerMirror::flush() {
    if (changed_.empty()) return;
    auto changed = std::move(changed_);
    changed_.clear();
    [CATransaction begin];
    [CATransaction setDisableActions:YES];
    mediaTimeOffset_ = CACurrentMediaTime() - platform::currentMediaTime();
    for (const platform::Layer* layer : changed) {
        auto found = mirrored_.find(layer);
        if (found == mirrored_.end()) continue;
        if (auto core = found->second.core.lock()) sync(found->second, *core);
    }
    [CATransaction commit];
}

void LayerMirror::sync(Mirrored& mirrored, const platform::Layer& core) {
    syncValues(mirrored, core);
    syncContent(mirrored, core);
    syncTree(mirrored, core);
    syncAnimations(mirrored, core);
}

void LayerMirror::syncValues(Mirrored& mirrored, const platform::Layer& core) {
    // Every animatable property has the key path Core Animation knows it by, so key-value coding
    // sets them all alike; a value Core Animation would throw on is left out.
    for (std::string_view keyPath : core.keyPaths()) {
        const auto value = core.value(keyPath);
        if (!value) continue;
        const auto applied = mirrored.values.find(keyPath);
        if (applied != mirrored.values.end() && applied->second == *value) continue;
        if (id boxed = toCAValue(*value)) [mirrored.layer setValue:boxed forKey:toNSString(keyPath)];
        mirrored.values[std::string(keyPath)] = *value;
    }
    CALayer* layer = mirrored.layer;
    layer.hidden = core.isHidden();
    layer.masksToBounds = core.masksToBounds();
    layer.name = core.name().empty() ? nil : toNSString(core.name());
    layer.cornerCurve =
        core.cornerCurve() == p::CornerCurve::Continuous ? kCACornerCurveContinuous : kCACornerCurveCircular;
}

void LayerMirror::syncContent(Mirrored& mirrored, const platform::Layer& core) {
    CALayer* layer = mirrored.layer;
    if (!dynamic_cast<const p::TextLayer*>(&core)) layer.contentsScale = mirrored.scale;
    if (const auto* shape = dynamic_cast<const p::ShapeLayer*>(&core)) {
        auto* shapeLayer = static_cast<CAShapeLayer*>(layer);
        if (mirrored.path != shape->path()) {
            shapeLayer.path = toCGPath(shape->path()).get();
            mirrored.path = shape->path();
        }
        applyShape(shapeLayer, *shape);
    } else if (const auto* text = dynamic_cast<const p::TextLayer*>(&core)) {
        applyText(static_cast<CATextLayer*>(layer), *text);
    } else if (const auto* gradient = dynamic_cast<const p::GradientLayer*>(&core)) {
        applyGradient(static_cast<CAGradientLayer*>(layer), *gradient);
    }

    const bool draws = static_cast<bool>(core.contentDrawer());
    if (draws && (!mirrored.draws || mirrored.contentRevision != core.contentRevision())) {
        // The drawing stretches with the layer until drawn again, so a new size draws again.
        layer.needsDisplayOnBoundsChange = YES;
        [layer setNeedsDisplay];
    } else if (!draws && mirrored.draws) {
        layer.contents = nil;
    }
    mirrored.draws = draws;
    mirrored.contentRevision = core.contentRevision();
}

void LayerMirror::syncTree(Mirrored& mirrored, const platform::Layer& core) {
    std::vector<const platform::Layer*> sublayers;
    sublayers.reserve(core.sublayers().size());
    for (const auto& sublayer : core.sublayers())
        sublayers.push_back(sublayer.get());
    if (sublayers != mirrored.sublayers) {
        NSMutableArray<CALayer*>* layers = [NSMutableArray arrayWithCapacity:sublayers.size()];
        for (const auto& sublayer : core.sublayers())
            [layers addObject:mirror(sublayer, mirrored.scale).layer];
        mirrored.layer.sublayers = layers;
        mirrored.sublayers = std::move(sublayers);
    }
    const platform::Layer* mask = core.mask().get();
    if (mask != mirrored.mask) {
        mirrored.layer.mask = mask ? mirror(core.mask(), mirrored.scale).layer : nil;
        mirrored.mask = mask;
    }
}

void LayerMirror::syncAnimations(Mirrored& mirrored, const platform::Layer& core) {
    if (mirrored.animationRevision == core.animationRevision()) return;
    mirrored.animationRevision = core.animationRevision();
    // Added again on their absolute begin times, animations already running go on where they are.
    CALayer* layer = mirrored.layer;
    [layer removeAllAnimations];
    for (const std::string& key : core.animationKeys()) {
        const platform::Animation* animation = core.animation(key);
        if (CAAnimation* converted = animation ? toCAAnimation(*animation, mediaTimeOffset_) : nil)
            [layer addAnimation:converted forKey:toNSString(key)];
    }
}

void LayerMirror::draw(CALayer* layer, CGContextRef context) {
    auto found = coreByLayer_.find((__bridge const void*)layer);
    if (found == coreByLayer_.end() || !context) return;
    auto mirrored = mirrored_.find(found->second);
    if (mirrored == mirrored_.end()) return;
    auto core = mirrored->second.core.lock();
    if (!core || !core->contentDrawer()) return;
    core->contentDrawer()(*makeCanvas(context));
}

void LayerMirror::layerChanged(const platform::Layer& layer) {
    if (mirrored_.count(&layer)) changed_.insert(&layer);
}

void LayerMirror::layerDestroyed(const platform::Layer& layer) {
    changed_.erase(&layer);
    auto found = mirrored_.find(&layer);
    if (found == mirrored_.end()) return;
    coreByLayer_.erase((__bridge const void*)found->second.layer);
    // The CALayer leaves the screen with its superlayer's next change; it draws nothing meanwhile.
    found->second.layer.delegate = nil;
    mirrored_.erase(found);
}

} // namespace marlowick::mac
