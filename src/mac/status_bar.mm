// Wraps: NSStatusBar's items, each with its button's image drawn on demand through the canvas over
// the image's CGContext (template flag and accessibility description kept), and its menu.
// Leaves out: titles, tool tips, square items, autosave names and the item's visibility toggle.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <cmath>
#include <memory>
#include <optional>
#include <utility>

#include "mac/native_menu.h"
#include "mac/services.h"
#include "mac/text_lines.h"
#include "platform/menus.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

// Well past any menu-bar image; a size from a faulty caller must not ask AppKit for a huge bitmap.
constexpr double kMaxImageSide = 1024;

double imageSide(double side) {
    return std::isfinite(side) && side > 0 ? std::fmin(side, kMaxImageSide) : 0;
}

NSImage* makeNSImage(const p::DrawnImage& drawn) {
    NSSize size{imageSide(drawn.size.width), imageSide(drawn.size.height)};
    // AppKit calls the handler each time it renders the image, at the screen's scale, with the
    // origin at the lower left as the drawing expects.
    auto draw = drawn.draw;
    NSImage* image = [NSImage imageWithSize:size
                                    flipped:NO
                             drawingHandler:^BOOL(NSRect) {
                               if (!draw) return YES;
                               CGContextRef context = NSGraphicsContext.currentContext.CGContext;
                               if (!context) return NO;
                               draw(*makeCanvas(context));
                               return YES;
                             }];
    [image setTemplate:drawn.isTemplate];
    image.accessibilityDescription =
        drawn.accessibilityDescription.empty() ? nil : toNSString(validUTF8(drawn.accessibilityDescription));
    return image;
}

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
