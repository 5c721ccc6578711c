#include "notificationcenter/tree_file_paths.h"

#include <nlohmann/json.hpp>

namespace marlowick {

namespace {

struct Level {
    bool object = false;
    bool expectsKey = false; // an object waiting for its next key (or its end)
    JsonStep step;           // where the value being read sits within this level
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The offset just past the string that starts at `start` (its opening quote).
std::size_t endOfString(std::string_view text, std::size_t start) {
    for (std::size_t i = start + 1; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            return i + 1;
    }
    return text.size();
}

} // namespace

std::string describe(const JsonPath& path) {
    if (path.empty()) return "the file";
    std::string text;
    for (const auto& step : path) {
        if (const auto* key = std::get_if<std::string>(&step))
            text += (text.empty() ? "" : ".") + *key;
        else
            text += "[" + std::to_string(std::get<std::size_t>(step)) + "]";
    }
    return text;
}

std::optional<std::size_t> offsetOfPath(std::string_view text, const JsonPath& path) {
    std::vector<Level> levels;
    // Whether the value about to begin sits at the path.
    auto onPath = [&] {
        if (levels.size() != path.size()) return false;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (!(levels[i].step == path[i])) return false;
        }
        return true;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (isSpace(c) || c == ':') {
            ++i;
            continue;
        }
        if (c == ',') {
            if (!levels.empty()) {
                if (levels.back().object)
                    levels.back().expectsKey = true;
                else
                    ++std::get<std::size_t>(levels.back().step);
            }
            ++i;
            continue;
        }
        if (c == '}' || c == ']') {
            if (!levels.empty()) levels.pop_back();
            ++i;
            continue;
        }
        if (!levels.empty() && levels.back().expectsKey) {
            std::size_t end = endOfString(text, i);
            auto key = nlohmann::json::parse(text.substr(i, end - i), nullptr, false);
            levels.back().step = key.is_string() ? key.get<std::string>() : std::string();
            levels.back().expectsKey = false;
            i = end;
            continue;
        }
        // A value begins here.
        if (onPath()) return i;
        if (c == '{') {
            levels.push_back({true, true, std::string()});
            ++i;
        } else if (c == '[') {
            levels.push_back({false, false, std::size_t{0}});
            ++i;
        } else if (c == '"') {
            i = endOfString(text, i);
        } else {
            while (i < text.size() && !isSpace(text[i]) && text[i] != ',' && text[i] != ']' && text[i] != '}')
                ++i;
        }
    }
    return std::nullopt;
}

} // namespace marlowick
