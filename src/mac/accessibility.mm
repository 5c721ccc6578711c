// Wraps: AXUIElement (attribute reads one at a time and batched, action names, actions, the
// messaging time-out), AXObserver and its run-loop source, AXValue points and sizes,
// AXIsProcessTrusted (with the prompt option as well) and CFEqual for element identity.
// Leaves out: parameterized attributes, setting attributes, AXTextMarker, rectangles and ranges
// (they read as no value).
#import <ApplicationServices/ApplicationServices.h>
#import <Foundation/Foundation.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "mac/cf_ref.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

class MacElementRef final : public p::ElementRef {
public:
    explicit MacElementRef(CFRef<AXUIElementRef> element) : element_(std::move(element)) {}
    bool isEqual(const p::ElementRef& other) const override {
        const auto* mac = dynamic_cast<const MacElementRef*>(&other);
        return mac && element_ && mac->element_ && CFEqual(element_.get(), mac->element_.get());
    }
    AXUIElementRef get() const { return element_.get(); }

private:
    CFRef<AXUIElementRef> element_;
};

p::Element wrap(CFRef<AXUIElementRef> element) {
    if (!element) return {};
    return p::Element(std::make_shared<const MacElementRef>(std::move(element)));
}

AXUIElementRef unwrap(const p::Element& element) {
    const auto* ref = dynamic_cast<const MacElementRef*>(element.ref());
    return ref ? ref->get() : nullptr;
}

// A list of elements; anything else in the array makes the whole value unreadable.
p::AXValue elementsOf(CFArrayRef array) {
    std::vector<p::Element> elements;
    CFIndex count = std::min(CFArrayGetCount(array), kMaxArrayCount);
    elements.reserve(static_cast<std::size_t>(count));
    for (CFIndex i = 0; i < count; ++i) {
        CFTypeRef item = CFArrayGetValueAtIndex(array, i);
        if (!item || CFGetTypeID(item) != AXUIElementGetTypeID()) return std::monostate{};
        elements.push_back(wrap(CFRef<AXUIElementRef>::retain(static_cast<AXUIElementRef>(item))));
    }
    return elements;
}

// The product's view of a value the other process sent; types it does not read become monostate.
p::AXValue translate(CFTypeRef value) {
    if (!value) return std::monostate{};
    CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID()) return toUTF8(static_cast<CFStringRef>(value));
    if (type == CFBooleanGetTypeID())
        return static_cast<bool>(CFBooleanGetValue(static_cast<CFBooleanRef>(value)));
    if (type == CFNumberGetTypeID()) {
        auto number = static_cast<CFNumberRef>(value);
        if (CFNumberIsFloatType(number)) {
            double real = 0;
            CFNumberGetValue(number, kCFNumberDoubleType, &real);
            return real;
        }
        SInt64 integer = 0;
        CFNumberGetValue(number, kCFNumberSInt64Type, &integer);
        return static_cast<std::int64_t>(integer);
    }
    if (type == AXValueGetTypeID()) {
        auto geometry = static_cast<AXValueRef>(value);
        switch (AXValueGetType(geometry)) {
        case kAXValueTypeCGPoint: {
            CGPoint point{};
            if (AXValueGetValue(geometry, kAXValueTypeCGPoint, &point)) return p::Point{point.x, point.y};
            break;
        }
        case kAXValueTypeCGSize: {
            CGSize size{};
            if (AXValueGetValue(geometry, kAXValueTypeCGSize, &size)) return p::Size{size.width, size.height};
            break;
        }
        default:
            break;
        }
        return std::monostate{};
    }
    if (type == AXUIElementGetTypeID())
        return wrap(CFRef<AXUIElementRef>::retain(static_cast<AXUIElementRef>(value)));
    if (type == CFArrayGetTypeID()) return elementsOf(static_cast<CFArrayRef>(value));
    return std::monostate{};
}

// One slot of a batched read: an AXValue of the error type carries that attribute's own failure.
p::AXAttributeResult slotOf(CFTypeRef value) {
    if (!value || CFGetTypeID(value) == CFNullGetTypeID()) return {p::kAXErrorNoValue, {}};
    if (CFGetTypeID(value) == AXValueGetTypeID()) {
        auto boxed = static_cast<AXValueRef>(value);
        if (AXValueGetType(boxed) == kAXValueTypeAXError) {
            AXError error = kAXErrorFailure;
            AXValueGetValue(boxed, kAXValueTypeAXError, &error);
            return {error == kAXErrorSuccess ? p::kAXErrorNoValue : error, {}};
        }
    }
    return {p::kAXErrorSuccess, translate(value)};
}

class MacAXObserver final : public p::AXObserver {
public:
    MacAXObserver(CFRef<AXObserverRef> observer, p::AXObserverCallback callback)
        : observer_(std::move(observer)), callback_(std::move(callback)) {}

    ~MacAXObserver() override {
        removeRunLoopSource();
        for (const auto& [element, name] : subscriptions_)
            AXObserverRemoveNotification(observer_.get(), element.get(), name.get());
    }

    p::AXError addNotification(const p::Element& element, std::string_view notification) override {
        AXUIElementRef target = unwrap(element);
        auto name = makeCFString(notification);
        if (!target || !name) return p::kAXErrorIllegalArgument;
        AXError error = AXObserverAddNotification(observer_.get(), target, name.get(), this);
        if (error == kAXErrorSuccess)
            subscriptions_.emplace_back(CFRef<AXUIElementRef>::retain(target), name);
        return error;
    }

    void addRunLoopSource() override {
        if (onRunLoop_) return;
        CFRunLoopAddSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer_.get()),
                           kCFRunLoopCommonModes);
        onRunLoop_ = true;
    }

    void removeRunLoopSource() override {
        if (!onRunLoop_) return;
        CFRunLoopRemoveSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer_.get()),
                              kCFRunLoopCommonModes);
        onRunLoop_ = false;
    }

    static void deliver(AXObserverRef, AXUIElementRef element, CFStringRef notification, void* refcon) {
        auto* self = static_cast<MacAXObserver*>(refcon);
        // A copy, since the callback may drop this observer while it runs.
        auto callback = self->callback_;
        callback(wrap(CFRef<AXUIElementRef>::retain(element)), toUTF8(notification));
    }

private:
    CFRef<AXObserverRef> observer_;
    p::AXObserverCallback callback_;
    std::vector<std::pair<CFRef<AXUIElementRef>, CFRef<CFStringRef>>> subscriptions_;
    bool onRunLoop_ = false;
};

class MacAccessibility final : public p::Accessibility {
public:
    MacAccessibility() : systemWide_(CFRef<AXUIElementRef>::adopt(AXUIElementCreateSystemWide())) {
        // Until the product sets its own, no request waits longer than this for another process.
        AXUIElementSetMessagingTimeout(systemWide_.get(), kDefaultMessagingTimeout);
    }

    p::Element systemWide() override { return wrap(systemWide_); }
    p::Element application(std::int32_t pid) override {
        return wrap(CFRef<AXUIElementRef>::adopt(AXUIElementCreateApplication(pid)));
    }

    p::AXError copyAttributeValue(const p::Element& element, std::string_view attribute,
                                  p::AXValue& out) override {
        out = std::monostate{};
        AXUIElementRef target = unwrap(element);
        auto name = makeCFString(attribute);
        if (!target || !name) return p::kAXErrorIllegalArgument;
        CFRef<CFTypeRef> value;
        AXError error = AXUIElementCopyAttributeValue(target, name.get(), value.out());
        if (error != kAXErrorSuccess) return error;
        if (!value || CFGetTypeID(value.get()) == CFNullGetTypeID()) return p::kAXErrorNoValue;
        out = translate(value.get());
        return p::kAXErrorSuccess;
    }

    p::AXError copyMultipleAttributeValues(const p::Element& element, std::span<const std::string_view> names,
                                           std::vector<p::AXAttributeResult>& out) override {
        out.clear();
        AXUIElementRef target = unwrap(element);
        if (!target) return p::kAXErrorIllegalArgument;
        std::vector<CFRef<CFStringRef>> held;
        std::vector<const void*> pointers;
        held.reserve(names.size());
        for (auto name : names) {
            held.push_back(makeCFString(name));
            if (!held.back()) return p::kAXErrorIllegalArgument;
            pointers.push_back(held.back().get());
        }
        auto attributes = CFRef<CFArrayRef>::adopt(CFArrayCreate(kCFAllocatorDefault, pointers.data(),
                                                                 static_cast<CFIndex>(pointers.size()),
                                                                 &kCFTypeArrayCallBacks));
        CFRef<CFArrayRef> values;
        AXError error = AXUIElementCopyMultipleAttributeValues(target, attributes.get(), 0, values.out());
        if (error != kAXErrorSuccess) return error;
        CFIndex count = values ? CFArrayGetCount(values.get()) : 0;
        out.reserve(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            // A short answer leaves the missing slots without a value rather than reading past it.
            auto index = static_cast<CFIndex>(i);
            out.push_back(index < count ? slotOf(CFArrayGetValueAtIndex(values.get(), index))
                                        : p::AXAttributeResult{p::kAXErrorNoValue, {}});
        }
        return p::kAXErrorSuccess;
    }

    p::AXError copyActionNames(const p::Element& element, std::vector<std::string>& out) override {
        out.clear();
        AXUIElementRef target = unwrap(element);
        if (!target) return p::kAXErrorIllegalArgument;
        CFRef<CFArrayRef> names;
        AXError error = AXUIElementCopyActionNames(target, names.out());
        if (error != kAXErrorSuccess) return error;
        CFIndex count = names ? std::min(CFArrayGetCount(names.get()), kMaxArrayCount) : 0;
        for (CFIndex i = 0; i < count; ++i) {
            CFTypeRef name = CFArrayGetValueAtIndex(names.get(), i);
            if (name && CFGetTypeID(name) == CFStringGetTypeID())
                out.push_back(toUTF8(static_cast<CFStringRef>(name)));
        }
        return p::kAXErrorSuccess;
    }

    p::AXError performAction(const p::Element& element, std::string_view action) override {
        AXUIElementRef target = unwrap(element);
        auto name = makeCFString(action);
        if (!target || !name) return p::kAXErrorIllegalArgument;
        return AXUIElementPerformAction(target, name.get());
    }

    p::AXError setMessagingTimeout(const p::Element& element, double seconds) override {
        AXUIElementRef target = unwrap(element);
        if (!target || !std::isfinite(seconds) || seconds < 0) return p::kAXErrorIllegalArgument;
        return AXUIElementSetMessagingTimeout(target, static_cast<float>(seconds));
    }

    bool isProcessTrusted() override { return AXIsProcessTrusted(); }
    bool isProcessTrustedPromptingUser() override {
        NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @YES};
        return AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
    }

    p::AXError createObserver(std::int32_t pid, p::AXObserverCallback callback,
                              std::unique_ptr<p::AXObserver>& out) override {
        out.reset();
        if (!callback) return p::kAXErrorIllegalArgument;
        CFRef<AXObserverRef> observer;
        AXError error = AXObserverCreate(pid, &MacAXObserver::deliver, observer.out());
        if (error != kAXErrorSuccess) return error;
        out = std::make_unique<MacAXObserver>(std::move(observer), std::move(callback));
        return p::kAXErrorSuccess;
    }

private:
    CFRef<AXUIElementRef> systemWide_;
};

} // namespace

std::unique_ptr<platform::Accessibility> makeAccessibility() {
    return std::make_unique<MacAccessibility>();
}

} // namespace marlowick::mac
