// Wraps: NSPanel for the overlay: borderless and non-activating, buffered and not deferred, its
// level, opacity, background colour, mouse transparency, collection behaviour, hiding on
// deactivation, key status only if needed, frame, ordering and backing scale; its content a
// MWKLayerHostView showing the core's layer tree. And the system alert sound (NSBeep), which
// follows the user's chosen sound and volume.
// Leaves out: making the panel key (it never takes the keyboard), titles, sheets, shadows of its own
// and frame autosaving.
#import <AppKit/AppKit.h>

#include <memory>

#include "mac/appkit_values.h"
#include "mac/layer_host.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

// The platform's bits are AppKit's.
static_assert(p::kWindowStyleBorderless == NSWindowStyleMaskBorderless);
static_assert(p::kWindowStyleNonactivatingPanel == NSWindowStyleMaskNonactivatingPanel);
static_assert(p::kCollectionCanJoinAllSpaces == NSWindowCollectionBehaviorCanJoinAllSpaces);
static_assert(p::kCollectionFullScreenAuxiliary == NSWindowCollectionBehaviorFullScreenAuxiliary);
static_assert(p::kPopUpMenuWindowLevel == NSPopUpMenuWindowLevel);

class MacPanel final : public p::Panel {
public:
    explicit MacPanel(NSPanel* panel) : panel_(panel) {}
    // The last handle gone, the panel leaves the screen.
    ~MacPanel() override { [panel_ orderOut:nil]; }

    void setLevel(int level) override { panel_.level = level; }
    void setOpaque(bool opaque) override { panel_.opaque = opaque; }
    void setBackgroundColor(const p::Color& color) override {
        panel_.backgroundColor = toNSColor(color);
    }
    void setIgnoresMouseEvents(bool ignores) override { panel_.ignoresMouseEvents = ignores; }
    void setCollectionBehavior(std::uint64_t behavior) override {
        panel_.collectionBehavior = static_cast<NSWindowCollectionBehavior>(behavior);
    }
    void setHidesOnDeactivate(bool hides) override { panel_.hidesOnDeactivate = hides; }
    void setBecomesKeyOnlyIfNeeded(bool onlyIfNeeded) override {
        panel_.becomesKeyOnlyIfNeeded = onlyIfNeeded;
    }

    void setContentView(std::shared_ptr<p::Layer> view) override {
        if (host_) {
            [host_ setHostedLayer:std::move(view)];
            return;
        }
        const NSRect frame = panel_.frame;
        host_ = [[MWKLayerHostView alloc] initWithFrame:NSRect{{0, 0}, frame.size} layer:std::move(view)];
        panel_.contentView = host_;
    }

    p::Rect frame() const override {
        return toRect(panel_.frame);
    }
    void setFrame(const p::Rect& frame, p::Display display) override {
        if (!isUsableFrame(frame)) return;
        [panel_ setFrame:toNSRect(frame) display:display == p::Display::Now];
    }
    void orderFrontRegardless() override { [panel_ orderFrontRegardless]; }
    void orderOut() override { [panel_ orderOut:nil]; }
    bool isVisible() const override { return panel_.visible; }
    double backingScaleFactor() const override { return panel_.backingScaleFactor; }

private:
    NSPanel* panel_;
    MWKLayerHostView* host_ = nil;
};

class MacWindowServer final : public p::WindowServer {
public:
    std::shared_ptr<p::Panel> makePanel(const p::Rect& contentRect, std::uint64_t styleMask) override {
        const p::Rect rect = isUsableFrame(contentRect) ? contentRect : p::Rect{0, 0, 0, 0};
        NSPanel* panel = [[NSPanel alloc] initWithContentRect:toNSRect(rect)
                                                    styleMask:static_cast<NSWindowStyleMask>(styleMask)
                                                      backing:NSBackingStoreBuffered
                                                        defer:NO];
        // The handle owns the panel; closing must not release it behind the handle's back.
        panel.releasedWhenClosed = NO;
        return std::make_shared<MacPanel>(panel);
    }
    void beep() override { NSBeep(); }
};

} // namespace

std::unique_ptr<platform::WindowServer> makeWindowServer() {
    return std::make_unique<MacWindowServer>();
}

} // namespace marlowick::mac
