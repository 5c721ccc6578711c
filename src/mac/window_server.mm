// Wraps: the system alert sound (NSBeep), which follows the user's chosen sound and volume.
// Leaves out: panels. They need the layer tree over Core Animation, which is still to come; until
// then makePanel has none to give, and main does not install this service.
#import <AppKit/AppKit.h>

#include <memory>

#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

class MacWindowServer final : public p::WindowServer {
public:
    std::shared_ptr<p::Panel> makePanel(const p::Rect& contentRect, std::uint64_t styleMask) override {
        (void)contentRect;
        (void)styleMask;
        return nullptr;
    }
    void beep() override { NSBeep(); }
};

} // namespace

std::unique_ptr<platform::WindowServer> makeWindowServer() {
    return std::make_unique<MacWindowServer>();
}

} // namespace marlowick::mac
