// The simulated date formatter: the five locales' date order, month names and clocks, and dates
// no formatter can take.
#include "sim/date_formatter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace marlowick::sim {
namespace {

class DateFormatterTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("TZ", "UTC", 1), ::tzset(); }
    void TearDown() override { ::unsetenv("TZ"), ::tzset(); }
    SimDateFormatter formatter;
};

TEST_F(DateFormatterTest, EachLocaleWritesTheDateAndClockItsOwnWay) {
    const double afternoon = 1772373909; // 1 March 2026, 14:05:09
    const std::pair<const char*, const char*> expected[] = {
        {"en_US", "Mar 1, 2026 at 2:05 PM"},        {"en_GB", "1 Mar 2026 at 14:05"},
        {"de_DE", "01.03.2026, 14:05"},             {"fr_FR", "1 mars 2026 \u00E0 14:05"},
        {"ja_JP", "2026/03/01 14:05"},
    };
    for (const auto& [locale, text] : expected) {
        ASSERT_TRUE(formatter.setLocale(locale));
        EXPECT_EQ(formatter.abbreviatedDateShortTime(afternoon), text) << locale;
    }
    EXPECT_FALSE(formatter.setLocale("tlh"));
    EXPECT_EQ(formatter.locale(), "ja_JP");
    formatter.setLocale("en_US");
    EXPECT_EQ(formatter.abbreviatedDateShortTime(1772323200), "Mar 1, 2026 at 12:00 AM") << "midnight";
}

// Converting these to a time type unclamped is undefined behaviour (the sanitizer build says so).
TEST_F(DateFormatterTest, AbsurdDatesAreClampedAndNoDateIsNone) {
    EXPECT_EQ(formatter.abbreviatedDateShortTime(1e300), "Dec 31, 9999 at 11:59 PM");
    EXPECT_EQ(formatter.abbreviatedDateShortTime(std::numeric_limits<double>::infinity()),
              "Dec 31, 9999 at 11:59 PM");
    EXPECT_EQ(formatter.abbreviatedDateShortTime(-1e300), "Jan 1, 1 at 12:00 AM");
    EXPECT_EQ(formatter.abbreviatedDateShortTime(std::numeric_limits<double>::quiet_NaN()), "");
}

} // namespace
} // namespace marlowick::sim
