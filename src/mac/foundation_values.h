// Converts between Foundation's property-list scalars (strings, Booleans, numbers) and the
// product's value variants, for user defaults, bundle values and notification user information.
// Objective-C++ only; strings from outside are bounded as cf_ref.h bounds them.
#pragma once

#import <Foundation/Foundation.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "mac/cf_ref.h"

namespace marlowick::mac {

// Nil when the bytes are not UTF-8.
inline NSString* _Nullable toNSString(std::string_view utf8) {
    return [[NSString alloc] initWithBytes:utf8.data() length:utf8.size() encoding:NSUTF8StringEncoding];
}

inline std::string toString(NSString* _Nullable string) {
    return toUTF8((__bridge CFStringRef)string);
}

// A string, a Boolean, an integer or a double as one of the product's scalar variants; none for
// anything else (data, dates, arrays, dictionaries).
template <typename Variant> std::optional<Variant> scalarOf(id _Nullable object) {
    if (!object) return std::nullopt;
    if ([object isKindOfClass:[NSString class]]) return Variant(toString(static_cast<NSString*>(object)));
    if (![object isKindOfClass:[NSNumber class]]) return std::nullopt;
    auto number = (__bridge CFNumberRef)object;
    if (CFGetTypeID(number) == CFBooleanGetTypeID()) return Variant(static_cast<bool>([object boolValue]));
    if (CFNumberIsFloatType(number)) return Variant(static_cast<double>([object doubleValue]));
    return Variant(static_cast<std::int64_t>([object longLongValue]));
}

// The Foundation object for a scalar; nil for a string that is not UTF-8.
template <typename Variant> id _Nullable objectOf(const Variant& value) {
    return std::visit(
        [](const auto& scalar) -> id _Nullable {
            using T = std::decay_t<decltype(scalar)>;
            if constexpr (std::is_same_v<T, std::string>)
                return toNSString(scalar);
            else if constexpr (std::is_same_v<T, bool>)
                return [NSNumber numberWithBool:scalar];
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return [NSNumber numberWithLongLong:scalar];
            else
                return [NSNumber numberWithDouble:scalar];
        },
        value);
}

} // namespace marlowick::mac
