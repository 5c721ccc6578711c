#include <gtest/gtest.h>

#include <string>

#include "overlay/png_probe.h"
#include "platform/layer.h"
#include "platform/transaction.h"
#include "sim/cairo_canvas.h"
#include "sim/layer_renderer.h"
#include "sim/sim_mac.h"

namespace marlowick::sim {
namespace {

using marlowick::testing::near;
using platform::Color;
using platform::Layer;
using platform::Path;
using platform::Point;
using platform::Rect;

const Color kBlue{0.2, 0.4, 0.8, 1};
const Color kRed{1, 0, 0, 1};
const Color kBlack{0, 0, 0, 1};

// Every probe reads the PNG file back, as a person would look at it.
class Rendering : public ::testing::Test {
protected:
    Image throughPng(const Image& image, const std::string& name) {
        return marlowick::testing::throughPng(image, mac.home(), name);
    }
    std::shared_ptr<Layer> canvasLayer(double width, double height) {
        auto root = Layer::make();
        root->setFrame({0, 0, width, height});
        return root;
    }

    SimMac mac;
};

TEST_F(Rendering, RoundedShapesAreFilledInsideAndClearBeyondTheirCorners) {
    // A layer's background with corners, and the same shape filled in a draw pass.
    auto root = canvasLayer(200, 120);
    auto card = Layer::make();
    card->setFrame({20, 20, 160, 80});
    card->setBackgroundColor(kBlue);
    card->setCornerRadius(20);
    root->addSublayer(card);
    const Image layered = throughPng(renderLayerTree(*root, 0), "rounded-layer");

    const Image drawn = throughPng(renderDrawing({200, 120},
                                                 [](platform::Canvas& canvas) {
                                                     Path path;
                                                     path.addRoundedRect({20, 20, 160, 80}, 20, 20);
                                                     canvas.setFillColor(kBlue);
                                                     canvas.fill(path);
                                                 }),
                                   "rounded-drawn");
    for (const Image* image : {&layered, &drawn}) {
        EXPECT_EQ(image->pixelWidth(), 400);
        EXPECT_EQ(image->pixelHeight(), 240);
        EXPECT_TRUE(near(image->colorAt({100, 60}), kBlue));
        EXPECT_TRUE(near(image->colorAt({100, 20.5}), kBlue)) << "the straight edge reaches the frame";
        EXPECT_TRUE(near(image->colorAt({21, 60}), kBlue));
        EXPECT_EQ(image->colorAt({21, 21}).alpha, 0) << "cut off by the corner";
        EXPECT_EQ(image->colorAt({179, 99}).alpha, 0);
        EXPECT_EQ(image->colorAt({10, 60}).alpha, 0);
    }
}

TEST_F(Rendering, ABorderOfThreePointsIsSixPixelsWideAndLiesAboveTheSublayers) {
    auto root = canvasLayer(200, 120);
    auto ring = Layer::make();
    ring->setFrame({20, 20, 160, 80});
    ring->setBorderWidth(3);
    ring->setBorderColor(kRed);
    ring->setCornerRadius(27);
    ring->setCornerCurve(platform::CornerCurve::Continuous);
    auto filler = Layer::make(); // a sublayer under the whole ring: the border stays on top
    filler->setFrame({0, 0, 160, 80});
    filler->setBackgroundColor(kBlue);
    ring->addSublayer(filler);
    root->addSublayer(ring);
    const Image image = throughPng(renderLayerTree(*root, 0), "border");

    const int row = image.pixelHeight() / 2;
    int red = 0;
    for (int x = 30; x < 60; ++x)
        red += near(image.pixel(x, row), kRed) ? 1 : 0;
    EXPECT_EQ(red, 6);
    EXPECT_TRUE(near(image.pixel(40, row), kRed));
    EXPECT_TRUE(near(image.pixel(45, row), kRed));
    EXPECT_TRUE(near(image.pixel(46, row), kBlue));
    EXPECT_TRUE(near(image.pixel(39, row), Color{0, 0, 0, 0}));
    // Along the top edge too: y from 100 down to 97 points.
    int top = 0;
    for (int y = 20; y < 50; ++y)
        top += near(image.pixel(200, y), kRed) ? 1 : 0;
    EXPECT_EQ(top, 6);
}

TEST_F(Rendering, ADottedStrokeLeavesGapsBetweenItsDots) {
    auto root = canvasLayer(200, 100);
    auto line = platform::ShapeLayer::make();
    line->setFrame({0, 0, 200, 100});
    Path path;
    path.moveTo({10, 50});
    path.lineTo({190, 50});
    line->setPath(path);
    line->setFillColor({0, 0, 0, 0});
    line->setStrokeColor(kBlack);
    line->setLineWidth(3.5);
    line->setLineCap(platform::LineCap::Round);
    line->setLineDashPattern({0, 7.5});
    root->addSublayer(line);
    const Image image = throughPng(renderLayerTree(*root, 0), "dotted");

    for (int k = 1; k < 23; ++k) {
        EXPECT_GT(image.colorAt({10 + 7.5 * k, 50}).alpha, 0.9) << "a dot at " << 10 + 7.5 * k;
        EXPECT_EQ(image.colorAt({10 + 7.5 * k + 3.75, 50}).alpha, 0) << "a gap after it";
    }
    EXPECT_EQ(image.colorAt({40, 52.5}).alpha, 0) << "dots are 3.5 points across";
}

TEST_F(Rendering, DestinationOutCutsHolesAndGroupsKeepThemToThemselves) {
    const Image image = throughPng(renderDrawing({300, 100},
                                                 [](platform::Canvas& canvas) {
                                                     Path square, hole, left, right;
                                                     square.addRect({0, 0, 100, 100});
                                                     hole.addEllipse({25, 25, 50, 50});
                                                     // Erasing straight onto the picture.
                                                     canvas.setFillColor(kBlue);
                                                     canvas.fill(square);
                                                     canvas.save();
                                                     canvas.setBlendMode(platform::BlendMode::DestinationOut);
                                                     canvas.fill(hole);
                                                     canvas.restore();
                                                     // Erasing inside a group over red: the red beneath shows
                                                     // through.
                                                     canvas.translate(100, 0);
                                                     canvas.setFillColor(kRed);
                                                     canvas.fill(square);
                                                     canvas.beginTransparencyGroup();
                                                     canvas.setFillColor(kBlue);
                                                     canvas.fill(square);
                                                     canvas.setBlendMode(platform::BlendMode::DestinationOut);
                                                     canvas.fill(hole);
                                                     canvas.endTransparencyGroup();
                                                     // A half-transparent group composites once: no darker
                                                     // overlap.
                                                     canvas.translate(100, 0);
                                                     left.addRect({0, 0, 60, 100});
                                                     right.addRect({40, 0, 60, 100});
                                                     canvas.setAlpha(0.5);
                                                     canvas.beginTransparencyGroup();
                                                     canvas.setFillColor(kBlack);
                                                     canvas.fill(left);
                                                     canvas.fill(right);
                                                     canvas.endTransparencyGroup();
                                                 }),
                                   "destination-out");
    EXPECT_EQ(image.colorAt({50, 50}).alpha, 0);
    EXPECT_TRUE(near(image.colorAt({10, 10}), kBlue));
    EXPECT_TRUE(near(image.colorAt({150, 50}), kRed));
    EXPECT_TRUE(near(image.colorAt({110, 10}), kBlue));
    EXPECT_NEAR(image.colorAt({250, 50}).alpha, 0.5, 0.01);
    EXPECT_NEAR(image.colorAt({210, 50}).alpha, 0.5, 0.01);
}

TEST_F(Rendering, TextIsSetInInterAndInkStaysInItsMeasuredBox) {
    // The face fontconfig picks for the system font.
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    configureTextContext(context);
    auto layout = createTextLayout(context, "1", platform::Font::system(12, platform::FontWeight::Bold));
    PangoFontDescription* chosen = pango_font_describe(
        pango_context_load_font(context, pango_layout_get_font_description(layout.get())));
    EXPECT_STREQ(pango_font_description_get_family(chosen), "Inter");
    pango_font_description_free(chosen);
    layout.reset();
    g_object_unref(context);

    const auto badge = platform::Font::monospacedDigitSystem(12, platform::FontWeight::Bold);
    auto& fonts = *platform::current().fonts;
    EXPECT_DOUBLE_EQ(fonts.measureText("111", badge).width, fonts.measureText("888", badge).width)
        << "monospaced digits";
    const auto plain = platform::Font::system(12, platform::FontWeight::Bold);
    EXPECT_LT(fonts.measureText("111", plain).width, fonts.measureText("888", plain).width);
    const platform::Size size = fonts.measureText("8", badge);
    EXPECT_GT(size.height, 12);
    EXPECT_LT(size.height, 18);

    // The badge's label centred on (30, 30): ink inside the measured box, none outside it.
    const Image image = throughPng(
        renderDrawing({60, 60},
                      [&](platform::Canvas& canvas) {
                          EXPECT_EQ(canvas.measureText("8", badge), size);
                          canvas.drawText("8", {30 - size.width / 2, 30 - size.height / 2}, badge, kBlack);
                      }),
        "text");
    int inkInside = 0, inkOutside = 0;
    marlowick::testing::forEachPixel(image, {0, 0, 60, 60}, [&](Point p, const Color& color) {
        if (color.alpha < 0.5) return;
        const bool inside = std::abs(p.x - 30) <= size.width / 2 && std::abs(p.y - 30) <= size.height / 2;
        ++(inside ? inkInside : inkOutside);
    });
    EXPECT_GT(inkInside, 40);
    EXPECT_EQ(inkOutside, 0);
    // Invalid UTF-8 is drawn with a replacement, not refused or crashed on.
    EXPECT_GT(fonts.measureText("\xff\xfe", plain).width, 0);
}

TEST_F(Rendering, TextLayersCentreTheirLineAndKeepTheSharpnessOfTheirContentsScale) {
    struct Ink {
        double minX = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
        int solid = 0, partial = 0;
    };
    auto render = [&](double contentsScale, const std::string& name) {
        auto root = canvasLayer(160, 40);
        auto label = platform::TextLayer::make();
        label->setFrame({10, 10, 140, 20});
        label->setString("d, then d closes");
        label->setFont(platform::Font::system(12, platform::FontWeight::Semibold));
        label->setForegroundColor(kBlack);
        label->setAlignment(platform::TextAlignment::Center);
        label->setContentsScale(contentsScale);
        root->addSublayer(label);
        const Image image = throughPng(renderLayerTree(*root, 0), name);
        Ink ink;
        for (int y = 0; y < image.pixelHeight(); ++y) {
            for (int x = 0; x < image.pixelWidth(); ++x) {
                const double alpha = image.pixel(x, y).alpha;
                if (alpha < 0.1) continue;
                ++(alpha > 0.9 ? ink.solid : ink.partial);
                ink.minX = std::min(ink.minX, x / 2.0);
                ink.maxX = std::max(ink.maxX, (x + 1) / 2.0);
                ink.maxY = std::max(ink.maxY, 40 - y / 2.0);
            }
        }
        return ink;
    };
    const Ink sharp = render(2, "text-layer-2x");
    EXPECT_NEAR((sharp.minX + sharp.maxX) / 2, 80, 1.0) << "centred in the layer";
    EXPECT_LE(sharp.maxY, 30) << "set from the top of the bounds, inside them";
    EXPECT_GT(sharp.maxY, 24);
    // Left at scale 1, the text is drawn from a 1x bitmap: far more half-covered pixels.
    const Ink soft = render(1, "text-layer-1x");
    EXPECT_GT(double(soft.partial) / soft.solid, 1.5 * double(sharp.partial) / sharp.solid);
}

TEST_F(Rendering, TheTreeIsDrawnAsItShowsAtTheGivenTime) {
    mac.runFor(1.0);
    auto root = canvasLayer(200, 120);
    platform::Transaction::begin();
    platform::Transaction::setDisableActions(true);
    // A ring outline drawn along its path, with half of it showing at half time.
    auto trace = platform::ShapeLayer::make();
    trace->setFrame({0, 0, 200, 120});
    Path outline;
    outline.addContinuousRoundedRect({20, 20, 160, 80}, 27);
    trace->setPath(outline);
    trace->setFillColor({0, 0, 0, 0});
    trace->setStrokeColor(kRed);
    trace->setLineWidth(3);
    root->addSublayer(trace);
    platform::BasicAnimation draw("strokeEnd", 0.0, 1.0);
    draw.duration = 0.42;
    draw.fillMode = platform::FillMode::Backwards;
    trace->addAnimation(draw, "reveal");
    // A pill with a shadow below it, fading in.
    auto pill = Layer::make();
    pill->setFrame({70, 5, 60, 22});
    pill->setBackgroundColor(kBlue);
    pill->setCornerRadius(11);
    pill->setShadowOpacity(0.35);
    pill->setShadowRadius(1.5);
    pill->setShadowOffset({0, -1});
    root->addSublayer(pill);
    platform::BasicAnimation fade("opacity", 0.0, 1.0);
    fade.duration = 0.2;
    fade.fillMode = platform::FillMode::Backwards;
    pill->addAnimation(fade, "reveal");
    platform::Transaction::commit();

    const Image start = throughPng(renderLayerTree(*root, 1.0), "timed-0");
    const Image half = throughPng(renderLayerTree(*root, 1.21), "timed-50");
    const Image end = throughPng(renderLayerTree(*root, 2.0), "timed-100");
    const Point topRightEdge{150, 100}, leftEdge{20, 60}, pillMiddle{100, 16};
    EXPECT_EQ(start.colorAt(topRightEdge).alpha, 0);
    EXPECT_EQ(start.colorAt(pillMiddle).alpha, 0);
    EXPECT_TRUE(near(half.colorAt(topRightEdge), kRed)) << "the stroke starts near the top-right corner";
    EXPECT_EQ(half.colorAt(leftEdge).alpha, 0) << "and has not come round to the left side yet";
    EXPECT_TRUE(near(end.colorAt(leftEdge), kRed));
    EXPECT_TRUE(near(end.colorAt(pillMiddle), kBlue));
    // The shadow falls below the pill, soft and faint.
    const double below = end.colorAt({100, 4.5}).alpha;
    EXPECT_GT(below, 0.05);
    EXPECT_LT(below, 0.35);
    EXPECT_LT(end.colorAt({100, 27.5}).alpha, below);
}

TEST_F(Rendering, MasksShowOnlyWhereTheyAreOpaque) {
    auto root = canvasLayer(200, 120);
    auto content = Layer::make();
    content->setFrame({0, 0, 200, 120});
    content->setBackgroundColor(kBlue);
    root->addSublayer(content);
    // A cut-out: the bounds plus a hole, even-odd.
    auto cutout = platform::ShapeLayer::make();
    cutout->setFrame({0, 0, 200, 120});
    Path path;
    path.addRect({0, 0, 200, 120});
    path.addContinuousRoundedRect({50, 30, 100, 60}, 20);
    cutout->setPath(path);
    cutout->setFillRule(platform::FillRule::EvenOdd);
    content->setMask(cutout);
    // A gradient mask, inside the hole: only the lowest 9 points of a 50-point layer show.
    auto peek = Layer::make();
    peek->setFrame({60, 32, 30, 50});
    peek->setBackgroundColor(kRed);
    auto fadeMask = platform::GradientLayer::make();
    fadeMask->setFrame({0, 0, 30, 50});
    fadeMask->setColors({{0, 0, 0, 0}, kBlack, {0, 0, 0, 0}, {0, 0, 0, 0}});
    fadeMask->setLocations({0, 9.0 / 50, 9.0 / 50 + 0.001, 1});
    peek->setMask(fadeMask);
    root->addSublayer(peek);
    const Image image = throughPng(renderLayerTree(*root, 0), "masks");

    EXPECT_EQ(image.colorAt({120, 60}).alpha, 0);
    EXPECT_TRUE(near(image.colorAt({100, 100}), kBlue));
    EXPECT_NEAR(image.colorAt({75, 40.5}).alpha, 8.25 / 9, 0.02) << "rising to full at 9 points up";
    EXPECT_LT(image.colorAt({75, 33}).alpha, 0.3) << "fading out towards the lower edge";
    EXPECT_EQ(image.colorAt({75, 45}).alpha, 0) << "the peek is hidden above its lowest 9 points";
}

} // namespace
} // namespace marlowick::sim
