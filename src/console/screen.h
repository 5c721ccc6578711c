// The simulated screen as a person would see it, as a picture and as text: the desktop, the menu bar
// with Marlowick's status item, Notification Center's banners and sidebar cards at the frames its
// accessibility tree reports, the overlay panel, the open status menu and Marlowick's windows.
// It only looks: nothing here sends a request or changes the simulated world.
#pragma once

#include <string>
#include <vector>

#include "platform/geometry.h"
#include "sim/image.h"
#include "sim/sim_mac.h"

namespace marlowick {
class AppDelegate;
}

namespace marlowick::console {

// One card of Notification Center as it stands on screen, top-left-origin frame (as the service
// reports frames).
struct Card {
    enum class Kind { Banner, Row, Stack, Heading, Button };
    Kind kind = Kind::Row;
    platform::Rect frame;
    std::string app;
    std::string title;
    std::string body;
    std::string label; // headings and buttons
};

// The cards in the order the tree lists them (banners, then the sidebar top to bottom).
std::vector<Card> visibleCards(sim::SimMac& mac);

// A picture of the whole screen at the current time, 2 pixels per point.
sim::Image renderScreen(sim::SimMac& mac);

// The same as text: banners, sidebar rows with their badges, the ring, the open menu, windows.
std::string describeScreen(sim::SimMac& mac, AppDelegate* app);

} // namespace marlowick::console
