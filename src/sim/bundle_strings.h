// The simulated Mac's bundles as a reader of their strings finds them: only Notification Center's
// strings tables are there, and the user's preferred languages.
// Models: a bundle whose tables cannot be read. Not modelled: other applications' bundles.
#pragma once

#include "platform/bundle_strings.h"
#include "sim/notification_center.h"

namespace marlowick::sim {

class SimBundleStrings final : public platform::BundleStrings {
public:
    explicit SimBundleStrings(const SimNotificationCenter& notificationCenter)
        : notificationCenter_(notificationCenter) {}

    std::optional<platform::StringsTable> stringsTable(std::string_view bundleIdentifier) override;
    std::vector<std::string> preferredLanguages() override { return preferred_; }

    void setPreferredLanguages(std::vector<std::string> languages) { preferred_ = std::move(languages); }
    void setReadable(bool readable) { readable_ = readable; }

private:
    const SimNotificationCenter& notificationCenter_;
    std::vector<std::string> preferred_{"en"};
    bool readable_ = true;
};

} // namespace marlowick::sim
