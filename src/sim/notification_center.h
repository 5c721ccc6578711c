// The simulated Notification Center process: the notifications it holds, its banners and sidebar,
// and the accessibility tree it presents from them. Tests post notifications and act as the user
// here; the product meets it only through the accessibility service and the workspace.
// Models: macOS 26's shape: one full-screen "AXSystemDialog" window holding banners and the panel
// (hosting view, group, scroll area, "AXNotificationListItems", a lone banner straight under its
// scroll area), rows with "title", "subtitle" and "body" texts and no close button, AXToggleUI that
// toggles yet answers -25205; every label in the language chosen (13 shipped, or a custom one) and
// a strings table to match; a new pid per launch; running, hung, quit or crashed (requests fail at
// once, the workspace notices 0.2 s later and the system relaunches it after 1 s); banners for 5 s,
// newest on top, hidden when the sidebar opens (a press on one whose time is up fails: it has left
// the screen, even if a request was under way); notifications shown only as banners; rows without
// "Close"; the sidebar opened and closed by AXToggleUI or by hand (rows 0.1 s after it opens, sliding
// in and out over 0.3 s, the "widget-editor-button" only while open); stacks per application,
// unfolded 0.2 s after a press into a heading, "Show Less", "Clear" and the rows, folded back or
// cleared from there (a folded stack offers "Clear All", not "Close"); widgets below the
// notifications; older notifications behind the history button; a scroll area paged by its visible
// height; the custom actions an application gives its notifications (recorded, nothing removed) and Show
// Details, Show, Close and Clear All, removals 0.15 s after a close,
// a record of every action a row received; accessibility notifications for every change. Not
// modelled: alerts that wait for a click, threads within an application, focus modes, what a widget
// shows, sounds, the banners' own slide-in, time stamps.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "notificationcenter/tree_file.h"
#include "platform/accessibility.h"
#include "platform/geometry.h"
#include "sim/accessibility.h"
#include "sim/ax_reconciler.h"
#include "sim/notification_center_strings.h"
#include "sim/run_loop.h"
#include "sim/workspace.h"

namespace marlowick::sim {

// One notification as an application posts it. Texts are kept exactly as given, however long or
// odd; they are another application's and the model never interprets them.
struct SimNotification {
    std::string app = {};
    std::string title = {};
    std::string body = {};
    std::string subtitle = {}; // shown between the title and the body; none when empty
    std::string id = {};       // the row's "AXIdentifier"; none when empty
    bool older = false;        // from before: listed only once the history button has been pressed
    // The application's "Show in Notification Center": when false it shows only as its banner.
    bool keptInSidebar = true;
    // Offers "Close" (and goes with its stack's "Clear All"); some applications keep theirs until
    // they are opened.
    bool closable = true;
    // The application's own actions ("Reply", "Mark as Read"), in its words: Notification Center
    // lists them on the row before its own and does nothing with them but pass them on.
    std::vector<std::string> actions = {};

    friend bool operator==(const SimNotification&, const SimNotification&) = default;
};

class SimNotificationCenter {
public:
    static constexpr std::string_view kBundleIdentifier = "com.apple.notificationcenterui";

    static constexpr double kBannerDuration = 5.0;
    static constexpr double kRowsAppearDelay = 0.1;
    static constexpr double kSlideDuration = 0.3;
    static constexpr double kUnfoldDelay = 0.2;
    static constexpr double kHistoryRevealDelay = 0.2;
    static constexpr double kRemovalDelay = 0.15;
    static constexpr double kCrashNoticedDelay = 0.2;
    static constexpr double kRelaunchAfterCrash = 1.0;
    static constexpr int kMaxWidgets = 12;
    // The scroll area's height when nothing limits it: from below the menu bar to above the
    // "widget-editor-button".
    static constexpr double kMaxVisibleHeight = 896;

    enum class State { Running, Hung, Quit };
    using NotificationId = std::uint64_t;

    // Builds the model with the process not running; launch() starts it.
    SimNotificationCenter(SimRunLoop& loop, SimAccessibility& accessibility, SimWorkspace& workspace);
    ~SimNotificationCenter();
    SimNotificationCenter(const SimNotificationCenter&) = delete;
    SimNotificationCenter& operator=(const SimNotificationCenter&) = delete;

    // The process. A launch gets a new pid from the workspace and presents a new tree, so every
    // element of an earlier process reads as stale. Notifications survive a restart (they are
    // stored); banners, the open sidebar and unfolded stacks do not.
    State state() const { return state_; }
    std::int32_t pid() const { return pid_; } // 0 while quit
    void launch();
    void quit();
    void restart();
    // The process dies as a crash does: gone at once for the accessibility service, noticed by the
    // workspace a moment later, and relaunched by the system (with a new pid) about a second later.
    void crash();
    // While hung, every request fails after the messaging time-out and nothing on screen changes;
    // what falls due meanwhile happens once it answers again.
    void hang();
    void answer();

    // An application posts a notification. It shows as a banner while the sidebar is closed
    // (unless it is older) and is listed in the sidebar until opened, closed or cleared.
    NotificationId post(SimNotification notification);

    // What the user sees, as "APP, TITLE, BODY" (", BODY" left out when empty; a stack reads
    // "APP, N notifications"): the banners, newest on top, and the sidebar's list, top first, whether
    // or not the sidebar is open (older notifications only after the history was shown). While a
    // recorded tree is shown, its rows' descriptions in tree order, banners and sidebar alike.
    std::vector<std::string> banners() const;
    std::vector<std::string> sidebarRows() const;
    bool isUnfolded(std::string_view app) const { return unfolded_.contains(app); }
    // Notifications opened ("Show", or AXPress on a row) and those closed or cleared, in order: the
    // latest kRecordsKept of each.
    static constexpr std::size_t kRecordsKept = 256;
    const std::deque<SimNotification>& opened() const { return opened_; }
    const std::deque<SimNotification>& closedOrCleared() const { return closedOrCleared_; }

    // The user dismisses a notification (the newest listed with this title) or an application's
    // stack with Notification Center's own buttons. False when there is no such row or the process
    // cannot react.
    bool userClose(std::string_view title);
    bool userClear(std::string_view app);

    // The language every label is shown in. A change relaunches a running process, as a new login
    // would on a Mac. False for a language the strings table lacks.
    bool setLanguage(std::string_view language);
    // A language the table lacks, with its labels for Close, Clear All and Show.
    void setCustomLanguage(std::string language, std::string close, std::string clearAll, std::string show);
    const NotificationCenterStrings& strings() const { return strings_; }

    // The actions the process received on its rows: the custom action's label, or the plain name
    // ("AXPress"), and the row's first text. The latest kRecordsKept.
    struct ReceivedAction {
        std::string label;
        std::string title;
    };
    const std::deque<ReceivedAction>& receivedActions() const { return receivedActions_; }

    // A lazy list holds only the rows wholly inside the visible part of the scroll area; paging
    // brings the others in.
    void setLazy(bool lazy);
    bool isLazy() const { return lazy_; }

    // Desktop widgets: further windows of the process, each with a subtree of its own (about 30
    // elements), there whether or not the panel is open.
    static constexpr int kMaxDesktopWidgets = 64;
    void setDesktopWidgets(int count);
    int desktopWidgets() const { return desktopWidgets_; }

    // The process presents a recorded tree as its application element's attributes, actions and
    // children, in place of the tree of its model, from now on (a relaunch presents it afresh; a
    // running process keeps running, and every element of the model's tree reads as stale).
    // "AXPress" or a custom action on a row removes the row after the removal delay (AXPress on
    // a folded stack does nothing: a recording cannot unfold it); every action on any element is
    // recorded with the first text of the element. Notifications posted meanwhile are kept, unseen.
    void showRecordedTree(RecordedElement application);
    bool showsRecordedTree() const { return recorded_ != nullptr; }
    // The application element's node of the running process; none while it is quit.
    const std::shared_ptr<AXNode>& applicationNode() const { return root_; }

    // How many widgets the sidebar shows below the notifications (0 to kMaxWidgets).
    void setWidgets(int count);
    int widgets() const { return widgets_; }

    // The user opens or closes the sidebar by hand (a click on the clock, a swipe). False when the
    // process cannot react (quit or hung).
    bool openSidebar();
    bool closeSidebar();
    bool sidebarIsOpen() const { return sidebar_ == Sidebar::Open; }
    // When the rows' last slide ends (or ended); none before rows were shown.
    std::optional<double> slideEndsAt() const {
        if (!rowsShown_) return std::nullopt;
        return slide_->start + kSlideDuration;
    }
    // The most the sidebar's scroll area shows before it scrolls (points).
    void setVisibleHeight(double points);
    double visibleHeight() const { return visibleHeight_; }
    // How long a closed or cleared row stays listed before it goes (longer for a busy process).
    void setRemovalDelay(double seconds) { removalDelay_ = seconds; }
    double scrollOffset() const { return scrollOffset_; }

private:
    enum class Sidebar { Closed, Open, Closing };

    struct Entry {
        NotificationId serial = 0;
        SimNotification notification;
        bool hidden = false;    // older, behind the history button
        bool banner = false;    // on screen as a banner
        double bannerUntil = 0; // when its banner leaves the screen
        bool removing = false;  // closed or cleared; leaves the screen shortly
    };

    // One thing the sidebar lists, with its place in the scroll area's content.
    struct Block {
        enum class Kind { Row, Stack, Unfolded, HistoryButton };
        Kind kind = Kind::Row;
        std::string app;
        std::vector<const Entry*> entries; // newest first
        double top = 0;
        double height = 0;
    };

    // How far right of its place the sidebar's content is drawn, over time. It starts (and ends)
    // this far out: from the column's place to the screen's right edge.
    static constexpr double kSlideDistance = 360;
    struct Slide {
        double from = 0;
        double to = 0;
        double start = 0;
        bool easeOut = true;
        double offsetAt(double now) const;
    };

    // Model changes (notification_center.cpp).
    void after(double delay, std::function<void()> work);
    Entry* find(NotificationId serial);
    std::vector<const Entry*> listed() const;
    std::vector<const Entry*> listedOf(std::string_view app) const;
    void beginOpening();
    void beginClosing();
    void forgetLoneUnfolded();
    void settleForNewProcess();
    static void record(std::deque<SimNotification>& records, const SimNotification& notification);

    // What the process's elements do (notification_center.cpp).
    platform::AXError toggleSidebar();
    platform::AXError openEntry(NotificationId serial);
    // A banner whose time is up has left the screen, even while a request is under way.
    platform::AXError openBanner(NotificationId serial);
    platform::AXError closeEntries(std::vector<NotificationId> serials);
    platform::AXError unfold(const std::string& app);
    platform::AXError foldBack(const std::string& app);
    platform::AXError openNewestOf(const std::string& app);
    platform::AXError clearApp(const std::string& app);
    platform::AXError revealHistory();
    platform::AXError scrollByPage(int direction);

    // A recorded tree (notification_center_recorded.cpp).
    void presentRecorded();
    void fillRecorded(AXNode& node, const RecordedElement& element);
    platform::AXError performRecorded(const std::weak_ptr<AXNode>& target, const std::string& action);
    void removeRecordedRow(const std::weak_ptr<AXNode>& row);
    void recordAction(std::string label, std::string title);
    std::vector<std::string> recordedRows() const;

    // Layout and the tree (notification_center_tree.cpp). Frames there are top-left-origin, as the
    // service reports them.
    struct Stop { // where a row, stack, heading or button starts and ends: paging lines up with these
        double top;
        double bottom;
    };
    static std::string describe(const SimNotification& notification);
    static std::string describeStack(const std::string& app, std::size_t count);
    std::vector<Block> sidebarBlocks() const;
    static double contentHeight(const std::vector<Block>& blocks);
    static std::vector<Stop> scrollStops(const std::vector<Block>& blocks);
    void refresh();
    AXNodeSpec describeTree();
    AXNodeSpec describeDialog(bool banners);
    AXNodeSpec describeMenuBar();
    AXNodeSpec describeBanners();
    AXNodeSpec describeSidebar();
    void describeWidgets(double top, std::vector<AXNodeSpec>& out);
    AXNodeSpec describeDesktopWidget(int index) const;
    void describeBlock(const Block& block, double top, std::vector<AXNodeSpec>& out);
    AXNodeSpec describeRow(const Entry& entry, std::string key, std::string_view subrole,
                           platform::Rect frame, bool slides);
    AXNodeSpec describeStackRow(const Block& block, platform::Rect frame);
    // Adds an action to a row that records its arrival before it does its work.
    void rowAction(AXNodeSpec& row, NCLabel label, const std::string& title,
                   std::function<platform::AXError()> work);
    void rowAction(AXNodeSpec& row, std::string name, std::string recordedAs, const std::string& title,
                   std::function<platform::AXError()> work);
    void addTexts(AXNodeSpec& row, const SimNotification& shown, platform::Rect frame, bool slides) const;
    AXNodeSpec element(std::string key, std::string role, platform::Rect frame, bool slides) const;

    SimRunLoop& loop_;
    SimAccessibility& accessibility_;
    SimWorkspace& workspace_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    State state_ = State::Quit;
    std::int32_t pid_ = 0;
    std::uint64_t processEpoch_ = 0; // tasks of an earlier process do nothing
    std::shared_ptr<AXNode> root_;
    std::optional<AXReconciler> tree_; // none while a recorded tree is shown
    std::shared_ptr<const RecordedElement> recorded_;
    std::vector<std::function<void()>> deferredWhileHung_;

    NotificationId nextSerial_ = 1;
    std::vector<Entry> entries_; // in posting order
    std::set<std::string, std::less<>> unfolded_;
    std::deque<SimNotification> opened_;
    std::deque<SimNotification> closedOrCleared_;
    std::deque<ReceivedAction> receivedActions_;
    NotificationCenterStrings strings_;

    Sidebar sidebar_ = Sidebar::Closed;
    std::uint64_t sidebarEpoch_ = 0; // a task of an earlier opening or closing does nothing
    bool rowsShown_ = false;
    std::shared_ptr<Slide> slide_ = std::make_shared<Slide>();
    double visibleHeight_;
    double scrollOffset_ = 0;
    double removalDelay_ = kRemovalDelay;
    int widgets_ = 0;
    int desktopWidgets_ = 0;
    bool lazy_ = false;
};

} // namespace marlowick::sim
