// Notification Center presenting a recorded tree: what its elements do, what it keeps across a
// relaunch, and what `nc dump` writes of it.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "sim/sim_mac.h"
#include "sim/tree_files.h"

namespace marlowick::sim {
namespace {

using platform::kAXErrorSuccess;

std::string custom(const std::string& label) {
    return "Name:" + label + "\nTarget:0x0\nSelector:(null)";
}

RecordedElement row(std::string subrole, std::string title, double y) {
    RecordedElement header{.role = "AXStaticText", .identifier = "header", .value = "Mail"};
    RecordedElement text{.role = "AXStaticText", .identifier = "title", .value = title};
    return {.role = "AXGroup",
            .subrole = std::move(subrole),
            .description = "Mail, " + title,
            .position = platform::Point{1100, y},
            .size = platform::Size{344, 70},
            .actions = {"AXPress", custom("Show Details"), custom("Close")},
            .children = {header, text}};
}

RecordedTree recording() {
    RecordedElement clock{.role = "AXMenuBarItem",
                          .subrole = "AXNotificationCenterMenuExtra",
                          .description = "Clock",
                          .actions = {"AXPress"}};
    RecordedElement list{.role = "AXGroup",
                         .identifier = "AXNotificationListItems",
                         .children = {row("AXNotificationCenterAlert", "Lunch", 40),
                                      row("AXNotificationCenterAlertStack", "Invoice", 120),
                                      row("AXNotificationCenterAlert", "Receipt", 210)}};
    RecordedElement menuBar{.role = "AXMenuBar", .children = {clock}};
    RecordedTree tree;
    tree.screens = {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}};
    tree.application = {.role = "AXApplication", .title = "Notification Center", .children = {menuBar, list}};
    return tree;
}

struct RecordedWorld {
    SimMac mac;
    SimNotificationCenter& nc = mac.notificationCenter();

    std::shared_ptr<AXNode> node(const std::vector<std::size_t>& path) {
        auto node = nc.applicationNode();
        for (auto index : path)
            node = node->children().at(index);
        return node;
    }
    platform::AXError perform(const std::vector<std::size_t>& path, const std::string& action) {
        return platform::current().accessibility->performAction(node(path)->element(), action);
    }
    std::vector<std::string> received() const {
        std::vector<std::string> all;
        for (const auto& action : nc.receivedActions())
            all.push_back(action.label + " on " + action.title);
        return all;
    }
};

TEST(RecordedTree, RowsGoWhenPressedOrActedOnAndEveryActionIsRecorded) {
    RecordedWorld world;
    auto modelRoot = world.nc.applicationNode()->children().front();
    showRecordedTree(world.mac, recording());
    EXPECT_FALSE(modelRoot->isAlive()); // the model's elements have gone
    EXPECT_EQ(world.nc.sidebarRows(),
              (std::vector<std::string>{"Mail, Lunch", "Mail, Invoice", "Mail, Receipt"}));

    EXPECT_EQ(world.perform({1, 1}, "AXPress"), kAXErrorSuccess); // a folded stack stays folded
    EXPECT_EQ(world.perform({0, 0}, "AXPress"), kAXErrorSuccess); // the clock is no row
    EXPECT_EQ(world.perform({1, 2}, custom("Close")), kAXErrorSuccess);
    EXPECT_EQ(world.perform({1, 0}, "AXPress"), kAXErrorSuccess);
    EXPECT_EQ(world.perform({1, 0}, "AXShowMenu"), platform::kAXErrorActionUnsupported);
    world.mac.runFor(1);

    EXPECT_EQ(world.nc.sidebarRows(), (std::vector<std::string>{"Mail, Invoice"}));
    EXPECT_EQ(world.received(), (std::vector<std::string>{"AXPress on Invoice", "AXPress on Clock",
                                                          "Close on Receipt", "AXPress on Lunch"}));
    ASSERT_EQ(world.nc.opened().size(), 1u);
    EXPECT_EQ(world.nc.opened().front().title, "Lunch");
    EXPECT_EQ(world.nc.opened().front().app, "Mail");
}

TEST(RecordedTree, ARelaunchPresentsTheRecordingAfresh) {
    RecordedWorld world;
    showRecordedTree(world.mac, recording());
    world.perform({1, 0}, custom("Close"));
    world.mac.runFor(1);
    world.nc.restart();
    EXPECT_EQ(world.nc.sidebarRows().size(), 3u);
    world.nc.quit();
    EXPECT_TRUE(world.nc.sidebarRows().empty());
}

TEST(RecordedTree, TheScreensTurnToTheirBottomLeftOriginAndADumpWritesTheRecordingBack) {
    RecordedWorld world;
    auto tree = recording();
    tree.screens[1] = {1440, -180, 1920, 1080}; // its top edge 180 points above the main screen's
    showRecordedTree(world.mac, tree);
    EXPECT_EQ(world.mac.screens().screenFrames(),
              (std::vector<platform::Rect>{{0, 0, 1440, 900}, {1440, 0, 1920, 1080}}));
    EXPECT_EQ(recordSimulatedTree(world.mac), tree);
}

} // namespace
} // namespace marlowick::sim
