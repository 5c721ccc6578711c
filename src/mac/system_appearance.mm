// Wraps: NSApplication's effective appearance, matched to aqua or darkAqua, and its changes through
// key-value observing (AppKit updates it after the user switches, unlike the distributed theme
// notification, which can arrive before); NSWorkspace's Reduce Motion preference.
// Leaves out: the high-contrast and vibrant variants (each counts as its light or dark base), accent
// and highlight colours, per-window appearances.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <functional>
#include <memory>

#include "mac/appkit_values.h"
#include "mac/key_value_observer.h"
#include "mac/services.h"

namespace p = marlowick::platform;

namespace marlowick::mac {
namespace {

NSString* const kEffectiveAppearance = @"effectiveAppearance";

p::Appearance appearanceNow() {
    return appearanceOf(NSApplication.sharedApplication.effectiveAppearance);
}

// One observation: its handler and the appearance it last reported, so that a change between
// variants of the same base (high contrast on or off) is not reported as a switch.
struct Observation {
    std::function<void()> changed;
    p::Appearance reported;
};

class MacSystemAppearance final : public p::SystemAppearance {
public:
    p::Appearance current() const override { return appearanceNow(); }
    bool reducesMotion() const override { return NSWorkspace.sharedWorkspace.accessibilityDisplayShouldReduceMotion; }

    p::Subscription observe(std::function<void()> changed) override {
        auto observation = std::make_shared<Observation>(Observation{std::move(changed), appearanceNow()});
        std::weak_ptr<Observation> weak = observation;
        // The change arrives while AppKit is switching; the handler runs afterwards on the main run
        // loop, and not at all once the handle has been dropped.
        MWKKeyValueObserver* observer = [[MWKKeyValueObserver alloc] initWithCallback:[weak] {
            dispatch_async(dispatch_get_main_queue(), ^{
              auto held = weak.lock();
              if (!held) return;
              p::Appearance now = appearanceNow();
              if (now == held->reported) return;
              held->reported = now;
              auto handler = held->changed; // the handler may end this observation
              handler();
            });
        }];
        NSApplication* application = NSApplication.sharedApplication;
        [application addObserver:observer
                      forKeyPath:kEffectiveAppearance
                         options:NSKeyValueObservingOptionNew
                         context:nullptr];
        return p::Subscription([application, observer, observation] {
            [application removeObserver:observer forKeyPath:kEffectiveAppearance context:nullptr];
        });
    }
};

} // namespace

std::unique_ptr<platform::SystemAppearance> makeSystemAppearance() {
    return std::make_unique<MacSystemAppearance>();
}

} // namespace marlowick::mac
