// Recorded trees on the simulated Mac: reading and writing their files, showing one as Notification
// Center's tree (the screens included), and recording the simulated tree as it is now. The format
// itself is the core's (notificationcenter/tree_file.h), shared with Marlowick's --dump-tree.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "notificationcenter/tree_file.h"
#include "sim/sim_mac.h"

namespace marlowick::sim {

// The tree in the file at `path`, or why it cannot be had (the file's line, when the fault has one).
std::variant<RecordedTree, TreeFileError> readTreeFile(const std::string& path);
// None once the file is written, else why not.
std::optional<std::string> writeTreeFile(const std::string& path, const RecordedTree& tree);

// Notification Center presents the tree from now on; the recording's screens, when it lists any,
// become the Mac's (turned from the service's top-left origin into the screens' bottom-left one).
void showRecordedTree(SimMac& mac, RecordedTree tree);

// Notification Center's tree as the service would report it now, every text kept, and the screens;
// the application element alone while it is quit. Bounded like a recording.
RecordedTree recordSimulatedTree(SimMac& mac);

} // namespace marlowick::sim
