// A view that shows a core layer tree as Core Animation layers: one CALayer per core layer, kept in
// step with every change the core makes (layer_mirror.mm), drawn at its window's backing scale.
// Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <memory>

#include "platform/layer.h"

NS_ASSUME_NONNULL_BEGIN

@interface MWKLayerHostView : NSView
// The view hosts `layer` as the sublayer of its own root, sized to fill the view whenever the view
// changes size.
- (instancetype)initWithFrame:(NSRect)frame layer:(std::shared_ptr<marlowick::platform::Layer>)layer;
- (instancetype)initWithFrame:(NSRect)frameRect NS_UNAVAILABLE;
// Hosts another tree in place of the current one.
- (void)setHostedLayer:(std::shared_ptr<marlowick::platform::Layer>)layer;
@end

NS_ASSUME_NONNULL_END
