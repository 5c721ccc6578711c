// The update wrapper between the update framework and Marlowick: off without a feed or a key,
// gentle reminders (a scheduled find shows as a menu row, not a window), and the update sessions
// during which Marlowick is a regular application. The framework's checks and windows are its own.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/update_framework.h"

namespace marlowick {

class Updater : public platform::StandardUserDriverDelegate, public std::enable_shared_from_this<Updater> {
public:
    // The one updater of the installed platform, made on first use (a new platform gets a new one).
    static std::shared_ptr<Updater> shared();

    void startUpdates();
    // The status menu's update row.
    void checkForUpdates();

    bool isAvailable() const { return isAvailable_; }
    const std::optional<std::string>& pendingVersion() const { return pendingVersion_; }
    platform::UpdaterController* controller() const { return controller_.get(); }

    std::function<void()> onPendingChange = [] {};
    std::function<void(bool active)> onSession = [](bool) {};

    bool supportsGentleScheduledUpdateReminders() override { return true; }
    bool standardUserDriverShouldHandleShowingScheduledUpdate(const platform::AppcastItem&, bool) override {
        return false;
    }
    void standardUserDriverWillHandleShowingUpdate(bool handleShowingUpdate,
                                                   const platform::AppcastItem& update,
                                                   const platform::UserUpdateState& state) override;
    void standardUserDriverDidReceiveUserAttention(const platform::AppcastItem& update) override;
    void standardUserDriverWillFinishUpdateSession() override;

private:
    Updater() = default;
    void updateFound(const platform::AppcastItem& item, const platform::UserUpdateState& state);
    void setPendingVersion(std::optional<std::string> version);

    std::unique_ptr<platform::UpdaterController> controller_;
    bool isAvailable_ = false;
    std::optional<std::string> pendingVersion_;
};

} // namespace marlowick
