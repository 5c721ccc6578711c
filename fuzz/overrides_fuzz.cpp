// The command-line overrides on arbitrary arguments (the input split at NUL bytes; the first piece
// is also stored as the colour and the open mode). Beyond not crashing it checks that every read
// gives a valid value and that no override is ever written to the user defaults.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "input/settings.h"
#include "sim/sim_mac.h"

namespace {

using namespace marlowick;
using fuzzing::check;

bool isLowerCase(const std::string& text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') return false;
    }
    return true;
}

template <typename Enum> bool isCase(Enum value) {
    for (auto c : allCases<Enum>()) {
        if (c == value) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::SimMac mac;
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    auto& defaults = mac.defaults();
    defaults.set(SettingsKey::highlightColor, arguments.front());
    defaults.set(SettingsKey::openMode, arguments.front());
    mac.process().setArguments(arguments);
    // The hot-key engine stores its initial chords at first use; that write is not an override's.
    for (auto group : allRestoreGroups)
        (void)AppSettings::isAtDefaults(group);

    int changes = 0;
    auto observer = mac.notifications().observe(platform::kUserDefaultsDidChange,
                                                [&](const platform::UserInfo&) { ++changes; });

    check(isCase(AppSettings::openMode()) && isCase(AppSettings::nextStyle()) &&
          isCase(AppSettings::stacks()));
    check(isCase(AppSettings::stackStyle()) && isCase(AppSettings::ringReveal()) &&
          isCase(AppSettings::menuBarIcon()));

    auto color = AppSettings::highlightColor();
    check(AppSettings::resolveColor(color).has_value() && isLowerCase(color));
    if (!AppSettings::hasOverride(OverrideFlag::color)) check(color == AppSettings::storedHighlightColor());
    if (AppSettings::hasOverride(OverrideFlag::vimKeys)) check(AppSettings::vimKeys());
    if (AppSettings::hasOverride(OverrideFlag::noPickerKeys)) check(!AppSettings::showPickerKeys());
    if (AppSettings::hasOverride(OverrideFlag::noAutoBadges)) check(!AppSettings::autoBadges());

    for (const auto& argument : arguments) {
        if (auto resolved = AppSettings::resolveColor(argument)) {
            auto text = AppSettings::contrastingTextColor(*resolved);
            check(text.red == text.green && text.green == text.blue && (text.red == 0 || text.red == 1));
        }
    }
    check(changes == 0);
    return 0;
}
