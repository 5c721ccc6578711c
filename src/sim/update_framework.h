// The simulated update framework behind platform::UpdateFramework: a feed with a newest version,
// scheduled and user-initiated checks, the framework's own update window and the user in it.
// Models: a controller that starts only when asked; the automatic-check preference ("SUEnableAutomatic-
// Checks" in the user defaults, else in the bundle, else off); a scheduled check once a day while
// it is on; a scheduled find offered to the delegate (gentle reminders: shown by the application,
// not by a window, when the delegate declines, with the session in progress until the user attends
// to it); a user-initiated check that opens a session with the
// framework's window whether or not it finds a version; checks refused while one runs; the user
// attending to the shown update and the session ending. Not modelled: downloads, signatures,
// installing and relaunching, feed errors, skipped versions.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/update_framework.h"
#include "platform/user_defaults.h"
#include "sim/run_loop.h"

namespace marlowick::sim {

class SimUpdateFramework final : public platform::UpdateFramework {
public:
    static constexpr double kScheduledCheckInterval = 24 * 60 * 60;

    SimUpdateFramework(SimRunLoop& loop, platform::UserDefaults& defaults, platform::Process& process);
    ~SimUpdateFramework() override;
    SimUpdateFramework(const SimUpdateFramework&) = delete;
    SimUpdateFramework& operator=(const SimUpdateFramework&) = delete;

    std::unique_ptr<platform::UpdaterController>
    makeStandardUpdaterController(bool startingUpdater,
                                  std::weak_ptr<platform::StandardUserDriverDelegate> delegate) override;

    // The world: the newest version the feed offers, or none when the application is up to date.
    void setAvailableVersion(std::optional<std::string> version) { available_ = std::move(version); }
    // A scheduled check runs now (as its daily timer would). Without one, the reason none ran.
    std::optional<std::string> runScheduledCheck();
    // The user asks the framework to check (as the application's update row does).
    void runUserCheck();
    // The user looks at the update in the framework's window, then closes the window or installs.
    void userAttendsToUpdate();
    void endSession();

    bool isStarted() const;
    bool isSessionActive() const;
    // Whether the framework's own update window is up.
    bool showsUpdateWindow() const;
    int checkCount() const;

private:
    class Controller;
    SimRunLoop& loop_;
    platform::UserDefaults& defaults_;
    platform::Process& process_;
    std::optional<std::string> available_;
    std::weak_ptr<Controller> controller_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace marlowick::sim
