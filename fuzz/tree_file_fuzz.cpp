// The recorded-tree reader on arbitrary file contents. Beyond not crashing it checks that a tree it
// accepts writes and reads back the same (texts replaced or not), and that the simulated Notification
// Center shows it and Marlowick's reader reads it without harm.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "notificationcenter/reader.h"
#include "notificationcenter/tree_file.h"
#include "sim/sim_mac.h"
#include "sim/tree_files.h"

namespace {

using namespace marlowick;
using fuzzing::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto parsed = parseTreeFile(text);
    if (const auto* error = std::get_if<TreeFileError>(&parsed)) {
        check(!error->reason.empty() && error->line >= 0);
        return 0;
    }
    auto tree = std::get<RecordedTree>(parsed);
    auto reread = parseTreeFile(writeTreeFile(tree));
    check(std::holds_alternative<RecordedTree>(reread) && std::get<RecordedTree>(reread) == tree);

    auto replaced = tree;
    replaceTexts(replaced);
    check(std::holds_alternative<RecordedTree>(parseTreeFile(writeTreeFile(replaced))));

    auto& simulated = fuzzing::recycledMac(500);
    sim::showRecordedTree(simulated, tree);
    for (const auto& row : sidebarNotifications())
        (void)itemFrame(row.element);
    check(sim::recordSimulatedTree(simulated).application == tree.application);
    return 0;
}
