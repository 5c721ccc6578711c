// Wraps: NSMenu and NSMenuItem: titles, actions through a target object per item, key equivalents
// with their modifier masks, hidden items that keep their keys, section headers, separators,
// submenus, custom views drawn through the canvas in the system colours of their effective
// appearance, and the delegate calls around opening.
// Leaves out: images, states (check marks), tool tips, alternates, indentation, pop-up positioning.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "mac/appkit_values.h"
#include "mac/native_menu.h"
#include "mac/services.h"
#include "mac/text_lines.h"
#include "platform/menus.h"

namespace p = marlowick::platform;

// The delegate calls a menu passes on to its owner.
enum class MenuCall { NeedsUpdate, WillOpen, DidClose };

// A custom view's side as AppKit may take it: finite and not negative.
static CGFloat viewSide(double side) {
    return std::isfinite(side) && side > 0 ? side : 0;
}

// Menu items hold their target weakly; each item keeps its own alive.
@interface MWKMenuItemTarget : NSObject
@property(nonatomic) std::function<void()> action;
- (void)perform:(id)sender;
@end

@implementation MWKMenuItemTarget
- (void)perform:(id)sender {
    (void)sender;
    // A copy: the action may replace itself while it runs.
    if (auto action = _action) action();
}
@end

// An item's custom content: the owner's view draws, takes the mouse and keys, and learns the width.
@interface MWKMenuItemView : NSView
- (instancetype)initWithView:(std::shared_ptr<p::MenuItemView>)view;
@end

@implementation MWKMenuItemView {
    std::shared_ptr<p::MenuItemView> _view;
}

- (instancetype)initWithView:(std::shared_ptr<p::MenuItemView>)view {
    p::Rect frame = view->frame();
    if ((self = [super initWithFrame:NSRect{{0, 0}, {viewSide(frame.width()), viewSide(frame.height())}}])) {
        _view = std::move(view);
        // The menu widens the view to its own width when it opens.
        self.autoresizingMask = NSViewWidthSizable;
        __weak MWKMenuItemView* weakSelf = self;
        _view->setDisplayRequest([weakSelf] { weakSelf.needsDisplay = YES; });
    }
    return self;
}

- (void)setFrameSize:(NSSize)newSize {
    [super setFrameSize:newSize];
    // initWithFrame: sizes the view before the owner's view is set.
    if (_view) _view->setWidth(newSize.width);
}

- (void)drawRect:(NSRect)dirtyRect {
    (void)dirtyRect;
    CGContextRef context = NSGraphicsContext.currentContext.CGContext;
    if (!context) return;
    // The menu's appearance, which follows the system's whatever the application's windows use.
    const p::SystemColors colors = marlowick::mac::resolvedSystemColors(self.effectiveAppearance);
    _view->draw(*marlowick::mac::makeCanvas(context), colors);
}

- (void)mouseUp:(NSEvent*)event {
    (void)event;
    _view->mouseUp();
}
@end

// "highlightItem:" is the menu's own and undocumented; it is only called where the menu answers it.
@interface NSMenu (MWKHighlight)
- (void)highlightItem:(nullable NSMenuItem*)item;
@end

namespace marlowick::mac {
namespace {

class MacMenuItem final : public p::MenuItem, public NativeMenuItem {
public:
    explicit MacMenuItem(NSMenuItem* item, bool sectionHeader = false)
        : item_(item), sectionHeader_(sectionHeader) {}

    NSMenuItem* nsItem() const override { return item_; }
    void setMenu(std::weak_ptr<p::Menu> menu) { menu_ = std::move(menu); }

    std::string title() const override { return toString(item_.title); }
    void setTitle(std::string title) override { item_.title = displayString(title); }
    void setAction(std::function<void()> action) override {
        if (!action) {
            item_.action = nil;
            item_.target = nil;
            target_ = nil;
            return;
        }
        if (!target_) target_ = [[MWKMenuItemTarget alloc] init];
        target_.action = std::move(action);
        item_.target = target_;
        item_.action = @selector(perform:);
    }
    bool hasAction() const override { return target_ != nil; }

    std::string keyEquivalent() const override { return toString(item_.keyEquivalent); }
    void setKeyEquivalent(std::string key) override { item_.keyEquivalent = displayString(key); }
    p::ModifierFlags keyEquivalentModifierMask() const override {
        return item_.keyEquivalentModifierMask & p::kKeyEquivalentModifiers;
    }
    void setKeyEquivalentModifierMask(p::ModifierFlags mask) override {
        // The platform's flags are AppKit's bits; only those a key equivalent can hold cross.
        item_.keyEquivalentModifierMask =
            static_cast<NSEventModifierFlags>(mask & p::kKeyEquivalentModifiers);
    }

    bool isHidden() const override { return item_.hidden; }
    void setHidden(bool hidden) override { item_.hidden = hidden; }
    bool allowsKeyEquivalentWhenHidden() const override { return item_.allowsKeyEquivalentWhenHidden; }
    void setAllowsKeyEquivalentWhenHidden(bool allows) override {
        item_.allowsKeyEquivalentWhenHidden = allows;
    }
    bool isEnabled() const override { return item_.enabled; }
    void setEnabled(bool enabled) override { item_.enabled = enabled; }

    bool isSeparator() const override { return item_.separatorItem; }
    bool isSectionHeader() const override { return sectionHeader_; }
    std::shared_ptr<p::MenuItemView> view() const override { return view_; }
    void setView(std::shared_ptr<p::MenuItemView> view) override {
        item_.view = view ? [[MWKMenuItemView alloc] initWithView:view] : nil;
        view_ = std::move(view);
    }
    std::shared_ptr<p::Menu> submenu() const override { return submenu_; }
    void setSubmenu(std::shared_ptr<p::Menu> submenu) override {
        auto* native = dynamic_cast<NativeMenu*>(submenu.get());
        item_.submenu = native ? native->nsMenu() : nil;
        submenu_ = native ? std::move(submenu) : nullptr;
    }

    std::shared_ptr<p::Menu> menu() const override { return menu_.lock(); }
    bool isHighlighted() const override { return item_.highlighted; }

private:
    NSMenuItem* item_;
    bool sectionHeader_;
    MWKMenuItemTarget* _Nullable target_ = nil;
    std::shared_ptr<p::MenuItemView> view_;
    std::shared_ptr<p::Menu> submenu_;
    std::weak_ptr<p::Menu> menu_;
};

} // namespace
} // namespace marlowick::mac

// Forwards the menu's delegate calls to the platform menu that owns it, while it lives.
@interface MWKMenuDelegate : NSObject <NSMenuDelegate>
@property(nonatomic) std::function<void(MenuCall)> forward;
@end

@implementation MWKMenuDelegate
- (void)menuNeedsUpdate:(NSMenu*)menu {
    (void)menu;
    if (_forward) _forward(MenuCall::NeedsUpdate);
}
- (void)menuWillOpen:(NSMenu*)menu {
    (void)menu;
    if (_forward) _forward(MenuCall::WillOpen);
}
- (void)menuDidClose:(NSMenu*)menu {
    (void)menu;
    if (_forward) _forward(MenuCall::DidClose);
}
@end

namespace marlowick::mac {
namespace {

class MacMenu final : public p::Menu, public NativeMenu, public std::enable_shared_from_this<MacMenu> {
public:
    explicit MacMenu(const std::string& title)
        : menu_([[NSMenu alloc] initWithTitle:displayString(title)]),
          delegate_([[MWKMenuDelegate alloc] init]) {
        delegate_.forward = [this](MenuCall call) { forward(call); };
        menu_.delegate = delegate_;
    }
    ~MacMenu() override {
        delegate_.forward = nullptr;
        menu_.delegate = nil;
    }
    MacMenu(const MacMenu&) = delete;
    MacMenu& operator=(const MacMenu&) = delete;

    NSMenu* nsMenu() const override { return menu_; }

    std::string title() const override { return toString(menu_.title); }
    void addItem(std::shared_ptr<p::MenuItem> item) override {
        auto* mac = dynamic_cast<MacMenuItem*>(item.get());
        // AppKit raises for an item that is already in a menu; only the Mac's own items can be shown.
        if (!mac || mac->nsItem().menu) return;
        [menu_ addItem:mac->nsItem()];
        mac->setMenu(weak_from_this());
        items_.push_back(std::move(item));
    }
    std::vector<std::shared_ptr<p::MenuItem>> items() const override { return items_; }
    int indexOfItem(const p::MenuItem& item) const override {
        auto found =
            std::find_if(items_.begin(), items_.end(), [&](const auto& own) { return own.get() == &item; });
        return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
    }

    void setDelegate(std::weak_ptr<p::MenuDelegate> delegate) override { owner_ = std::move(delegate); }
    void setAutoenablesItems(bool autoenables) override { menu_.autoenablesItems = autoenables; }
    bool autoenablesItems() const override { return menu_.autoenablesItems; }
    double minimumWidth() const override { return menu_.minimumWidth; }
    void setMinimumWidth(double width) override {
        menu_.minimumWidth = std::isfinite(width) && width > 0 ? width : 0;
    }

    std::shared_ptr<p::MenuItem> highlightedItem() const override { return itemFor(menu_.highlightedItem); }
    bool respondsToHighlightItem() const override {
        return [menu_ respondsToSelector:@selector(highlightItem:)];
    }
    void highlightItem(const std::shared_ptr<p::MenuItem>& item) override {
        if (!respondsToHighlightItem()) return;
        int index = item ? indexOfItem(*item) : -1;
        if (item && index < 0) return;
        [menu_ highlightItem:index < 0 ? nil : static_cast<MacMenuItem&>(*item).nsItem()];
    }
    void cancelTracking() override { [menu_ cancelTracking]; }
    void performActionForItemAt(int index) override {
        if (index < 0 || index >= static_cast<int>(items_.size()) || !items_[index]->isEnabled()) return;
        NSMenuItem* chosen = static_cast<MacMenuItem&>(*items_[index]).nsItem();
        [menu_ performActionForItemAtIndex:[menu_ indexOfItem:chosen]];
    }

private:
    std::shared_ptr<p::MenuItem> itemFor(NSMenuItem* _Nullable nsItem) const {
        for (const auto& item : items_)
            if (static_cast<MacMenuItem&>(*item).nsItem() == nsItem) return item;
        return nullptr;
    }

    void forward(MenuCall call) {
        auto owner = owner_.lock();
        if (!owner) return;
        // The delegate may drop the last other handle to this menu while it runs.
        auto self = shared_from_this();
        if (call == MenuCall::NeedsUpdate) owner->menuNeedsUpdate(*this);
        if (call == MenuCall::WillOpen) owner->menuWillOpen(*this);
        if (call == MenuCall::DidClose) owner->menuDidClose(*this);
    }

    NSMenu* menu_;
    MWKMenuDelegate* delegate_;
    std::vector<std::shared_ptr<p::MenuItem>> items_;
    std::weak_ptr<p::MenuDelegate> owner_;
};

class MacMenus final : public p::Menus {
public:
    std::shared_ptr<p::Menu> makeMenu(const std::string& title) override {
        return std::make_shared<MacMenu>(title);
    }
    std::shared_ptr<p::MenuItem> makeItem(const std::string& title, std::function<void()> action,
                                          const std::string& keyEquivalent) override {
        NSMenuItem* nsItem = [[NSMenuItem alloc] initWithTitle:displayString(title)
                                                        action:nil
                                                 keyEquivalent:displayString(keyEquivalent)];
        auto item = std::make_shared<MacMenuItem>(nsItem);
        item->setAction(std::move(action));
        return item;
    }
    std::shared_ptr<p::MenuItem> makeSeparator() override {
        return std::make_shared<MacMenuItem>([NSMenuItem separatorItem]);
    }
    std::shared_ptr<p::MenuItem> makeSectionHeader(const std::string& title) override {
        return std::make_shared<MacMenuItem>([NSMenuItem sectionHeaderWithTitle:displayString(title)],
                                             true);
    }
};

} // namespace

std::unique_ptr<platform::Menus> makeMenus() {
    return std::make_unique<MacMenus>();
}

} // namespace marlowick::mac
