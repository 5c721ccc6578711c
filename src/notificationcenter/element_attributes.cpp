#include "notificationcenter/element_attributes.h"

#include <cmath>

#include "platform/platform.h"

namespace marlowick {

using platform::AXValue;
using platform::Element;

namespace {

ReadStrategy strategyInForce = ReadStrategy::Batched;

constexpr std::array<std::string_view, kAttributeCount> kAttributeNames = {
    "AXChildren", "AXRole",  "AXSubrole", "AXDescription", "AXIdentifier",
    "AXTitle",    "AXValue", "AXParent",  "AXPosition",    "AXSize",
};

constexpr std::array<Attribute, kAttributeCount> kAllAttributes = {
    Attribute::Children, Attribute::Role,  Attribute::Subrole, Attribute::Description, Attribute::Identifier,
    Attribute::Title,    Attribute::Value, Attribute::Parent,  Attribute::Position,    Attribute::Size,
};

std::size_t indexOf(Attribute attribute) {
    return static_cast<std::size_t>(attribute);
}

} // namespace

void setReadStrategy(ReadStrategy strategy) {
    strategyInForce = strategy;
}

ReadStrategy readStrategy() {
    return strategyInForce;
}

std::string_view attributeName(Attribute attribute) {
    return kAttributeNames[indexOf(attribute)];
}

ElementAttributes::ElementAttributes(Element element, AttributeSet prefetch, ReadStrategy strategy)
    : element_(std::move(element)), prefetch_(prefetch), strategy_(strategy) {}

ElementAttributes ElementAttributes::unread(Element element) {
    ElementAttributes attributes(std::move(element), {}, ReadStrategy::OneByOne);
    for (auto attribute : kAllAttributes)
        attributes.fetched_ = attributes.fetched_ | AttributeSet{attribute};
    return attributes;
}

template <class T> const T* ElementAttributes::as(Attribute attribute) {
    const auto* slot = value(attribute);
    return slot ? std::get_if<T>(slot) : nullptr;
}

const AXValue* ElementAttributes::value(Attribute attribute) {
    if (!fetched_.contains(attribute)) {
        if (strategy_ == ReadStrategy::Batched && prefetch_.contains(attribute)) {
            fetchBatch(prefetch_.without(fetched_));
        } else {
            fetchOne(attribute);
        }
    }
    const auto& slot = values_[indexOf(attribute)];
    return slot ? &*slot : nullptr;
}

void ElementAttributes::fetchOne(Attribute attribute) {
    fetched_ = fetched_ | AttributeSet{attribute};
    AXValue value;
    if (platform::current().accessibility->copyAttributeValue(element_, attributeName(attribute), value) ==
        platform::kAXErrorSuccess) {
        values_[indexOf(attribute)] = std::move(value);
    }
}

void ElementAttributes::fetchBatch(AttributeSet attributes) {
    std::array<std::string_view, kAttributeCount> names;
    std::array<Attribute, kAttributeCount> order;
    std::size_t count = 0;
    for (auto attribute : kAllAttributes) {
        if (!attributes.contains(attribute)) continue;
        names[count] = attributeName(attribute);
        order[count] = attribute;
        ++count;
    }
    fetched_ = fetched_ | attributes;
    std::vector<platform::AXAttributeResult> results;
    auto error = platform::current().accessibility->copyMultipleAttributeValues(
        element_, std::span<const std::string_view>(names.data(), count), results);
    if (error != platform::kAXErrorSuccess) return;
    // A service that answers with fewer slots than asked leaves the rest absent.
    for (std::size_t i = 0; i < count && i < results.size(); ++i) {
        if (results[i].error == platform::kAXErrorSuccess)
            values_[indexOf(order[i])] = std::move(results[i].value);
    }
}

std::optional<std::string> ElementAttributes::string(Attribute attribute) {
    const auto* text = as<std::string>(attribute);
    if (!text || text->empty()) return std::nullopt;
    return *text;
}

bool ElementAttributes::stringEquals(Attribute attribute, std::string_view expected) {
    const auto* text = as<std::string>(attribute);
    return text && !text->empty() && *text == expected;
}

const std::vector<Element>& ElementAttributes::children() {
    static const std::vector<Element> none;
    const auto* list = as<std::vector<Element>>(Attribute::Children);
    return list ? *list : none;
}

std::optional<Element> ElementAttributes::parent() {
    const auto* parent = as<Element>(Attribute::Parent);
    if (!parent || !*parent) return std::nullopt;
    return *parent;
}

namespace {

// Far beyond any display arrangement, yet small enough that sums and differences stay exact.
constexpr double kMaxCoordinate = 1e6;

bool isPlausibleCoordinate(double value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxCoordinate;
}

} // namespace

std::optional<platform::Rect> ElementAttributes::frame() {
    const auto* position = as<platform::Point>(Attribute::Position);
    if (!position) return std::nullopt;
    const auto* size = as<platform::Size>(Attribute::Size);
    if (!size) return std::nullopt;
    // Another process's numbers: a NaN or infinite frame would reach layer and panel frames, which
    // Core Animation refuses by throwing, so such a frame is no frame.
    if (!isPlausibleCoordinate(position->x) || !isPlausibleCoordinate(position->y) ||
        !isPlausibleCoordinate(size->width) || !isPlausibleCoordinate(size->height) || size->width < 0 ||
        size->height < 0)
        return std::nullopt;
    return flippedFrame(*position, *size);
}

platform::Rect flippedFrame(platform::Point position, platform::Size size) {
    auto screens = platform::current().screens->screenFrames();
    double screenHeight = screens.empty() ? 0 : screens.front().height();
    return {position.x, screenHeight - position.y - size.height, size.width, size.height};
}

} // namespace marlowick
