#include "platform/layer.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/transaction.h"
#include "platform/unit_stops.h"

namespace marlowick::platform {

namespace {
const Color kBlack{0, 0, 0, 1};
const Color kClear{0, 0, 0, 0};
const Color kWhite{1, 1, 1, 1};
LayerObserver* observer = nullptr;
} // namespace

void setLayerObserver(LayerObserver* newObserver) {
    observer = newObserver;
}

void Layer::changed() {
    if (observer) observer->layerChanged(*this);
}

Layer::~Layer() {
    // Sublayers that live on elsewhere must not point back at a layer that is gone.
    for (auto& layer : sublayers_)
        layer->superlayer_ = nullptr;
    if (observer) observer->layerDestroyed(*this);
}

Layer::Layer() {
    declare("bounds", Rect{});
    declare("position", Point{});
    declare("transform", Transform{});
    declare("opacity", 1.0);
    declare("backgroundColor", kClear);
    declare("cornerRadius", 0.0);
    declare("borderWidth", 0.0);
    declare("borderColor", kBlack);
    declare("shadowColor", kBlack);
    declare("shadowOpacity", 0.0);
    declare("shadowRadius", 3.0);
    declare("shadowOffset", Size{0, -3});
}

ShapeLayer::ShapeLayer() {
    declare("fillColor", kBlack);
    declare("strokeColor", kClear);
    declare("lineWidth", 1.0);
    declare("lineDashPhase", 0.0);
    declare("strokeStart", 0.0);
    declare("strokeEnd", 1.0);
}

TextLayer::TextLayer() {
    declare("foregroundColor", kWhite);
}

Rect Layer::frame() const {
    const Rect b = bounds();
    const Point p = position();
    return {p.x - b.width() / 2, p.y - b.height() / 2, b.width(), b.height()};
}

void Layer::setFrame(const Rect& frame) {
    setBounds({bounds().origin, frame.size});
    setPosition({frame.midX(), frame.midY()});
}

void Layer::addSublayer(std::shared_ptr<Layer> layer) {
    if (!layer) return;
    // A layer cannot hold one of its own ancestors (or itself): the tree would have no root.
    for (const Layer* ancestor = this; ancestor; ancestor = ancestor->superlayer_)
        if (ancestor == layer.get()) return;
    layer->removeFromSuperlayer();
    layer->superlayer_ = this;
    sublayers_.push_back(std::move(layer));
    changed();
}

void Layer::removeFromSuperlayer() {
    Layer* parent = std::exchange(superlayer_, nullptr);
    if (!parent) return;
    auto& siblings = parent->sublayers_;
    // Keep this layer alive until it is out of the list, in case the list held the last reference.
    auto self = shared_from_this();
    siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    parent->changed();
}

void Layer::removeAllSublayers() {
    auto removed = std::move(sublayers_);
    sublayers_.clear();
    for (auto& layer : removed)
        layer->superlayer_ = nullptr;
    changed();
}

void Layer::addAnimation(const Animation& animation, const std::string& key) {
    auto copy = animation.clone();
    if (copy->beginTime == 0) copy->beginTime = currentMediaTime();
    Transaction::noteAnimation(copy->endTime());
    removeAnimation(key);
    animations_.emplace_back(key, std::move(copy));
    ++animationRevision_;
    changed();
}

void Layer::removeAnimation(const std::string& key) {
    if (std::erase_if(animations_, [&](const auto& entry) { return entry.first == key; }) == 0) return;
    ++animationRevision_;
    changed();
}

void Layer::removeAllAnimations() {
    if (animations_.empty()) return;
    animations_.clear();
    ++animationRevision_;
    changed();
}

const Animation* Layer::animation(std::string_view key) const {
    for (const auto& [name, animation] : animations_)
        if (name == key) return animation.get();
    return nullptr;
}

std::vector<std::string> Layer::animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& entry : animations_)
        keys.push_back(entry.first);
    return keys;
}

std::optional<AnimatableValue> Layer::value(std::string_view keyPath) const {
    const auto found = values_.find(keyPath);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string_view> Layer::keyPaths() const {
    std::vector<std::string_view> keys;
    keys.reserve(values_.size());
    for (const auto& entry : values_)
        keys.push_back(entry.first);
    return keys;
}

bool Layer::setValue(std::string_view keyPath, const AnimatableValue& value) {
    const auto found = values_.find(keyPath);
    if (found == values_.end() || found->second.index() != value.index()) return false;
    if (found->second == value) return true;
    // A layer already on screen moves to its new value over the transaction's duration.
    if (superlayer_ && !Transaction::disableActions() && isInstalled()) {
        const double now = currentMediaTime();
        BasicAnimation implicit(found->first, presentationValue(keyPath, now), value);
        implicit.duration = Transaction::animationDuration();
        implicit.beginTime = now;
        implicit.timingFunction = TimingFunction::named(TimingFunction::Name::Default);
        addAnimation(implicit, found->first);
    }
    found->second = value;
    changed();
    return true;
}

std::optional<AnimatableValue> Layer::presentationValue(std::string_view keyPath, double time) const {
    auto result = value(keyPath);
    if (!result) return std::nullopt;
    for (const auto& entry : animations_)
        if (auto animated = entry.second->valueAt(keyPath, time, *result)) result = std::move(animated);
    return result;
}

Gradient GradientLayer::gradient() const {
    Gradient gradient;
    const auto locations = unitStops(locations_, colors_.size(), StopEnds::Free);
    for (std::size_t i = 0; i < colors_.size(); ++i)
        gradient.stops.push_back({locations[i], colors_[i]});
    return gradient;
}

} // namespace marlowick::platform
