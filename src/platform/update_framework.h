// The update framework: a standard updater controller that checks an appcast feed on a schedule or
// on request and runs its own update windows, and the user-driver delegate calls it makes. Feeds,
// signatures and installing are the framework's own.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace marlowick::platform {

struct AppcastItem {
    std::string displayVersionString;
};

struct UserUpdateState {
    // Whether the user asked for the check that found the update.
    bool userInitiated = false;
};

// What the framework asks of the application about showing updates; called on the main thread.
class StandardUserDriverDelegate {
public:
    virtual ~StandardUserDriverDelegate() = default;
    virtual bool supportsGentleScheduledUpdateReminders() = 0;
    virtual bool standardUserDriverShouldHandleShowingScheduledUpdate(const AppcastItem& update,
                                                                      bool immediateFocus) = 0;
    virtual void standardUserDriverWillHandleShowingUpdate(bool handleShowingUpdate,
                                                           const AppcastItem& update,
                                                           const UserUpdateState& state) = 0;
    virtual void standardUserDriverDidReceiveUserAttention(const AppcastItem& update) = 0;
    virtual void standardUserDriverWillFinishUpdateSession() = 0;
};

class UpdaterController {
public:
    virtual ~UpdaterController() = default;
    // Scheduled checks begin, as the user's stored preference says.
    virtual void startUpdater() = 0;
    virtual bool automaticallyChecksForUpdates() = 0;
    virtual void setAutomaticallyChecksForUpdates(bool checks) = 0;
    // Seconds since 1970 of the last check, if there was one.
    virtual std::optional<double> lastUpdateCheckDate() = 0;
    // False while a check or an update session runs, or before the updater started.
    virtual bool canCheckForUpdates() = 0;
    // A check the user asked for, shown in the framework's own windows.
    virtual void checkForUpdates() = 0;
};

class UpdateFramework {
public:
    virtual ~UpdateFramework() = default;
    // The controller holds the delegate weakly; it does not start until asked when startingUpdater
    // is false.
    virtual std::unique_ptr<UpdaterController>
    makeStandardUpdaterController(bool startingUpdater,
                                  std::weak_ptr<StandardUserDriverDelegate> delegate) = 0;
};

} // namespace marlowick::platform
