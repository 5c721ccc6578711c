// Wraps: NSDateFormatter in the medium date style and short time style ("Mar 1, 2026 at 2:05 PM"),
// in the user's current locale (followed as it changes) and time zone.
// Leaves out: relative dates, calendars other than the locale's own, and parsing.
#import <Foundation/Foundation.h>

#include <memory>
#include <string>

#include "mac/foundation_values.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

class MacDateFormatter final : public p::DateFormatter {
public:
    MacDateFormatter() : formatter_([[NSDateFormatter alloc] init]) {
        formatter_.dateStyle = NSDateFormatterMediumStyle;
        formatter_.timeStyle = NSDateFormatterShortStyle;
        formatter_.locale = NSLocale.autoupdatingCurrentLocale;
    }

    std::string abbreviatedDateShortTime(double secondsSince1970) override {
        const auto date = p::clampedDate(secondsSince1970);
        if (!date) return {};
        return toString([formatter_ stringFromDate:[NSDate dateWithTimeIntervalSince1970:*date]]);
    }

private:
    NSDateFormatter* formatter_;
};

} // namespace

std::unique_ptr<platform::DateFormatter> makeDateFormatter() {
    return std::make_unique<MacDateFormatter>();
}

} // namespace marlowick::mac
