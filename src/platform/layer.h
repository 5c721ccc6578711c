// The retained layer tree: layers with geometry, borders, backgrounds, shadows, masks and sublayers,
// shape, text and gradient layers, and the animations attached to them. What a layer shows at a
// time t is a pure function of the tree; rasterising it is left to the platform's renderer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/animation.h"
#include "platform/canvas.h"
#include "platform/fonts.h"
#include "platform/path.h"

namespace marlowick::platform {

class Layer;

// Told of every change to any layer (a property, the sublayers, an animation, the content), so that
// a renderer that keeps its own copy of the tree, as Core Animation does, applies each change as it
// happens instead of walking the tree. At most one per process, installed by the platform.
class LayerObserver {
public:
    virtual ~LayerObserver() = default;
    virtual void layerChanged(const Layer& layer) = 0;
    // The layer is going away: forget everything kept for it.
    virtual void layerDestroyed(const Layer& layer) = 0;
};
void setLayerObserver(LayerObserver* observer);

// Circular corners are quarter ellipses; continuous corners ease into the straight edges.
enum class CornerCurve { Circular, Continuous };

// A layer in its superlayer's space: its bounds are its own coordinate space (origin lower left,
// y up), placed with the bounds' centre at `position`, and the transform acts about that centre.
// Properties named by key path ("opacity", "bounds", ...) can be animated; changing one on a layer
// that is in a tree animates it implicitly unless the current transaction disables actions.
class Layer : public std::enable_shared_from_this<Layer> {
public:
    static std::shared_ptr<Layer> make() { return std::shared_ptr<Layer>(new Layer()); }
    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // Geometry. The frame is the untransformed rectangle the layer covers in its superlayer.
    Rect frame() const;
    void setFrame(const Rect& frame);
    Rect bounds() const { return get<Rect>("bounds"); }
    void setBounds(const Rect& bounds) { setValue("bounds", bounds); }
    Point position() const { return get<Point>("position"); }
    void setPosition(Point position) { setValue("position", position); }
    Transform transform() const { return get<Transform>("transform"); }
    void setTransform(const Transform& transform) { setValue("transform", transform); }

    // Appearance.
    double opacity() const { return get<double>("opacity"); }
    void setOpacity(double opacity) { setValue("opacity", opacity); }
    Color backgroundColor() const { return get<Color>("backgroundColor"); }
    void setBackgroundColor(const Color& color) { setValue("backgroundColor", color); }
    double cornerRadius() const { return get<double>("cornerRadius"); }
    void setCornerRadius(double radius) { setValue("cornerRadius", radius); }
    CornerCurve cornerCurve() const { return cornerCurve_; }
    void setCornerCurve(CornerCurve curve) { cornerCurve_ = curve; changed(); }
    // The border is drawn inside the bounds, above the content and the sublayers.
    double borderWidth() const { return get<double>("borderWidth"); }
    void setBorderWidth(double width) { setValue("borderWidth", width); }
    Color borderColor() const { return get<Color>("borderColor"); }
    void setBorderColor(const Color& color) { setValue("borderColor", color); }
    // The shadow follows the alpha of everything the layer draws, sublayers included.
    Color shadowColor() const { return get<Color>("shadowColor"); }
    void setShadowColor(const Color& color) { setValue("shadowColor", color); }
    double shadowOpacity() const { return get<double>("shadowOpacity"); }
    void setShadowOpacity(double opacity) { setValue("shadowOpacity", opacity); }
    double shadowRadius() const { return get<double>("shadowRadius"); }
    void setShadowRadius(double radius) { setValue("shadowRadius", radius); }
    Size shadowOffset() const { return get<Size>("shadowOffset"); }
    void setShadowOffset(Size offset) { setValue("shadowOffset", offset); }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; changed(); }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; changed(); }
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); changed(); }

    // The mask's alpha, laid out in this layer's bounds space, limits what the layer shows.
    const std::shared_ptr<Layer>& mask() const { return mask_; }
    void setMask(std::shared_ptr<Layer> mask) { mask_ = std::move(mask); changed(); }

    // Content drawn by the layer's owner (a view's draw pass), in the layer's bounds space, above the
    // background and below the sublayers.
    using ContentDrawer = std::function<void(Canvas&)>;
    const ContentDrawer& contentDrawer() const { return contentDrawer_; }
    void setContentDrawer(ContentDrawer drawer) { contentDrawer_ = std::move(drawer); setNeedsDisplay(); }
    // The owner's content has changed: a renderer that caches what the drawer drew draws it again.
    void setNeedsDisplay() { ++contentRevision_; changed(); }
    std::uint64_t contentRevision() const { return contentRevision_; }

    // The tree. A layer has at most one superlayer; adding it elsewhere moves it. Later sublayers
    // are drawn above earlier ones. Adding a layer to itself or to one of its descendants is ignored.
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return sublayers_; }
    Layer* superlayer() const { return superlayer_; }
    void addSublayer(std::shared_ptr<Layer> layer);
    void removeFromSuperlayer();
    void removeAllSublayers();

    // Animations, applied in the order they were added. Adding one under a key already in use
    // replaces the earlier one. A begin time of 0 becomes the current media time.
    void addAnimation(const Animation& animation, const std::string& key);
    void removeAnimation(const std::string& key);
    void removeAllAnimations();
    const Animation* animation(std::string_view key) const;
    std::vector<std::string> animationKeys() const;
    // Rises with every animation added or removed, so that a renderer mirroring the animations
    // notices a replacement under the same key.
    std::uint64_t animationRevision() const { return animationRevision_; }

    // Properties by key path. Setting a value of another kind than the property's is refused.
    std::optional<AnimatableValue> value(std::string_view keyPath) const;
    // Every animatable property the layer has, by key path.
    std::vector<std::string_view> keyPaths() const;
    bool setValue(std::string_view keyPath, const AnimatableValue& value);
    // What the layer shows for the property at `time`: its value with every animation at that time.
    std::optional<AnimatableValue> presentationValue(std::string_view keyPath, double time) const;
    template <typename T> T presented(std::string_view keyPath, double time) const {
        const auto value = presentationValue(keyPath, time);
        if (const T* typed = value ? std::get_if<T>(&*value) : nullptr) return *typed;
        return T{};
    }

protected:
    Layer();
    // Tells the observer, if any, that this layer changed.
    void changed();
    // Declares an animatable property with its default value.
    void declare(std::string keyPath, AnimatableValue initial) {
        values_[std::move(keyPath)] = std::move(initial);
    }
    template <typename T> T get(std::string_view keyPath) const {
        const auto found = values_.find(keyPath);
        return found == values_.end() ? T{} : std::get<T>(found->second);
    }

private:
    std::map<std::string, AnimatableValue, std::less<>> values_;
    std::vector<std::pair<std::string, std::unique_ptr<Animation>>> animations_;
    std::vector<std::shared_ptr<Layer>> sublayers_;
    Layer* superlayer_ = nullptr;
    std::shared_ptr<Layer> mask_;
    ContentDrawer contentDrawer_;
    CornerCurve cornerCurve_ = CornerCurve::Circular;
    bool masksToBounds_ = false;
    bool hidden_ = false;
    std::string name_;
    std::uint64_t contentRevision_ = 0;
    std::uint64_t animationRevision_ = 0;
};

// Fills and strokes a path given in the layer's bounds space.
class ShapeLayer : public Layer {
public:
    static std::shared_ptr<ShapeLayer> make() { return std::shared_ptr<ShapeLayer>(new ShapeLayer()); }

    const Path& path() const { return path_; }
    void setPath(Path path) { path_ = std::move(path); changed(); }
    FillRule fillRule() const { return fillRule_; }
    void setFillRule(FillRule rule) { fillRule_ = rule; changed(); }
    // A fill or stroke colour with alpha 0 draws nothing; the fill starts black, the stroke clear.
    Color fillColor() const { return get<Color>("fillColor"); }
    void setFillColor(const Color& color) { setValue("fillColor", color); }
    Color strokeColor() const { return get<Color>("strokeColor"); }
    void setStrokeColor(const Color& color) { setValue("strokeColor", color); }
    double lineWidth() const { return get<double>("lineWidth"); }
    void setLineWidth(double width) { setValue("lineWidth", width); }
    LineCap lineCap() const { return lineCap_; }
    void setLineCap(LineCap cap) { lineCap_ = cap; changed(); }
    LineJoin lineJoin() const { return lineJoin_; }
    void setLineJoin(LineJoin join) { lineJoin_ = join; changed(); }
    const std::vector<double>& lineDashPattern() const { return dashPattern_; }
    void setLineDashPattern(std::vector<double> pattern) { dashPattern_ = std::move(pattern); changed(); }
    double lineDashPhase() const { return get<double>("lineDashPhase"); }
    void setLineDashPhase(double phase) { setValue("lineDashPhase", phase); }
    // The stroke covers the outline from strokeStart to strokeEnd, fractions of its length.
    double strokeStart() const { return get<double>("strokeStart"); }
    void setStrokeStart(double fraction) { setValue("strokeStart", fraction); }
    double strokeEnd() const { return get<double>("strokeEnd"); }
    void setStrokeEnd(double fraction) { setValue("strokeEnd", fraction); }

protected:
    ShapeLayer();

private:
    Path path_;
    FillRule fillRule_ = FillRule::NonZero;
    LineCap lineCap_ = LineCap::Butt;
    LineJoin lineJoin_ = LineJoin::Miter;
    std::vector<double> dashPattern_;
};

enum class TextAlignment { Left, Center, Right };

// One line of text set from the top of the bounds, aligned within their width.
class TextLayer : public Layer {
public:
    static std::shared_ptr<TextLayer> make() { return std::shared_ptr<TextLayer>(new TextLayer()); }

    const std::string& string() const { return string_; }
    void setString(std::string text) { string_ = std::move(text); changed(); }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; changed(); }
    Color foregroundColor() const { return get<Color>("foregroundColor"); }
    void setForegroundColor(const Color& color) { setValue("foregroundColor", color); }
    TextAlignment alignment() const { return alignment_; }
    void setAlignment(TextAlignment alignment) { alignment_ = alignment; changed(); }
    // Device pixels per point the text is rasterised at; 1 unless the owner sets its screen's scale.
    double contentsScale() const { return contentsScale_; }
    void setContentsScale(double scale) { contentsScale_ = scale; changed(); }

protected:
    TextLayer();

private:
    std::string string_;
    Font font_ = Font::system(36);
    TextAlignment alignment_ = TextAlignment::Left;
    double contentsScale_ = 1;
};

// Fills the bounds with a gradient; points are in the unit square of the bounds, (0, 0) lower left.
class GradientLayer : public Layer {
public:
    enum class Type { Axial, Radial };
    static std::shared_ptr<GradientLayer> make() {
        return std::shared_ptr<GradientLayer>(new GradientLayer());
    }

    const std::vector<Color>& colors() const { return colors_; }
    void setColors(std::vector<Color> colors) { colors_ = std::move(colors); changed(); }
    // One location per colour, rising within 0…1; anything else spreads the colours evenly.
    const std::vector<double>& locations() const { return locations_; }
    void setLocations(std::vector<double> locations) { locations_ = std::move(locations); changed(); }
    Point startPoint() const { return startPoint_; }
    void setStartPoint(Point point) { startPoint_ = point; changed(); }
    Point endPoint() const { return endPoint_; }
    void setEndPoint(Point point) { endPoint_ = point; changed(); }
    // Radial: centred on the start point, reaching the end point.
    Type type() const { return type_; }
    void setType(Type type) { type_ = type; changed(); }

    // The colour stops as every renderer draws them.
    Gradient gradient() const;

protected:
    GradientLayer() = default;

private:
    std::vector<Color> colors_;
    std::vector<double> locations_;
    Point startPoint_{0.5, 0};
    Point endPoint_{0.5, 1};
    Type type_ = Type::Axial;
};

} // namespace marlowick::platform
