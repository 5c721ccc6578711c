// Owns one Core Foundation object: released when the holder goes, retained when it is copied. The
// adapters keep every CF object they create or copy in one of these, never with a bare CFRelease.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace marlowick::mac {

template <typename Ref> class CFRef {
public:
    CFRef() = default;
    // Takes over an object the caller owns already (from a Create or Copy call).
    static CFRef adopt(Ref ref) { return CFRef(ref); }
    // Keeps an object the caller only borrowed (from a Get call).
    static CFRef retain(Ref ref) {
        if (ref) CFRetain(ref);
        return CFRef(ref);
    }

    CFRef(const CFRef& other) : ref_(other.ref_) {
        if (ref_) CFRetain(ref_);
    }
    CFRef(CFRef&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    CFRef& operator=(CFRef other) noexcept {
        std::swap(ref_, other.ref_);
        return *this;
    }
    ~CFRef() {
        if (ref_) CFRelease(ref_);
    }

    Ref get() const { return ref_; }
    // Hands the object to the caller, who then owns it (as CFBridgingRelease does for ARC).
    [[nodiscard]] Ref release() { return std::exchange(ref_, nullptr); }
    explicit operator bool() const { return ref_ != nullptr; }
    // For Copy calls that write their result through a pointer; drops what was held.
    Ref* out() {
        *this = CFRef();
        return &ref_;
    }

private:
    explicit CFRef(Ref ref) : ref_(ref) {}
    Ref ref_ = nullptr;
};

// Values another process hands us are bounded before they reach the product.
inline constexpr CFIndex kMaxStringUTF16 = 64 * 1024;
inline constexpr CFIndex kMaxArrayCount = 10'000;

// The string as UTF-8, cut at kMaxStringUTF16 UTF-16 units; unconvertible units become "?".
inline std::string toUTF8(CFStringRef string) {
    if (!string) return {};
    CFIndex length = CFStringGetLength(string);
    if (length > kMaxStringUTF16) length = kMaxStringUTF16;
    CFIndex needed = 0;
    CFStringGetBytes(string, CFRangeMake(0, length), kCFStringEncodingUTF8, '?', false, nullptr, 0, &needed);
    std::string out(static_cast<std::size_t>(needed), '\0');
    CFIndex used = 0;
    CFStringGetBytes(string, CFRangeMake(0, length), kCFStringEncodingUTF8, '?', false,
                     reinterpret_cast<UInt8*>(out.data()), needed, &used);
    out.resize(static_cast<std::size_t>(used));
    return out;
}

// A new string from UTF-8 bytes; an empty holder when the bytes are not UTF-8.
inline CFRef<CFStringRef> makeCFString(std::string_view utf8) {
    return CFRef<CFStringRef>::adopt(
        CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(utf8.data()),
                                static_cast<CFIndex>(utf8.size()), kCFStringEncodingUTF8, false));
}

} // namespace marlowick::mac
