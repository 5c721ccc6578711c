// The simulated system shortcuts behind platform::SymbolicHotKeys.
// Models: the list the system reports, enabled and disabled entries, and F12 listed as enabled
// although nothing uses it any more (a trap for callers). Not modelled: the system acting on its
// own shortcuts when they are pressed.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/symbolic_hot_keys.h"

namespace marlowick::sim {

class SimSymbolicHotKeys final : public platform::SymbolicHotKeys {
public:
    struct Entry {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0; // Carbon bits
        bool enabled = true;
    };

    SimSymbolicHotKeys();

    platform::OSStatus copySymbolicHotKeys(std::vector<platform::SymbolicHotKey>& out) override;

    // Adds an entry, or changes the one with the same chord.
    void set(Entry entry);
    // Makes the next copy fail with the status (0 to stop failing).
    void failNextCopy(platform::OSStatus status) { failure_ = status; }
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    platform::OSStatus failure_ = platform::kNoErr;
};

} // namespace marlowick::sim
