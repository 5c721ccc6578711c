// Wraps: NSWindow for the settings and onboarding windows: the style mask (full-size content
// included), hidden titles and transparent title bars, frames checked before AppKit gets them, the
// animated resize over AppKit's resize time (NSAnimationContext and the window's animator, so that
// frame() follows it), centring, the frame autosave name (restored, then saved by AppKit, once at
// the end of an animated resize), key and front ordering, closing with its will-close notice,
// key-status changes through the delegate; the content as AppKit views (view_presenter.h), sized to
// its layout (origin kept) when the window was made without a size; the shortcut field's
// first-responder changes, told to the core once per change; left mouse-downs, told with the
// shortcut field under them and whether they fell on its clear button before AppKit handles them
// (AppKit never sees one the core dealt with); an alert as an NSAlert sheet with the buttons' key
// equivalents and destructive marks the core gives, its key-downs told through a local monitor
// while it is key, ended by button index, its end told with the button's index.
// Leaves out: resizing and minimising by the user (no window here allows it), tabbing, full
// screen, restoration, toolbars, AppKit's own releasing on close (the core's handle owns the
// window, so it is never released behind it), and every decision about these events: what a click
// outside the edited field or on a clear button does, whether Tab or closing ends the editing,
// which alert shows next, which button Escape presses and where the window's top edge goes are the
// core's (input/titled_window_controller.h).
#import <AppKit/AppKit.h>
#import <dispatch/dispatch.h>

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "mac/appkit_values.h"
#include "mac/services.h"
#include "mac/text_lines.h"
#include "mac/titled_window.h"
#include "mac/view_presenter.h"

namespace p = marlowick::platform;

// The platform's bits are AppKit's.
static_assert(p::kWindowStyleTitled == NSWindowStyleMaskTitled);
static_assert(p::kWindowStyleClosable == NSWindowStyleMaskClosable);
static_assert(p::kWindowStyleMiniaturizable == NSWindowStyleMaskMiniaturizable);
static_assert(p::kWindowStyleResizable == NSWindowStyleMaskResizable);
static_assert(p::kWindowStyleFullSizeContentView == NSWindowStyleMaskFullSizeContentView);

@implementation MWKWindow {
    int _firstResponderDepth;
}

- (BOOL)makeFirstResponder:(nullable NSResponder*)responder {
    // A text field that becomes first responder hands the status on to the field editor from
    // inside this call: the change is told once, when the outermost call ends.
    ++_firstResponderDepth;
    const BOOL made = [super makeFirstResponder:responder];
    --_firstResponderDepth;
    if (_firstResponderDepth == 0) {
        if (auto changed = _firstResponderChanged) changed();
    }
    return made;
}

- (nullable MWKShortcutField*)editedShortcutField {
    id responder = self.firstResponder;
    if ([responder isKindOfClass:NSText.class] && static_cast<NSText*>(responder).fieldEditor)
        responder = static_cast<NSText*>(responder).delegate;
    if (![responder isKindOfClass:MWKShortcutField.class]) return nil;
    auto* field = static_cast<MWKShortcutField*>(responder);
    return field.window == self ? field : nil;
}

// The shortcut field the view belongs to, if any.
static MWKShortcutField* _Nullable enclosingShortcutField(NSView* _Nullable view) {
    for (; view; view = view.superview) {
        if ([view isKindOfClass:MWKShortcutField.class]) return static_cast<MWKShortcutField*>(view);
    }
    return nil;
}

- (void)sendEvent:(NSEvent*)event {
    if (event.type == NSEventTypeLeftMouseDown && !self.attachedSheet && _mouseDown) {
        NSView* content = self.contentView;
        NSView* frameView = content.superview ? content.superview : content;
        NSView* hit = [frameView hitTest:event.locationInWindow];
        // The content view is flipped: its points have the core's top-left origin.
        const NSPoint point = [content convertPoint:event.locationInWindow fromView:nil];
        p::MouseDown down{{point.x, point.y}, std::nullopt, false};
        if (MWKShortcutField* field = enclosingShortcutField(hit)) {
            down.field = field.shortcutIdentifier;
            auto* cell = static_cast<NSSearchFieldCell*>(field.cell);
            if (cell.cancelButtonCell) {
                const NSRect clear = [cell cancelButtonRectForBounds:field.bounds];
                down.onClearButton =
                    NSPointInRect([field convertPoint:event.locationInWindow fromView:nil], clear);
            }
        }
        // A copy: the handler may replace the window's handlers.
        auto handler = _mouseDown;
        if (handler(down)) return;
    }
    [super sendEvent:event];
}
@end

// Hands the window's delegate calls to the core's window while it lives.
@interface MWKWindowDelegate : NSObject <NSWindowDelegate>
@property(nonatomic) std::function<void()> willClose;
@property(nonatomic) std::function<void(bool isKey)> keyStatusChanged;
@end

@implementation MWKWindowDelegate
- (void)windowWillClose:(NSNotification*)notification {
    (void)notification;
    if (auto willClose = _willClose) willClose();
}

- (void)windowDidBecomeKey:(NSNotification*)notification {
    (void)notification;
    if (auto changed = _keyStatusChanged) changed(true);
}

- (void)windowDidResignKey:(NSNotification*)notification {
    (void)notification;
    if (auto changed = _keyStatusChanged) changed(false);
}
@end

namespace marlowick::mac {
namespace {

// A window frame AppKit can take: finite, on no absurd coordinates, and not empty.
bool isWindowFrame(const p::Rect& frame) {
    return isUsableFrame(frame) && frame.width() > 0 && frame.height() > 0;
}

NSString* keyEquivalentFor(p::AlertKey key) {
    switch (key) {
    case p::AlertKey::Return:
        return @"\r";
    case p::AlertKey::Escape:
        return @"\x1b";
    case p::AlertKey::None:
        break;
    }
    return @"";
}

NSAlert* makeNSAlert(const p::Alert& alert) {
    NSAlert* sheet = [[NSAlert alloc] init];
    sheet.messageText = displayString(alert.title);
    sheet.informativeText = displayString(alert.message);
    for (const p::AlertButton& button : alert.buttons) {
        NSButton* added = [sheet addButtonWithTitle:displayString(button.title)];
        added.hasDestructiveAction = button.role == p::ButtonRole::Destructive;
        // In place of the keys AppKit gives by position and title ("Cancel", "Don't Save").
        added.keyEquivalent = keyEquivalentFor(button.key);
    }
    return sheet;
}

p::Event keyDownOf(NSEvent* event) {
    p::Event key;
    key.type = p::EventType::KeyDown;
    key.keyCode = event.keyCode;
    key.modifierFlags = event.modifierFlags;
    key.isARepeat = event.ARepeat;
    key.timestamp = event.timestamp;
    return key;
}

// Runs a copy of each observer still subscribed: an observer may drop its own or the window's handle.
template <class... Args>
void tellObservers(const std::map<std::uint64_t, std::function<void(Args...)>>& observers,
                   const std::weak_ptr<bool>& alive, Args... args) {
    const auto copy = observers;
    for (const auto& [id, observer] : copy) {
        if (alive.expired()) return;
        if (observers.contains(id)) observer(args...);
    }
}

class MacWindow final : public p::Window {
public:
    MacWindow(MWKWindow* window, std::shared_ptr<p::Fonts> fonts, bool sized)
        : window_(window), presenter_(std::move(fonts)), delegate_([[MWKWindowDelegate alloc] init]),
          sized_(sized) {
        window_.contentView = presenter_.view();
        window_.initialFirstResponder = presenter_.view();
        window_.delegate = delegate_;
        // The callbacks hold the window's liveness, not the window: AppKit may call them late.
        std::weak_ptr<bool> alive = alive_;
        delegate_.willClose = [this, alive] {
            if (!alive.expired()) willClose();
        };
        delegate_.keyStatusChanged = [this, alive](bool isKey) {
            if (!alive.expired()) tellObservers(keyObservers_, alive, isKey);
        };
        window_.firstResponderChanged = [this, alive] {
            if (!alive.expired() && !presenting_) firstResponderChanged();
        };
        window_.mouseDown = [this, alive](const p::MouseDown& down) {
            if (alive.expired()) return false;
            auto handler = handlers_.mouseDown;
            return handler && handler(down);
        };
    }

    ~MacWindow() override {
        // First: ending the sheet below may run its completion handler at once.
        alive_.reset();
        window_.delegate = nil;
        window_.firstResponderChanged = nullptr;
        window_.mouseDown = nullptr;
        removeSheetKeyMonitor();
        if (NSWindow* sheet = window_.attachedSheet) [window_ endSheet:sheet];
        [window_ orderOut:nil];
        // The handle may go from inside one of the window's own events (a click, a close): the
        // window lasts until the run loop's next turn, past the end of that event.
        MWKWindow* window = window_;
        dispatch_async(dispatch_get_main_queue(), ^{
          (void)window;
        });
    }
    MacWindow(const MacWindow&) = delete;
    MacWindow& operator=(const MacWindow&) = delete;

    std::string title() const override { return toString(window_.title); }
    void setTitle(std::string title) override { window_.title = displayString(title); }
    std::uint64_t styleMask() const override { return window_.styleMask; }

    void setContent(p::ViewNode content) override {
        content_ = std::move(content);
        // Told once the new tree is in: a field that left it stopped being edited meanwhile.
        presenting_ = true;
        const p::Size size = presenter_.present(content_);
        presenting_ = false;
        firstResponderChanged();
        if (!sized_) sizeToContent(size);
    }
    const p::ViewNode& content() const override { return content_; }

    p::Rect frame() const override { return toRect(window_.frame); }
    void setFrame(const p::Rect& frame) override {
        if (!isWindowFrame(frame)) return;
        const NSRect target = toNSRect(frame);
        MWKWindow* window = window_;
        // Through the animator, with no time: that also ends a resize still animating.
        [NSAnimationContext
            runAnimationGroup:^(NSAnimationContext* context) {
              context.duration = 0;
              [window.animator setFrame:target display:YES];
            }
            completionHandler:nil];
        [window_ setFrame:target display:YES];
    }
    void animateFrame(const p::Rect& frame) override {
        if (!isWindowFrame(frame)) return;
        const NSRect target = toNSRect(frame);
        const NSTimeInterval duration = [window_ animationResizeTime:target];
        MWKWindow* window = window_;
        // AppKit would save the frame at every step, each save a defaults change that rebuilds
        // the content: the name is set aside while the frame moves and the frame saved once after.
        if (resizes_++ == 0) {
            savedAutosaveName_ = window_.frameAutosaveName;
            if (savedAutosaveName_.length > 0) [window_ setFrameAutosaveName:@""];
        }
        std::weak_ptr<bool> alive = alive_;
        MacWindow* owner = this;
        [NSAnimationContext
            runAnimationGroup:^(NSAnimationContext* context) {
              context.duration = duration;
              [window.animator setFrame:target display:YES];
            }
            completionHandler:^{
              if (!alive.expired()) owner->resizeEnded();
            }];
    }
    void center() override { [window_ center]; }
    void setFrameAutosaveName(const std::string& name) override {
        NSString* autosaveName = displayString(name);
        if (autosaveName.length > 0) [window_ setFrameUsingName:autosaveName];
        [window_ setFrameAutosaveName:autosaveName];
    }

    void setTitleVisibility(p::TitleVisibility visibility) override {
        window_.titleVisibility =
            visibility == p::TitleVisibility::Hidden ? NSWindowTitleHidden : NSWindowTitleVisible;
    }
    void setTitlebarAppearsTransparent(bool transparent) override {
        window_.titlebarAppearsTransparent = transparent;
    }
    // AppKit's flag stays NO: the handle owns the window, which comes back as it was either way.
    void setReleasedWhenClosed(bool) override {}

    std::optional<std::string> firstResponder() const override {
        if (!toldField_) return std::nullopt;
        return toldField_.shortcutIdentifier;
    }
    void makeFirstResponder(std::optional<std::string> identifier) override {
        if (!identifier) {
            [window_ makeFirstResponder:nil];
            return;
        }
        if (MWKShortcutField* field = presenter_.field(*identifier)) [window_ makeFirstResponder:field];
    }
    void selectNextKeyView() override { [window_ selectNextKeyView:nil]; }
    p::Subscription observeKeyStatus(std::function<void(bool isKey)> changed) override {
        return subscribe(keyObservers_, std::move(changed));
    }

    void showAlert(p::Alert alert) override {
        if (alertShowing_ || window_.attachedSheet) return;
        alertShowing_ = true;
        NSAlert* sheet = makeNSAlert(alert);
        addSheetKeyMonitor(sheet.window);
        std::weak_ptr<bool> alive = alive_;
        MacWindow* owner = this;
        [sheet beginSheetModalForWindow:window_
                      completionHandler:^(NSModalResponse response) {
                        if (!alive.expired()) owner->sheetEnded(response);
                      }];
    }
    bool hasAlert() const override { return alertShowing_; }
    void endAlert(std::size_t button) override {
        NSWindow* sheet = window_.attachedSheet;
        if (!alertShowing_ || !sheet) return;
        [window_ endSheet:sheet returnCode:NSAlertFirstButtonReturn + static_cast<NSModalResponse>(button)];
    }
    void setEventHandlers(p::WindowEventHandlers handlers) override { handlers_ = std::move(handlers); }

    void makeKeyAndOrderFront() override { [window_ makeKeyAndOrderFront:nil]; }
    void orderFrontRegardless() override { [window_ orderFrontRegardless]; }
    bool isVisible() const override { return window_.visible; }
    bool isKeyWindow() const override { return window_.keyWindow; }
    // AppKit beeps at a window without a close button, and closes the others.
    void performClose() override {
        if (window_.visible) [window_ performClose:nil];
    }
    void close() override {
        if (window_.visible) [window_ close];
    }
    p::Subscription observeWillClose(std::function<void()> willClose) override {
        return subscribe(closeObservers_, std::move(willClose));
    }

private:
    template <class... Args>
    p::Subscription subscribe(std::map<std::uint64_t, std::function<void(Args...)>>& observers,
                              std::function<void(Args...)> observer) {
        const auto id = nextObserver_++;
        observers.emplace(id, std::move(observer));
        std::weak_ptr<bool> alive = alive_;
        return p::Subscription([&observers, alive, id] {
            if (!alive.expired()) observers.erase(id);
        });
    }

    void willClose() { tellObservers(closeObservers_, alive_); }

    // Tells the field that stopped being edited, then the one that started.
    void firstResponderChanged() {
        MWKShortcutField* now = [window_ editedShortcutField];
        if (now == toldField_) return;
        MWKShortcutField* old = toldField_;
        toldField_ = now;
        std::weak_ptr<bool> alive = alive_;
        if (old) {
            if (auto resign = old.onResignFirstResponder) resign();
        }
        if (now && !alive.expired() && toldField_ == now) {
            if (auto become = now.onBecomeFirstResponder) become();
        }
    }

    void resizeEnded() {
        if (resizes_ == 0 || --resizes_ > 0) return;
        NSString* name = savedAutosaveName_;
        savedAutosaveName_ = nil;
        if (name.length == 0) return;
        [window_ setFrameAutosaveName:name];
        [window_ saveFrameUsingName:name];
    }

    void sizeToContent(p::Size size) {
        if (!isWindowFrame({0, 0, size.width, size.height})) return;
        const NSRect frame = [window_ frameRectForContentRect:NSRect{{0, 0}, {size.width, size.height}}];
        const NSRect old = window_.frame;
        setFrame({old.origin.x, old.origin.y, frame.size.width, frame.size.height});
    }

    // Tells the sheet's key-downs while it is key, before its buttons see them.
    void addSheetKeyMonitor(NSWindow* sheetWindow) {
        __weak NSWindow* weakSheet = sheetWindow;
        std::weak_ptr<bool> alive = alive_;
        MacWindow* owner = this;
        NSEvent* _Nullable (^tell)(NSEvent*) = ^NSEvent* _Nullable(NSEvent* event) {
          if (alive.expired() || !weakSheet.keyWindow) return event;
          auto handler = owner->handlers_.sheetKeyDown;
          return (handler && handler(keyDownOf(event))) ? nil : event;
        };
        sheetKeyMonitor_ = [NSEvent addLocalMonitorForEventsMatchingMask:NSEventMaskKeyDown handler:tell];
    }

    void removeSheetKeyMonitor() {
        if (sheetKeyMonitor_) [NSEvent removeMonitor:sheetKeyMonitor_];
        sheetKeyMonitor_ = nil;
    }

    void sheetEnded(NSModalResponse response) {
        alertShowing_ = false;
        removeSheetKeyMonitor();
        auto handler = handlers_.sheetEnded;
        if (handler) handler(static_cast<std::int64_t>(response - NSAlertFirstButtonReturn));
    }

    MWKWindow* window_;
    ViewPresenter presenter_;
    MWKWindowDelegate* delegate_;
    bool sized_;
    p::ViewNode content_;
    MWKShortcutField* _Nullable toldField_ = nil;
    p::WindowEventHandlers handlers_;
    bool alertShowing_ = false;
    id _Nullable sheetKeyMonitor_ = nil;
    bool presenting_ = false;
    // Resize animations under way, and the autosave name set aside meanwhile.
    int resizes_ = 0;
    NSString* _Nullable savedAutosaveName_ = nil;
    std::map<std::uint64_t, std::function<void()>> closeObservers_;
    std::map<std::uint64_t, std::function<void(bool)>> keyObservers_;
    std::uint64_t nextObserver_ = 1;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class MacTitledWindows final : public p::TitledWindows {
public:
    std::shared_ptr<p::Window> makeWindow(const p::Rect& contentRect, std::uint64_t styleMask,
                                          p::Defer defer) override {
        const bool usable = isUsableFrame(contentRect);
        const p::Rect rect = usable ? contentRect : p::Rect{0, 0, 0, 0};
        MWKWindow* window = [[MWKWindow alloc] initWithContentRect:toNSRect(rect)
                                                         styleMask:static_cast<NSWindowStyleMask>(styleMask)
                                                           backing:NSBackingStoreBuffered
                                                             defer:defer == p::Defer::Yes];
        window.releasedWhenClosed = NO;
        auto handle = std::make_shared<MacWindow>(window, fonts_, usable && isWindowFrame(rect));
        window.handle = handle;
        return handle;
    }

private:
    // Measures as the canvas draws, so that the layout fits what AppKit shows; shared with every
    // window, which may outlive this maker.
    std::shared_ptr<p::Fonts> fonts_ = makeFonts();
};

} // namespace

std::unique_ptr<platform::TitledWindows> makeTitledWindows() {
    return std::make_unique<MacTitledWindows>();
}

} // namespace marlowick::mac
