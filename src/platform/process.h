// This process: its arguments, its bundle's information values and its standard output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace marlowick::platform {

// An information value of the application bundle (a property-list scalar).
using BundleValue = std::variant<std::string, std::int64_t, double, bool>;

class Process {
public:
    virtual ~Process() = default;
    // The arguments after the executable's path.
    virtual std::vector<std::string> arguments() = 0;
    virtual std::optional<BundleValue> bundleValue(std::string_view key) = 0;
    virtual void makeStandardOutputLineBuffered() = 0;
    virtual void writeStandardOutput(std::string_view bytes) = 0;
};

} // namespace marlowick::platform
