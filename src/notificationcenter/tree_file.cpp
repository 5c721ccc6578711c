#include "notificationcenter/tree_file.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <nlohmann/json.hpp>

#include "notificationcenter/tree_file_paths.h"
#include "platform/json_nesting.h"

namespace marlowick {

using nlohmann::json;

namespace {

// Room for an element at the deepest level: the file's object, then an object and a "children"
// array per level, and its position array.
constexpr int kMaxNesting = 2 * kMaxRecordedDepth + 8;

// Far beyond any display arrangement. A screen past it puts every frame turned by it out of reach,
// and its far edge, or the turn from the file's top-left origin, can overflow to infinity.
constexpr double kMaxScreenCoordinate = 1e6;

int lineAt(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(
                   std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// nlohmann's message without its tag, position and the bytes it last read (which are the file's).
std::string syntaxReason(const json::parse_error& error) {
    std::string what = error.what();
    auto column = what.find("column ");
    auto start = what.find(": ", column == std::string::npos ? 0 : column);
    std::string reason = start == std::string::npos ? what : what.substr(start + 2);
    if (auto lastRead = reason.find("; last read"); lastRead != std::string::npos) reason.resize(lastRead);
    return reason;
}

// Where and why nlohmann refuses a text. A number too large for a double is reported by an
// exception that is no parse error and carries no position, so the fault is found through the
// reader's events rather than caught.
class SyntaxFault final : public json::json_sax_t {
public:
    std::size_t byte = 0; // 1-based: the last byte read
    std::string reason;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t position, const std::string&, const json::exception& error) override {
        byte = position;
        const auto* syntax = dynamic_cast<const json::parse_error*>(&error);
        reason = syntax ? syntaxReason(*syntax) : "a number is too large";
        return false;
    }
};

// A semantic fault found while turning the parsed JSON into a tree: where it is and what it is.
struct Fault {
    JsonPath path;
    std::string reason;
};

class Converter {
public:
    std::optional<Fault> fault;

    std::optional<std::string> text(const json& object, const char* key, JsonPath& path) {
        auto it = object.find(key);
        if (it == object.end() || it->is_null()) return std::nullopt;
        if (it->is_string()) return it->get<std::string>();
        fail(path, key, "is not a string");
        return std::nullopt;
    }

    // [a, b] of finite numbers, or none.
    std::optional<std::pair<double, double>> pair(const json& object, const char* key, JsonPath& path) {
        auto it = object.find(key);
        if (it == object.end() || it->is_null()) return std::nullopt;
        auto numbers = finiteNumbers(*it, 2);
        if (numbers) return std::pair{(*numbers)[0], (*numbers)[1]};
        fail(path, key, "is not [x, y] (two finite numbers)");
        return std::nullopt;
    }

    static std::optional<std::vector<double>> finiteNumbers(const json& value, std::size_t count) {
        if (!value.is_array() || value.size() != count) return std::nullopt;
        std::vector<double> numbers;
        for (const auto& item : value) {
            if (!item.is_number()) return std::nullopt;
            double number = item.get<double>();
            if (!std::isfinite(number)) return std::nullopt;
            numbers.push_back(number);
        }
        return numbers;
    }

    bool element(const json& value, JsonPath& path, int depth, RecordedElement& out) {
        if (!value.is_object()) return fail(path, "is not an object (an element)");
        if (depth > kMaxRecordedDepth)
            return fail(path, "lies deeper than " + std::to_string(kMaxRecordedDepth) + " levels");
        if (++elements_ > kMaxRecordedElements)
            return fail(path, "is one element more than " + std::to_string(kMaxRecordedElements));
        for (const auto& recorded : kRecordedTexts)
            out.*recorded.field = text(value, recorded.key, path);
        if (auto position = pair(value, "position", path)) out.position = {position->first, position->second};
        if (auto size = pair(value, "size", path)) {
            if (size->first < 0 || size->second < 0) return fail(path, "size", "is negative");
            out.size = {size->first, size->second};
        }
        if (fault) return false;
        if (auto actions = value.find("actions"); actions != value.end() && !actions->is_null()) {
            if (!actions->is_array()) return fail(path, "actions", "is not a list of names");
            path.push_back("actions");
            for (std::size_t i = 0; i < actions->size(); ++i) {
                const auto& name = (*actions)[i];
                path.push_back(i);
                if (!name.is_string()) return fail(path, "is not a string (an action's name)");
                path.pop_back();
                out.actions.push_back(name.get<std::string>());
            }
            path.pop_back();
        }
        if (auto children = value.find("children"); children != value.end() && !children->is_null()) {
            if (!children->is_array()) return fail(path, "children", "is not a list of elements");
            path.push_back("children");
            out.children.resize(children->size());
            for (std::size_t i = 0; i < children->size(); ++i) {
                path.push_back(i);
                if (!element((*children)[i], path, depth + 1, out.children[i])) return false;
                path.pop_back();
            }
            path.pop_back();
        }
        return true;
    }

    bool fail(const JsonPath& path, std::string reason) {
        if (!fault) fault = Fault{path, describe(path) + " " + std::move(reason)};
        return false;
    }
    bool fail(JsonPath& path, const char* key, std::string reason) {
        path.push_back(std::string(key));
        fail(path, std::move(reason));
        path.pop_back();
        return false;
    }

private:
    std::size_t elements_ = 0;
};

// A value of the file in a message, cut short: it may be anything.
std::string shown(const json& value) {
    std::string text = value.dump(-1, ' ', false, json::error_handler_t::replace);
    if (text.size() <= 40) return text;
    std::size_t cut = 40;
    while ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) // not within a character
        --cut;
    return text.substr(0, cut) + "…";
}

std::optional<Fault> readHeader(const json& file, Converter& converter, RecordedTree& tree) {
    JsonPath path;
    std::string expected = "\"" + std::string(kTreeFileFormat) + "\"";
    auto format = file.find("format");
    if (format == file.end()) return Fault{path, "\"format\" is missing: this is no " + expected + " file"};
    if (!format->is_string() || format->get<std::string>() != kTreeFileFormat)
        return Fault{{"format"},
                     "this is no " + expected + " file (its \"format\" is " + shown(*format) + ")"};
    auto version = file.find("version");
    if (version == file.end()) return Fault{path, "\"version\" is missing"};
    path.push_back("version");
    if (!version->is_number_integer() || version->get<std::int64_t>() != kTreeFileVersion)
        return Fault{path, "version " + shown(*version) + " is not one this reads (version " +
                               std::to_string(kTreeFileVersion) + ")"};
    path.pop_back();
    if (auto screens = file.find("screens"); screens != file.end() && !screens->is_null()) {
        path.push_back("screens");
        if (!screens->is_array()) return Fault{path, "\"screens\" is not a list"};
        if (screens->size() > kMaxRecordedScreens)
            return Fault{path, "\"screens\" lists more than " + std::to_string(kMaxRecordedScreens)};
        for (std::size_t i = 0; i < screens->size(); ++i) {
            path.push_back(i);
            auto numbers = Converter::finiteNumbers((*screens)[i], 4);
            auto plausible = [](double number) { return std::fabs(number) <= kMaxScreenCoordinate; };
            if (!numbers || (*numbers)[2] <= 0 || (*numbers)[3] <= 0 ||
                !std::all_of(numbers->begin(), numbers->end(), plausible))
                return Fault{path, describe(path) +
                                       " is not [x, y, width, height] with a positive size, each within " +
                                       std::to_string(static_cast<int>(kMaxScreenCoordinate))};
            tree.screens.emplace_back((*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]);
            path.pop_back();
        }
        path.pop_back();
    }
    auto application = file.find("application");
    if (application == file.end()) return Fault{path, "\"application\" is missing"};
    path.push_back("application");
    if (!converter.element(*application, path, 0, tree.application)) return converter.fault;
    return std::nullopt;
}

// Writing

std::string number(double value) {
    if (std::fabs(value) < 1e15 && value == std::floor(value))
        return std::to_string(static_cast<long long>(value));
    return json(value).dump();
}

std::string quoted(const std::string& text) {
    // Texts from another process need not be UTF-8; a malformed byte is written as U+FFFD.
    return json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

void writeElement(const RecordedElement& element, int indent, std::string& out) {
    std::string pad(static_cast<std::size_t>(indent + 2), ' ');
    std::vector<std::string> fields;
    auto textField = [&](const char* key, const std::optional<std::string>& value) {
        if (value) fields.push_back(pad + "\"" + key + "\": " + quoted(*value));
    };
    for (const auto& recorded : kRecordedTexts)
        textField(recorded.key, element.*recorded.field);
    if (element.position && finite(element.position->x, element.position->y))
        fields.push_back(pad + "\"position\": [" + number(element.position->x) + ", " +
                         number(element.position->y) + "]");
    if (element.size && finite(element.size->width, element.size->height))
        fields.push_back(pad + "\"size\": [" + number(element.size->width) + ", " +
                         number(element.size->height) + "]");
    if (!element.actions.empty()) {
        std::string actions = pad + "\"actions\": [";
        for (std::size_t i = 0; i < element.actions.size(); ++i)
            actions += (i ? ", " : "") + quoted(element.actions[i]);
        fields.push_back(actions + "]");
    }
    if (!element.children.empty()) {
        std::string children = pad + "\"children\": [\n";
        for (std::size_t i = 0; i < element.children.size(); ++i) {
            children += pad + "  ";
            writeElement(element.children[i], indent + 4, children);
            children += i + 1 < element.children.size() ? ",\n" : "\n";
        }
        fields.push_back(children + pad + "]");
    }
    out += "{";
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? ",\n" : "\n") + fields[i];
    out += fields.empty() ? "}" : "\n" + std::string(static_cast<std::size_t>(indent), ' ') + "}";
}

// Replacing texts

class Placeholders {
public:
    std::string operator()(const std::string& text) {
        if (text.empty()) return text;
        auto [it, added] = numbers_.try_emplace(text, numbers_.size() + 1);
        return "text " + std::to_string(it->second);
    }

    std::string description(const std::string& text) {
        std::string result;
        std::size_t start = 0;
        while (true) {
            auto end = text.find(", ", start);
            result += (*this)(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) return result;
            result += ", ";
            start = end + 2;
        }
    }

private:
    std::map<std::string, std::size_t> numbers_;
};

void replaceValues(RecordedElement& element, Placeholders& placeholders) {
    if (element.value) element.value = placeholders(*element.value);
    for (auto& child : element.children)
        replaceValues(child, placeholders);
}

void replaceDescriptions(RecordedElement& element, Placeholders& placeholders) {
    if (element.description) element.description = placeholders.description(*element.description);
    for (auto& child : element.children)
        replaceDescriptions(child, placeholders);
}

} // namespace

std::variant<RecordedTree, TreeFileError> parseTreeFile(std::string_view text) {
    if (text.size() > kMaxTreeFileSize)
        return TreeFileError{0, "the file is larger than " + std::to_string(kMaxTreeFileSize >> 20) + " MiB"};
    if (auto line = platform::jsonNestingBeyond(text, kMaxNesting))
        return TreeFileError{*line, "nested deeper than " + std::to_string(kMaxNesting) + " levels"};
    json file = json::parse(text.begin(), text.end(), nullptr, false);
    if (file.is_discarded()) {
        SyntaxFault fault;
        json::sax_parse(text.begin(), text.end(), &fault);
        return TreeFileError{lineAt(text, fault.byte == 0 ? 0 : fault.byte - 1), fault.reason};
    }
    if (!file.is_object()) return TreeFileError{1, "the file holds no JSON object"};
    RecordedTree tree;
    Converter converter;
    if (auto fault = readHeader(file, converter, tree)) {
        auto offset = offsetOfPath(text, fault->path);
        return TreeFileError{offset ? lineAt(text, *offset) : 0, fault->reason};
    }
    return tree;
}

std::string writeTreeFile(const RecordedTree& tree) {
    std::string out = "{\n  \"format\": " + quoted(std::string(kTreeFileFormat)) +
                      ",\n  \"version\": " + std::to_string(kTreeFileVersion) + ",\n  \"screens\": [";
    for (std::size_t i = 0; i < tree.screens.size(); ++i) {
        const auto& screen = tree.screens[i];
        out += (i ? ", [" : "[") + number(screen.minX()) + ", " + number(screen.minY()) + ", " +
               number(screen.width()) + ", " + number(screen.height()) + "]";
    }
    out += "],\n  \"application\": ";
    writeElement(tree.application, 2, out);
    out += "\n}\n";
    return out;
}

void replaceTexts(RecordedTree& tree) {
    // Values first, so that a description's part gets the number of the text it repeats.
    Placeholders placeholders;
    replaceValues(tree.application, placeholders);
    replaceDescriptions(tree.application, placeholders);
}

std::size_t elementCount(const RecordedElement& element) {
    std::size_t count = 1;
    for (const auto& child : element.children)
        count += elementCount(child);
    return count;
}

} // namespace marlowick
