#include "sim/process.h"

#include <cstdio>

namespace marlowick::sim {

std::optional<platform::BundleValue> SimProcess::bundleValue(std::string_view key) {
    if (auto it = bundle_.find(key); it != bundle_.end()) return it->second;
    return std::nullopt;
}

void SimProcess::writeStandardOutput(std::string_view bytes) {
    if (echo_) {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        if (lineBuffered_) std::fflush(stdout);
    }
    for (char c : bytes) {
        if (c == '\n') {
            lines_.push_back(std::move(partial_));
            partial_.clear();
        } else {
            partial_ += c;
        }
    }
}

} // namespace marlowick::sim
