#include "sim/bundle_strings.h"

namespace marlowick::sim {

std::optional<platform::StringsTable> SimBundleStrings::stringsTable(std::string_view bundleIdentifier) {
    if (!readable_ || bundleIdentifier != SimNotificationCenter::kBundleIdentifier) return std::nullopt;
    return notificationCenter_.strings().table();
}

} // namespace marlowick::sim
