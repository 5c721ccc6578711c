#include "sim/notification_center.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace marlowick::sim {

using platform::AXError;
using platform::kAXErrorFailure;
using platform::kAXErrorSuccess;

double SimNotificationCenter::Slide::offsetAt(double now) const {
    double progress = std::clamp((now - start) / kSlideDuration, 0.0, 1.0);
    double eased = easeOut ? 1 - std::pow(1 - progress, 3) : std::pow(progress, 3);
    return from + (to - from) * eased;
}

SimNotificationCenter::SimNotificationCenter(SimRunLoop& loop, SimAccessibility& accessibility,
                                             SimWorkspace& workspace)
    : loop_(loop), accessibility_(accessibility), workspace_(workspace), visibleHeight_(kMaxVisibleHeight) {}

SimNotificationCenter::~SimNotificationCenter() {
    *alive_ = false;
    if (state_ == State::Quit) return;
    accessibility_.unregisterProcess(pid_);
    workspace_.terminateApplication(pid_);
}

// The process

void SimNotificationCenter::launch() {
    if (state_ != State::Quit) return;
    ++processEpoch_;
    settleForNewProcess();
    // An agent without a Dock icon.
    pid_ = workspace_.launchApplication(std::string(kBundleIdentifier), platform::ActivationPolicy::Accessory);
    root_ = AXNode::make();
    accessibility_.registerProcess(pid_, root_);
    state_ = State::Running;
    if (recorded_) {
        presentRecorded();
        return;
    }
    tree_.emplace(root_);
    refresh();
}

void SimNotificationCenter::quit() {
    if (state_ == State::Quit) {
        ++processEpoch_; // a relaunch on its way after a crash does not come
        return;
    }
    accessibility_.unregisterProcess(pid_); // every element reads as stale from now on
    workspace_.terminateApplication(pid_);
    tree_.reset();
    root_.reset();
    state_ = State::Quit;
    pid_ = 0;
    ++processEpoch_;
    settleForNewProcess();
}

void SimNotificationCenter::crash() {
    if (state_ == State::Quit) return;
    std::int32_t pid = pid_;
    accessibility_.crashProcess(pid);
    tree_.reset();
    root_.reset();
    state_ = State::Quit;
    pid_ = 0;
    auto epoch = ++processEpoch_;
    settleForNewProcess();
    loop_.asyncAfter(kCrashNoticedDelay, [this, alive = alive_, pid] {
        if (*alive) workspace_.terminateApplication(pid);
    });
    // The system brings it back unless someone started or stopped it in between.
    loop_.asyncAfter(kRelaunchAfterCrash, [this, alive = alive_, epoch] {
        if (*alive && epoch == processEpoch_) launch();
    });
}

void SimNotificationCenter::restart() {
    quit();
    launch();
}

void SimNotificationCenter::hang() {
    if (state_ != State::Running) return;
    state_ = State::Hung;
    accessibility_.setHung(pid_, true);
}

void SimNotificationCenter::answer() {
    if (state_ != State::Hung) return;
    state_ = State::Running;
    accessibility_.setHung(pid_, false);
    auto overdue = std::move(deferredWhileHung_);
    deferredWhileHung_.clear();
    for (auto& work : overdue)
        work();
    refresh();
}

void SimNotificationCenter::settleForNewProcess() {
    // What was stored survives; what was on screen does not. Rows that were on their way out are gone.
    deferredWhileHung_.clear();
    std::erase_if(entries_, [](const Entry& entry) { return entry.removing; });
    for (auto& entry : entries_)
        entry.banner = false;
    unfolded_.clear();
    sidebar_ = Sidebar::Closed;
    ++sidebarEpoch_;
    rowsShown_ = false;
    *slide_ = Slide{};
    scrollOffset_ = 0;
}

void SimNotificationCenter::record(std::deque<SimNotification>& records,
                                   const SimNotification& notification) {
    records.push_back(notification);
    if (records.size() > kRecordsKept) records.pop_front();
}

void SimNotificationCenter::after(double delay, std::function<void()> work) {
    loop_.asyncAfter(delay, [this, alive = alive_, epoch = processEpoch_, work = std::move(work)]() mutable {
        if (!*alive || epoch != processEpoch_) return;
        // A hung process does not update its screen; it catches up once it answers.
        if (state_ == State::Hung) {
            deferredWhileHung_.push_back(std::move(work));
            return;
        }
        work();
    });
}

// Notifications

SimNotificationCenter::NotificationId SimNotificationCenter::post(SimNotification notification) {
    Entry entry;
    entry.serial = nextSerial_++;
    entry.hidden = notification.older;
    entry.banner = state_ != State::Quit && sidebar_ != Sidebar::Open && !notification.older;
    entry.bannerUntil = loop_.now() + kBannerDuration;
    entry.notification = std::move(notification);
    NotificationId serial = entry.serial;
    bool banner = entry.banner;
    entries_.push_back(std::move(entry));
    if (banner) {
        after(kBannerDuration, [this, serial] {
            if (Entry* shown = find(serial)) {
                shown->banner = false;
                if (!shown->notification.keptInSidebar)
                    std::erase_if(entries_, [&](const Entry& entry) { return entry.serial == serial; });
                refresh();
            }
        });
    }
    refresh();
    return serial;
}

std::vector<std::string> SimNotificationCenter::banners() const {
    std::vector<std::string> shown;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->banner) shown.push_back(describe(it->notification));
    }
    return shown;
}

std::vector<std::string> SimNotificationCenter::sidebarRows() const {
    if (recorded_) return recordedRows();
    std::vector<std::string> rows;
    for (const auto& block : sidebarBlocks()) {
        switch (block.kind) {
        case Block::Kind::Row:
        case Block::Kind::Unfolded:
            for (const Entry* entry : block.entries)
                rows.push_back(describe(entry->notification));
            break;
        case Block::Kind::Stack:
            rows.push_back(describeStack(block.app, block.entries.size()));
            break;
        case Block::Kind::HistoryButton:
            break;
        }
    }
    return rows;
}

SimNotificationCenter::Entry* SimNotificationCenter::find(NotificationId serial) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& entry) { return entry.serial == serial; });
    return it == entries_.end() ? nullptr : &*it;
}

std::vector<const SimNotificationCenter::Entry*> SimNotificationCenter::listed() const {
    std::vector<const Entry*> rows;
    for (const auto& entry : entries_) {
        if (!entry.hidden && entry.notification.keptInSidebar) rows.push_back(&entry);
    }
    // Newest first; older notifications, once shown, below every current one.
    std::stable_sort(rows.begin(), rows.end(), [](const Entry* a, const Entry* b) {
        if (a->notification.older != b->notification.older) return !a->notification.older;
        return a->serial > b->serial;
    });
    return rows;
}

std::vector<const SimNotificationCenter::Entry*> SimNotificationCenter::listedOf(std::string_view app) const {
    auto rows = listed();
    std::erase_if(rows, [&](const Entry* entry) { return entry->notification.app != app; });
    return rows;
}

void SimNotificationCenter::forgetLoneUnfolded() {
    // A stack that is down to one notification is no stack; should more arrive, they stack afresh.
    std::erase_if(unfolded_, [&](const std::string& app) { return listedOf(app).size() < 2; });
}

bool SimNotificationCenter::userClose(std::string_view title) {
    if (state_ != State::Running) return false;
    for (const Entry* entry : listed()) {
        if (entry->notification.title == title && !entry->removing && entry->notification.closable)
            return closeEntries({entry->serial}) == kAXErrorSuccess;
    }
    return false;
}

bool SimNotificationCenter::userClear(std::string_view app) {
    if (state_ != State::Running || listedOf(app).empty()) return false;
    return clearApp(std::string(app)) == kAXErrorSuccess;
}

bool SimNotificationCenter::setLanguage(std::string_view language) {
    if (!strings_.setLanguage(language)) return false;
    if (state_ != State::Quit) restart();
    return true;
}

void SimNotificationCenter::setCustomLanguage(std::string language, std::string close, std::string clearAll,
                                              std::string show) {
    strings_.setCustomLanguage(std::move(language), std::move(close), std::move(clearAll), std::move(show));
    if (state_ != State::Quit) restart();
}

void SimNotificationCenter::setLazy(bool lazy) {
    lazy_ = lazy;
    refresh();
}

void SimNotificationCenter::setDesktopWidgets(int count) {
    desktopWidgets_ = std::clamp(count, 0, kMaxDesktopWidgets);
    refresh();
}

void SimNotificationCenter::setWidgets(int count) {
    widgets_ = std::clamp(count, 0, kMaxWidgets);
    refresh();
}

// The sidebar

bool SimNotificationCenter::openSidebar() {
    if (state_ != State::Running) return false;
    if (sidebar_ != Sidebar::Open) {
        beginOpening();
        refresh();
    }
    return true;
}

bool SimNotificationCenter::closeSidebar() {
    if (state_ != State::Running) return false;
    if (sidebar_ == Sidebar::Open) {
        beginClosing();
        refresh();
    }
    return true;
}

void SimNotificationCenter::beginOpening() {
    sidebar_ = Sidebar::Open;
    auto epoch = ++sidebarEpoch_;
    for (auto& entry : entries_)
        entry.banner = false;
    std::erase_if(entries_, [](const Entry& entry) { return !entry.notification.keptInSidebar; });
    double now = loop_.now();
    if (rowsShown_) {
        // Reopened while sliding out: the rows turn round where they are.
        *slide_ = Slide{slide_->offsetAt(now), 0, now, true};
        return;
    }
    scrollOffset_ = 0;
    after(kRowsAppearDelay, [this, epoch] {
        if (epoch != sidebarEpoch_) return;
        rowsShown_ = true;
        *slide_ = Slide{kSlideDistance, 0, loop_.now(), true};
        refresh();
    });
}

void SimNotificationCenter::beginClosing() {
    sidebar_ = Sidebar::Closing;
    auto epoch = ++sidebarEpoch_;
    double now = loop_.now();
    *slide_ = Slide{slide_->offsetAt(now), kSlideDistance, now, false};
    after(kSlideDuration, [this, epoch] {
        if (epoch != sidebarEpoch_) return;
        sidebar_ = Sidebar::Closed;
        rowsShown_ = false;
        *slide_ = Slide{};
        refresh();
    });
}

// What the elements do

AXError SimNotificationCenter::toggleSidebar() {
    if (sidebar_ == Sidebar::Open) {
        beginClosing();
    } else {
        beginOpening();
    }
    refresh();
    return kAXErrorSuccess;
}

AXError SimNotificationCenter::openEntry(NotificationId serial) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& entry) { return entry.serial == serial; });
    if (it == entries_.end() || it->removing) return kAXErrorFailure;
    // The application takes over: the notification is done with, and the sidebar gets out of the way.
    record(opened_, it->notification);
    entries_.erase(it);
    forgetLoneUnfolded();
    if (sidebar_ == Sidebar::Open) beginClosing();
    refresh();
    return kAXErrorSuccess;
}

AXError SimNotificationCenter::openBanner(NotificationId serial) {
    Entry* entry = find(serial);
    if (!entry || !entry->banner || loop_.now() >= entry->bannerUntil)
        return platform::kAXErrorInvalidUIElement;
    return openEntry(serial);
}

AXError SimNotificationCenter::closeEntries(std::vector<NotificationId> serials) {
    std::erase_if(serials, [&](NotificationId serial) {
        Entry* entry = find(serial);
        if (!entry || entry->removing) return true;
        entry->removing = true;
        record(closedOrCleared_, entry->notification);
        return false;
    });
    if (serials.empty()) return kAXErrorFailure;
    after(removalDelay_, [this, serials] {
        std::erase_if(entries_, [&](const Entry& entry) {
            return std::find(serials.begin(), serials.end(), entry.serial) != serials.end();
        });
        forgetLoneUnfolded();
        refresh();
    });
    return kAXErrorSuccess;
}

AXError SimNotificationCenter::unfold(const std::string& app) {
    after(kUnfoldDelay, [this, app] {
        if (listedOf(app).size() < 2 || !unfolded_.insert(app).second) return;
        refresh();
    });
    return kAXErrorSuccess;
}

AXError SimNotificationCenter::foldBack(const std::string& app) {
    after(kUnfoldDelay, [this, app] {
        if (unfolded_.erase(app) > 0) refresh();
    });
    return kAXErrorSuccess;
}

AXError SimNotificationCenter::openNewestOf(const std::string& app) {
    for (const Entry* entry : listedOf(app)) {
        if (!entry->removing) return openEntry(entry->serial);
    }
    return kAXErrorFailure;
}

AXError SimNotificationCenter::clearApp(const std::string& app) {
    std::vector<NotificationId> serials;
    for (const Entry* entry : listedOf(app)) {
        if (entry->notification.closable) serials.push_back(entry->serial);
    }
    return closeEntries(std::move(serials));
}

AXError SimNotificationCenter::revealHistory() {
    after(kHistoryRevealDelay, [this] {
        bool revealed = false;
        for (auto& entry : entries_)
            revealed |= std::exchange(entry.hidden, false);
        if (revealed) refresh();
    });
    return kAXErrorSuccess;
}

} // namespace marlowick::sim
