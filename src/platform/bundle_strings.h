// Another application's localized strings, as its bundle ships them, and the user's preferred
// languages. Marlowick reads Notification Center's to press its buttons in the user's language.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marlowick::platform {

// Every language a bundle ships, each with its strings by key: languages["de"]["SOME_KEY"].
struct StringsTable {
    std::map<std::string, std::map<std::string, std::string>> languages;
};

class BundleStrings {
public:
    virtual ~BundleStrings() = default;
    // The strings tables of the installed application with this bundle identifier; none when it
    // cannot be found or read.
    virtual std::optional<StringsTable> stringsTable(std::string_view bundleIdentifier) = 0;
    // The user's preferred languages, most preferred first ("de-DE", "en", "zh-Hans").
    virtual std::vector<std::string> preferredLanguages() = 0;
};

} // namespace marlowick::platform
