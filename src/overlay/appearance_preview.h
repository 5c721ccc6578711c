// The appearance settings' live miniature of the picker: two sample notification cards on a
// desktop-like background with a real sidebar overlay over them, and the key-cap legends of the
// settings window. All of them are views of the core's own, hosted by the settings window.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "overlay/key_cap.h"
#include "overlay/sidebar_overlay.h"
#include "platform/appearance.h"
#include "platform/view_tree.h"

namespace marlowick {

// The preview's background and cards in one appearance.
struct ExamplePalette {
    platform::Color background;
    platform::Color upperRightGlow;
    platform::Color lowerLeftGlow;
    platform::Color cardBase;
    platform::Color title;
    platform::Color body;
};
const ExamplePalette& examplePalette(platform::Appearance appearance);

struct ExampleCard {
    platform::Color iconColor;
    std::string title;
    std::string body;
    std::string time;
};
// The two sample notifications, top one first.
const std::vector<ExampleCard>& exampleCards();

// Draws the background, its two glows and the sample cards at `cards`.
class ExampleRowsView {
public:
    ExampleRowsView();
    std::vector<platform::Rect> cards;
    platform::Appearance appearance = platform::Appearance::Light;

    const std::shared_ptr<platform::Layer>& layer() const { return layer_; }
    void setFrame(const platform::Rect& frame);
    // The draw pass, in the view's own space (origin lower left, y up).
    void draw(platform::Canvas& canvas) const;

private:
    std::shared_ptr<platform::Layer> layer_ = platform::Layer::make();
};

// A sidebar overlay that never takes the keyboard or the mouse, so clicks reach the settings window.
class ExampleOverlay : public SidebarOverlay {
public:
    static std::shared_ptr<ExampleOverlay> create(const platform::Rect& frame);
    bool acceptsFirstResponder() const override { return false; }
    bool hitTest(platform::Point) const override { return false; }

private:
    explicit ExampleOverlay(const platform::Rect& frame) : SidebarOverlay(frame) {}
};

class ExamplePreviewView : public platform::HostedContent,
                           public std::enable_shared_from_this<ExamplePreviewView> {
public:
    // Everything inside is drawn at this scale about the lower-left corner.
    static constexpr double kScale = 0.9;
    static constexpr platform::Size kCardSize{344, 64};

    static std::shared_ptr<ExamplePreviewView> create();

    ExampleRowsView rows;
    const std::shared_ptr<ExampleOverlay>& overlay() const { return overlay_; }
    // The look (texts naming the appearance choices) and replay count last shown.
    const std::optional<std::pair<std::vector<std::string>, int>>& shown() const { return shown_; }

    // Replays the reveal when the look or the replay count differs from what was shown.
    void update(const std::vector<std::string>& look, int replays);
    // Hit testing always misses the preview and everything in it.
    bool hitTest(platform::Point) const { return false; }

    std::shared_ptr<platform::Layer> layer() override { return layer_; }
    platform::Size naturalSize() const override { return {360, 160}; }
    // Lays out when the host first gives it a size, and again only when that size changes.
    void setSize(platform::Size size) override;
    void setAppearance(platform::Appearance appearance) override;
    platform::Size size() const { return size_; }

private:
    ExamplePreviewView();
    void layout();
    void replayReveal();

    std::shared_ptr<platform::Layer> layer_ = platform::Layer::make();
    // Carries the 0.9 scale, as a sublayer transform would.
    std::shared_ptr<platform::Layer> scaled_ = platform::Layer::make();
    std::shared_ptr<ExampleOverlay> overlay_;
    std::optional<std::pair<std::vector<std::string>, int>> shown_;
    platform::Size size_;
};

// Key caps in a row, as the legends show them, in the label colour of the appearance.
class CapsView : public platform::HostedContent, public std::enable_shared_from_this<CapsView> {
public:
    static std::shared_ptr<CapsView> create(std::vector<KeyCap> caps);

    const std::vector<KeyCap>& caps() const { return caps_; }
    // Redraws, and tells the host that the natural size changed.
    void setCaps(std::vector<KeyCap> caps);
    platform::Color labelColor() const;

    std::shared_ptr<platform::Layer> layer() override { return layer_; }
    platform::Size naturalSize() const override;
    void setSize(platform::Size size) override;
    void setAppearance(platform::Appearance appearance) override;

private:
    CapsView() = default;

    std::shared_ptr<platform::Layer> layer_ = platform::Layer::make();
    std::vector<KeyCap> caps_;
    platform::Appearance appearance_ = platform::Appearance::Light;
};

} // namespace marlowick
