// The attributes of one accessibility element as one read sees them, fetched either together in one
// request or one at a time. What the values mean to Notification Center is left to ax.h and reader.h.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/accessibility.h"
#include "platform/geometry.h"

namespace marlowick {

// How attributes travel: several per request, or one request per attribute (the way every read
// used to work; kept so that both can be compared on the same tree).
enum class ReadStrategy { Batched, OneByOne };

// The strategy every read of the accessibility layer uses from now on (Batched at start).
void setReadStrategy(ReadStrategy strategy);
ReadStrategy readStrategy();

// The attributes the product reads.
enum class Attribute : std::uint8_t {
    Children,
    Role,
    Subrole,
    Description,
    Identifier,
    Title,
    Value,
    Parent,
    Position,
    Size,
};
inline constexpr std::size_t kAttributeCount = 10;

std::string_view attributeName(Attribute attribute);

class AttributeSet {
public:
    constexpr AttributeSet() = default;
    constexpr AttributeSet(std::initializer_list<Attribute> attributes) {
        for (auto attribute : attributes)
            bits_ |= bit(attribute);
    }
    constexpr bool contains(Attribute attribute) const { return (bits_ & bit(attribute)) != 0; }
    constexpr AttributeSet operator|(AttributeSet other) const { return AttributeSet(bits_ | other.bits_); }
    constexpr AttributeSet without(AttributeSet other) const { return AttributeSet(bits_ & ~other.bits_); }
    constexpr bool isEmpty() const { return bits_ == 0; }

private:
    constexpr explicit AttributeSet(std::uint16_t bits) : bits_(bits) {}
    static constexpr std::uint16_t bit(Attribute attribute) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(attribute));
    }
    std::uint16_t bits_ = 0;
};

// Each attribute is requested at most once. With the batched strategy the attributes named up front
// arrive together in one request, on the first use of any of them; every other attribute, and every
// attribute under the one-by-one strategy, is requested when first asked for. Either way the answers
// are the same: a failed read, a missing value and a value of another type all read as absent.
class ElementAttributes {
public:
    ElementAttributes(platform::Element element, AttributeSet prefetch, ReadStrategy strategy);
    // An element that is not read at all: every attribute is absent and nothing is requested.
    static ElementAttributes unread(platform::Element element);

    const platform::Element& element() const { return element_; }

    // A string value that is not empty.
    std::optional<std::string> string(Attribute attribute);
    bool stringEquals(Attribute attribute, std::string_view expected);
    // "AXChildren" as a list of elements; empty on any failure.
    const std::vector<platform::Element>& children();
    // "AXParent" as a non-empty element.
    std::optional<platform::Element> parent();
    // "AXPosition" and "AXSize" turned into a rectangle with a bottom-left origin (see frameOf). A frame
    // that is not finite, has a negative size or lies absurdly far out reads as none.
    std::optional<platform::Rect> frame();

private:
    const platform::AXValue* value(Attribute attribute);
    template <class T> const T* as(Attribute attribute);
    void fetchOne(Attribute attribute);
    void fetchBatch(AttributeSet attributes);

    platform::Element element_;
    AttributeSet prefetch_;
    ReadStrategy strategy_;
    AttributeSet fetched_;
    std::array<std::optional<platform::AXValue>, kAttributeCount> values_;
};

// Bottom-left-origin frame from the service's top-left-origin position and size, flipped against the
// main screen (the first in the list), or against 0 when there is no screen.
platform::Rect flippedFrame(platform::Point position, platform::Size size);

} // namespace marlowick
