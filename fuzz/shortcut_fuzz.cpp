// Feeds arbitrary bytes to the decoder of stored shortcuts: it must answer (a chord or none)
// without crashing, and a chord it accepts must survive encoding and decoding again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "input/keyboardshortcuts/shortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view stored(reinterpret_cast<const char*>(data), size);
    auto shortcut = KeyboardShortcuts::decodeShortcut(stored);
    if (shortcut) {
        if (shortcut->carbonKeyCode < 0 || shortcut->carbonModifiers < 0) std::abort();
        if (KeyboardShortcuts::decodeShortcut(KeyboardShortcuts::encodeShortcut(*shortcut)) != shortcut)
            std::abort();
    }
    return 0;
}
