#include "input/legend.h"

namespace marlowick {

std::vector<LegendEntry> pickerLegend() {
    return {{"Open that notification", {KeyCap::key("1"), KeyCap::text("\u2013"), KeyCap::key("9")}},
            {"Move the selection", {KeyCap::key("\u2191"), KeyCap::key("\u2193")}},
            {"Open the selected one", {KeyCap::key("\u21A9")}},
            {"Actions", {KeyCap::key("\u2192")}},
            {"Cancel", {KeyCap::key("esc")}}};
}

std::vector<LegendEntry> vimLegend() {
    return {{"Move down, up", {KeyCap::key("j"), KeyCap::key("k")}},
            {"Open the selected one", {KeyCap::key("o")}},
            {"Actions", {KeyCap::key("l")}},
            {"Close the selected one", {KeyCap::key("dd")}},
            {"Go to top, bottom", {KeyCap::key("gg"), KeyCap::key("G")}}};
}

} // namespace marlowick
