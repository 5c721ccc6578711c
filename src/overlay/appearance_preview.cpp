#include "overlay/appearance_preview.h"

#include "input/settings.h"
#include "platform/transaction.h"

namespace marlowick {

using platform::Appearance;
using platform::Canvas;
using platform::Color;
using platform::Font;
using platform::FontWeight;
using platform::Point;
using platform::Rect;

namespace {

constexpr double kCardTopInset = 14;
constexpr double kCardPitch = 81;
constexpr double kCardRadius = 24;

Color hex(std::string_view text) {
    return AppSettings::resolveColor(text).value_or(Color{});
}

// No implicit animations: the preview's geometry follows the pane at once.
template <typename Change> void withoutActions(Change change) {
    platform::Transaction::begin();
    platform::Transaction::setDisableActions(true);
    change();
    platform::Transaction::commit();
}

void drawGlow(Canvas& canvas, const Rect& bounds, const Color& color, Point center, double sx, double sy) {
    platform::Gradient gradient{{{0, color}, {0.7, color.withAlpha(0)}}};
    canvas.save();
    platform::Path clip;
    clip.addRect(bounds);
    canvas.clip(clip);
    canvas.translate(center.x, center.y);
    canvas.scale(sx, sy);
    canvas.drawRadialGradient(gradient, {0, 0}, 0, {0, 0}, 1);
    canvas.restore();
}

} // namespace

const ExamplePalette& examplePalette(Appearance appearance) {
    static const ExamplePalette light{hex("#d9e4ea"),    hex("#f6d9b8"),       hex("#7fb3d6"),
                                      Color{1, 1, 1, 1}, Color{0, 0, 0, 0.86}, Color{0, 0, 0, 0.56}};
    static const ExamplePalette dark{hex("#10181f"),       hex("#6a4a4f"),
                                     hex("#1d4a63"),       Color{0.275, 0.29, 0.32, 1},
                                     Color{1, 1, 1, 0.93}, Color{1, 1, 1, 0.58}};
    return appearance == Appearance::Dark ? dark : light;
}

const std::vector<ExampleCard>& exampleCards() {
    static const std::vector<ExampleCard> cards{
        {hex("#34c759"), "Maya", "Lunch at noon?", "now"},
        {hex("#ff453a"), "Design review", "Today at 3:00 PM", "9m ago"},
    };
    return cards;
}

ExampleRowsView::ExampleRowsView() = default;

void ExampleRowsView::setFrame(const Rect& frame) {
    withoutActions([&] { layer_->setFrame(frame); });
}

void ExampleRowsView::draw(Canvas& canvas) const {
    const Rect bounds = layer_->bounds();
    const double w = bounds.width();
    const double h = bounds.height();
    const ExamplePalette& palette = examplePalette(appearance);

    platform::Path background;
    background.addRect(bounds);
    canvas.setFillColor(palette.background);
    canvas.fill(background);
    drawGlow(canvas, bounds, palette.upperRightGlow, {0.86 * w, 0.92 * h}, 0.7 * w, 0.6 * h);
    drawGlow(canvas, bounds, palette.lowerLeftGlow, {0.08 * w, 0.08 * h}, 0.9 * w, 0.7 * h);

    const auto& samples = exampleCards();
    for (std::size_t i = 0; i < cards.size() && i < samples.size(); ++i) {
        const Rect& card = cards[i];
        const ExampleCard& sample = samples[i];
        const platform::Path outline = continuousRoundedPath(card, kCardRadius);
        if (i == 0) {
            // The card behind the top one peeks out below it: the stack.
            canvas.save();
            platform::Path outside;
            outside.addRect(bounds);
            outside.addPath(outline);
            canvas.clip(outside, platform::FillRule::EvenOdd);
            canvas.setFillColor(palette.cardBase.withAlpha(0.42));
            canvas.fill(continuousRoundedPath(
                {card.minX() + 14, card.minY() - 9, card.width() - 28, card.height()}, kCardRadius));
            canvas.restore();
        }
        canvas.setFillColor(palette.cardBase.withAlpha(0.72));
        canvas.fill(outline);
        canvas.setFillColor(sample.iconColor);
        canvas.fill(continuousRoundedPath({card.minX() + 14, card.midY() - 17, 34, 34}, 8));
        canvas.drawText(sample.title, {card.minX() + 58, card.midY() + 1},
                        Font::system(13, FontWeight::Semibold), palette.title);
        canvas.drawText(sample.body, {card.minX() + 58, card.midY() - 17}, Font::system(13), palette.body);
        const Font timeFont = Font::system(11.5);
        const auto timeSize = canvas.measureText(sample.time, timeFont);
        canvas.drawText(sample.time, {card.maxX() - 14 - timeSize.width, card.maxY() - 13 - timeSize.height},
                        timeFont, palette.body);
    }
}

std::shared_ptr<ExampleOverlay> ExampleOverlay::create(const Rect& frame) {
    std::shared_ptr<ExampleOverlay> overlay(new ExampleOverlay(frame));
    overlay->attachContentDrawer();
    return overlay;
}

std::shared_ptr<ExamplePreviewView> ExamplePreviewView::create() {
    std::shared_ptr<ExamplePreviewView> preview(new ExamplePreviewView());
    // The layers may outlive the view in a window's tree; then they draw nothing.
    preview->rows.layer()->setContentDrawer([weak = preview->weak_from_this()](Canvas& canvas) {
        if (auto self = weak.lock()) self->rows.draw(canvas);
    });
    // The first layout waits for the size the host gives: it sets the ring and plays the reveal.
    return preview;
}

ExamplePreviewView::ExamplePreviewView() : overlay_(ExampleOverlay::create({0, 0, 0, 0})) {
    withoutActions([&] {
        layer_->setCornerRadius(8);
        layer_->setCornerCurve(platform::CornerCurve::Continuous);
        layer_->setMasksToBounds(true);
        layer_->addSublayer(scaled_);
        scaled_->addSublayer(rows.layer());
        scaled_->addSublayer(overlay_->layer());
    });
}

void ExamplePreviewView::setSize(platform::Size size) {
    // Laying out again at the same size would rebuild the ring and cut a reveal short.
    if (!(size.width > 0 && size.height > 0) || size == size_) return;
    size_ = size;
    layout();
}

void ExamplePreviewView::layout() {
    const double w = size_.width;
    const double h = size_.height;
    const double W = w / kScale;
    const double H = h / kScale;
    withoutActions([&] {
        layer_->setFrame({0, 0, w, h});
        // The scale acts about the layer's centre, so the centre goes where the scaled lower-left
        // corner lands on the origin.
        scaled_->setBounds({0, 0, W, H});
        scaled_->setPosition({w / 2, h / 2});
        scaled_->setTransform(platform::Transform::scale(kScale, kScale));
    });
    rows.setFrame({0, 0, W, H});
    overlay_->setFrame({0, 0, W, H});

    const Rect card1{(W - kCardSize.width) / 2, H - kCardTopInset - kCardSize.height, kCardSize.width,
                     kCardSize.height};
    const Rect card2{card1.minX(), card1.minY() - kCardPitch, card1.width(), card1.height()};
    rows.cards = {card1, card2};
    rows.layer()->setNeedsDisplay();
    overlay_->itemFrames = {card1, card2};
    overlay_->itemIsStack = {true, false};
    if (!overlay_->showsRing) {
        overlay_->showsRing = true;
        overlay_->pendingReveal = AppSettings::ringReveal() != RingReveal::none;
    }
    overlay_->setNeedsDisplay();
}

void ExamplePreviewView::update(const std::vector<std::string>& look, int replays) {
    if (shown_ && (shown_->first != look || shown_->second != replays)) replayReveal();
    shown_ = std::make_pair(look, replays);
}

void ExamplePreviewView::replayReveal() {
    overlay_->showsRing = true;
    overlay_->pendingReveal = AppSettings::ringReveal() != RingReveal::none;
    overlay_->setNeedsDisplay();
}

void ExamplePreviewView::setAppearance(Appearance appearance) {
    if (rows.appearance == appearance) return;
    rows.appearance = appearance;
    rows.layer()->setNeedsDisplay();
}

std::shared_ptr<CapsView> CapsView::create(std::vector<KeyCap> caps) {
    std::shared_ptr<CapsView> view(new CapsView());
    view->caps_ = std::move(caps);
    view->layer_->setContentDrawer([weak = view->weak_from_this()](Canvas& canvas) {
        if (auto self = weak.lock()) drawCaps(canvas, self->caps_, self->labelColor(), {0, 0});
    });
    view->setSize(view->naturalSize());
    return view;
}

void CapsView::setCaps(std::vector<KeyCap> caps) {
    caps_ = std::move(caps);
    invalidateNaturalSize();
    layer_->setNeedsDisplay();
}

Color CapsView::labelColor() const {
    return appearance_ == Appearance::Dark ? Color{1, 1, 1, 0.85} : Color{0, 0, 0, 0.85};
}

platform::Size CapsView::naturalSize() const {
    return {capsWidth(caps_), kKeyCapHeight};
}

void CapsView::setSize(platform::Size size) {
    withoutActions([&] { layer_->setFrame({0, 0, size.width, size.height}); });
}

void CapsView::setAppearance(Appearance appearance) {
    if (appearance_ == appearance) return;
    appearance_ = appearance;
    layer_->setNeedsDisplay();
}

} // namespace marlowick
