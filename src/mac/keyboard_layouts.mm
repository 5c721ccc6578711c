// Wraps: the text-input-source service (the current ASCII-capable keyboard layout and its Unicode
// layout data), UCKeyTranslate, LMGetKbdType, and the distributed notification of a changed input
// source, which drops the layout kept between calls.
// Leaves out: choosing or listing input sources, input methods, the layout's localized name.
#import <Carbon/Carbon.h>

#include <algorithm>
#include <array>
#include <memory>

#include "mac/cf_ref.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

// UCKeyTranslate writes at most this many UTF-16 units in one call.
constexpr std::size_t kMaxTranslation = 255;

class MacKeyLayout final : public p::KeyLayout {
public:
    MacKeyLayout(CFRef<TISInputSourceRef> source, CFRef<CFDataRef> data)
        : source_(std::move(source)), data_(std::move(data)) {}

    p::OSStatus translate(std::uint16_t keyCode, p::KeyAction action, std::uint32_t modifierKeyState,
                          std::uint32_t keyboardType, p::DeadKeys deadKeys, std::uint32_t& deadKeyState,
                          std::size_t maxLength, std::u16string& out) const override {
        out.clear();
        std::array<UniChar, kMaxTranslation> buffer{};
        UniCharCount length = 0;
        UInt32 state = deadKeyState;
        OSStatus status =
            UCKeyTranslate(reinterpret_cast<const UCKeyboardLayout*>(CFDataGetBytePtr(data_.get())), keyCode,
                           actionOf(action), modifierKeyState, keyboardType,
                           deadKeys == p::DeadKeys::Suppress ? kUCKeyTranslateNoDeadKeysMask : 0, &state,
                           std::min(maxLength, kMaxTranslation), &length, buffer.data());
        deadKeyState = state;
        if (status == noErr)
            out.assign(buffer.begin(), buffer.begin() + std::min<UniCharCount>(length, kMaxTranslation));
        return status;
    }

private:
    static UInt16 actionOf(p::KeyAction action) {
        switch (action) {
        case p::KeyAction::Down:
            return kUCKeyActionDown;
        case p::KeyAction::Up:
            return kUCKeyActionUp;
        case p::KeyAction::AutoKey:
            return kUCKeyActionAutoKey;
        case p::KeyAction::Display:
            return kUCKeyActionDisplay;
        }
        return kUCKeyActionDown;
    }

    // The source is kept so that its layout data stays valid as long as this layout.
    CFRef<TISInputSourceRef> source_;
    CFRef<CFDataRef> data_;
};

class MacKeyboardLayouts final : public p::KeyboardLayouts {
public:
    MacKeyboardLayouts() {
        CFNotificationCenterAddObserver(CFNotificationCenterGetDistributedCenter(), this, &sourceChanged,
                                        kTISNotifySelectedKeyboardInputSourceChanged, nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    ~MacKeyboardLayouts() override {
        CFNotificationCenterRemoveObserver(CFNotificationCenterGetDistributedCenter(), this,
                                           kTISNotifySelectedKeyboardInputSourceChanged, nullptr);
    }

    std::shared_ptr<const p::KeyLayout> currentASCIICapableLayout() override {
        if (current_) return current_;
        auto source = CFRef<TISInputSourceRef>::adopt(TISCopyCurrentASCIICapableKeyboardLayoutInputSource());
        if (!source) return nullptr;
        auto data =
            static_cast<CFDataRef>(TISGetInputSourceProperty(source.get(), kTISPropertyUnicodeKeyLayoutData));
        if (!data || CFGetTypeID(data) != CFDataGetTypeID() || CFDataGetLength(data) == 0) return nullptr;
        current_ = std::make_shared<MacKeyLayout>(std::move(source), CFRef<CFDataRef>::retain(data));
        return current_;
    }

    std::uint32_t keyboardType() override { return LMGetKbdType(); }

private:
    static void sourceChanged(CFNotificationCenterRef, void* observer, CFNotificationName, const void*,
                              CFDictionaryRef) {
        static_cast<MacKeyboardLayouts*>(observer)->current_.reset();
    }

    std::shared_ptr<const MacKeyLayout> current_;
};

} // namespace

std::unique_ptr<platform::KeyboardLayouts> makeKeyboardLayouts() {
    return std::make_unique<MacKeyboardLayouts>();
}

} // namespace marlowick::mac
