#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace marlowick::platform {

namespace {
Services* installed = nullptr;
std::uint64_t installations = 0;
} // namespace

Services& current() {
    if (!installed) {
        std::fputs("marlowick: no platform services installed\n", stderr);
        std::abort();
    }
    return *installed;
}

bool isInstalled() {
    return installed != nullptr;
}

std::uint64_t generation() {
    return installations;
}

Installation::Installation(Services services) : services_(services), previous_(installed) {
    installed = &services_;
    ++installations;
}

Installation::~Installation() {
    installed = previous_;
    ++installations;
}

} // namespace marlowick::platform
