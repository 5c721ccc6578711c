#include "sim/sim_mac.h"

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

}  // namespace

SimMac::SimMac() : SimMac(Options{}) {}

SimMac::SimMac(Options options)
    : home_(options.home.empty() ? makeTemporaryHome() : options.home),
      ownsHome_(options.home.empty()),
      loop_(options.epoch),
      accessibility_(loop_),
      workspace_(loop_),
      files_(home_),
      installation_(platform::Services{
          .runLoop = &loop_,
          .accessibility = &accessibility_,
          .workspace = &workspace_,
          .screens = &screens_,
          .files = &files_,
          .process = &process_,
      }) {
    accessibility_.setTrusted(options.trusted);
}

SimMac::~SimMac() {
    if (ownsHome_) {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
}

std::vector<std::string> SimMac::logLines() const {
    static const std::regex stamp(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} )");
    std::vector<std::string> messages;
    for (const auto& line : process_.outputLines()) {
        std::smatch match;
        if (std::regex_search(line, match, stamp)) messages.push_back(match.suffix());
    }
    return messages;
}

}  // namespace marlowick::sim
