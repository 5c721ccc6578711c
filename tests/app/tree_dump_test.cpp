#include "app/tree_dump.h"

#include <cmath>
#include <filesystem>
#include <limits>

#include <gtest/gtest.h>

#include "app_world.h"
#include "notificationcenter/tree_file.h"
#include "sim/tree_files.h"

namespace marlowick {
namespace {

using testing::AppWorld;

struct DumpWorld : AppWorld {
    using AppWorld::AppWorld;

    std::string path(const std::string& name) const { return mac.home() + "/" + name; }
    std::optional<int> dump(std::vector<std::string> arguments) {
        mac.process().setArguments(std::move(arguments));
        launch();
        return mac.application().exitStatus();
    }
    RecordedTree read(const std::string& name) const {
        auto parsed = sim::readTreeFile(path(name));
        if (auto* error = std::get_if<TreeFileError>(&parsed)) ADD_FAILURE() << error->reason;
        return std::get<RecordedTree>(parsed);
    }
};

const RecordedElement* findTitle(const RecordedElement& element, std::string_view value) {
    if (element.value == value) return &element;
    for (const auto& child : element.children) {
        if (const auto* found = findTitle(child, value)) return found;
    }
    return nullptr;
}

TEST(TreeDump, WritesTheLiveTreeAndQuitsDoingNothingElse) {
    DumpWorld world;
    world.mac.notificationCenter().post({.app = "Mail", .title = "Lunch", .body = "At noon, \"the river\""});
    world.mac.notificationCenter().post({.app = "Messages", .title = "Ana", .body = "Late"});
    world.mac.notificationCenter().openSidebar();
    world.mac.runFor(1);

    EXPECT_EQ(world.dump({"--keep-texts", "--dump-tree", "~/kept.json"}), 0);
    EXPECT_EQ(world.app->statusItem(), nullptr);
    EXPECT_EQ(world.read("kept.json"), sim::recordSimulatedTree(world.mac));
    EXPECT_EQ(
        world.countStartingWith("Wrote Notification Center's tree to " + world.path("kept.json") + ": "), 1);

    world.mac.application().relaunch();
    EXPECT_EQ(world.dump({"--dump-tree", world.path("replaced.json")}), 0);
    auto replaced = world.read("replaced.json");
    EXPECT_EQ(findTitle(replaced.application, "Lunch"), nullptr);
    auto kept = world.read("kept.json");
    replaceTexts(kept);
    EXPECT_EQ(replaced, kept);
    EXPECT_EQ(world.countStartingWith("Wrote Notification Center's tree to "), 2);
}

TEST(TreeDump, FailsCleanlyWithItsReason) {
    struct Case {
        std::string name;
        std::function<void(DumpWorld&)> arrange;
        std::vector<std::string> arguments;
        int status;
        std::string line;
    };
    std::vector<Case> cases{
        {"no file", [](DumpWorld&) {}, {"--dump-tree"}, 2, "--dump-tree needs the file to write"},
        {"a flag for a file",
         [](DumpWorld&) {},
         {"--dump-tree", "--keep-texts", "~/t.json"},
         2,
         "--dump-tree needs the file to write"},
        {"no permission",
         [](DumpWorld& w) { w.mac.accessibility().setTrusted(false); },
         {"--dump-tree", "~/t.json"},
         1,
         "Cannot record Notification Center's tree: the Accessibility permission is missing"},
        {"stale permission",
         [](DumpWorld& w) { w.mac.accessibility().setPermissionStale(); },
         {"--dump-tree", "~/t.json"},
         1,
         "Cannot record Notification Center's tree: the Accessibility permission is missing (reads are "
         "refused)"},
        {"not running",
         [](DumpWorld& w) { w.mac.notificationCenter().quit(); },
         {"--dump-tree", "~/t.json"},
         1,
         "Cannot record Notification Center's tree: Notification Center is not running"},
        {"hung",
         [](DumpWorld& w) { w.mac.notificationCenter().hang(); },
         {"--dump-tree", "~/t.json"},
         1,
         "Cannot record Notification Center's tree: Notification Center does not answer"},
        {"stops answering during the walk",
         [](DumpWorld& w) {
             RecordedElement application;
             application.children.resize(50);
             auto& center = w.mac.notificationCenter();
             center.showRecordedTree(application);
             center.applicationNode()->children()[0]->compute("AXRole", [&center] {
                 center.hang();
                 return platform::AXValue(std::string("AXWindow"));
             });
         },
         {"--dump-tree", "~/t.json"},
         1,
         "Cannot record Notification Center's tree: Notification Center does not answer"},
        {"unwritable",
         [](DumpWorld& w) { w.mac.files().makeReadOnly(w.mac.home() + "/locked"); },
         {"--dump-tree", "~/locked/t.json"},
         1,
         "Cannot record Notification Center's tree: cannot write "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DumpWorld world;
        std::filesystem::create_directory(world.path("locked"));
        c.arrange(world);
        EXPECT_EQ(world.dump(c.arguments), c.status);
        EXPECT_EQ(world.countStartingWith(c.line), 1);
        EXPECT_FALSE(std::filesystem::exists(world.path("t.json")));
        EXPECT_FALSE(std::filesystem::exists(world.path("locked/t.json")));
    }
}

TEST(TreeDump, StopsAtItsBoundsAndLeavesOutFramesThatAreNoNumbers) {
    DumpWorld world;
    // A tree deeper than a recording holds, as an odd process could present.
    RecordedElement deepest;
    deepest.role = "AXStaticText";
    RecordedElement application = deepest;
    for (int level = 0; level < kMaxRecordedDepth + 5; ++level) {
        RecordedElement group;
        group.role = "AXGroup";
        group.children = {std::move(application)};
        application = std::move(group);
    }
    // Another process's numbers: a frame that is no number is left out, not written as one.
    application.position = platform::Point{std::nan(""), 5};
    application.size = platform::Size{10, std::numeric_limits<double>::infinity()};
    world.mac.notificationCenter().showRecordedTree(application);
    EXPECT_EQ(world.dump({"--dump-tree", "~/deep.json"}), 0);
    EXPECT_EQ(world.countStartingWith("Notification Center's tree is larger than a recording holds"), 1);
    auto recorded = world.read("deep.json").application;
    EXPECT_EQ(elementCount(recorded), static_cast<std::size_t>(kMaxRecordedDepth) + 1);
    EXPECT_EQ(recorded.position, std::nullopt);
    EXPECT_EQ(recorded.size, std::nullopt);
}

} // namespace
} // namespace marlowick
