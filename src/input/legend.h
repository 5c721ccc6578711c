// The picker's key legends: what each key does and the caps that show it. The status menu's
// fold-out legend and the settings window's legend rows both show this one table.
#pragma once

#include <string>
#include <vector>

#include "overlay/key_cap.h"

namespace marlowick {

struct LegendEntry {
    std::string title;
    std::vector<KeyCap> caps;
};
std::vector<LegendEntry> pickerLegend();
std::vector<LegendEntry> vimLegend();

} // namespace marlowick
