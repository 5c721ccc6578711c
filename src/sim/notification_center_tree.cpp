// The layout of Notification Center's banners and sidebar, and the accessibility tree built from it.
#include <algorithm>
#include <cmath>
#include <map>

#include "sim/notification_center.h"
#include "sim/screens.h"

namespace marlowick::sim {

using platform::AXError;
using platform::kAXErrorSuccess;
using platform::Point;
using platform::Rect;
using platform::Size;

namespace {

constexpr double kScreenWidth = SimScreens::kWidth;
constexpr double kScreenHeight = SimScreens::kHeight;
constexpr double kMenuBarHeight = SimScreens::kMenuBarHeight;

// Banners and the sidebar's rows share one column at the screen's right edge.
constexpr double kColumnWidth = 344;
constexpr double kColumnX = kScreenWidth - 16 - kColumnWidth;
constexpr double kWindowX = kColumnX - 16;
constexpr double kColumnTop = kMenuBarHeight + 10;
constexpr double kGap = 8;
constexpr double kRowHeight = 70;
constexpr double kStackHeight = 82; // a stack shows the edges of the cards below its top one
constexpr double kHeadingHeight = 28;
constexpr double kHistoryButtonHeight = 28;
constexpr double kWidgetHeight = 150;
constexpr double kWidgetEditorButtonTop = kScreenHeight - 40;

// What AXToggleUI answers on macOS 26, though it does toggle.
constexpr AXError kToggleAnswer = platform::kAXErrorAttributeUnsupported;

static_assert(SimNotificationCenter::kMaxVisibleHeight == kWidgetEditorButtonTop - 12 - kColumnTop);

// Keys that hold an application's name carry its length, so that no name can pass for another key.
std::string appKey(std::string_view kind, const std::string& app, std::string_view part) {
    return std::string(kind) + "/" + std::to_string(app.size()) + ":" + app + "/" + std::string(part);
}

std::string rowKey(std::string_view kind, SimNotificationCenter::NotificationId serial) {
    return std::string(kind) + "/" + std::to_string(serial);
}

// A custom action's name as Notification Center lists it: its label, and no target or selector
// that another process could use.
std::string customActionName(const std::string& label) {
    return "Name:" + label + "\nTarget:0x0\nSelector:(null)";
}

} // namespace

std::string SimNotificationCenter::describe(const SimNotification& notification) {
    std::string text = notification.app + ", " + notification.title;
    if (!notification.subtitle.empty()) text += ", " + notification.subtitle;
    if (!notification.body.empty()) text += ", " + notification.body;
    return text;
}

std::string SimNotificationCenter::describeStack(const std::string& app, std::size_t count) {
    return app + ", " + std::to_string(count) + " notifications";
}

std::vector<SimNotificationCenter::Block> SimNotificationCenter::sidebarBlocks() const {
    auto rows = listed();
    std::map<std::string_view, std::vector<const Entry*>> byApp;
    for (const Entry* entry : rows)
        byApp[entry->notification.app].push_back(entry);

    std::vector<Block> blocks;
    double y = 0;
    for (const Entry* entry : rows) {
        auto group = byApp.find(entry->notification.app);
        if (group->second.empty()) continue; // its application is listed already, at its newest
        Block block;
        block.app = entry->notification.app;
        block.entries = std::exchange(group->second, {});
        auto count = static_cast<double>(block.entries.size());
        if (block.entries.size() == 1) {
            block.kind = Block::Kind::Row;
            block.height = kRowHeight;
        } else if (unfolded_.contains(block.app)) {
            block.kind = Block::Kind::Unfolded;
            block.height = kHeadingHeight + count * (kGap + kRowHeight);
        } else {
            block.kind = Block::Kind::Stack;
            block.height = kStackHeight;
        }
        block.top = y;
        y += block.height + kGap;
        blocks.push_back(std::move(block));
    }
    if (std::any_of(entries_.begin(), entries_.end(), [](const Entry& entry) { return entry.hidden; })) {
        Block history;
        history.kind = Block::Kind::HistoryButton;
        history.top = y;
        history.height = kHistoryButtonHeight;
        blocks.push_back(std::move(history));
    }
    return blocks;
}

double SimNotificationCenter::contentHeight(const std::vector<Block>& blocks) {
    return blocks.empty() ? 0 : blocks.back().top + blocks.back().height;
}

std::vector<SimNotificationCenter::Stop>
SimNotificationCenter::scrollStops(const std::vector<Block>& blocks) {
    std::vector<Stop> stops;
    for (const auto& block : blocks) {
        if (block.kind != Block::Kind::Unfolded) {
            stops.push_back({block.top, block.top + block.height});
            continue;
        }
        stops.push_back({block.top, block.top + kHeadingHeight});
        double y = block.top + kHeadingHeight + kGap;
        for (std::size_t i = 0; i < block.entries.size(); ++i, y += kRowHeight + kGap) {
            stops.push_back({y, y + kRowHeight});
        }
    }
    return stops;
}

void SimNotificationCenter::setVisibleHeight(double points) {
    if (!std::isfinite(points)) return;
    visibleHeight_ = std::clamp(points, 1.0, kMaxVisibleHeight);
    refresh();
}

AXError SimNotificationCenter::scrollByPage(int direction) {
    auto blocks = sidebarBlocks();
    double maxOffset = std::max(0.0, contentHeight(blocks) - visibleHeight_);
    double target;
    if (direction > 0) {
        // The first row cut off at the bottom edge comes to the top, so that nothing is skipped.
        double limit = scrollOffset_ + visibleHeight_;
        target = limit;
        for (const Stop& stop : scrollStops(blocks)) {
            if (stop.top > scrollOffset_ && stop.bottom > limit) {
                target = std::min(stop.top, limit);
                break;
            }
        }
    } else {
        // The page above, starting at a row so that none is cut at the top edge.
        double limit = scrollOffset_ - visibleHeight_;
        target = limit;
        for (const Stop& stop : scrollStops(blocks)) {
            if (stop.top >= limit && stop.top < scrollOffset_) {
                target = stop.top;
                break;
            }
        }
    }
    target = std::clamp(target, 0.0, maxOffset);
    if (target != scrollOffset_) {
        scrollOffset_ = target;
        refresh();
    }
    return kAXErrorSuccess;
}

void SimNotificationCenter::refresh() {
    if (state_ != State::Running || !tree_) return;
    double maxOffset = std::max(0.0, contentHeight(sidebarBlocks()) - visibleHeight_);
    scrollOffset_ = std::clamp(scrollOffset_, 0.0, maxOffset);

    auto changes = tree_->apply(describeTree());
    const auto& root = tree_->root();
    bool windowsChanged = false;
    for (const auto& node : changes.destroyed) {
        accessibility_.post(node, "AXUIElementDestroyed");
        windowsChanged |= node->stringValue("AXRole") == "AXWindow";
    }
    for (const auto& node : changes.created) {
        if (node->stringValue("AXRole") != "AXWindow") continue;
        accessibility_.post(node, "AXWindowCreated");
        windowsChanged = true;
    }
    if (windowsChanged) accessibility_.post(root, "AXFocusedWindowChanged");
    accessibility_.post(root, "AXLayoutChanged");
}

AXNodeSpec SimNotificationCenter::element(std::string key, std::string role, Rect frame, bool slides) const {
    AXNodeSpec spec;
    spec.key = std::move(key);
    spec.role = std::move(role);
    if (slides) {
        // The position is read at the moment of the request, mid-slide or not.
        spec.compute("AXPosition",
                     [slide = std::shared_ptr<const Slide>(slide_), loop = &loop_,
                      place = frame.origin]() -> platform::AXValue {
                         return Point{place.x + slide->offsetAt(loop->now()), place.y};
                     });
    } else {
        spec.set("AXPosition", frame.origin);
    }
    spec.set("AXSize", frame.size);
    return spec;
}

AXNodeSpec SimNotificationCenter::describeTree() {
    AXNodeSpec root;
    root.key = "application";
    root.role = "AXApplication";
    root.set("AXTitle", std::string("Notification Center"));
    // It opens and closes the panel all the same, but answers as if it could not.
    root.action("AXToggleUI", [this] {
        toggleSidebar();
        return kToggleAnswer;
    });
    root.children.push_back(describeMenuBar());
    bool banners =
        std::any_of(entries_.begin(), entries_.end(), [](const Entry& entry) { return entry.banner; });
    if (banners || sidebar_ != Sidebar::Closed) root.children.push_back(describeDialog(banners));
    for (int i = 0; i < desktopWidgets_; ++i)
        root.children.push_back(describeDesktopWidget(i));
    return root;
}

AXNodeSpec SimNotificationCenter::describeDialog(bool banners) {

    // One full-screen window holds the banners and the panel alike.
    Rect screen{0, 0, kScreenWidth, kScreenHeight};
    AXNodeSpec window = element("dialog", "AXWindow", screen, false);
    window.announced = true;
    window.set("AXSubrole", std::string("AXSystemDialog")).set("AXTitle", std::string("Notification Center"));
    AXNodeSpec hosting = element("dialog/hosting", "AXGroup", screen, false);
    hosting.set("AXSubrole", std::string("AXHostingView"));
    if (banners) hosting.children.push_back(describeBanners());
    if (sidebar_ != Sidebar::Closed) hosting.children.push_back(describeSidebar());
    window.children.push_back(std::move(hosting));
    return window;
}

// A desktop widget: a window of its own on the desktop, its content in lines of pressable groups
// with texts, like rows without their subrole. Only the window's identifier says what it is.
AXNodeSpec SimNotificationCenter::describeDesktopWidget(int index) const {
    static constexpr std::string_view kKinds[] = {"weather",   "calendar", "clock",
                                                  "reminders", "stocks",   "photos"};
    constexpr int kLines = 7;
    constexpr double kSide = 170;
    std::string kind(kKinds[static_cast<std::size_t>(index) % std::size(kKinds)]);
    std::string key = "desktop-widget/" + std::to_string(index);
    Rect frame{20 + (index % 4) * (kSide + 10), kMenuBarHeight + 20 + (index / 4) * (kSide + 10), kSide,
               kSide};
    AXNodeSpec window = element(key, "AXWindow", frame, false);
    window.set("AXIdentifier", "widget-local:com.apple." + kind + ".widget-" + std::to_string(index));
    AXNodeSpec content = element(key + "/content", "AXGroup", frame, false);
    for (int line = 0; line < kLines; ++line) {
        std::string lineKey = key + "/line/" + std::to_string(line);
        Rect lineFrame{frame.origin.x + 8, frame.origin.y + 8 + line * 22, kSide - 16, 20};
        AXNodeSpec group = element(lineKey, "AXGroup", lineFrame, false);
        group.action("AXPress", [] { return kAXErrorSuccess; });
        for (int part = 0; part < 3; ++part) {
            AXNodeSpec text = element(lineKey + "/" + std::to_string(part), "AXStaticText", lineFrame, false);
            text.set("AXValue", kind + " " + std::to_string(line) + "." + std::to_string(part));
            group.children.push_back(std::move(text));
        }
        content.children.push_back(std::move(group));
    }
    window.children.push_back(std::move(content));
    return window;
}

AXNodeSpec SimNotificationCenter::describeMenuBar() {
    AXNodeSpec bar = element("menu-bar", "AXMenuBar", {0, 0, kScreenWidth, kMenuBarHeight}, false);
    AXNodeSpec controlCenter = element("menu-bar/control-center", "AXMenuBarItem",
                                       {kScreenWidth - 190, 0, 40, kMenuBarHeight}, false);
    controlCenter.set("AXSubrole", std::string("AXMenuExtra"))
        .set("AXDescription", std::string("Control Center"))
        .action("AXPress", [] { return kAXErrorSuccess; });
    // The clock opens and closes the sidebar when clicked. Its subrole names Notification Center and
    // it offers AXPress, as a row does: a reader that searched the menu bar would take it for one.
    AXNodeSpec clock =
        element("menu-bar/clock", "AXMenuBarItem", {kScreenWidth - 140, 0, 130, kMenuBarHeight}, false);
    clock.set("AXSubrole", std::string("AXNotificationCenterMenuExtra"))
        .set("AXDescription", std::string("Clock"))
        .action("AXPress", [this] { return toggleSidebar(); });
    bar.children = {std::move(controlCenter), std::move(clock)};
    return bar;
}

AXNodeSpec SimNotificationCenter::describeBanners() {
    std::vector<const Entry*> shown;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->banner) shown.push_back(&*it);
    }
    Rect frame{kColumnX, kColumnTop, kColumnWidth, static_cast<double>(shown.size()) * (kRowHeight + kGap)};
    AXNodeSpec group = element("banners", "AXGroup", frame, false);
    AXNodeSpec area = element("banners/scroll-area", "AXScrollArea", frame, false);
    std::vector<AXNodeSpec> rows;
    double y = kColumnTop;
    for (const Entry* entry : shown) {
        rows.push_back(describeRow(*entry, rowKey("banner", entry->serial), "AXNotificationCenterBanner",
                                   {kColumnX, y, kColumnWidth, kRowHeight}, false));
        y += kRowHeight + kGap;
    }
    if (rows.size() == 1) {
        // A lone banner hangs straight off the scroll area.
        area.children = std::move(rows);
    } else {
        AXNodeSpec list = element("banners/list", "AXGroup", frame, false);
        list.set("AXIdentifier", std::string("AXNotificationListItems"));
        list.children = std::move(rows);
        area.children.push_back(std::move(list));
    }
    group.children.push_back(std::move(area));
    return group;
}

AXNodeSpec SimNotificationCenter::describeSidebar() {
    static_assert(kSlideDistance == kScreenWidth - kColumnX, "rows slide in from the screen's right edge");
    Rect panelFrame{kWindowX, kMenuBarHeight, kScreenWidth - kWindowX, kScreenHeight - kMenuBarHeight};
    AXNodeSpec panel = element("sidebar", "AXGroup", panelFrame, false);

    std::vector<AXNodeSpec> content;
    double areaHeight = 0;
    if (rowsShown_) {
        auto blocks = sidebarBlocks();
        double visibleBottom = scrollOffset_ + visibleHeight_;
        for (const auto& block : blocks) {
            double bottom = block.top + block.height;
            // A lazy list keeps what lies wholly inside (or, taller than the area, crosses it).
            bool inside = block.top >= scrollOffset_ && bottom <= visibleBottom;
            bool crossing =
                block.height > visibleHeight_ && block.top < visibleBottom && bottom > scrollOffset_;
            if (lazy_ && !inside && !crossing) continue;
            describeBlock(block, kColumnTop + block.top - scrollOffset_, content);
        }
        // The area keeps the gap below its last row, so it never hugs a lone row.
        if (!blocks.empty()) areaHeight = std::min(visibleHeight_, contentHeight(blocks) + kGap);
    }
    Rect areaFrame{kColumnX, kColumnTop, kColumnWidth, areaHeight};
    AXNodeSpec area = element("sidebar/scroll-area", "AXScrollArea", areaFrame, false);
    area.action("AXScrollDownByPage", [this] { return scrollByPage(+1); });
    area.action("AXScrollUpByPage", [this] { return scrollByPage(-1); });
    AXNodeSpec list = element("sidebar/list", "AXGroup", areaFrame, false);
    list.set("AXIdentifier", std::string("AXNotificationListItems"));
    list.children = std::move(content);
    area.children.push_back(std::move(list));
    // Closing takes the editor button away at once; the rows stay while they slide out.
    if (sidebar_ == Sidebar::Open) {
        AXNodeSpec editor = element("sidebar/widget-editor", "AXButton",
                                    {kColumnX + 112, kWidgetEditorButtonTop, 120, 28}, false);
        editor.set("AXIdentifier", std::string("widget-editor-button"))
            .set("AXTitle", strings_.label(NCLabel::EditWidgets))
            .action("AXPress", [] { return kAXErrorSuccess; });
        area.children.push_back(std::move(editor));
    }
    panel.children.push_back(std::move(area));
    if (rowsShown_ && widgets_ > 0) {
        double top = kColumnTop + std::min(visibleHeight_, contentHeight(sidebarBlocks())) + kGap;
        AXNodeSpec widgets = element("sidebar/widgets", "AXGroup",
                                     {kColumnX, top, kColumnWidth, widgets_ * (kWidgetHeight + kGap)}, true);
        describeWidgets(top, widgets.children);
        panel.children.push_back(std::move(widgets));
    }
    return panel;
}

// Widgets are pressable groups with texts, just like a row without its subrole; only their
// identifiers tell them apart.
void SimNotificationCenter::describeWidgets(double top, std::vector<AXNodeSpec>& out) {
    static constexpr std::string_view kNames[] = {"Weather", "Calendar", "Clock", "Reminders",
                                                  "Stocks",  "Battery",  "Notes", "Photos"};
    for (int i = 0; i < widgets_; ++i) {
        std::string name(kNames[static_cast<std::size_t>(i) % std::size(kNames)]);
        std::string key = "widget/" + std::to_string(i);
        Rect frame{kColumnX, top + i * (kWidgetHeight + kGap), kColumnWidth, kWidgetHeight};
        AXNodeSpec widget = element(key, "AXGroup", frame, true);
        widget.set("AXIdentifier", "widget-" + std::to_string(i)).set("AXDescription", name);
        widget.action("AXPress", [] { return kAXErrorSuccess; });
        AXNodeSpec label = element(key + "/name", "AXStaticText",
                                   {frame.origin.x + 14, frame.origin.y + 10, kColumnWidth - 28, 16}, true);
        label.set("AXValue", name);
        AXNodeSpec value = element(key + "/value", "AXStaticText",
                                   {frame.origin.x + 14, frame.origin.y + 30, kColumnWidth - 28, 40}, true);
        value.set("AXValue", std::string("Updated just now"));
        widget.children = {std::move(label), std::move(value)};
        out.push_back(std::move(widget));
    }
}

void SimNotificationCenter::describeBlock(const Block& block, double top, std::vector<AXNodeSpec>& out) {
    switch (block.kind) {
    case Block::Kind::Row:
        out.push_back(describeRow(*block.entries.front(), rowKey("row", block.entries.front()->serial),
                                  "AXNotificationCenterAlert", {kColumnX, top, kColumnWidth, kRowHeight},
                                  true));
        break;
    case Block::Kind::Stack:
        out.push_back(describeStackRow(block, {kColumnX, top, kColumnWidth, kStackHeight}));
        break;
    case Block::Kind::Unfolded: {
        // Flattened into the list: a heading with the application's name, two buttons (fold back,
        // clear), then the rows.
        const std::string& app = block.app;
        AXNodeSpec heading = element(appKey("unfolded", app, "heading"), "AXHeading",
                                     {kColumnX + 4, top, 214, kHeadingHeight}, true);
        heading.set("AXDescription", app);
        AXNodeSpec fold = element(appKey("unfolded", app, "fold"), "AXButton",
                                  {kColumnX + kColumnWidth - 116, top + 2, 84, 24}, true);
        fold.set("AXDescription", strings_.label(NCLabel::ShowLess)).action("AXPress", [this, app] {
            return foldBack(app);
        });
        AXNodeSpec clear = element(appKey("unfolded", app, "clear"), "AXButton",
                                   {kColumnX + kColumnWidth - 26, top + 4, 20, 20}, true);
        clear.set("AXDescription", strings_.label(NCLabel::Clear)).action("AXPress", [this, app] {
            return clearApp(app);
        });
        out.push_back(std::move(heading));
        out.push_back(std::move(fold));
        out.push_back(std::move(clear));
        double y = top + kHeadingHeight + kGap;
        for (const Entry* entry : block.entries) {
            out.push_back(describeRow(*entry, rowKey("row", entry->serial), "AXNotificationCenterAlert",
                                      {kColumnX, y, kColumnWidth, kRowHeight}, true));
            y += kRowHeight + kGap;
        }
        break;
    }
    case Block::Kind::HistoryButton: {
        AXNodeSpec button =
            element("history", "AXButton", {kColumnX, top, kColumnWidth, kHistoryButtonHeight}, true);
        button.set("AXIdentifier", std::string("AXShowHistoryButton"))
            .set("AXDescription", strings_.label(NCLabel::OlderNotifications))
            .action("AXPress", [this] { return revealHistory(); });
        out.push_back(std::move(button));
        break;
    }
    }
}

// A row's texts: the application's name (the "header"), then the title, subtitle and body, each
// only when there is one.
void SimNotificationCenter::addTexts(AXNodeSpec& row, const SimNotification& shown, Rect frame,
                                     bool slides) const {
    double x = frame.origin.x + 14;
    double width = frame.size.width - 28;
    double y = frame.origin.y;
    bool subtitled = !shown.subtitle.empty();
    auto text = [&](std::string_view identifier, const std::string& value, double top, double height) {
        AXNodeSpec spec = element(row.key + "/" + std::string(identifier), "AXStaticText",
                                  {x, y + top, width, height}, slides);
        spec.set("AXIdentifier", std::string(identifier)).set("AXValue", value);
        row.children.push_back(std::move(spec));
    };
    text("header", shown.app, subtitled ? 8 : 10, 14);
    text("title", shown.title, subtitled ? 24 : 28, 16);
    if (subtitled) text("subtitle", shown.subtitle, 40, 14);
    if (!shown.body.empty()) text("body", shown.body, subtitled ? 54 : 48, 14);
}

void SimNotificationCenter::rowAction(AXNodeSpec& row, std::string name, std::string recordedAs,
                                      const std::string& title, std::function<AXError()> work) {
    row.action(std::move(name), [this, recordedAs = std::move(recordedAs), title, work = std::move(work)] {
        recordAction(recordedAs, title);
        return work();
    });
}

void SimNotificationCenter::rowAction(AXNodeSpec& row, NCLabel label, const std::string& title,
                                      std::function<AXError()> work) {
    rowAction(row, customActionName(strings_.label(label)), strings_.label(label), title, std::move(work));
}

AXNodeSpec SimNotificationCenter::describeRow(const Entry& entry, std::string key, std::string_view subrole,
                                              Rect frame, bool slides) {
    const SimNotification& shown = entry.notification;
    AXNodeSpec row = element(std::move(key), "AXGroup", frame, slides);
    row.announced = true;
    row.set("AXSubrole", std::string(subrole)).set("AXDescription", describe(shown));
    if (!shown.id.empty()) row.set("AXIdentifier", shown.id);
    NotificationId serial = entry.serial;
    bool banner = subrole == "AXNotificationCenterBanner";
    auto open = [this, serial, banner] { return banner ? openBanner(serial) : openEntry(serial); };
    rowAction(row, "AXPress", "AXPress", shown.title, open);
    // Reply opens its field and Mark as Read acts in the application: the row stays listed.
    for (const auto& label : shown.actions) {
        rowAction(row, customActionName(label), label, shown.title,
                  [] { return kAXErrorSuccess; });
    }
    rowAction(row, NCLabel::ShowDetails, shown.title, [] { return kAXErrorSuccess; });
    if (shown.closable) {
        rowAction(row, NCLabel::Close, shown.title, [this, serial] { return closeEntries({serial}); });
    }
    rowAction(row, NCLabel::Show, shown.title, open);
    addTexts(row, shown, frame, slides);
    return row;
}

// A folded stack is one row showing its newest notification; it has no close button of its own.
AXNodeSpec SimNotificationCenter::describeStackRow(const Block& block, Rect frame) {
    const std::string& app = block.app;
    const SimNotification& newest = block.entries.front()->notification;
    AXNodeSpec row = element(appKey("stack", app, "row"), "AXGroup", frame, true);
    row.announced = true;
    row.set("AXSubrole", std::string("AXNotificationCenterAlertStack"))
        .set("AXDescription", describe(newest) + ", stacked");
    rowAction(row, "AXPress", "AXPress", newest.title, [this, app] { return unfold(app); });
    rowAction(row, NCLabel::ShowDetails, newest.title, [] { return kAXErrorSuccess; });
    rowAction(row, NCLabel::ClearAll, newest.title, [this, app] { return clearApp(app); });
    rowAction(row, NCLabel::Show, newest.title, [this, app] { return openNewestOf(app); });
    addTexts(row, newest, frame, true);
    return row;
}

} // namespace marlowick::sim
