// The AppKit view that stands for one node of a view tree, made for the node's kind and brought in
// line with each rebuilt node, and the shortcut field the window tracks as its first responder.
// Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appearance.h"
#include "platform/layer.h"
#include "platform/view_tree.h"

NS_ASSUME_NONNULL_BEGIN

// Controls hold their targets weakly; the presented view keeps its own alive.
@interface MWKControlTarget : NSObject
@property(nonatomic) std::function<void(id sender)> action;
- (void)perform:(id)sender;
@end

// The shortcut recorder's field, known to its window by the node's identifier.
@interface MWKShortcutField : NSSearchField
@property(nonatomic) std::string identifier;
@end

NS_ASSUME_NONNULL_END

namespace marlowick::mac {

struct PresentedView {
    // The node's kind as viewKind tells it; a node of another kind needs another view.
    int kind = -1;
    NSView* _Nullable view = nil;
    MWKControlTarget* _Nullable target = nil;
    MWKControlTarget* _Nullable clearTarget = nil; // the shortcut field's clear button
    std::shared_ptr<platform::HostedContent> hosted;
    std::shared_ptr<platform::Layer> hostedLayer;
    std::optional<platform::Appearance> toldAppearance;
};

int viewKind(const platform::ViewNode& node);
// A view for the node's kind; none for the kinds that draw nothing (spacers, stacks without a
// background).
PresentedView makePresentedView(const platform::ViewNode& node);
// Brings the view in line with the placed node: its values, actions, frame, enabled state and opacity.
void updatePresentedView(PresentedView& presented, const platform::PlacedView& placed);

} // namespace marlowick::mac
