// Desktop widgets are windows of Notification Center's own process, a dozen on a typical Mac: the
// walks that look for rows, the open panel and the history button must not pay for them.
#include <gtest/gtest.h>

#include "notificationcenter/ax.h"
#include "notificationcenter/reader.h"
#include "sim/sim_mac.h"

namespace marlowick {
namespace {

// The requests one read of the rows and one open-panel test cost, once every widget has been seen.
std::uint64_t requestsOfAWalk(int desktopWidgets, int panelWidgets) {
    sim::SimMac mac;
    auto& center = mac.notificationCenter();
    center.setDesktopWidgets(desktopWidgets);
    center.setWidgets(panelWidgets);
    for (int i = 0; i < 5; ++i)
        center.post({.app = "App " + std::to_string(i), .title = "Title " + std::to_string(i)});
    center.openSidebar();
    mac.runFor(0.5);
    auto application = notificationCenterApp();
    EXPECT_EQ(sidebarNotifications().size(), 5u);
    EXPECT_TRUE(sidebarIsOpen(*application));
    EXPECT_TRUE(historyButton(*application) == std::nullopt);
    mac.accessibility().resetRequestCount();
    EXPECT_EQ(sidebarNotifications().size(), 5u);
    EXPECT_TRUE(sidebarIsOpen(*application));
    return mac.accessibility().requestCount();
}

TEST(DesktopWidgets, WalksTestButNeverEnterThemAndPassKnownOnesByWithoutARequest) {
    EXPECT_EQ(requestsOfAWalk(12, 0), requestsOfAWalk(0, 0));
    EXPECT_EQ(requestsOfAWalk(12, 4), requestsOfAWalk(0, 4));

    // Their lines are pressable groups with texts: taken for rows, were they entered.
    sim::SimMac mac;
    mac.notificationCenter().setDesktopWidgets(12);
    EXPECT_TRUE(sidebarNotifications().empty());
    mac.notificationCenter().openSidebar();
    mac.runFor(0.5);
    EXPECT_TRUE(sidebarIsOpen(*notificationCenterApp()))
        << "the marker is a widget-… leaf, tested all the same";
    EXPECT_TRUE(sidebarNotifications().empty());
}

} // namespace
} // namespace marlowick
