#include "sim/symbolic_hot_keys.h"

#include <algorithm>
#include <utility>

namespace marlowick::sim {

using platform::kCarbonCommand;
using platform::kCarbonControl;
using platform::kCarbonShift;

SimSymbolicHotKeys::SimSymbolicHotKeys()
    : entries_{
          {49, kCarbonCommand, true},                            // Spotlight
          {49, kCarbonControl, true},                            // previous input source
          {49, kCarbonControl | platform::kCarbonOption, false}, // next input source, off by default
          {20, kCarbonCommand | kCarbonShift, true},             // screenshot of the screen
          {21, kCarbonCommand | kCarbonShift, true},             // screenshot of a selection
          {23, kCarbonCommand | kCarbonShift, true},             // screenshot tools
          {126, kCarbonControl, true},                           // Mission Control
          {125, kCarbonControl, true},                           // application windows
          {111, 0, true},                                        // F12: once the dashboard, still listed
      } {}

platform::OSStatus SimSymbolicHotKeys::copySymbolicHotKeys(std::vector<platform::SymbolicHotKey>& out) {
    out.clear();
    if (auto status = std::exchange(failure_, platform::kNoErr); status != platform::kNoErr) return status;
    for (const auto& entry : entries_) {
        out.push_back({
            {std::string(platform::kSymbolicHotKeyCode), std::int64_t{entry.keyCode}},
            {std::string(platform::kSymbolicHotKeyModifiers), std::int64_t{entry.modifiers}},
            {std::string(platform::kSymbolicHotKeyEnabled), entry.enabled},
        });
    }
    return platform::kNoErr;
}

void SimSymbolicHotKeys::set(Entry entry) {
    auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& existing) {
        return existing.keyCode == entry.keyCode && existing.modifiers == entry.modifiers;
    });
    if (same != entries_.end())
        *same = entry;
    else
        entries_.push_back(entry);
}

} // namespace marlowick::sim
