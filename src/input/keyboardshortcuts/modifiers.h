// Conversion between the platform's event modifier flags and Carbon's modifier bits. The two map
// one to one for control, option, shift, command and function; every other flag is dropped.
#pragma once

#include <cstdint>

#include "platform/key_events.h"

namespace KeyboardShortcuts {

std::int64_t carbonModifiers(marlowick::platform::ModifierFlags flags);
marlowick::platform::ModifierFlags modifierFlags(std::int64_t carbonModifiers);

} // namespace KeyboardShortcuts
