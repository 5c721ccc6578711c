#include "platform/json_nesting.h"

namespace marlowick::platform {

std::optional<int> jsonNestingBeyond(std::string_view text, int limit) {
    int depth = 0;
    int line = 1;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (c == '\n') ++line;
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > limit) return line;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return std::nullopt;
}

} // namespace marlowick::platform
