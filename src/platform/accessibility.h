// The accessibility service: reading and pressing another process's user interface. Every call is
// a synchronous request to that process; this header only states what the service promises.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/geometry.h"

namespace marlowick::platform {

using AXError = std::int32_t;

// The service's error codes. Callers compare only kAXErrorCannotComplete and kAXErrorInvalidUIElement
// by value.
inline constexpr AXError kAXErrorSuccess = 0;
inline constexpr AXError kAXErrorFailure = -25200;
inline constexpr AXError kAXErrorIllegalArgument = -25201;
inline constexpr AXError kAXErrorInvalidUIElement = -25202;
inline constexpr AXError kAXErrorInvalidUIElementObserver = -25203;
inline constexpr AXError kAXErrorCannotComplete = -25204;
inline constexpr AXError kAXErrorAttributeUnsupported = -25205;
inline constexpr AXError kAXErrorActionUnsupported = -25206;
inline constexpr AXError kAXErrorNotificationUnsupported = -25207;
inline constexpr AXError kAXErrorNotImplemented = -25208;
inline constexpr AXError kAXErrorNotificationAlreadyRegistered = -25209;
inline constexpr AXError kAXErrorAPIDisabled = -25211;
inline constexpr AXError kAXErrorNoValue = -25212;

// What a service keeps behind an element handle. Only the service that made it can compare two.
class ElementRef {
public:
    virtual ~ElementRef() = default;
    virtual bool isEqual(const ElementRef& other) const = 0;
};

// An opaque, shared handle of one element of another process. It stays a valid handle after the
// element has gone; reads on it then fail. Two handles are the same element when the service says
// so; elements are never hashed.
class Element {
public:
    Element() = default;
    explicit Element(std::shared_ptr<const ElementRef> ref) : ref_(std::move(ref)) {}

    explicit operator bool() const { return static_cast<bool>(ref_); }
    const ElementRef* ref() const { return ref_.get(); }

    friend bool operator==(const Element& a, const Element& b) {
        if (a.ref_ == b.ref_) return true;
        return a.ref_ && b.ref_ && a.ref_->isEqual(*b.ref_);
    }

private:
    std::shared_ptr<const ElementRef> ref_;
};

// An attribute value of any type the product reads. Positions and sizes arrive as points and sizes
// (the service's geometry values); anything else the service could hold reads as monostate.
using AXValue = std::variant<std::monostate, std::string, bool, std::int64_t, double, Point, Size, Element,
                             std::vector<Element>>;

struct AXAttributeResult {
    AXError error = kAXErrorNoValue;
    AXValue value;
};

// Called on the main run loop for each accessibility notification, while the observer's source is
// on the run loop.
using AXObserverCallback = std::function<void(const Element& element, std::string_view notification)>;

class AXObserver {
public:
    // Dropping the observer removes its run-loop source and every subscription.
    virtual ~AXObserver() = default;
    virtual AXError addNotification(const Element& element, std::string_view notification) = 0;
    // Delivery starts once the source is on the main run loop (common modes) and stops when removed.
    virtual void addRunLoopSource() = 0;
    virtual void removeRunLoopSource() = 0;
};

class Accessibility {
public:
    virtual ~Accessibility() = default;

    virtual Element systemWide() = 0;
    // Never fails for an identifier; reads fail when the process is gone.
    virtual Element application(std::int32_t pid) = 0;

    virtual AXError copyAttributeValue(const Element& element, std::string_view attribute, AXValue& out) = 0;
    // One request for several attributes of one element. The returned code is the request's own
    // (a stale element or a process that does not answer fails the whole request); each slot of out
    // then carries its attribute's own code and value, in the order of names.
    virtual AXError copyMultipleAttributeValues(const Element& element,
                                                std::span<const std::string_view> names,
                                                std::vector<AXAttributeResult>& out) = 0;
    virtual AXError copyActionNames(const Element& element, std::vector<std::string>& out) = 0;
    virtual AXError performAction(const Element& element, std::string_view action) = 0;
    // On the system-wide element the time-out applies to every later request of the process.
    virtual AXError setMessagingTimeout(const Element& element, double seconds) = 0;
    // Whether the user has granted this process the accessibility permission. The report can
    // outlive a grant that no longer matches the binary; only a read that is not refused
    // (kAXErrorAPIDisabled) shows that the permission works.
    virtual bool isProcessTrusted() = 0;
    // The same, asking the system to list this application under Privacy & Security ›
    // Accessibility (only this call adds it there) and to offer the user to turn it on.
    virtual bool isProcessTrustedPromptingUser() = 0;

    virtual AXError createObserver(std::int32_t pid, AXObserverCallback callback,
                                   std::unique_ptr<AXObserver>& out) = 0;
};

} // namespace marlowick::platform
