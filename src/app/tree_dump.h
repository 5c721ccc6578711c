// `--dump-tree FILE [--keep-texts]`: Marlowick writes Notification Center's live accessibility tree
// to FILE in the tree file's format and quits, which is how a user attaches their tree to a report.
// The texts notifications carry are replaced by placeholders unless --keep-texts is given too.
#pragma once

#include <optional>
#include <string_view>

namespace marlowick {

inline constexpr std::string_view kDumpTreeFlag = "--dump-tree";
inline constexpr std::string_view kKeepTextsFlag = "--keep-texts";
// Long enough for a busy process, short enough that a hung one does not hold the run for long.
inline constexpr double kDumpMessagingTimeout = 2.0;

// None when the process arguments ask for no dump; otherwise the dump has run (its outcome is in
// the log) and this is the exit status: 0 when the file was written, 1 when it was not, 2 when
// the flag has no file.
std::optional<int> dumpTreeIfAsked();

} // namespace marlowick
