// Wraps: a flipped NSView holding one AppKit view per drawn node of the tree (controls.h), ordered
// back to front as the layout lists them, its children's frames the core's layout; it tells the
// core's hosted views its effective appearance whenever that changes.
// Leaves out: Auto Layout and intrinsic sizes (the core measures with the same fonts), scrolling,
// and resizing the content to the window (the content keeps its laid-out size, top-left anchored).
#import <AppKit/AppKit.h>
#import <dispatch/dispatch.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <utility>

#include "mac/view_presenter.h"

namespace p = marlowick::platform;

// Top-left origin, as the core lays out; it reports changes of its effective appearance.
@interface MWKViewTreeView : NSView
@property(nonatomic) std::function<void()> appearanceChanged;
@end

@implementation MWKViewTreeView
- (BOOL)isFlipped {
    return YES;
}

- (BOOL)acceptsFirstResponder {
    return YES;
}

- (void)viewDidChangeEffectiveAppearance {
    [super viewDidChangeEffectiveAppearance];
    if (auto changed = _appearanceChanged) changed();
}
@end

namespace marlowick::mac {
namespace {

void keep(const PresentedView& gone, NSMutableArray* objects) {
    for (id object : {static_cast<id>(gone.view), static_cast<id>(gone.target), static_cast<id>(gone.clearTarget)}) {
        if (object) [objects addObject:object];
    }
}

} // namespace

ViewPresenter::ViewPresenter(std::shared_ptr<p::Fonts> fonts)
    : fonts_(std::move(fonts)), container_([[MWKViewTreeView alloc] initWithFrame:NSZeroRect]) {
    static_cast<MWKViewTreeView*>(container_).appearanceChanged = [this] { appearanceChanged(); };
}

ViewPresenter::~ViewPresenter() {
    static_cast<MWKViewTreeView*>(container_).appearanceChanged = nullptr;
}

NSView* ViewPresenter::view() const {
    return container_;
}

p::Size ViewPresenter::present(const p::ViewNode& root) {
    const p::ViewLayout layout = p::layoutViews(root, *fonts_);
    const p::ButtonView* defaultButton = p::defaultButton(root);

    std::map<std::string, PresentedView> fields;
    std::map<ControlClass, std::deque<PresentedView>> spare;
    for (auto& old : presented_) {
        if (old.controlClass == ControlClass::ShortcutField) {
            auto* field = static_cast<MWKShortcutField*>(old.view);
            fields.emplace(field.shortcutIdentifier, std::move(old));
        } else {
            spare[old.controlClass].push_back(std::move(old));
        }
    }

    std::vector<PresentedView> next;
    NSMutableArray<NSView*>* order = [NSMutableArray array];
    for (const auto& placed : layout.views) {
        const ControlClass controlClass = controlClassOf(*placed.node);
        if (controlClass == ControlClass::None) continue;
        PresentedView presented;
        auto& pool = spare[controlClass];
        const auto* fieldNode = placed.node->as<p::ShortcutFieldView>();
        if (auto kept = fieldNode ? fields.find(fieldNode->identifier) : fields.end(); kept != fields.end()) {
            presented = std::move(kept->second);
            fields.erase(kept);
        } else if (!fieldNode && !pool.empty()) {
            presented = std::move(pool.front());
            pool.pop_front();
        } else {
            presented = makePresentedView(*placed.node);
        }
        const auto* button = placed.node->as<p::ButtonView>();
        updatePresentedView(presented, placed, button && button == defaultButton);
        if (presented.view) [order addObject:presented.view];
        next.push_back(std::move(presented));
    }

    // A field that leaves while it is edited ends its editing first, as it would on its own.
    NSMutableArray* dropped = [NSMutableArray array];
    for (auto& [identifier, gone] : fields) {
        auto* field = static_cast<MWKShortcutField*>(gone.view);
        if (field.currentEditor) [field.window makeFirstResponder:nil];
        keep(gone, dropped);
    }
    for (auto& [controlClass, pool] : spare) {
        for (auto& gone : pool)
            keep(gone, dropped);
    }
    if (![container_.subviews isEqualToArray:order]) container_.subviews = order;
    // The tree may be replaced from inside a control's own action: what leaves it lasts until the
    // run loop's next turn, past the end of the click that AppKit is still handling.
    dispatch_async(dispatch_get_main_queue(), ^{
      (void)dropped;
    });
    presented_ = std::move(next);
    for (auto& presented : presented_)
        tellAppearance(presented);
    return layout.size;
}

MWKShortcutField* _Nullable ViewPresenter::field(const std::string& identifier) const {
    for (const auto& presented : presented_) {
        auto* field = static_cast<MWKShortcutField*>(presented.view);
        if (presented.controlClass == ControlClass::ShortcutField && field.shortcutIdentifier == identifier)
            return field;
    }
    return nil;
}

void ViewPresenter::appearanceChanged() {
    for (auto& presented : presented_)
        tellAppearance(presented);
}

} // namespace marlowick::mac
