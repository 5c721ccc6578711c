// The transparent view laid over Notification Center's sidebar: numbered badges on the first nine
// items, the selection indicator around the selected one, and picker keys turned into callbacks.
// Moving the selection and opening items is the controller's; the indicator's looks are in
// stack_styles.h and ring_reveal.h.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/hotkeys.h"
#include "platform/canvas.h"
#include "platform/geometry.h"
#include "platform/key_codes.h"
#include "platform/layer.h"
#include "platform/path.h"
#include "platform/run_loop.h"
#include "platform/subscription.h"

namespace marlowick {

// A closed rounded rectangle with continuous-curvature corners: the outline of every overlay shape.
// It starts on the top edge, just left of the top-right corner, and runs clockwise.
platform::Path continuousRoundedPath(const platform::Rect& rect, double radius);

// The user's highlight colour as the settings give it right now.
platform::Color overlayHighlightColor();

class SidebarOverlay : public std::enable_shared_from_this<SidebarOverlay> {
public:
    // Picker key codes of the keys the overlay knows by name; digits come from Hotkeys::digit.
    static constexpr int kEscape = platform::kKeyCodeEscape;
    static constexpr int kReturn = platform::kKeyCodeReturn;
    static constexpr int kKeypadEnter = platform::kKeyCodeKeypadEnter;
    static constexpr int kDownArrow = platform::kKeyCodeDownArrow;
    static constexpr int kUpArrow = platform::kKeyCodeUpArrow;
    static constexpr int kLeftArrow = platform::kKeyCodeLeftArrow;
    static constexpr int kRightArrow = platform::kKeyCodeRightArrow;
    // How long the first key of "gg" or "dd" waits for the second.
    static constexpr double kPendingKeyLifetime = 0.8;
    static constexpr int kMaxBadges = 9;

    // A view of the given frame; its bounds start at the origin.
    static std::shared_ptr<SidebarOverlay> create(const platform::Rect& frame);
    virtual ~SidebarOverlay();
    SidebarOverlay(const SidebarOverlay&) = delete;
    SidebarOverlay& operator=(const SidebarOverlay&) = delete;

    // Written by the controller, followed by setNeedsDisplay().
    std::vector<platform::Rect> itemFrames;
    // Parallel to itemFrames: true for a collapsed stack; a missing entry counts as false.
    std::vector<bool> itemIsStack;
    // May lie outside itemFrames: then no indicator shows.
    int selected = 0;
    bool showsRing = false;
    // The next indicator rebuild plays the ring reveal once and clears this.
    bool pendingReveal = false;

    // Holds the selection layers, above the badges; always covers the bounds.
    const std::shared_ptr<platform::Layer> indicator = platform::Layer::make();
    // First key of a two-key sequence (only g and d are ever stored), its expiry task, and the
    // monitor of keys typed into other applications, present exactly while a key is pending.
    std::optional<VimKey> pendingKey;
    std::optional<platform::Cancellable> pendingExpiry;
    std::optional<platform::Subscription> cancelMonitor;

    // Set by the controller right after creation; each holds the controller weakly.
    std::function<void(int delta)> onMove = [](int) {};
    std::function<void(int index)> onSelect = [](int) {};
    std::function<void(int index)> onClose = [](int) {};
    std::function<void(int index)> onPick = [](int) {};
    std::function<void()> onCancel = [] {};
    // → or l on an item; the controller answers with showActions, or with a beep.
    std::function<void(int index)> onOpenActions = [](int) {};
    // Return, o or a digit while the actions are listed: the index in actionLabels.
    std::function<void(int action)> onPerformAction = [](int) {};

    // The selected notification's own actions while their list is open (empty otherwise), and the
    // one ringed. While the list is open the keys move and perform in it; ←, h and Escape close it.
    std::vector<std::string> actionLabels;
    int actionSelected = 0;
    // Where the controller placed the list's plate (it knows the screen); no list is drawn without.
    std::optional<platform::Rect> actionListFrame;
    // The list was closed from the keyboard.
    std::function<void()> onActionsClosed = [] {};
    void showActions(std::vector<std::string> labels);
    void closeActions();

    // The view: its layer (the badges are its content, `indicator` its one sublayer) and geometry.
    const std::shared_ptr<platform::Layer>& layer() const { return layer_; }
    platform::Rect frame() const { return layer_->frame(); }
    platform::Rect bounds() const { return layer_->bounds(); }
    void setFrame(const platform::Rect& frame);
    virtual bool acceptsFirstResponder() const { return true; }
    // Whether a click at the point (in the view's bounds) lands on the view.
    virtual bool hitTest(platform::Point point) const { return bounds().contains(point); }
    // The backing scale of the window showing the view; none while it is in no window (or when the
    // window reports none that makes sense).
    void setWindowBackingScale(std::optional<double> scale) {
        if (scale && !(*scale >= 1 && *scale <= 8)) scale.reset();
        windowBackingScale_ = scale;
    }
    double backingScaleFactor() const { return windowBackingScale_.value_or(2.0); }

    // Redraw requests coalesce into one draw pass on a later turn of the main run loop.
    void setNeedsDisplay();
    bool needsDisplay() const { return needsDisplay_; }
    // Runs the draw pass now if one was requested (as the window does before it is shown).
    void displayIfNeeded();
    // The draw pass: takes the badges for the current items, then rebuilds the indicator.
    void display();

    // Badges as the last draw pass laid them out: the circle and the number on it.
    struct Badge {
        platform::Rect circle;
        int number = 0;
    };
    const std::vector<Badge>& badges() const { return badges_; }
    static platform::Rect badgeCircle(const platform::Rect& itemFrame);

    // One picker key code: a virtual key code, or 300 plus a Vim letter's index.
    void handleKey(int code);
    // Drops a pending key with its expiry and monitor; the controller calls it before hiding the panel.
    void clearPendingKey();
    // Installs the monitor of keys typed into other applications while a key is pending, and
    // removes it otherwise.
    void updateCancelMonitor();
    // Rebuilds the selection layers from the current state, in one transaction without implicit
    // animations; plays the reveal when one is pending.
    void updateIndicator();

    // Builders shared with the stack styles and reveals, in overlay coordinates.
    // The selection ring: the item frame grown by 3, a 3-point border in the highlight colour.
    std::shared_ptr<platform::Layer> ringLayer(const platform::Rect& itemFrame) const;
    // A label in a highlight-coloured pill centred on the ring's lower edge.
    std::shared_ptr<platform::Layer> captionPill(std::string_view text, bool withChevron,
                                                 const platform::Rect& itemFrame) const;
    // A mask over the bounds that shows everything except the inside of the path.
    std::shared_ptr<platform::ShapeLayer> cutoutMask(const platform::Path& path) const;

protected:
    explicit SidebarOverlay(const platform::Rect& frame);
    // Points the layer's content at the draw pass; called once the view is owned by a shared pointer.
    void attachContentDrawer();

private:
    void setPendingKey(VimKey key);
    void handleActionKey(int code);
    void drawBadges(platform::Canvas& canvas) const;

    std::shared_ptr<platform::Layer> layer_ = platform::Layer::make();
    std::optional<double> windowBackingScale_;
    // What the last draw pass drew, kept as the view's backing store would keep it.
    std::vector<Badge> badges_;
    platform::Color badgeFill_;
    platform::Color badgeLabel_;
    bool needsDisplay_ = false;
    bool displayScheduled_ = false;
};

} // namespace marlowick
