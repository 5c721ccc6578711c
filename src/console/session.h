// One console session: a simulated Mac, Marlowick on it once launched, and the commands of the
// console language run against them, expectations included. Reading lines and choosing the clock
// is the program's (program.h); drawing the screen is screen.h's.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/script.h"
#include "sim/sim_mac.h"

namespace marlowick {
class AppDelegate;
}

namespace marlowick::console {

class Session {
public:
    enum class World {
        // The script's: no permission, Notification Center running, no notifications, not launched.
        Bare,
        // The console's: permission granted, a few sample notifications, Marlowick launched.
        Ready,
    };
    struct Options {
        World world = World::Bare;
        std::vector<std::string> arguments = {}; // the process arguments Marlowick reads
        std::string home = {};                   // empty: a temporary folder, removed afterwards
        std::optional<double> epoch = {};        // wall-clock seconds at virtual time 0
        std::string screenshotsDir = {};         // empty: no screenshots after each action
        bool echoLog = true;                     // print log lines as they are written
        // Where the files the commands name are read and written when their paths are relative
        // (the script's folder); empty: the current folder.
        std::string folder = {};
    };

    // What one command came to. A failed command stops a script.
    struct Result {
        bool ok = true;
        bool quit = false;
        std::string message; // the failure, or what the command printed
    };

    explicit Session(Options options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs the command and then everything it caused that is due now.
    Result run(const Command& command);

    sim::SimMac& mac() { return mac_; }
    const std::shared_ptr<AppDelegate>& app() const { return app_; }
    bool isLaunched() const { return app_ != nullptr; }
    // The number of screenshots written after actions so far.
    int screenshotCount() const { return screenshots_; }

private:
    Result launch(const command::Launch& launch = {});
    Result treeFile(const command::TreeFile& command);
    // A file the commands name: "~/" is the simulated home, a relative path is in the folder.
    std::string resolve(const std::string& path) const;
    Result dispatch(const Command& command);
    Result press(const Chord& chord);
    Result hold(const Chord& chord);
    Result menu(const command::Menu& menu);
    Result expectLog(const command::ExpectLog& expectation);
    Result expectMenuRow(const command::ExpectMenuRow& expectation);
    Result expectPicker(const Command& command);
    Result screenshot(const std::string& path, bool frontWindow = false);
    // The front titled window's commands and expectations (session_window.cpp).
    Result window(const command::Window& command);
    // None when the body is no window expectation.
    std::optional<Result> expectWindow(const CommandBody& body);
    // The key code a chord means on the layout in force.
    std::optional<std::uint16_t> keyCode(const Chord& chord);
    // The screenshot that --screenshots asks for after an action.
    Result afterAction(const Command& command);

    Options options_;
    sim::SimMac mac_;
    std::shared_ptr<AppDelegate> app_;
    std::uint64_t logCursor_ = 0; // output lines before this number were passed by `expect log`
    int screenshots_ = 0;
    // The front window's top edge just before the latest `window` command.
    std::optional<double> topBeforeWindowCommand_;
};

} // namespace marlowick::console
