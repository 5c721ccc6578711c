// Wraps: NSStatusBar's items, each with its button's image drawn on demand (drawn_images.h), and
// its menu.
// Leaves out: titles, tool tips, square items, autosave names and the item's visibility toggle.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <cmath>
#include <memory>
#include <optional>
#include <utility>

#include "mac/drawn_images.h"
#include "mac/native_menu.h"
#include "mac/services.h"
#include "platform/menus.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

class MacStatusBarButton final : public p::StatusBarButton {
public:
    explicit MacStatusBarButton(NSStatusBarButton* button) : button_(button) {}

    void setImage(p::DrawnImage image) override {
        image_ = std::move(image);
        button_.image = makeNSImage(image_);
    }
    const p::DrawnImage& image() const override { return image_; }

private:
    NSStatusBarButton* button_;
    p::DrawnImage image_;
};

class MacStatusItem final : public p::StatusItem {
public:
    explicit MacStatusItem(NSStatusItem* item) : item_(item) {
        if (NSStatusBarButton* button = item.button) button_.emplace(button);
    }
    ~MacStatusItem() override { [NSStatusBar.systemStatusBar removeStatusItem:item_]; }
    MacStatusItem(const MacStatusItem&) = delete;
    MacStatusItem& operator=(const MacStatusItem&) = delete;

    p::StatusBarButton* button() override { return button_ ? &*button_ : nullptr; }

    void setMenu(std::shared_ptr<p::Menu> menu) override {
        // Only the Mac's own menus have an NSMenu to show; the handle keeps the menu alive either way.
        auto* native = dynamic_cast<NativeMenu*>(menu.get());
        item_.menu = native ? native->nsMenu() : nil;
        menu_ = std::move(menu);
    }
    std::shared_ptr<p::Menu> menu() const override { return menu_; }

private:
    NSStatusItem* item_;
    std::optional<MacStatusBarButton> button_;
    std::shared_ptr<p::Menu> menu_;
};

class MacStatusBar final : public p::StatusBar {
public:
    std::shared_ptr<p::StatusItem> makeStatusItem(double length) override {
        CGFloat points = std::isfinite(length) && length >= 0 ? length : NSVariableStatusItemLength;
        return std::make_shared<MacStatusItem>([NSStatusBar.systemStatusBar statusItemWithLength:points]);
    }
};

} // namespace

std::unique_ptr<platform::StatusBar> makeStatusBar() {
    return std::make_unique<MacStatusBar>();
}

} // namespace marlowick::mac
