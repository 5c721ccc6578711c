#include "overlay/sidebar_overlay.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "input/settings.h"
#include "overlay/action_list.h"
#include "overlay/ring_reveal.h"
#include "overlay/stack_styles.h"
#include "platform/platform.h"
#include "platform/transaction.h"

namespace marlowick {

using platform::Color;
using platform::Layer;
using platform::Path;
using platform::Rect;

namespace {

constexpr Color kClear{0, 0, 0, 0};
constexpr double kBadgeDiameter = 20;
constexpr double kBadgeInset = 8;
constexpr double kRingWidth = 3;
constexpr double kRingMaxRadius = 27;
constexpr double kPillHeight = 22;
constexpr double kPillPadding = 11;
constexpr double kChevronRoom = 13;

int vimCode(VimKey key) {
    return Hotkeys::kVimPickerCodeBase + static_cast<int>(key);
}

} // namespace

Path continuousRoundedPath(const Rect& rect, double radius) {
    Path path;
    path.addContinuousRoundedRect(rect, radius);
    return path;
}

Color overlayHighlightColor() {
    if (auto color = AppSettings::resolveColor(AppSettings::highlightColor())) return *color;
    // The settings only hand out colours that resolve; the palette's default is the safe answer.
    return AppSettings::resolveColor(kDefaultHighlightColor).value_or(Color{0.19, 0.82, 0.35, 1});
}

std::shared_ptr<SidebarOverlay> SidebarOverlay::create(const Rect& frame) {
    std::shared_ptr<SidebarOverlay> overlay(new SidebarOverlay(frame));
    overlay->attachContentDrawer();
    return overlay;
}

void SidebarOverlay::attachContentDrawer() {
    // The layer may outlive the view inside a window's tree; then it draws nothing.
    layer_->setContentDrawer([weak = weak_from_this()](platform::Canvas& canvas) {
        if (auto self = weak.lock()) self->drawBadges(canvas);
    });
}

SidebarOverlay::SidebarOverlay(const Rect& frame) {
    platform::Transaction::begin();
    platform::Transaction::setDisableActions(true);
    layer_->setFrame(frame);
    indicator->setFrame(bounds());
    layer_->addSublayer(indicator);
    platform::Transaction::commit();
}

SidebarOverlay::~SidebarOverlay() {
    if (pendingExpiry) pendingExpiry->cancel();
}

void SidebarOverlay::setFrame(const Rect& frame) {
    platform::Transaction::begin();
    platform::Transaction::setDisableActions(true);
    layer_->setFrame(frame);
    platform::Transaction::commit();
    setNeedsDisplay();
}

void SidebarOverlay::setNeedsDisplay() {
    needsDisplay_ = true;
    if (displayScheduled_) return;
    displayScheduled_ = true;
    platform::current().runLoop->async([weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->displayScheduled_ = false;
            self->displayIfNeeded();
        }
    });
}

void SidebarOverlay::displayIfNeeded() {
    if (needsDisplay_) display();
}

void SidebarOverlay::display() {
    needsDisplay_ = false;
    badges_.clear();
    const Rect visible = bounds();
    const int count = static_cast<int>(itemFrames.size());
    for (int i = 0; i < count && i < kMaxBadges; ++i) {
        if (itemFrames[i].intersects(visible)) badges_.push_back({badgeCircle(itemFrames[i]), i + 1});
    }
    badgeFill_ = overlayHighlightColor();
    badgeLabel_ = AppSettings::contrastingTextColor(badgeFill_);
    layer_->setNeedsDisplay();
    updateIndicator();
}

Rect SidebarOverlay::badgeCircle(const Rect& itemFrame) {
    return {itemFrame.minX() + kBadgeInset, itemFrame.maxY() - kBadgeInset - kBadgeDiameter, kBadgeDiameter,
            kBadgeDiameter};
}

void SidebarOverlay::drawBadges(platform::Canvas& canvas) const {
    const auto font = platform::Font::monospacedDigitSystem(12, platform::FontWeight::Bold);
    for (const Badge& badge : badges_) {
        Path circle;
        circle.addEllipse(badge.circle);
        canvas.setFillColor(badgeFill_);
        canvas.fill(circle);
        const std::string label = std::to_string(badge.number);
        const platform::Size size = canvas.measureText(label, font);
        canvas.drawText(label, {badge.circle.midX() - size.width / 2, badge.circle.midY() - size.height / 2},
                        font, badgeLabel_);
    }
}

void SidebarOverlay::handleKey(int code) {
    const std::optional<VimKey> previous = pendingKey;
    if (code == kEscape && previous) {
        // Escape only drops the half-typed sequence; the picker stays.
        clearPendingKey();
        return;
    }
    clearPendingKey();
    if (!actionLabels.empty()) {
        handleActionKey(code);
        return;
    }

    const int count = static_cast<int>(itemFrames.size());
    const int last = std::max(count - 1, 0);
    switch (code) {
    case kEscape:
        onCancel();
        return;
    case kReturn:
    case kKeypadEnter:
        onPick(selected);
        return;
    case kDownArrow:
        onMove(+1);
        return;
    case kUpArrow:
        onMove(-1);
        return;
    case kRightArrow:
        onOpenActions(selected);
        return;
    default:
        break;
    }
    if (code == vimCode(VimKey::l)) {
        onOpenActions(selected);
    } else if (code == vimCode(VimKey::j)) {
        onSelect(std::clamp(selected + 1, 0, last));
    } else if (code == vimCode(VimKey::k)) {
        onSelect(std::clamp(selected - 1, 0, last));
    } else if (code == vimCode(VimKey::o)) {
        onPick(selected);
    } else if (code == vimCode(VimKey::d)) {
        if (previous == VimKey::d) {
            onClose(selected);
        } else {
            setPendingKey(VimKey::d);
        }
    } else if (code == vimCode(VimKey::g)) {
        if (previous == VimKey::g) {
            onSelect(0);
        } else {
            setPendingKey(VimKey::g);
        }
    } else if (code == vimCode(VimKey::G)) {
        onSelect(last);
    } else if (code >= 0 && code <= 0xFFFF) {
        const auto digit = Hotkeys::digit(static_cast<std::uint16_t>(code));
        if (digit && *digit <= std::min(count, kMaxBadges)) onPick(*digit - 1);
    }
}

void SidebarOverlay::handleActionKey(int code) {
    const int count = static_cast<int>(actionLabels.size());
    auto ringAction = [this](int index) {
        actionSelected = index;
        setNeedsDisplay();
    };
    if (code == kEscape || code == kLeftArrow || code == vimCode(VimKey::h)) {
        closeActions();
    } else if (code == kReturn || code == kKeypadEnter || code == vimCode(VimKey::o)) {
        onPerformAction(actionSelected);
    } else if (code == kDownArrow) {
        ringAction((actionSelected + 1) % count);
    } else if (code == kUpArrow) {
        ringAction((actionSelected - 1 + count) % count);
    } else if (code == vimCode(VimKey::j)) {
        ringAction(std::min(actionSelected + 1, count - 1));
    } else if (code == vimCode(VimKey::k)) {
        ringAction(std::max(actionSelected - 1, 0));
    } else if (code >= 0 && code <= 0xFFFF) {
        const auto digit = Hotkeys::digit(static_cast<std::uint16_t>(code));
        if (digit && *digit <= std::min(count, kMaxBadges)) onPerformAction(*digit - 1);
    }
}

void SidebarOverlay::showActions(std::vector<std::string> labels) {
    actionLabels = std::move(labels);
    actionSelected = 0;
    setNeedsDisplay();
}

void SidebarOverlay::closeActions() {
    if (actionLabels.empty()) return;
    actionLabels.clear();
    actionSelected = 0;
    actionListFrame.reset();
    setNeedsDisplay();
    onActionsClosed();
}

void SidebarOverlay::setPendingKey(VimKey key) {
    if (pendingExpiry) pendingExpiry->cancel();
    pendingExpiry.reset();
    pendingKey = key;
    setNeedsDisplay();
    updateCancelMonitor();
    pendingExpiry = platform::current().runLoop->asyncAfter(kPendingKeyLifetime, [weak = weak_from_this()] {
        auto self = weak.lock();
        if (!self) return;
        self->pendingKey.reset();
        self->pendingExpiry.reset();
        self->setNeedsDisplay();
        self->updateCancelMonitor();
    });
}

void SidebarOverlay::clearPendingKey() {
    if (pendingExpiry) pendingExpiry->cancel();
    pendingExpiry.reset();
    pendingKey.reset();
    setNeedsDisplay();
    updateCancelMonitor();
}

void SidebarOverlay::updateCancelMonitor() {
    if (!pendingKey) {
        cancelMonitor.reset(); // dropping the subscription removes the monitor
        return;
    }
    if (cancelMonitor) return;
    // A key typed into another application means the user has moved on: drop the sequence.
    auto monitor = platform::current().events->addGlobalMonitor(
        platform::kKeyDownMask, [weak = weak_from_this()](const platform::Event&) {
            platform::current().runLoop->async([weak] {
                if (auto self = weak.lock()) self->clearPendingKey();
            });
        });
    if (monitor.isActive()) cancelMonitor = std::move(monitor);
}

void SidebarOverlay::updateIndicator() {
    platform::Transaction::begin();
    platform::Transaction::setDisableActions(true);
    indicator->setFrame(bounds());
    indicator->removeAllSublayers();

    const int count = static_cast<int>(itemFrames.size());
    if (!showsRing || selected < 0 || selected >= count) {
        platform::Transaction::commit();
        return;
    }
    const Rect frame = itemFrames[static_cast<std::size_t>(selected)];
    const auto index = static_cast<std::size_t>(selected);
    const bool isStack = index < itemIsStack.size() && itemIsStack[index];
    auto layers = isStack ? stackLayers(*this, frame) : selectionLayers(*this, frame);
    if (pendingKey == VimKey::d) layers.push_back(captionPill("d, then d closes", false, frame));
    if (pendingKey == VimKey::g) layers.push_back(captionPill("g, then g goes to top", false, frame));
    if (!actionLabels.empty() && actionListFrame) {
        auto* appearance = platform::current().appearance;
        for (auto& layer : actionListLayers(*actionListFrame, actionLabels, actionSelected,
                                            appearance ? appearance->current() : platform::Appearance::Light,
                                            backingScaleFactor()))
            layers.push_back(std::move(layer));
    }
    for (auto& layer : layers)
        indicator->addSublayer(std::move(layer));

    if (pendingReveal) {
        pendingReveal = false;
        revealRing(*this, frame);
    }
    platform::Transaction::commit();
}

std::shared_ptr<Layer> SidebarOverlay::ringLayer(const Rect& itemFrame) const {
    const Rect grown = itemFrame.insetBy(-kRingWidth, -kRingWidth);
    auto ring = Layer::make();
    ring->setName("ring");
    ring->setFrame(grown);
    ring->setBorderWidth(kRingWidth);
    ring->setBorderColor(overlayHighlightColor());
    ring->setCornerCurve(platform::CornerCurve::Continuous);
    ring->setCornerRadius(std::min(grown.height() / 2, kRingMaxRadius));
    return ring;
}

std::shared_ptr<Layer> SidebarOverlay::captionPill(std::string_view text, bool withChevron,
                                                   const Rect& itemFrame) const {
    const auto font = platform::Font::system(12, platform::FontWeight::Semibold);
    const platform::Size measured = platform::current().fonts->measureText(text, font);
    const double textWidth = std::ceil(measured.width);
    const double textHeight = std::ceil(measured.height);
    const double width = kPillPadding + textWidth + kPillPadding + (withChevron ? kChevronRoom : 0);
    const Color highlight = overlayHighlightColor();
    const Color label = AppSettings::contrastingTextColor(highlight);

    auto pill = Layer::make();
    pill->setName("caption");
    // Its middle lies on the ring's outer lower edge, 3 points below the item.
    pill->setFrame(
        {itemFrame.midX() - width / 2, itemFrame.minY() - kRingWidth - kPillHeight / 2, width, kPillHeight});
    pill->setBackgroundColor(highlight);
    pill->setCornerRadius(kPillHeight / 2);
    pill->setCornerCurve(platform::CornerCurve::Continuous);
    pill->setShadowColor({0, 0, 0, 1});
    pill->setShadowOpacity(0.35);
    pill->setShadowRadius(1.5);
    pill->setShadowOffset({0, -1});

    auto caption = platform::TextLayer::make();
    caption->setString(std::string(text));
    caption->setFont(font);
    caption->setForegroundColor(label);
    caption->setAlignment(platform::TextAlignment::Center);
    caption->setContentsScale(backingScaleFactor());
    caption->setFrame({kPillPadding, (kPillHeight - textHeight) / 2, textWidth, textHeight});
    pill->addSublayer(caption);

    if (withChevron) {
        auto chevron = platform::ShapeLayer::make();
        chevron->setFrame({kPillPadding + textWidth + 4, 8, 9, 6});
        Path path;
        path.moveTo({1.0, 4.8});
        path.lineTo({4.5, 1.2});
        path.lineTo({8.0, 4.8});
        chevron->setPath(std::move(path));
        chevron->setStrokeColor(label);
        chevron->setFillColor(kClear);
        chevron->setLineWidth(1.8);
        chevron->setLineCap(platform::LineCap::Round);
        chevron->setLineJoin(platform::LineJoin::Round);
        pill->addSublayer(chevron);
    }
    return pill;
}

std::shared_ptr<platform::ShapeLayer> SidebarOverlay::cutoutMask(const Path& path) const {
    auto mask = platform::ShapeLayer::make();
    mask->setFrame(bounds());
    Path shape;
    shape.addRect(bounds());
    shape.addPath(path);
    mask->setPath(std::move(shape));
    mask->setFillRule(platform::FillRule::EvenOdd);
    return mask;
}

} // namespace marlowick
