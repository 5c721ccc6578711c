// The defaults-file loader on arbitrary file contents. Beyond not crashing it checks that a file
// either reads and keeps every value through a save, or is moved aside byte for byte.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "sim/defaults_file.h"
#include "sim/sim_mac.h"
#include "sim/user_defaults_store.h"

namespace {

namespace fs = std::filesystem;
using namespace marlowick;
using fuzzing::check;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The text itself: what is written back reads back the same.
    if (auto domain = sim::parseDefaultsFile(text)) {
        for (const auto& [key, value] : domain->items()) {
            if (auto readable = sim::defaultsValue(value)) check(sim::storedForm(*readable) == value);
        }
        auto reread = sim::parseDefaultsFile(sim::serializeDefaults(*domain));
        check(reread && *reread == *domain);
    }

    // The store on a file with that text.
    auto& simulated = fuzzing::recycledMac(500);
    const std::string path = simulated.home() + "/fuzz/domain.json";
    fs::create_directories(fs::path(path).parent_path());
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path()))
        fs::remove_all(entry.path());
    std::ofstream(path, std::ios::binary) << text;

    sim::SimUserDefaults store(path, simulated.files(), simulated.runLoop(), simulated.notifications());
    auto before = sim::parseDefaultsFile(text);
    store.set("fuzzed", true);
    auto after = sim::parseDefaultsFile(readFile(path));
    check(after.has_value());
    if (before) {
        for (const auto& [key, value] : before->items()) {
            if (key != "fuzzed") check((*after)[key] == value);
        }
    } else {
        bool keptAside = false;
        for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path())) {
            if (entry.path().filename().string().starts_with("domain.json.corrupt-")) {
                keptAside = readFile(entry.path()) == text;
            }
        }
        check(keptAside);
        check(after->size() == 1);
    }
    return 0;
}
