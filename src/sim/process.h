// The simulated process: its arguments, its bundle's information values, and standard output,
// which is kept line by line so that tests can read what the program printed.
// Models: line buffering on request, echo to the real standard output. Not modelled: standard error.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/process.h"

namespace marlowick::sim {

class SimProcess final : public platform::Process {
public:
    std::vector<std::string> arguments() override { return arguments_; }
    std::optional<platform::BundleValue> bundleValue(std::string_view key) override;
    void makeStandardOutputLineBuffered() override { lineBuffered_ = true; }
    void writeStandardOutput(std::string_view bytes) override;

    void setArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    void setBundleValue(const std::string& key, platform::BundleValue value) {
        bundle_[key] = std::move(value);
    }
    void removeBundleValue(const std::string& key) { bundle_.erase(key); }
    // Whether printed lines also go to the real standard output (the interactive program).
    void setEcho(bool echo) { echo_ = echo; }
    bool isLineBuffered() const { return lineBuffered_; }
    // Every complete line printed so far, without its line feed.
    const std::vector<std::string>& outputLines() const { return lines_; }

private:
    std::vector<std::string> arguments_;
    std::map<std::string, platform::BundleValue, std::less<>> bundle_;
    bool lineBuffered_ = false;
    bool echo_ = false;
    std::string partial_;
    std::vector<std::string> lines_;
};

} // namespace marlowick::sim
