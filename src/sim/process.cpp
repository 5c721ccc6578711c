#include "sim/process.h"

#include <cstdio>

namespace marlowick::sim {

std::optional<platform::BundleValue> SimProcess::bundleValue(std::string_view key) {
    if (auto it = bundle_.find(key); it != bundle_.end()) return it->second;
    return std::nullopt;
}

void SimProcess::writeStandardOutput(std::string_view bytes) {
    if (echo_ && sink_) {
        echoPartial_.append(bytes);
        if (auto end = echoPartial_.rfind('\n'); end != std::string::npos) {
            std::string complete = echoPartial_.substr(0, end + 1);
            echoPartial_.erase(0, end + 1);
            sink_(complete);
        }
    } else if (echo_) {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        if (lineBuffered_) std::fflush(stdout);
    }
    for (char c : bytes) {
        if (c == '\n') {
            lines_.push_back(std::move(partial_));
            partial_.clear();
            if (lines_.size() > kKeptLines) {
                lines_.pop_front();
                ++firstKept_;
            }
        } else {
            partial_ += c;
        }
    }
}

} // namespace marlowick::sim
