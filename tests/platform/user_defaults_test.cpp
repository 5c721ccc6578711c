// What the user defaults promise to their readers; runs against the simulated Mac.
#include "platform/user_defaults.h"

#include <gtest/gtest.h>

#include <limits>

#include "sim/sim_mac.h"

namespace marlowick::platform {
namespace {

struct BooleanCase {
    const char* what;
    DefaultsValue stored;
    std::optional<bool> asked; // where a Boolean is asked for
    bool plain;                // the lenient plain read
};

TEST(UserDefaults, BooleanReadsAcceptOnlyBooleansAndTheNumbersZeroAndOne) {
    const BooleanCase cases[] = {
        {"true", true, true, true},
        {"false", false, false, false},
        {"integer 1", std::int64_t{1}, true, true},
        {"integer 0", std::int64_t{0}, false, false},
        {"double 1.0", 1.0, true, true},
        {"double 0.0", 0.0, false, false},
        {"integer 2", std::int64_t{2}, std::nullopt, true},
        {"integer -1", std::int64_t{-1}, std::nullopt, true},
        {"double 0.5", 0.5, std::nullopt, true},
        {"NaN", std::numeric_limits<double>::quiet_NaN(), std::nullopt, false},
        {"string true", std::string("true"), std::nullopt, true},
        {"string YES", std::string("YES"), std::nullopt, true},
        {"string 1", std::string("1"), std::nullopt, true},
        {"string no", std::string("no"), std::nullopt, false},
        {"empty string", std::string(), std::nullopt, false},
    };
    sim::SimMac mac;
    auto& defaults = *current().defaults;
    for (const auto& c : cases) {
        defaults.set("key", c.stored);
        EXPECT_EQ(defaults.boolean("key"), c.asked) << c.what;
        EXPECT_EQ(defaults.plainBoolean("key"), c.plain) << c.what;
    }
    defaults.remove("key");
    EXPECT_EQ(defaults.boolean("key"), std::nullopt);
    EXPECT_FALSE(defaults.plainBoolean("key"));
}

} // namespace
} // namespace marlowick::platform
