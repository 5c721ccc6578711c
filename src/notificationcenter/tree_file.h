// A recorded accessibility tree and its file: JSON of the form
//   {"format": "marlowick-ax-tree", "version": 1, "screens": [[x, y, width, height], ...],
//    "application": ELEMENT}
// where ELEMENT holds "role", "subrole", "identifier", "title", "description", "value",
// "position": [x, y], "size": [width, height], "actions": [...] and "children": [ELEMENT, ...].
// Every key is optional and null reads as absent; unknown keys are ignored (fixtures keep their
// notes there). Coordinates are the accessibility service's own: top-left origin, y downwards.
// Reading is bounded (size, nesting, depth, elements) and a refused file gets its line and reason.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/geometry.h"

namespace marlowick {

inline constexpr std::string_view kTreeFileFormat = "marlowick-ax-tree";
inline constexpr int kTreeFileVersion = 1;
// A real Notification Center is a few thousand elements a dozen levels deep.
inline constexpr int kMaxRecordedDepth = 64; // the application is at depth 0
inline constexpr std::size_t kMaxRecordedElements = 100000;
inline constexpr std::size_t kMaxRecordedScreens = 16;
inline constexpr std::size_t kMaxTreeFileSize = 64u << 20;

struct RecordedElement {
    std::optional<std::string> role = {};
    std::optional<std::string> subrole = {};
    std::optional<std::string> identifier = {};
    std::optional<std::string> title = {};
    std::optional<std::string> description = {};
    std::optional<std::string> value = {};
    std::optional<platform::Point> position = {}; // top-left origin
    std::optional<platform::Size> size = {};
    std::vector<std::string> actions = {};
    std::vector<RecordedElement> children = {};

    friend bool operator==(const RecordedElement&, const RecordedElement&) = default;
};

// The texts an element records, in the file's order: each one's key in the file and the
// accessibility attribute it is read from and shown as.
struct RecordedText {
    const char* key;
    std::string_view attribute;
    std::optional<std::string> RecordedElement::*field;
};
inline constexpr std::array<RecordedText, 6> kRecordedTexts{{
    {"role", "AXRole", &RecordedElement::role},
    {"subrole", "AXSubrole", &RecordedElement::subrole},
    {"identifier", "AXIdentifier", &RecordedElement::identifier},
    {"title", "AXTitle", &RecordedElement::title},
    {"description", "AXDescription", &RecordedElement::description},
    {"value", "AXValue", &RecordedElement::value},
}};

struct RecordedTree {
    std::vector<platform::Rect> screens; // top-left origin; the first is the main screen
    RecordedElement application;

    friend bool operator==(const RecordedTree&, const RecordedTree&) = default;
};

struct TreeFileError {
    int line = 0; // 0 when the fault has no single line (the file as a whole)
    std::string reason;
};

// The tree in the file, or why it is refused.
std::variant<RecordedTree, TreeFileError> parseTreeFile(std::string_view text);

// The file's text. Elements are written in the order of the keys above, absent keys left out, so
// that a recording reads the same from one run to the next.
std::string writeTreeFile(const RecordedTree& tree);

// Every "value" and "description" replaced by a placeholder, "text 1", "text 2", … numbered by
// first appearance, so that equal texts stay equal and distinct ones distinct. A description is
// replaced part by part between its ", " separators, so "App, Title, Body" keeps its shape and each
// part the placeholder of the row's own text. Empty texts stay empty. Roles, subroles,
// identifiers, titles and action names are kept.
void replaceTexts(RecordedTree& tree);

// How many elements the tree holds.
std::size_t elementCount(const RecordedElement& element);

} // namespace marlowick
