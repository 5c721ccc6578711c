// The simulated text-input sources behind platform::KeyboardLayouts: five ASCII-capable layouts
// and the one the user has selected, which can change at any time.
// Models: what each key produces, alone or with Shift, on U.S., German, French, Dvorak and a layout
// that lacks some Latin letters; dead keys (processed or suppressed); the output-length limit; a
// source without layout data. Not modelled: translations with other modifier keys (refused with -50),
// per-keyboard-type differences, non-ASCII-capable sources.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/keyboard_layouts.h"

namespace marlowick::sim {

enum class LayoutId {
    US,
    German,
    French,
    Dvorak,
    // U.S. positions, but the o and q keys type "ø" and "ʻ": no Latin o and no q.
    PartialLatin,
};

class SimKeyboardLayouts final : public platform::KeyboardLayouts {
public:
    // The keyboard type of a built-in ANSI keyboard.
    static constexpr std::uint32_t kKeyboardType = 40;

    std::shared_ptr<const platform::KeyLayout> currentASCIICapableLayout() override;
    std::uint32_t keyboardType() override { return kKeyboardType; }

    void select(LayoutId layout) { selected_ = layout; }
    LayoutId selected() const { return selected_; }
    // The current source offers no Unicode layout data (as some input methods do).
    void setLayoutDataMissing(bool missing) { layoutDataMissing_ = missing; }

    // A layout on its own, for tests that compare layouts.
    static std::shared_ptr<const platform::KeyLayout> layout(LayoutId id);

private:
    LayoutId selected_ = LayoutId::US;
    bool layoutDataMissing_ = false;
};

} // namespace marlowick::sim
