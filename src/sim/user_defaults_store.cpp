#include "sim/user_defaults_store.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/log.h"
#include "sim/defaults_file.h"

namespace marlowick::sim {

namespace fs = std::filesystem;

namespace {

// "2026-03-01T14-05-09Z": ISO 8601 in UTC, with colons replaced so that it can go into a file name.
std::string fileTimeStamp(double secondsSince1970) {
    auto seconds = static_cast<std::time_t>(std::floor(secondsSince1970));
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H-%M-%SZ", &utc);
    return buffer;
}

// The file's bytes, or none when it cannot be read as a regular file within the size limit.
std::optional<std::string> readSmallFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    auto size = fs::file_size(path, error);
    if (error || size > kDefaultsFileSizeLimit) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) return std::nullopt;
    return std::move(bytes).str();
}

} // namespace

std::string defaultsFilePath(const std::string& home) {
    return home + "/Library/Preferences/" + std::string(kApplicationDomain) + ".json";
}

SimUserDefaults::SimUserDefaults(std::string path, SimFiles& files, platform::RunLoop& clock,
                                 platform::NotificationBus& bus)
    : path_(std::move(path)), files_(files), clock_(clock), bus_(bus) {}

void SimUserDefaults::loadOnce() {
    if (loaded_) return;
    loaded_ = true;
    std::error_code error;
    if (!fs::exists(path_, error) && !error) return; // a fresh installation
    if (auto text = readSmallFile(path_)) {
        if (auto domain = parseDefaultsFile(*text)) {
            domain_ = std::move(*domain);
            return;
        }
    }
    // The user's settings are in there somewhere: keep the file for them and start empty.
    std::string aside;
    if (moveAside(aside)) {
        log("User defaults: could not read " + path_ + "; moved it to " + aside +
            " and started with empty defaults");
    } else {
        persists_ = false;
        log("User defaults: could neither read nor move aside " + path_ +
            "; changes are kept for this run only");
    }
}

bool SimUserDefaults::moveAside(std::string& aside) {
    std::string base = path_ + ".corrupt-" + fileTimeStamp(clock_.secondsSince1970());
    aside = base;
    std::error_code error;
    // A second unreadable file within the same second must not replace the first one kept aside.
    for (int attempt = 2; fs::exists(aside, error) || error; ++attempt) {
        if (attempt > 100) return false;
        aside = base + "-" + std::to_string(attempt);
    }
    if (!files_.isWritable(path_) || !files_.isWritable(aside)) return false;
    fs::rename(path_, aside, error);
    return !error;
}

std::optional<platform::DefaultsValue> SimUserDefaults::object(std::string_view key) {
    loadOnce();
    auto found = domain_.find(std::string(key));
    if (found == domain_.end()) return std::nullopt;
    return defaultsValue(*found);
}

void SimUserDefaults::set(std::string_view key, platform::DefaultsValue value) {
    loadOnce();
    auto stored = storedForm(value);
    auto& slot = domain_[std::string(key)];
    if (slot == stored && defaultsValue(slot) == value) return;
    slot = std::move(stored);
    changed();
}

void SimUserDefaults::remove(std::string_view key) {
    loadOnce();
    if (domain_.erase(std::string(key)) == 0) return;
    changed();
}

void SimUserDefaults::changed() {
    if (persists_ && !save()) {
        if (!saveFailureLogged_)
            log("User defaults: could not save " + path_ + "; changes are kept for this run only");
        saveFailureLogged_ = true;
    } else {
        saveFailureLogged_ = false;
    }
    bus_.post(platform::kUserDefaultsDidChange);
}

bool SimUserDefaults::save() {
    std::string temporary = temporaryPath();
    fs::path folder = fs::path(path_).parent_path();
    std::error_code error;
    if (!files_.isWritable(path_) || !files_.isWritable(temporary)) return false;
    if (!fs::is_directory(folder, error)) fs::create_directories(folder, error);
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << serializeDefaults(domain_);
        file.close();
        if (!file) return false;
    }
    if (crashPending_) {
        // The process is gone: the rename never happens and nothing more is written.
        crashPending_ = false;
        persists_ = false;
        return true;
    }
    fs::rename(temporary, path_, error);
    return !error;
}

} // namespace marlowick::sim
