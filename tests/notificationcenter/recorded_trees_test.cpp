// Every recorded tree in tests/fixtures/trees/, shown as Notification Center's tree and read by
// Marlowick's own reader. A fixture states what it expects under its "expected" key and what in
// it is inferred under "inferred"; the format ignores both.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "notificationcenter/reader.h"
#include "notificationcenter/tree_file.h"
#include "sim/tree_files.h"

namespace marlowick {
namespace {

namespace fs = std::filesystem;
using platform::Rect;

std::vector<fs::path> fixtures() {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(MARLOWICK_TREE_FIXTURES)) {
        if (entry.path().extension() == ".json") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(RecordedTrees, EveryFixtureReadsAsItsRecordSays) {
    auto paths = fixtures();
    ASSERT_GE(paths.size(), 4u);
    for (const auto& path : paths) {
        SCOPED_TRACE(path.filename().string());
        std::string text = contents(path);
        auto notes = nlohmann::json::parse(text);
        ASSERT_TRUE(notes["inferred"].is_string() && !notes["inferred"].get<std::string>().empty())
            << "a fixture says what in it is inferred";
        const auto& expected = notes["expected"]["rows"];
        ASSERT_TRUE(expected.is_array());

        auto parsed = parseTreeFile(text);
        ASSERT_TRUE(std::holds_alternative<RecordedTree>(parsed)) << std::get<TreeFileError>(parsed).reason;
        auto tree = std::get<RecordedTree>(parsed);
        // What Marlowick writes, it reads back the same.
        auto again = parseTreeFile(writeTreeFile(tree));
        ASSERT_TRUE(std::holds_alternative<RecordedTree>(again));
        EXPECT_EQ(std::get<RecordedTree>(again), tree);

        sim::SimMac mac;
        sim::showRecordedTree(mac, tree);
        double screenHeight = tree.screens.front().height();
        auto rows = sidebarNotifications();
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(i + 1));
            const auto& row = expected[i];
            EXPECT_EQ(rows[i].title, row["title"].get<std::string>());
            EXPECT_EQ(isStack(rows[i].element), row["kind"] == "stack");
            auto frame = row["frame"].get<std::vector<double>>();
            Rect flipped(frame[0], screenHeight - frame[1] - frame[3], frame[2], frame[3]);
            EXPECT_EQ(itemFrame(rows[i].element), flipped);
        }
    }
}

} // namespace
} // namespace marlowick
