// The picker run: from the hot key to the ring, the panel over the sidebar, and the end of a run.
#include <algorithm>

#include "app/log.h"
#include "input/hotkeys.h"
#include "input/settings.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "overlay/sidebar_overlay.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;
using platform::Rect;

namespace {

// Where a panel that floats over another application's sidebar must sit and how it must behave.
constexpr std::uint64_t kPanelStyle =
    platform::kWindowStyleBorderless | platform::kWindowStyleNonactivatingPanel;
constexpr std::uint64_t kPanelCollection =
    platform::kCollectionCanJoinAllSpaces | platform::kCollectionFullScreenAuxiliary;
constexpr int kStackExpansionAttempts = 20;
constexpr int kSlideInAttempts = 20;
constexpr double kSlideInPoll = 0.03;
constexpr double kOpenTopAfterRing = 0.6;

std::vector<Element> elementsOf(const std::vector<Notification>& rows) {
    std::vector<Element> elements;
    elements.reserve(rows.size());
    for (const auto& row : rows)
        elements.push_back(row.element);
    return elements;
}

bool sameRects(const std::vector<Rect>& a, const std::vector<Rect>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

} // namespace

Controller::Controller() = default;

Controller::~Controller() {
    if (panel) {
        Hotkeys::unregisterPickerKeys();
        panel->orderOut();
    }
}

std::shared_ptr<Controller> Controller::create() {
    std::shared_ptr<Controller> controller(new Controller());
    controller->notificationCenter = NotificationCenterObserver::create();
    return controller;
}

void Controller::start() {
    auto weak = weak_from_this();
    notificationCenter->onChange = [weak] {
        if (auto self = weak.lock()) self->scheduleCheck(0.05);
    };
    notificationCenter->onRestart = [weak] {
        if (auto self = weak.lock()) {
            self->stalledAt = kDistantPast;
            self->restartedAt = now();
            self->scheduleCheck(0.05);
        }
    };
    Hotkeys::setPickerKeyReceiver([weak](int code) {
        auto self = weak.lock();
        if (auto shown = self ? self->shownOverlay() : nullptr) shown->handleKey(code);
    });
    startWatchTimer();
    scheduleCheck(0.05);
}

void Controller::after(double delay, std::function<void(Controller&)> work) {
    platform::current().runLoop->asyncAfter(delay, [weak = weak_from_this(), work = std::move(work)] {
        if (auto self = weak.lock()) work(*self);
    });
}

double Controller::now() {
    return platform::current().runLoop->now();
}

bool Controller::sidebarOpenNow() {
    auto application = notificationCenterApp();
    return application && sidebarIsOpen(*application);
}

// Timers

void Controller::startWatchTimer() {
    if (watchTimer) watchTimer->invalidate();
    double interval = panel ? kWatchIntervalWhileShown : kWatchInterval;
    watchTimer = platform::current().runLoop->scheduleTimer(
        interval, platform::TimerKind::Repeating, platform::RunLoopMode::Common, [weak = weak_from_this()] {
            if (auto self = weak.lock()) self->watchCheck();
        });
}

void Controller::scheduleCheck(double delay) {
    if (panel || !watchTimer || watchPending) return;
    watchPending = true;
    after(delay, [](Controller& self) {
        self.watchPending = false;
        self.watchCheck();
    });
}

void Controller::setWaiting(bool value) {
    bool previous = std::exchange(waiting, value);
    kickCheck(previous);
}

void Controller::kickCheck(bool previous) {
    if (previous && !waiting) scheduleCheck(0.05);
}

// Sidebar switching

void Controller::toggleSidebar() {
    if (auto application = notificationCenterApp()) performAction(*application, "AXToggleUI");
}

void Controller::closeSidebarIfOpen() {
    if (!openedSidebar && !sidebarOpenNow()) {
        openedSidebar = false;
        return;
    }
    toggleSidebar();
    openedSidebar = false;
}

// A run

void Controller::openPicker() {
    if (!ensureResponding()) return;
    if (panel) {
        hidePanel();
        closeSidebarIfOpen();
        return;
    }
    bool open = sidebarOpenNow();
    if (openedSidebar && open) {
        // The press ends a run still waiting for rows or unfolding stacks: its retries must not
        // show the picker, or open a row, over the sidebar the user just closed.
        ++pickerRun;
        openTopAfterSlideIn = false;
        closeSidebarIfOpen();
        return;
    }
    if (open) {
        showPicker(0, Trigger::HotKey, 0, Attempt::First);
        return;
    }
    auto banners = sidebarNotifications();
    log("Hotkey: found " + std::to_string(banners.size()) + " banner(s)");
    if (banners.size() == 1 || (banners.size() >= 2 && AppSettings::openMode() == OpenMode::next)) {
        press(banners.front());
        return;
    }
    toggleSidebar();
    openedSidebar = true;
    showPicker(kSidebarWaitAttempts, Trigger::HotKey, 0, Attempt::First);
}

void Controller::showPicker(int attempts, Trigger trigger, std::int64_t run, Attempt attempt) {
    if (attempt == Attempt::Retry && run != pickerRun) {
        setWaiting(false);
        return;
    }
    std::int64_t current = pickerRun;
    setWaiting(true);
    bool open = sidebarOpenNow();
    auto rows = open ? sidebarNotifications() : std::vector<Notification>{};
    if (rows.empty() && attempts >= 1) {
        after(kRetryDelay, [attempts, trigger, current](Controller& self) {
            self.showPicker(attempts - 1, trigger, current, Attempt::Retry);
        });
        return;
    }
    setWaiting(false);
    sidebarWasOpen = open;
    log("Sidebar: found " + std::to_string(rows.size()) + " notification(s)");
    if (rows.empty()) return;

    if (trigger == Trigger::HotKey) {
        auto mode = AppSettings::openMode();
        if (rows.size() == 1 && mode == OpenMode::pick && !isStack(rows.front().element)) {
            auto application = notificationCenterApp();
            if (!application || !historyButton(*application)) {
                openTop(2);
                return;
            }
        }
        if (mode == OpenMode::next && AppSettings::nextStyle() == NextStyle::direct) {
            openTop(2);
            return;
        }
        openTopAfterSlideIn = mode == OpenMode::next;
    } else {
        // A picker the user asked for by opening the sidebar opens nothing by itself.
        openTopAfterSlideIn = false;
    }
    if (AppSettings::stacks() == StackMode::expand &&
        std::any_of(rows.begin(), rows.end(), [](const Notification& row) { return isStack(row.element); })) {
        expandStacksThenShow(std::move(rows), kStackExpansionAttempts, current);
        return;
    }
    presentPanel();
    awaitSlideIn(rows.front().element, std::nullopt, kSlideInAttempts);
}

int Controller::pressStacks(const std::vector<Notification>& rows) {
    int stacks = 0;
    for (const auto& row : rows) {
        if (!isStack(row.element)) continue;
        if (auto app = stackAppName(row.element)) expandedApps.insert(*app);
        performAction(row.element, "AXPress");
        ++stacks;
    }
    return stacks;
}

void Controller::expandStacksThenShow(std::vector<Notification> rows, int attempts, std::int64_t run) {
    if (run != pickerRun) {
        setWaiting(false);
        return;
    }
    setWaiting(true);
    if (attempts == kStackExpansionAttempts)
        log("Expanding " + std::to_string(pressStacks(rows)) + " stack(s)");
    auto current = sidebarOpenNow() ? sidebarNotifications() : std::vector<Notification>{};
    if (current.empty()) {
        if (attempts <= 0) {
            setWaiting(false);
            log("Sidebar went away while expanding");
            openedSidebar = false;
            return;
        }
    } else {
        bool stacksLeft = std::any_of(current.begin(), current.end(),
                                      [](const Notification& row) { return isStack(row.element); });
        if (!stacksLeft || attempts < 1) {
            setWaiting(false);
            log("Sidebar: " + std::to_string(current.size()) + " row(s) after expanding");
            presentPanel();
            awaitSlideIn(current.front().element, std::nullopt, kSlideInAttempts);
            return;
        }
    }
    after(kRetryDelay, [rows = std::move(rows), attempts, run](Controller& self) mutable {
        self.expandStacksThenShow(std::move(rows), attempts - 1, run);
    });
}

void Controller::presentPanel() {
    sidebarIndex = 0;
    closingRows.clear();
    reloadItems();

    auto& windows = *platform::current().windows;
    auto created = windows.makePanel(Rect(), kPanelStyle);
    created->setLevel(platform::kPopUpMenuWindowLevel);
    created->setOpaque(false);
    created->setBackgroundColor({0, 0, 0, 0});
    created->setIgnoresMouseEvents(true);
    created->setCollectionBehavior(kPanelCollection);
    // Marlowick is seldom the active application while the overlay shows; the overlay stays put
    // when the user switches away from one of its windows, and never takes the keyboard.
    created->setHidesOnDeactivate(false);
    created->setBecomesKeyOnlyIfNeeded(true);

    auto view = SidebarOverlay::create(Rect());
    auto weak = weak_from_this();
    view->onMove = [weak](int delta) {
        if (auto self = weak.lock()) self->moveSelection(delta);
    };
    view->onSelect = [weak](int index) {
        if (auto self = weak.lock()) {
            self->sidebarIndex = index;
            self->positionRing();
        }
    };
    view->onPick = [weak](int index) {
        if (auto self = weak.lock()) {
            self->sidebarIndex = index;
            self->pickSelected();
        }
    };
    view->onClose = [weak](int) {
        if (auto self = weak.lock()) self->closeSelected();
    };
    view->onCancel = [weak] {
        if (auto self = weak.lock()) self->cancelPicker();
    };
    view->onOpenActions = [weak](int index) {
        if (auto self = weak.lock()) {
            self->sidebarIndex = index;
            self->openActions();
        }
    };
    view->onPerformAction = [weak](int action) {
        if (auto self = weak.lock()) self->performShownAction(action);
    };
    view->onActionsClosed = [weak] {
        if (auto self = weak.lock()) {
            self->actionsRow.reset();
            self->shownActions.clear();
            self->layoutPanel();
        }
    };
    created->setContentView(view->layer());

    bool hadPanel = static_cast<bool>(panel);
    if (panel) panel->orderOut();
    panel = std::move(created);
    overlay = std::move(view);
    if (!hadPanel) startWatchTimer();
    positionRing();
    panel->orderFrontRegardless();
}

void Controller::setItems(std::vector<Element> items) {
    sidebarItems = std::move(items);
    sidebarItemIsStack.clear();
    for (const auto& item : sidebarItems)
        sidebarItemIsStack.push_back(isStack(item));
    forgetActionsUnlessListed();
}

void Controller::reloadItems() {
    auto items = elementsOf(sidebarNotifications());
    if (auto application = notificationCenterApp()) {
        if (auto button = historyButton(*application)) items.push_back(*button);
    }
    setItems(std::move(items));
    int last = std::max(static_cast<int>(sidebarItems.size()) - 1, 0);
    sidebarIndex = std::min(last, sidebarIndex);
}

void Controller::awaitSlideIn(Element element, std::optional<Rect> previous, int attempts) {
    if (!panel || !overlay) return;
    auto frame = itemFrame(element);
    if (!frame) {
        log("Sidebar went away during slide-in");
        hidePanel();
        openedSidebar = false;
        return;
    }
    positionRing();
    if ((!previous || *frame != *previous) && attempts >= 1) {
        after(kSlideInPoll, [element = std::move(element), settled = *frame, attempts](Controller& self) {
            self.awaitSlideIn(element, settled, attempts - 1);
        });
        return;
    }
    if (!overlay->showsRing) {
        overlay->showsRing = true;
        overlay->pendingReveal = AppSettings::ringReveal() != RingReveal::none;
    }
    overlay->setNeedsDisplay();
    Hotkeys::registerPickerKeys();
    if (openTopAfterSlideIn) {
        openTopAfterSlideIn = false;
        // Only for this panel: after Escape and another hot key, the new run schedules its own.
        after(kOpenTopAfterRing, [shown = std::weak_ptr<platform::Panel>(panel)](Controller& self) {
            if (!self.panel || self.panel != shown.lock()) return;
            self.hidePanel();
            self.openTop(2);
        });
    }
}

void Controller::positionRing() {
    if (sidebarIndex < 0 || sidebarIndex >= static_cast<int>(sidebarItems.size())) return;
    const Element& item = sidebarItems[static_cast<std::size_t>(sidebarIndex)];
    scrollIntoView(item);
    auto frame = itemFrame(item);
    if (!frame) {
        log("Ring: no frame for item " + std::to_string(sidebarIndex));
        return;
    }
    log("Ring: item " + std::to_string(sidebarIndex) + " at " + platform::describe(*frame));
    layoutPanel();
}

void Controller::layoutPanel() {
    if (sidebarIndex < 0 || sidebarIndex >= static_cast<int>(sidebarItems.size()) || !panel || !overlay)
        return;
    const Element& item = sidebarItems[static_cast<std::size_t>(sidebarIndex)];
    auto frame = itemFrame(item);
    if (!frame) return;
    Rect base = *frame;
    if (auto area = enclosingScrollArea(item)) {
        if (auto areaFrame = frameOf(*area)) base = *areaFrame;
    }
    Rect bounds = base.insetBy(-kPanelMargin, -kPanelMargin);
    // The list of the row's own actions may stand beside the sidebar: the panel reaches out to it.
    std::optional<Rect> actionList;
    if (!overlay->actionLabels.empty()) {
        actionList = actionListBeside(*frame, base, overlay->actionLabels);
        bounds = unionOf(bounds, *actionList);
    }
    std::vector<Rect> frames;
    frames.reserve(sidebarItems.size());
    for (const auto& itemFrame : itemFrames(sidebarItems))
        frames.push_back(itemFrame.value_or(Rect()).offsetBy(-bounds.minX(), -bounds.minY()));
    if (actionList) actionList = actionList->offsetBy(-bounds.minX(), -bounds.minY());
    if (panel->frame() == bounds && sameRects(overlay->itemFrames, frames) &&
        overlay->selected == sidebarIndex && overlay->actionListFrame == actionList)
        return;

    panel->setFrame(bounds, platform::Display::Later);
    overlay->actionListFrame = actionList;
    // The caption's text is rasterised for the screen the panel is now on.
    overlay->setWindowBackingScale(panel->backingScaleFactor());
    overlay->itemFrames = std::move(frames);
    overlay->itemIsStack = sidebarItemIsStack;
    overlay->selected = sidebarIndex;
    overlay->setNeedsDisplay();
}

void Controller::moveSelection(int delta) {
    if (sidebarItems.empty()) return;
    bool pastTheEnd = sidebarIndex + delta >= static_cast<int>(sidebarItems.size());
    if (delta > 0 && pastTheEnd && revealRowsBelow()) return;
    int count = static_cast<int>(sidebarItems.size());
    if (count == 0) return;
    if (pastTheEnd) revealTopRows();
    sidebarIndex = ((sidebarIndex + delta) % count + count) % count;
    positionRing();
}

// Some lists hold only the rows on screen: a page down brings in those below the last item.
bool Controller::revealRowsBelow() {
    Element last = sidebarItems.back();
    auto area = enclosingScrollArea(last);
    if (!area) return false;
    performAction(*area, "AXScrollDownByPage");
    reloadItems();
    auto it = std::find(sidebarItems.begin(), sidebarItems.end(), last);
    if (it == sidebarItems.end() || std::next(it) == sidebarItems.end()) return false;
    sidebarIndex = static_cast<int>(std::distance(sidebarItems.begin(), it)) + 1;
    log("Rows below came in: " + std::to_string(sidebarItems.size()) + " item(s)");
    positionRing();
    return true;
}

// Back to the top of such a list before the ring wraps round: page up until the first item stays.
void Controller::revealTopRows() {
    for (int page = 0; page < kMaxPagesToTop && !sidebarItems.empty(); ++page) {
        Element first = sidebarItems.front();
        auto area = enclosingScrollArea(first);
        if (!area) return;
        performAction(*area, "AXScrollUpByPage");
        reloadItems();
        if (!sidebarItems.empty() && sidebarItems.front() == first) return;
    }
}

void Controller::hidePanel() {
    Hotkeys::unregisterPickerKeys();
    // Whatever ended the run, its pending open of the top row ends with it.
    openTopAfterSlideIn = false;
    actionsRow.reset();
    shownActions.clear();
    if (!panel) return;
    if (overlay) overlay->clearPendingKey();
    panel->orderOut();
    panel.reset();
    overlay.reset();
    startWatchTimer();
    scheduleCheck(0.05);
}

void Controller::closePicker() {
    ++pickerRun;
    openTopAfterSlideIn = false;
    if (!panel && !openedSidebar) return;
    log("Closing the picker");
    sidebarWasOpen = true;
    if (panel && !sidebarOpenNow()) openedSidebar = false;
    hidePanel();
    closeSidebarIfOpen();
}

void Controller::cancelPicker() {
    hidePanel();
    closeSidebarIfOpen();
}

} // namespace marlowick
