// Wraps: nothing yet. Titled windows (NSWindow with the core's view tree as AppKit controls, and
// their alerts) are still to be written; until then this maker has none to give, and the entry
// stops at launch naming them, rather than crashing at the first window.
// Leaves out: everything of titled windows.
#include <memory>

#include "mac/services.h"

namespace marlowick::mac {

std::unique_ptr<platform::TitledWindows> makeTitledWindows() {
    return nullptr;
}

} // namespace marlowick::mac
