// The simulated process: its arguments, its bundle's information values, and standard output,
// which is kept line by line so that tests can read what the program printed.
// Models: line buffering on request, echo to the real standard output (or to whoever prints it, as
// the console does above its prompt), the latest lines kept. Not modelled: standard error.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
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
    // The most lines kept; older ones are forgotten, so a long session does not grow.
    static constexpr std::size_t kKeptLines = 2000;

    // Whether printed lines also go to the real standard output (the interactive program).
    void setEcho(bool echo) { echo_ = echo; }
    // Echoed output goes here, complete lines only, instead of straight to standard output.
    void setEchoSink(std::function<void(std::string_view)> sink) { sink_ = std::move(sink); }
    bool isLineBuffered() const { return lineBuffered_; }
    // The latest complete lines printed (at most kKeptLines), without their line feeds, and the
    // number of the first of them counting every line ever printed from 0.
    const std::deque<std::string>& outputLines() const { return lines_; }
    std::uint64_t firstKeptLine() const { return firstKept_; }

private:
    std::vector<std::string> arguments_;
    std::map<std::string, platform::BundleValue, std::less<>> bundle_;
    bool lineBuffered_ = false;
    bool echo_ = false;
    std::function<void(std::string_view)> sink_;
    std::string partial_;
    std::string echoPartial_;
    std::deque<std::string> lines_;
    std::uint64_t firstKept_ = 0;
};

} // namespace marlowick::sim
