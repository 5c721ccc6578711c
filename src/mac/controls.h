// The AppKit views that stand for the nodes of a view tree, one kind of view per kind of node: made
// for a node and brought in line with each rebuilt one. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appearance.h"
#include "platform/view_tree.h"

NS_ASSUME_NONNULL_BEGIN

// Controls hold their targets weakly; the presented view keeps its own alive.
@interface MWKControlTarget : NSObject
@property(nonatomic) std::function<void(id sender)> action;
- (void)perform:(id)sender;
@end

// The shortcut recorder's field, known to its window by the node's identifier. The window tells it
// when it gains and loses first-responder status, through the node's calls it carries.
@interface MWKShortcutField : NSSearchField
@property(nonatomic) std::string shortcutIdentifier;
@property(nonatomic) std::function<void()> onBecomeFirstResponder;
@property(nonatomic) std::function<void()> onResignFirstResponder;
@end

NS_ASSUME_NONNULL_END

namespace marlowick::mac {

// The AppKit view a node is shown with; a node that needs another one gets a new view.
enum class ControlClass {
    None, // spacers and stacks without a background draw nothing
    Label,
    Button,
    Symbol,
    Switch,
    PopUp,
    Swatch,
    StatusCircle,
    ShortcutField,
    Hosted,
    Divider,
    Sidebar,
    GroupBox,
};
ControlClass controlClassOf(const platform::ViewNode& node);

struct PresentedView {
    ControlClass controlClass = ControlClass::None;
    NSView* _Nullable view = nil;
    MWKControlTarget* _Nullable target = nil;
    // The shortcut field's clear button, kept while the field hides it, and what it calls.
    NSButtonCell* _Nullable clearButton = nil;
    MWKControlTarget* _Nullable clearTarget = nil;
    // What the pop-up's items were made from, so that they are remade only when the options change.
    std::vector<std::string> popUpOptions;
    std::shared_ptr<platform::HostedContent> hosted;
    std::optional<platform::Size> toldSize;
    std::optional<platform::Appearance> toldAppearance;
};

// A view for the node; none for the classes that draw nothing.
PresentedView makePresentedView(const platform::ViewNode& node);
// Brings the view in line with the placed node: its values, actions, frame, enabled state and
// opacity. `isDefault` marks the window's default button, which Return presses.
void updatePresentedView(PresentedView& presented, const platform::PlacedView& placed, bool isDefault);
// Tells a hosted view of the core's own the appearance it now draws in, when that changed.
void tellAppearance(PresentedView& presented);

} // namespace marlowick::mac
