// Finds the Notification Center process and reads its sidebar and banners into Notification records,
// with the frame drawn round each row. Everything is read live; only the process record is cached.
// Pressing rows and deciding when to read are the controller's.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/accessibility.h"
#include "platform/geometry.h"
#include "platform/workspace.h"

namespace marlowick {

inline constexpr std::string_view kNotificationCenterBundleID = "com.apple.notificationcenterui";

// One notification row as read now; rebuilt on every read.
struct Notification {
    platform::Element element; // the handle that is pressed
    std::optional<std::string> id;
    std::string title; // first visible text, else the description, else "Notification"
    std::string body;  // the further visible texts joined with single spaces
};

// The running Notification Center's process record, or none. The record is kept until its process
// ends or another platform is installed.
std::shared_ptr<const platform::RunningApplication> notificationCenterProcess();
// Its application element, made afresh on every call.
std::optional<platform::Element> notificationCenterApp();

bool sidebarIsOpen(const platform::Element& application);
std::optional<platform::Element> historyButton(const platform::Element& application);
// The rows of the sidebar (or the banners while it is closed), top first; rows without a frame last.
std::vector<Notification> sidebarNotifications();
// One row's record, read afresh.
Notification readNotification(const platform::Element& row);
// The frame badges and the selection ring are drawn round, bottom-left origin.
std::optional<platform::Rect> itemFrame(const platform::Element& element);
// The same for several rows in one pass: a parent that several rows share is read once.
std::vector<std::optional<platform::Rect>> itemFrames(std::span<const platform::Element> elements);
// Scrolls the enclosing scroll area by pages, at most five, until the row's frame lies inside it.
void scrollIntoView(const platform::Element& element);
// A folded stack of several notifications of one application.
bool isStack(const platform::Element& element);
// The application named by a stack's description: the part before the first ", ".
std::optional<std::string> stackAppName(const platform::Element& element);

} // namespace marlowick
