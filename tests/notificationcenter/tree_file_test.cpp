#include "notificationcenter/tree_file.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace marlowick {
namespace {

std::string file(const std::string& application, const std::string& extra = "") {
    return "{\"format\": \"marlowick-ax-tree\", \"version\": 1," + extra +
           "\n\"application\": " + application + "}";
}

TreeFileError refusal(std::string_view text) {
    auto parsed = parseTreeFile(text);
    if (const auto* error = std::get_if<TreeFileError>(&parsed)) return *error;
    ADD_FAILURE() << "accepted: " << text;
    return {};
}

RecordedTree accepted(std::string_view text) {
    auto parsed = parseTreeFile(text);
    if (const auto* tree = std::get_if<RecordedTree>(&parsed)) return *tree;
    const auto& error = std::get<TreeFileError>(parsed);
    ADD_FAILURE() << "refused at line " << error.line << ": " << error.reason;
    return {};
}

TEST(TreeFile, RefusesAMalformedFileWithItsLineAndReason) {
    struct Case {
        std::string text;
        int line;
        std::string reason; // a part of it
    };
    std::string deep = "{}";
    for (int i = 0; i < 65; ++i)
        deep = "{\"children\": [" + deep + "]}";
    std::string bomb(100000, '[');
    std::vector<Case> cases{
        {"{\n\"format\": \"marlowick-ax-tree\",\n\"version\": 1,\n\"application\": {\"role\": }\n}", 4,
         "syntax error"},
        {"", 1, "unexpected end of input"},
        {"[1, 2]", 1, "no JSON object"},
        {"{\"format\": \"other-tree\", \"version\": 1, \"application\": {}}", 1,
         "no \"marlowick-ax-tree\" file"},
        {"{\"version\": 1, \"application\": {}}", 1, "\"format\" is missing"},
        {"{\"format\": \"marlowick-ax-tree\",\n \"version\": 2,\n \"application\": {}}", 2,
         "version 2 is not"},
        {"{\"format\": \"marlowick-ax-tree\", \"version\": 1}", 1, "\"application\" is missing"},
        {file("{\"children\": [\n{},\n{\"position\": \"x\"}]}"), 4,
         "application.children[1].position is not [x, y]"},
        {file("{\n\"size\": [10, -1]}"), 3, "application.size is negative"},
        {file("{\"actions\": [\"AXPress\",\n 7]}"), 3, "application.actions[1] is not a string"},
        {file("{\"role\":\n true}"), 3, "application.role is not a string"},
        {file("{\"position\": [0,\n 1e400]}"), 3, "a number is too large"},
        {"{\"format\": \"" + std::string(38, 'x') + "ää\", \"version\": 1}", 1, "(its \"format\" is \"xx"},
        {file("{\"children\": {}}"), 2, "application.children is not a list"},
        {file("{}", "\n\"screens\": [[0, 0, 0, 900]],"), 2, "screens[0] is not [x, y, width, height]"},
        {file("{}", "\"screens\": [[0, 0, 1512, 982],\n[0, 1e308, 1512, 1e308]],"), 2, "screens[1] is not"},
        {file(deep), 2, "lies deeper than 64 levels"},
        {bomb, 1, "nested deeper than"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        auto error = refusal(c.text);
        EXPECT_EQ(error.line, c.line);
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
        EXPECT_NO_THROW((void)nlohmann::json(error.reason).dump()) << "no UTF-8: " << error.reason;
    }
}

TEST(TreeFile, BoundsTheElementsItReads) {
    std::string children;
    for (std::size_t i = 0; i < kMaxRecordedElements; ++i)
        children += i ? ",{}" : "{}";
    auto error = refusal(file("{\"children\": [" + children + "]}"));
    EXPECT_NE(error.reason.find("one element more than 100000"), std::string::npos) << error.reason;
}

TEST(TreeFile, IgnoresUnknownKeysAndReadsNullAsAbsent) {
    auto tree = accepted(
        file(R"({"role": "AXGroup", "subrole": null, "help": "a note", "frame": [1, 2],
        "position": [1.5, -2], "size": [344, 70], "children": [{"value": "x", "children": null}]})",
             "\"inferred\": \"all of it\", \"screens\": [[0, 0, 1512, 982], [1512, -98, 1920, 1080]],"));
    EXPECT_EQ(tree.screens, (std::vector<platform::Rect>{{0, 0, 1512, 982}, {1512, -98, 1920, 1080}}));
    EXPECT_EQ(tree.application.role, "AXGroup");
    EXPECT_EQ(tree.application.subrole, std::nullopt);
    EXPECT_EQ(tree.application.position, (platform::Point{1.5, -2}));
    ASSERT_EQ(tree.application.children.size(), 1u);
    EXPECT_EQ(tree.application.children[0].value, "x");
    EXPECT_TRUE(tree.application.children[0].children.empty());
}

TEST(TreeFile, WritesWhatItReadsBackAndLeavesOutWhatIsNoNumber) {
    RecordedTree tree;
    tree.screens = {{0, 0, 1512, 982}};
    tree.application.role = "AXApplication";
    RecordedElement row;
    row.subrole = "AXNotificationCenterAlert";
    row.description = "Mail, \"Quoted\", a\nline, tab\t, 🙂";
    row.position = platform::Point{1152.25, 34};
    row.size = platform::Size{344, 70};
    row.actions = {"AXPress", "Name:Close\nTarget:0x0\nSelector:(null)"};
    RecordedElement empty;
    row.children = {empty};
    tree.application.children = {row};
    EXPECT_EQ(std::get<RecordedTree>(parseTreeFile(writeTreeFile(tree))), tree);

    // Another process's values: a NaN frame is left out, bytes that are no UTF-8 become U+FFFD.
    tree.application.position = platform::Point{std::numeric_limits<double>::quiet_NaN(), 0};
    tree.application.value = std::string("a\xff"
                                         "b");
    auto back = std::get<RecordedTree>(parseTreeFile(writeTreeFile(tree)));
    EXPECT_EQ(back.application.position, std::nullopt);
    EXPECT_EQ(back.application.value, "a\xEF\xBF\xBD"
                                      "b");
}

TEST(TreeFile, ReplacesTextsWithPlaceholdersThatKeepTheirShape) {
    auto text = [](std::string identifier, std::string value) {
        RecordedElement element;
        element.role = "AXStaticText";
        element.identifier = std::move(identifier);
        element.value = std::move(value);
        return element;
    };
    RecordedTree tree;
    RecordedElement row;
    row.role = "AXGroup";
    row.subrole = "AXNotificationCenterAlertStack";
    row.title = "Kept title";
    row.description = "Mail, Lunch, Mail, , stacked";
    row.actions = {"Name:Clear All\nTarget:0x0\nSelector:(null)"};
    row.children = {text("header", "Mail"), text("title", "Lunch"), text("body", "")};
    tree.application.children = {row, row};
    replaceTexts(tree);

    const auto& replaced = tree.application.children[0];
    EXPECT_EQ(replaced.children[0].value, "text 1");
    EXPECT_EQ(replaced.children[1].value, "text 2");
    EXPECT_EQ(replaced.children[2].value, "");
    EXPECT_EQ(replaced.description, "text 1, text 2, text 1, , text 3");
    EXPECT_EQ(tree.application.children[1], replaced); // equal texts stay equal
    EXPECT_EQ(replaced.title, "Kept title");
    EXPECT_EQ(replaced.subrole, "AXNotificationCenterAlertStack");
    EXPECT_EQ(replaced.children[1].identifier, "title");
    EXPECT_EQ(replaced.actions, row.actions);
}

} // namespace
} // namespace marlowick
