#include "sim/sim_mac.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>

namespace marlowick::sim {

namespace {

std::string makeTemporaryHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marlowick-home-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
}

} // namespace

SimMac::SimMac() : SimMac(Options{}) {}

SimMac::SimMac(Options options)
    : home_(options.home.empty() ? makeTemporaryHome() : options.home), ownsHome_(options.home.empty()),
      loop_(options.epoch), accessibility_(loop_), workspace_(loop_), files_(home_), notifications_(loop_),
      defaults_(defaultsFilePath(home_), files_, loop_, notifications_), events_(loop_),
      keyboard_(loop_, hotKeys_, events_), notificationCenter_(loop_, accessibility_, workspace_),
      bundleStrings_(notificationCenter_), windows_(screens_),
      menus_(events_, notifications_, keyboardLayouts_), statusBar_(menus_),
      titledWindows_(defaults_, screens_, fonts_, loop_),
      application_(menus_, titledWindows_, windows_, keyboard_, notifications_),
      updates_(loop_, defaults_, process_),
      appearance_(loop_), installation_(platform::Services{
                              .runLoop = &loop_,
                              .accessibility = &accessibility_,
                              .workspace = &workspace_,
                              .screens = &screens_,
                              .files = &files_,
                              .process = &process_,
                              .defaults = &defaults_,
                              .notifications = &notifications_,
                              .fonts = &fonts_,
                              .hotKeys = &hotKeys_,
                              .events = &events_,
                              .keyboardLayouts = &keyboardLayouts_,
                              .symbolicHotKeys = &symbolicHotKeys_,
                              .windows = &windows_,
                              .application = &application_,
                              .statusBar = &statusBar_,
                              .menus = &menus_,
                              .titledWindows = &titledWindows_,
                              .updates = &updates_,
                              .loginItems = &loginItems_,
                              .appearance = &appearance_,
                              .bundleStrings = &bundleStrings_,
                              .dateFormatter = &dateFormatter_,
                          }) {
    accessibility_.setTrusted(options.trusted);
    if (options.notificationCenterRunning) notificationCenter_.launch();
    // Key events that reach this application go to the open menu, or else to its main menu and key window.
    events_.setDispatcher([this](const platform::Event& event, bool menuTracking) {
        if (menuTracking)
            menus_.handleKeyEvent(event);
        else
            application_.handleKeyEvent(event);
    });
}

SimMac::~SimMac() {
    if (ownsHome_) {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
}

void SimMac::beginMenuTracking() {
    if (events_.isMenuTracking()) return;
    notifications_.post(platform::kMenuDidBeginTracking);
    events_.beginMenuTracking();
}

void SimMac::endMenuTracking() {
    if (!events_.isMenuTracking()) return;
    events_.endMenuTracking();
    notifications_.post(platform::kMenuDidEndTracking);
}

std::vector<std::string> SimMac::logLines() const {
    std::vector<std::string> messages;
    for (auto& line : logLinesFrom(0))
        messages.push_back(std::move(line.message));
    return messages;
}

std::vector<SimMac::LogLine> SimMac::logLinesFrom(std::uint64_t from) const {
    static const std::regex stamp(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} )");
    std::vector<LogLine> messages;
    const auto& lines = process_.outputLines();
    std::uint64_t first = process_.firstKeptLine();
    for (std::uint64_t number = std::max(from, first); number < first + lines.size(); ++number) {
        const auto& line = lines[static_cast<std::size_t>(number - first)];
        std::smatch match;
        if (std::regex_search(line, match, stamp)) messages.push_back({number, match.suffix()});
    }
    return messages;
}

} // namespace marlowick::sim
