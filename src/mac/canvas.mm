// Wraps: a CGContext for one draw pass: paths filled, stroked and clipped under either rule, line
// settings, alpha and the two blend modes, transparency layers, sRGB gradients, and Core Text lines
// (text_lines.h) in the context's fill colour.
// Leaves out: shadows, images, patterns, colour spaces other than sRGB; the context's owner (the
// window's view) sets up its flip and scale before the pass.
#import <CoreGraphics/CoreGraphics.h>
#import <CoreText/CoreText.h>
#import <Foundation/Foundation.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "mac/cf_ref.h"
#include "mac/quartz_values.h"
#include "mac/services.h"
#include "mac/text_lines.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

// Stops in order of location, each clamped to 0…1; a single stop is a solid colour.
CFRef<CGGradientRef> toCGGradient(const p::Gradient& gradient) {
    std::vector<p::Gradient::Stop> stops = gradient.stops;
    if (stops.empty()) return {};
    for (auto& stop : stops)
        stop.location = unitValue(stop.location);
    std::stable_sort(stops.begin(), stops.end(),
                     [](const auto& a, const auto& b) { return a.location < b.location; });
    if (stops.size() == 1) stops.push_back(stops.front());
    std::vector<CGFloat> components;
    std::vector<CGFloat> locations;
    for (const auto& stop : stops) {
        components.insert(components.end(), {unitValue(stop.color.red), unitValue(stop.color.green),
                                             unitValue(stop.color.blue), unitValue(stop.color.alpha)});
        locations.push_back(stop.location);
    }
    auto space = CFRef<CGColorSpaceRef>::adopt(CGColorSpaceCreateWithName(kCGColorSpaceSRGB));
    if (!space) return {};
    return CFRef<CGGradientRef>::adopt(CGGradientCreateWithColorComponents(
        space.get(), components.data(), locations.data(), locations.size()));
}

constexpr auto kExtendBothWays = static_cast<CGGradientDrawingOptions>(kCGGradientDrawsBeforeStartLocation |
                                                                       kCGGradientDrawsAfterEndLocation);

class MacCanvas final : public p::Canvas {
public:
    explicit MacCanvas(CGContextRef context) : context_(CFRef<CGContextRef>::retain(context)) {}

    // A pass that ends with saves or groups still open leaves the context as it found it.
    ~MacCanvas() override {
        while (!groups_.empty())
            endTransparencyGroup();
        while (depth_ > 0)
            popState();
    }

    void save() override {
        CGContextSaveGState(context_.get());
        ++depth_;
    }
    // An unbalanced restore is ignored: neither the context's own state nor an open group's is ours
    // to pop.
    void restore() override {
        if (depth_ > (groups_.empty() ? 0 : groups_.back())) popState();
    }
    void translate(double dx, double dy) override {
        if (std::isfinite(dx) && std::isfinite(dy)) CGContextTranslateCTM(context_.get(), dx, dy);
    }
    void scale(double sx, double sy) override {
        if (std::isfinite(sx) && std::isfinite(sy)) CGContextScaleCTM(context_.get(), sx, sy);
    }
    void concat(const p::Transform& t) override {
        for (double value : {t.a, t.b, t.c, t.d, t.tx, t.ty})
            if (!std::isfinite(value)) return;
        CGContextConcatCTM(context_.get(), CGAffineTransform{t.a, t.b, t.c, t.d, t.tx, t.ty});
    }

    void setFillColor(const p::Color& c) override {
        CGContextSetRGBFillColor(context_.get(), unitValue(c.red), unitValue(c.green), unitValue(c.blue), unitValue(c.alpha));
    }
    void setStrokeColor(const p::Color& c) override {
        CGContextSetRGBStrokeColor(context_.get(), unitValue(c.red), unitValue(c.green), unitValue(c.blue), unitValue(c.alpha));
    }
    void setLineWidth(double width) override {
        CGContextSetLineWidth(context_.get(), std::isfinite(width) && width > 0 ? width : 0);
    }
    void setLineCap(p::LineCap cap) override {
        CGContextSetLineCap(context_.get(), cap == p::LineCap::Round    ? kCGLineCapRound
                                            : cap == p::LineCap::Square ? kCGLineCapSquare
                                                                        : kCGLineCapButt);
    }
    void setLineJoin(p::LineJoin join) override {
        CGContextSetLineJoin(context_.get(), join == p::LineJoin::Round   ? kCGLineJoinRound
                                             : join == p::LineJoin::Bevel ? kCGLineJoinBevel
                                                                          : kCGLineJoinMiter);
    }
    void setLineDash(const std::vector<double>& pattern, double phase) override {
        // A pattern with a negative or non-finite length, or with nothing but zeros, draws solid.
        const bool usable =
            std::all_of(pattern.begin(), pattern.end(),
                        [](double length) { return std::isfinite(length) && length >= 0; }) &&
            std::any_of(pattern.begin(), pattern.end(), [](double length) { return length > 0; });
        if (!usable) {
            CGContextSetLineDash(context_.get(), 0, nullptr, 0);
            return;
        }
        std::vector<CGFloat> lengths(pattern.begin(), pattern.end());
        CGContextSetLineDash(context_.get(), std::isfinite(phase) ? phase : 0, lengths.data(),
                             lengths.size());
    }
    void setAlpha(double alpha) override { CGContextSetAlpha(context_.get(), unitValue(alpha)); }
    void setBlendMode(p::BlendMode mode) override {
        CGContextSetBlendMode(context_.get(), mode == p::BlendMode::DestinationOut
                                                  ? kCGBlendModeDestinationOut
                                                  : kCGBlendModeNormal);
    }

    void fill(const p::Path& path, p::FillRule rule) override {
        if (!addPath(path)) return;
        rule == p::FillRule::EvenOdd ? CGContextEOFillPath(context_.get())
                                     : CGContextFillPath(context_.get());
    }
    void stroke(const p::Path& path) override {
        if (addPath(path)) CGContextStrokePath(context_.get());
    }
    void clip(const p::Path& path, p::FillRule rule) override {
        // An empty path clips everything away, as an empty area should.
        if (path.isEmpty()) {
            CGContextClipToRect(context_.get(), CGRect{{0, 0}, {0, 0}});
            return;
        }
        CGContextBeginPath(context_.get());
        auto cgPath = toCGPath(path);
        CGContextAddPath(context_.get(), cgPath.get());
        rule == p::FillRule::EvenOdd ? CGContextEOClip(context_.get()) : CGContextClip(context_.get());
    }

    void beginTransparencyGroup() override {
        // The layer composites with the alpha and blend mode in force now; inside, both start afresh.
        save();
        CGContextBeginTransparencyLayer(context_.get(), nullptr);
        CGContextSaveGState(context_.get());
        CGContextSetAlpha(context_.get(), 1);
        CGContextSetBlendMode(context_.get(), kCGBlendModeNormal);
        groups_.push_back(depth_);
    }
    void endTransparencyGroup() override {
        if (groups_.empty()) return;
        // Saves left open inside the group close with it.
        while (depth_ > groups_.back())
            popState();
        groups_.pop_back();
        CGContextRestoreGState(context_.get());
        CGContextEndTransparencyLayer(context_.get());
        popState();
    }

    void drawLinearGradient(const p::Gradient& gradient, p::Point start, p::Point end) override {
        if (!isFinite(start) || !isFinite(end)) return;
        if (auto cgGradient = toCGGradient(gradient))
            CGContextDrawLinearGradient(context_.get(), cgGradient.get(), CGPoint{start.x, start.y},
                                        CGPoint{end.x, end.y}, kExtendBothWays);
    }
    void drawRadialGradient(const p::Gradient& gradient, p::Point startCenter, double startRadius,
                            p::Point endCenter, double endRadius) override {
        if (!isFinite(startCenter) || !isFinite(endCenter) || !std::isfinite(startRadius) ||
            !std::isfinite(endRadius))
            return;
        if (auto cgGradient = toCGGradient(gradient))
            CGContextDrawRadialGradient(context_.get(), cgGradient.get(),
                                        CGPoint{startCenter.x, startCenter.y}, std::max(startRadius, 0.0),
                                        CGPoint{endCenter.x, endCenter.y}, std::max(endRadius, 0.0),
                                        kExtendBothWays);
    }

    p::Size measureText(std::string_view text, const p::Font& font) override {
        TextLine line = layOutLine(text, font);
        return {line.width, line.height()};
    }
    void drawText(std::string_view text, p::Point origin, const p::Font& font,
                  const p::Color& color) override {
        if (!isFinite(origin)) return;
        TextLine line = layOutLine(text, font);
        if (!line.line) return;
        CGContextSaveGState(context_.get());
        setFillColor(color);
        CGContextSetTextMatrix(context_.get(), CGAffineTransformIdentity);
        // The baseline sits the descent (and the line's leading) above the line box's bottom.
        CGContextSetTextPosition(context_.get(), origin.x, origin.y + line.descent + line.leading);
        CTLineDraw(line.line.get(), context_.get());
        CGContextRestoreGState(context_.get());
    }

private:
    void popState() {
        CGContextRestoreGState(context_.get());
        --depth_;
    }

    // Replaces the context's current path; false when nothing drawable is left.
    bool addPath(const p::Path& path) {
        if (path.isEmpty()) return false;
        CGContextBeginPath(context_.get());
        auto cgPath = toCGPath(path);
        CGContextAddPath(context_.get(), cgPath.get());
        return true;
    }

    CFRef<CGContextRef> context_;
    int depth_ = 0;           // saves of ours still open on the context
    std::vector<int> groups_; // the depth at each open group's start
};

} // namespace

std::unique_ptr<platform::Canvas> makeCanvas(CGContextRef context) {
    return std::make_unique<MacCanvas>(context);
}

} // namespace marlowick::mac
