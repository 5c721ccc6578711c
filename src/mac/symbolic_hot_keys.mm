// Wraps: Carbon's CopySymbolicHotKeys and the dictionaries it returns (key code, modifiers, enabled).
// Leaves out: what each shortcut does, and entries' keys other than numbers and Booleans.
#import <Carbon/Carbon.h>

#include <memory>
#include <vector>

#include "mac/cf_ref.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

p::SymbolicHotKey entryOf(CFDictionaryRef dictionary) {
    p::SymbolicHotKey entry;
    CFIndex count = std::min(CFDictionaryGetCount(dictionary), kMaxArrayCount);
    std::vector<const void*> keys(static_cast<std::size_t>(CFDictionaryGetCount(dictionary)));
    std::vector<const void*> values(keys.size());
    CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
    for (CFIndex i = 0; i < count; ++i) {
        auto index = static_cast<std::size_t>(i);
        CFTypeRef key = keys[index];
        CFTypeRef value = values[index];
        if (!key || !value || CFGetTypeID(key) != CFStringGetTypeID()) continue;
        std::string name = toUTF8(static_cast<CFStringRef>(key));
        if (CFGetTypeID(value) == CFBooleanGetTypeID()) {
            entry.emplace(name, static_cast<bool>(CFBooleanGetValue(static_cast<CFBooleanRef>(value))));
        } else if (CFGetTypeID(value) == CFNumberGetTypeID()) {
            SInt64 number = 0;
            CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt64Type, &number);
            entry.emplace(name, static_cast<std::int64_t>(number));
        }
    }
    return entry;
}

class MacSymbolicHotKeys final : public p::SymbolicHotKeys {
public:
    p::OSStatus copySymbolicHotKeys(std::vector<p::SymbolicHotKey>& out) override {
        out.clear();
        CFRef<CFArrayRef> list;
        OSStatus status = CopySymbolicHotKeys(list.out());
        if (status != noErr) return status;
        CFIndex count = list ? std::min(CFArrayGetCount(list.get()), kMaxArrayCount) : 0;
        for (CFIndex i = 0; i < count; ++i) {
            CFTypeRef item = CFArrayGetValueAtIndex(list.get(), i);
            if (item && CFGetTypeID(item) == CFDictionaryGetTypeID())
                out.push_back(entryOf(static_cast<CFDictionaryRef>(item)));
        }
        return noErr;
    }
};

} // namespace

std::unique_ptr<platform::SymbolicHotKeys> makeSymbolicHotKeys() {
    return std::make_unique<MacSymbolicHotKeys>();
}

} // namespace marlowick::mac
