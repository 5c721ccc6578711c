#include "platform/iso8601.h"

#include <gtest/gtest.h>

#include <limits>

namespace marlowick::platform {
namespace {

TEST(Iso8601, FormatsUtcToTheWholeSecondAndFallsBackToTheEpochOutsideTheCalendar) {
    struct Case {
        double seconds;
        const char* expected;
    };
    const Case cases[] = {
        {1772373909.999, "2026-03-01T14:05:09Z"}, // the fraction is dropped, never rounded up
        {951782400.0, "2000-02-29T00:00:00Z"},    // a century leap day
        {-1.5, "1969-12-31T23:59:58Z"},
        {1e300, "1970-01-01T00:00:00Z"},
        {std::numeric_limits<double>::quiet_NaN(), "1970-01-01T00:00:00Z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iso8601(c.seconds), c.expected) << c.seconds;
}

} // namespace
} // namespace marlowick::platform
