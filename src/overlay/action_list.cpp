#include "overlay/action_list.h"

#include <algorithm>
#include <cmath>

#include "input/settings.h"
#include "overlay/sidebar_overlay.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Color;
using platform::Layer;
using platform::Rect;
using platform::Size;

namespace {

constexpr double kLineHeight = 28;
constexpr double kPadding = 6;
constexpr double kBadgeDiameter = 18;
constexpr double kBadgeInset = 6;
constexpr double kLabelGap = 8;
constexpr double kLabelEnd = 12;
constexpr double kMaxLabelWidth = 220;
constexpr double kMinLabelWidth = 60;
constexpr double kRingWidth = 2;
// Between the plate and the ring it stands beside, and between the plate and a screen edge.
constexpr double kGap = 12;
constexpr double kCornerRadius = 12;

platform::Font labelFont() {
    return platform::Font::system(13, platform::FontWeight::Regular);
}

double labelWidth(std::span<const std::string> labels) {
    double widest = kMinLabelWidth;
    for (const auto& label : labels)
        widest =
            std::max(widest, std::ceil(platform::current().fonts->measureText(label, labelFont()).width));
    return std::min(widest, kMaxLabelWidth);
}

struct Palette {
    Color plate;
    Color edge;
    Color label;
};

Palette palette(platform::Appearance appearance) {
    if (appearance == platform::Appearance::Dark)
        return {{0.16, 0.16, 0.17, 0.96}, {1, 1, 1, 0.14}, {1, 1, 1, 0.92}};
    return {{0.98, 0.98, 0.98, 0.96}, {0, 0, 0, 0.12}, {0, 0, 0, 0.86}};
}

} // namespace

Size actionListSize(std::span<const std::string> labels) {
    const double width =
        kPadding + kBadgeInset + kBadgeDiameter + kLabelGap + labelWidth(labels) + kLabelEnd + kPadding;
    return {width, 2 * kPadding + kLineHeight * static_cast<double>(labels.size())};
}

Rect placeActionList(const Rect& item, const Rect& sidebar, Size size, const Rect& screen) {
    double x = item.maxX() + kGap;
    if (x + size.width > screen.maxX() - kGap) x = sidebar.minX() - kGap - size.width;
    x = std::max(x, screen.minX() + kGap);
    double y = item.maxY() - size.height;
    y = std::clamp(y, screen.minY() + kGap,
                   std::max(screen.minY() + kGap, screen.maxY() - kGap - size.height));
    return {x, y, size.width, size.height};
}

std::vector<std::shared_ptr<Layer>> actionListLayers(const Rect& frame, std::span<const std::string> labels,
                                                     int selected, platform::Appearance appearance,
                                                     double contentsScale) {
    const Palette colors = palette(appearance);
    const Color highlight = overlayHighlightColor();
    const Color badgeLabel = AppSettings::contrastingTextColor(highlight);
    const auto badgeFont = platform::Font::monospacedDigitSystem(11, platform::FontWeight::Bold);
    const double textWidth =
        frame.width() - (2 * kPadding + kBadgeInset + kBadgeDiameter + kLabelGap + kLabelEnd);

    auto plate = Layer::make();
    plate->setName("actions");
    plate->setFrame(frame);
    plate->setBackgroundColor(colors.plate);
    plate->setBorderColor(colors.edge);
    plate->setBorderWidth(0.5);
    plate->setCornerRadius(kCornerRadius);
    plate->setCornerCurve(platform::CornerCurve::Continuous);
    plate->setShadowColor({0, 0, 0, 1});
    plate->setShadowOpacity(0.3);
    plate->setShadowRadius(6);
    plate->setShadowOffset({0, -2});

    for (std::size_t i = 0; i < labels.size(); ++i) {
        // Lines run top down; the plate's own coordinates start at its lower left.
        const double top = frame.height() - kPadding - kLineHeight * static_cast<double>(i);
        const Rect line{kPadding, top - kLineHeight, frame.width() - 2 * kPadding, kLineHeight};

        auto badge = Layer::make();
        badge->setFrame(
            {line.minX() + kBadgeInset, line.midY() - kBadgeDiameter / 2, kBadgeDiameter, kBadgeDiameter});
        badge->setBackgroundColor(highlight);
        badge->setCornerRadius(kBadgeDiameter / 2);
        auto number = platform::TextLayer::make();
        number->setString(std::to_string(i + 1));
        number->setFont(badgeFont);
        number->setForegroundColor(badgeLabel);
        number->setAlignment(platform::TextAlignment::Center);
        number->setContentsScale(contentsScale);
        const double numberHeight = std::ceil(platform::current().fonts->measureText("0", badgeFont).height);
        number->setFrame({0, (kBadgeDiameter - numberHeight) / 2, kBadgeDiameter, numberHeight});
        badge->addSublayer(number);
        plate->addSublayer(badge);

        auto text = platform::TextLayer::make();
        text->setString(labels[i]);
        text->setFont(labelFont());
        text->setForegroundColor(colors.label);
        text->setContentsScale(contentsScale);
        text->setMasksToBounds(true); // a long label is cut at the plate's edge
        const double textHeight =
            std::ceil(platform::current().fonts->measureText(labels[i], labelFont()).height);
        text->setFrame({line.minX() + kBadgeInset + kBadgeDiameter + kLabelGap, line.midY() - textHeight / 2,
                        textWidth, textHeight});
        plate->addSublayer(text);

        if (static_cast<int>(i) == selected) {
            auto ring = Layer::make();
            ring->setName("action ring");
            ring->setFrame(line);
            ring->setBorderWidth(kRingWidth);
            ring->setBorderColor(highlight);
            ring->setCornerRadius(kLineHeight / 2);
            ring->setCornerCurve(platform::CornerCurve::Continuous);
            plate->addSublayer(ring);
        }
    }
    return {plate};
}

} // namespace marlowick
