// Wraps: NSApplication's event queue (nextEventMatchingMask:untilDate:inMode:dequeue:, postEvent:),
// NSEvent's local and global monitors, CFRunLoopObserver before the sources of one mode. Menu
// tracking reaches the product as AppKit's own notifications on the notification bus.
// Leaves out: mouse events beyond their type, event taps, the characters of synthesized key events.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <deque>
#include <memory>
#include <optional>
#include <utility>

#include "mac/cf_ref.h"
#include "mac/run_loop_modes.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

bool isKeyType(NSEventType type) {
    return type == NSEventTypeKeyDown || type == NSEventTypeKeyUp;
}

// Numbers the events the product sees and remembers the latest, so that an event it posts back
// is the very event AppKit gave it, characters and all.
class EventNumbers {
public:
    std::uint64_t numberOf(NSEvent* event) {
        for (const auto& [number, known] : recent_)
            if (known == event) return number;
        recent_.emplace_back(next_, event);
        if (recent_.size() > kRemembered) recent_.pop_front();
        return next_++;
    }
    NSEvent* _Nullable eventFor(std::uint64_t number) const {
        for (const auto& [known, event] : recent_)
            if (known == number) return event;
        return nil;
    }

private:
    static constexpr std::size_t kRemembered = 64;
    std::deque<std::pair<std::uint64_t, NSEvent*>> recent_;
    std::uint64_t next_ = 1;
};

p::Event translate(NSEvent* event, EventNumbers& numbers) {
    p::Event out;
    out.type = static_cast<p::EventType>(event.type);
    out.modifierFlags = event.modifierFlags;
    out.timestamp = event.timestamp;
    out.number = numbers.numberOf(event);
    // AppKit raises when these are read from an event of another type.
    if (isKeyType(event.type) || event.type == NSEventTypeFlagsChanged) out.keyCode = event.keyCode;
    if (isKeyType(event.type)) out.isARepeat = event.ARepeat;
    return out;
}

bool sameAs(const p::Event& a, const p::Event& b) {
    return a.type == b.type && a.keyCode == b.keyCode && a.modifierFlags == b.modifierFlags &&
           a.isARepeat == b.isARepeat;
}

// The AppKit event for one the product hands back: the original when it is unchanged, otherwise a
// key event made from its fields. Changed events of other types cannot be made and are dropped.
NSEvent* _Nullable eventFor(const p::Event& event, NSEvent* _Nullable original) {
    auto type = static_cast<NSEventType>(event.type);
    if (!isKeyType(type)) return original;
    NSString* characters = original && isKeyType(original.type) ? original.characters : nil;
    NSString* ignoring = original && isKeyType(original.type) ? original.charactersIgnoringModifiers : nil;
    return [NSEvent keyEventWithType:type
                            location:CGPoint{0, 0}
                       modifierFlags:static_cast<NSEventModifierFlags>(event.modifierFlags)
                           timestamp:event.timestamp
                        windowNumber:original ? original.windowNumber : 0
                             context:nil
                          characters:characters ? characters : @""
         charactersIgnoringModifiers:ignoring ? ignoring : @""
                           isARepeat:event.isARepeat
                             keyCode:event.keyCode];
}

class MacApplicationEvents final : public p::ApplicationEvents {
public:
    std::optional<p::Event> nextEvent(p::EventMask mask, p::RunLoopMode mode, p::Dequeue dequeue) override {
        // The queue is read in a real mode; the common modes stand for the default one here.
        NSRunLoopMode name = mode == p::RunLoopMode::Common ? NSDefaultRunLoopMode : runLoopModeName(mode);
        NSEvent* event = [NSApplication.sharedApplication nextEventMatchingMask:static_cast<NSEventMask>(mask)
                                                                      untilDate:NSDate.distantPast
                                                                         inMode:name
                                                                        dequeue:dequeue == p::Dequeue::Yes];
        if (!event) return std::nullopt;
        return translate(event, *numbers_);
    }

    void postEvent(const p::Event& event, p::QueueEnd end) override {
        NSEvent* original = numbers_->eventFor(event.number);
        NSEvent* posted =
            original && sameAs(translate(original, *numbers_), event) ? original : eventFor(event, original);
        if (posted) [NSApplication.sharedApplication postEvent:posted atStart:end == p::QueueEnd::Front];
    }

    p::Subscription addLocalMonitor(p::EventMask mask, p::LocalEventMonitor monitor) override {
        auto held = std::make_shared<p::LocalEventMonitor>(std::move(monitor));
        auto numbers = numbers_;
        id token = [NSEvent
            addLocalMonitorForEventsMatchingMask:static_cast<NSEventMask>(mask)
                                         handler:^NSEvent* _Nullable(NSEvent* event) {
                                           auto keep = held;
                                           p::Event seen = translate(event, *numbers);
                                           std::optional<p::Event> result = (*keep)(seen);
                                           if (!result) return nil;
                                           return sameAs(*result, seen) ? event : eventFor(*result, event);
                                         }];
        if (!token) return {};
        return p::Subscription([token] { [NSEvent removeMonitor:token]; });
    }

    p::Subscription addGlobalMonitor(p::EventMask mask, p::GlobalEventMonitor monitor) override {
        auto held = std::make_shared<p::GlobalEventMonitor>(std::move(monitor));
        auto numbers = numbers_;
        id token = [NSEvent addGlobalMonitorForEventsMatchingMask:static_cast<NSEventMask>(mask)
                                                          handler:^(NSEvent* event) {
                                                            auto keep = held;
                                                            (*keep)(translate(event, *numbers));
                                                          }];
        if (!token) return {};
        return p::Subscription([token] { [NSEvent removeMonitor:token]; });
    }

    p::Subscription addRunLoopObserver(p::RunLoopMode mode, std::function<void()> beforeSources) override {
        auto held = std::make_shared<std::function<void()>>(std::move(beforeSources));
        auto observer = CFRef<CFRunLoopObserverRef>::adopt(
            CFRunLoopObserverCreateWithHandler(kCFAllocatorDefault, kCFRunLoopBeforeSources, true, 0,
                                               ^(CFRunLoopObserverRef, CFRunLoopActivity) {
                                                 auto keep = held;
                                                 (*keep)();
                                               }));
        if (!observer) return {};
        CFRunLoopAddObserver(CFRunLoopGetMain(), observer.get(),
                             (__bridge CFRunLoopMode)runLoopModeName(mode));
        return p::Subscription([observer] { CFRunLoopObserverInvalidate(observer.get()); });
    }

private:
    // Shared with the monitors' blocks, which may outlive a call but not the process.
    std::shared_ptr<EventNumbers> numbers_ = std::make_shared<EventNumbers>();
};

} // namespace

std::unique_ptr<platform::ApplicationEvents> makeApplicationEvents() {
    return std::make_unique<MacApplicationEvents>();
}

} // namespace marlowick::mac
