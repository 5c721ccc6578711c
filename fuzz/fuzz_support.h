// What the fuzz targets share: a property that does not hold aborts, which libFuzzer reports as a
// crash with its input, and a simulated Mac started afresh now and then, so that what it records
// (its log, its requests) does not grow without end over a long run.
#pragma once

#include <cstdlib>
#include <memory>

#include "sim/sim_mac.h"

namespace marlowick::fuzzing {

inline void check(bool condition) {
    if (!condition) std::abort();
}

// The same simulated Mac for `inputsPerMac` inputs, then a new one.
inline sim::SimMac& recycledMac(int inputsPerMac) {
    static std::unique_ptr<sim::SimMac> current;
    static int uses = 0;
    if (!current || ++uses % inputsPerMac == 0) {
        current.reset();
        current = std::make_unique<sim::SimMac>();
    }
    return *current;
}

} // namespace marlowick::fuzzing
