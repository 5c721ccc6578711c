// Wraps: a layer-hosting NSView (its own root CALayer given before wantsLayer) holding the mirrored
// core tree as that root's one sublayer, the core root sized to the view as AppKit sizes a content
// view to its window, told the window's backing scale when it joins a window and
// whenever the window moves to a screen of another scale, and kept upright inside a flipped
// container (its root's geometryFlipped undoes the container's).
// Leaves out: events (the overlay takes none) and drawing of its own: everything shown is the
// core tree's.
#import <AppKit/AppKit.h>
#import <QuartzCore/QuartzCore.h>

#include <cmath>
#include <memory>
#include <utility>

#include "mac/layer_host.h"
#include "mac/layer_mirror.h"
#include "platform/transaction.h"

namespace p = marlowick::platform;

@implementation MWKLayerHostView {
    std::shared_ptr<p::Layer> _hosted;
    CALayer* _root;
}

- (instancetype)initWithFrame:(NSRect)frame layer:(std::shared_ptr<p::Layer>)layer {
    if ((self = [super initWithFrame:frame])) {
        _root = [CALayer layer];
        // The layer first, then wantsLayer: the view hosts this layer instead of backing itself.
        self.layer = _root;
        self.wantsLayer = YES;
        [self setHostedLayer:std::move(layer)];
    }
    return self;
}

- (double)backingScale {
    NSWindow* window = self.window;
    return window ? window.backingScaleFactor : 1;
}

// The hosted layer fills the view, as a window's content view fills the window.
- (void)fitHostedLayer {
    if (!_hosted) return;
    const NSSize size = self.bounds.size;
    if (!std::isfinite(size.width) || !std::isfinite(size.height)) return;
    p::Transaction::begin();
    p::Transaction::setDisableActions(true);
    _hosted->setFrame({0, 0, size.width, size.height});
    p::Transaction::commit();
}

- (void)setFrameSize:(NSSize)newSize {
    [super setFrameSize:newSize];
    [self fitHostedLayer];
}

- (void)setHostedLayer:(std::shared_ptr<p::Layer>)layer {
    _hosted = std::move(layer);
    [self fitHostedLayer];
    CALayer* mirrored = marlowick::mac::LayerMirror::shared().layerFor(_hosted, [self backingScale]);
    [CATransaction begin];
    [CATransaction setDisableActions:YES];
    _root.sublayers = mirrored ? @[ mirrored ] : nil;
    [CATransaction commit];
}

- (void)updateScale {
    if (!_hosted) return;
    const double scale = [self backingScale];
    _root.contentsScale = scale;
    marlowick::mac::LayerMirror::shared().setScale(*_hosted, scale);
}

// The core's tree has its origin at the lower left. Inside a flipped container (the settings
// window's content) the superlayer's geometry is flipped, and the flip would cascade into the tree:
// the root flips back so the tree draws upright wherever the view sits.
- (void)keepTreeUpright {
    CALayer* superlayer = _root.superlayer;
    const BOOL flipped = superlayer ? [superlayer contentsAreFlipped] : NO;
    if (_root.geometryFlipped != flipped) _root.geometryFlipped = flipped;
}

- (void)viewDidMoveToWindow {
    [super viewDidMoveToWindow];
    [self updateScale];
    [self keepTreeUpright];
}

- (void)viewDidMoveToSuperview {
    [super viewDidMoveToSuperview];
    [self keepTreeUpright];
}

- (void)viewDidChangeBackingProperties {
    [super viewDidChangeBackingProperties];
    [self updateScale];
}

@end
