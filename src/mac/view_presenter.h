// A titled window's content: the core's view tree shown as AppKit views in a flipped container,
// each placed where the core's layout puts it. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <string>
#include <vector>

#include "mac/controls.h"
#include "platform/fonts.h"
#include "platform/view_tree.h"

NS_ASSUME_NONNULL_BEGIN

namespace marlowick::mac {

class ViewPresenter {
public:
    explicit ViewPresenter(std::shared_ptr<platform::Fonts> fonts);
    ~ViewPresenter();
    ViewPresenter(const ViewPresenter&) = delete;
    ViewPresenter& operator=(const ViewPresenter&) = delete;

    // The container, to be the window's content view. It takes first-responder status itself, so
    // that a window shown or clicked on its background puts no field into editing.
    NSView* view() const;
    // Shows the tree. The views of the last one are kept where they can be: each shortcut field by
    // its identifier (so that one being edited stays so), every other view by its class and its
    // place among the views of that class. Returns the size the layout asks for.
    platform::Size present(const platform::ViewNode& root);
    // The shortcut field shown for the identifier, if any.
    MWKShortcutField* _Nullable field(const std::string& identifier) const;

private:
    void appearanceChanged();

    std::shared_ptr<platform::Fonts> fonts_;
    NSView* container_;
    std::vector<PresentedView> presented_; // in the layout's order, back to front
};

} // namespace marlowick::mac

NS_ASSUME_NONNULL_END
