// How deeply a JSON text nests, told before it reaches a reader or writer that recurses once per
// level, so that a file of brackets cannot exhaust the stack.
#pragma once

#include <optional>
#include <string_view>

namespace marlowick::platform {

// The line (from 1) of the first "{" or "[" that opens a level beyond `limit`, or none when the
// text stays within it. Brackets inside strings do not count; the text need not be well-formed.
std::optional<int> jsonNestingBeyond(std::string_view text, int limit);

} // namespace marlowick::platform
