// Where a value sits in a JSON text: its path of keys and list indices, written out for a reader
// and found again in the text, so that a fault in a well-formed file can still name its line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace marlowick {

// A key of an object, or an index into a list.
using JsonStep = std::variant<std::string, std::size_t>;
using JsonPath = std::vector<JsonStep>;

// "application.children[2].position"; "the file" for the empty path.
std::string describe(const JsonPath& path);

// The offset in `text` (well-formed JSON) where the value at `path` begins, or none when there is
// no such value. Where a key repeats, the first is found.
std::optional<std::size_t> offsetOfPath(std::string_view text, const JsonPath& path);

} // namespace marlowick
