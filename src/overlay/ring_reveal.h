// How the selection indicator arrives when it is first drawn in a picker run, in the user's ring
// reveal style. When to reveal is the overlay's; the reveal keeps no state of its own.
#pragma once

#include "input/settings.h"
#include "platform/geometry.h"

namespace marlowick {

class SidebarOverlay;

// Animates the overlay's indicator (just filled with the selection layers for the item) in the
// reveal style in force; leaves it as it is while the system asks for less motion.
void revealRing(SidebarOverlay& overlay, const platform::Rect& itemFrame);

// Seconds from the start of a reveal until every layer shows its final look.
double revealLength(RingReveal style);

// The spring of the pop reveal, and the time it takes to come to rest.
double popSpringSettlingDuration();

} // namespace marlowick
