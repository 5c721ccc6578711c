#include "sim/tree_files.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace marlowick::sim {

namespace {

std::optional<std::string> stringOf(const AXNode& node, std::string_view name) {
    auto value = node.read(name);
    const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

template <typename T> std::optional<T> geometryOf(const AXNode& node, std::string_view name) {
    auto value = node.read(name);
    const auto* geometry = value ? std::get_if<T>(&*value) : nullptr;
    return geometry ? std::optional<T>(*geometry) : std::nullopt;
}

void record(const AXNode& node, int depth, std::size_t& elements, RecordedElement& out) {
    ++elements;
    for (const auto& recorded : kRecordedTexts)
        out.*recorded.field = stringOf(node, recorded.attribute);
    out.position = geometryOf<platform::Point>(node, "AXPosition");
    out.size = geometryOf<platform::Size>(node, "AXSize");
    out.actions = node.actionNames();
    if (depth >= kMaxRecordedDepth) return;
    for (const auto& child : node.children()) {
        if (elements >= kMaxRecordedElements) return;
        out.children.emplace_back();
        record(*child, depth + 1, elements, out.children.back());
    }
}

} // namespace

std::variant<RecordedTree, TreeFileError> readTreeFile(const std::string& path) {
    std::error_code code;
    auto size = std::filesystem::file_size(path, code);
    if (code) return TreeFileError{0, "cannot read " + path + ": " + code.message()};
    if (size > kMaxTreeFileSize)
        return TreeFileError{0, path + " is larger than " + std::to_string(kMaxTreeFileSize >> 20) + " MiB"};
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) return TreeFileError{0, "cannot read " + path};
    return parseTreeFile(text.str());
}

std::optional<std::string> writeTreeFile(const std::string& path, const RecordedTree& tree) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << marlowick::writeTreeFile(tree);
    file.close();
    if (!file) return "cannot write " + path;
    return std::nullopt;
}

void showRecordedTree(SimMac& mac, RecordedTree tree) {
    if (!tree.screens.empty()) {
        double mainHeight = tree.screens.front().height();
        std::vector<platform::Rect> frames;
        for (const auto& screen : tree.screens)
            frames.emplace_back(screen.minX(), mainHeight - screen.maxY(), screen.width(), screen.height());
        mac.screens().setScreenFrames(frames);
    }
    mac.notificationCenter().showRecordedTree(std::move(tree.application));
}

RecordedTree recordSimulatedTree(SimMac& mac) {
    RecordedTree tree;
    auto frames = mac.screens().screenFrames();
    double mainHeight = frames.empty() ? 0 : frames.front().height();
    for (const auto& frame : frames)
        tree.screens.emplace_back(frame.minX(), mainHeight - frame.maxY(), frame.width(), frame.height());
    if (const auto& root = mac.notificationCenter().applicationNode()) {
        std::size_t elements = 0;
        record(*root, 0, elements, tree.application);
    } else {
        tree.application.role = "AXApplication";
    }
    return tree;
}

} // namespace marlowick::sim
