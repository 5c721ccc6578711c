// Time stamps in the ISO 8601 form of the platform's date formatter with its default options.
#pragma once

#include <string>

namespace marlowick::platform {

// "yyyy-MM-ddTHH:mm:ssZ" in UTC, whole seconds (the fraction is dropped, as the formatter does).
std::string iso8601(double secondsSince1970);

} // namespace marlowick::platform
