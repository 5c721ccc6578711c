// The simulated user defaults of the application's domain, kept as a JSON file under the home folder.
// Models: the file read at first use, written atomically (temporary file, then rename) after every
// change, a change notification per change, a file that cannot be read moved aside and never
// overwritten, folders that refuse writes, a process that dies between writing and renaming.
// Not modelled: other domains, argument and registration domains, other writers of the file, fsync.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "platform/notification_bus.h"
#include "platform/run_loop.h"
#include "platform/user_defaults.h"
#include "sim/files.h"

namespace marlowick::sim {

// The application's defaults domain and where its file lives under a home folder.
inline constexpr std::string_view kApplicationDomain = "com.marlowick.Marlowick";
std::string defaultsFilePath(const std::string& home);

class SimUserDefaults final : public platform::UserDefaults {
public:
    // `path` is the domain's file. Nothing is read before the first use, so that a log line about
    // the file is written with the platform installed.
    SimUserDefaults(std::string path, SimFiles& files, platform::RunLoop& clock,
                    platform::NotificationBus& bus);

    std::optional<platform::DefaultsValue> object(std::string_view key) override;
    void set(std::string_view key, platform::DefaultsValue value) override;
    void remove(std::string_view key) override;

    const std::string& path() const { return path_; }
    // Where a save writes before it renames; a leftover one is never read.
    std::string temporaryPath() const { return path_ + ".tmp"; }
    // The next save writes its temporary file and stops short of the rename, as a process that dies
    // there would. Nothing is written after it.
    void crashBeforeNextRename() { crashPending_ = true; }

private:
    void loadOnce();
    // Moves an unreadable file out of the way; false when it could not be moved.
    bool moveAside(std::string& aside);
    void changed();
    bool save();

    std::string path_;
    SimFiles& files_;
    platform::RunLoop& clock_;
    platform::NotificationBus& bus_;
    nlohmann::json domain_ = nlohmann::json::object();
    bool loaded_ = false;
    // False once the file on disk must be left alone for the rest of the run.
    bool persists_ = true;
    bool saveFailureLogged_ = false;
    bool crashPending_ = false;
};

} // namespace marlowick::sim
