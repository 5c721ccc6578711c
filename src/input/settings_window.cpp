// The settings window itself: its setup, the tabs and their heights, the sidebar, rebuilding the
// content, and the General pane's poll. The panes are in settings_*_pane.cpp.
#include "input/settings_window.h"

#include "input/hotkeys.h"
#include "input/settings_rows.h"
#include "overlay/appearance_preview.h"
#include "platform/platform.h"

namespace marlowick {

using platform::ViewNode;

std::string_view rawValue(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general:
        return "general";
    case SettingsTab::shortcuts:
        return "shortcuts";
    case SettingsTab::behavior:
        return "behavior";
    case SettingsTab::appearance:
        break;
    }
    return "appearance";
}

std::string settingsTabTitle(SettingsTab tab) {
    std::string title(rawValue(tab));
    title[0] = static_cast<char>(title[0] - 'a' + 'A');
    return title;
}

std::string_view settingsTabIcon(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general:
        return "gearshape";
    case SettingsTab::shortcuts:
        return "keyboard";
    case SettingsTab::behavior:
        return "hand.tap";
    case SettingsTab::appearance:
        break;
    }
    return "paintpalette";
}

double settingsTabHeight(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general:
        return 544;
    case SettingsTab::shortcuts:
        // The picker's own keys take 652; the legend rows of a notification's actions (→, and l
        // among the Vim keys) add a legend row's 22 points each.
        return 652 + 2 * 22;
    case SettingsTab::behavior:
        return 340;
    case SettingsTab::appearance:
        break;
    }
    return 540;
}

void SettingsState::setTab(SettingsTab tab) {
    tab_ = tab;
    changed();
}

void SettingsState::setCustomColor(std::optional<std::string> color) {
    if (customColor_ == color) return;
    customColor_ = std::move(color);
    changed();
}

void SettingsState::changed() {
    if (observer_) observer_();
}

std::shared_ptr<SettingsWindow> SettingsWindow::create() {
    std::shared_ptr<SettingsWindow> settings(new SettingsWindow());
    auto& services = platform::current();
    std::weak_ptr<SettingsWindow> weak = settings;
    settings->state.setObserver([weak] {
        if (auto self = weak.lock()) self->setNeedsRebuild();
    });

    settings->controller_ = TitledWindowController::attach(
        services.titledWindows->makeWindow(platform::Rect({0, 0}, kContentSize),
                                           platform::kWindowStyleTitled | platform::kWindowStyleClosable |
                                               platform::kWindowStyleFullSizeContentView,
                                           platform::Defer::No));
    const auto& window = settings->window();
    settings->frameExtraHeight_ = window->frame().height() - kContentSize.height;
    window->setTitleVisibility(platform::TitleVisibility::Hidden);
    window->setTitlebarAppearsTransparent(true);
    window->setReleasedWhenClosed(false);
    window->setTitle(settingsTabTitle(settings->state.tab()));

    for (const auto& name : Hotkeys::allNames()) {
        ShortcutField field(name);
        field.recorder->setWindow(settings->controller_);
        field.recorder->onDisplayChange = settings->weakAction(&SettingsWindow::setNeedsRebuild);
        settings->fields_.push_back(std::move(field));
    }
    auto legendCaps = [&](const LegendEntry& entry) {
        auto caps = CapsView::create(entry.caps);
        caps->setNaturalSizeObserver(settings->weakAction(&SettingsWindow::setNeedsRebuild));
        return caps;
    };
    for (const auto& entry : pickerLegend())
        settings->pickerLegendCaps_.push_back(legendCaps(entry));
    for (const auto& entry : vimLegend())
        settings->vimLegendCaps_.push_back(legendCaps(entry));

    settings->rememberCustomColor();
    settings->rebuild();
    window->center();
    window->setFrameAutosaveName("Settings");
    // A saved frame may be another tab's height.
    settings->resizeToTab(false);

    settings->defaultsObserver_ =
        services.notifications->observe(platform::kUserDefaultsDidChange, [weak](const platform::UserInfo&) {
            auto self = weak.lock();
            if (!self) return;
            self->rememberCustomColor();
            self->setNeedsRebuild();
        });
    settings->willCloseObserver_ = window->observeWillClose([weak] {
        auto self = weak.lock();
        if (!self) return;
        self->poll_.invalidate();
        self->preview_.reset();
    });
    return settings;
}

SettingsWindow::SettingsWindow() = default;
SettingsWindow::~SettingsWindow() = default;

std::function<void()> SettingsWindow::weakAction(void (SettingsWindow::*method)()) {
    std::weak_ptr<SettingsWindow> weak = weak_from_this();
    return [weak, method] {
        if (auto self = weak.lock()) ((*self).*method)();
    };
}

void SettingsWindow::show() {
    window()->makeKeyAndOrderFront();
    paneShown();
}

void SettingsWindow::selectTab(SettingsTab tab) {
    state.setTab(tab);
    window()->setTitle(settingsTabTitle(tab));
    resizeToTab(true);
    paneShown();
}

void SettingsWindow::resizeToTab(bool animated) {
    controller_->setFrameHeight(settingsTabHeight(state.tab()) + frameExtraHeight_, animated);
}

void SettingsWindow::paneShown() {
    if (state.tab() == SettingsTab::general) general_ = readGeneral();
    // The example lives as long as its pane shows it: showing the pane again plays a new reveal.
    if (state.tab() != SettingsTab::appearance) preview_.reset();
    if (state.tab() == SettingsTab::appearance) rememberCustomColor();
    updatePolling();
    setNeedsRebuild();
}

void SettingsWindow::updatePolling() {
    const bool shown = window()->isVisible() && state.tab() == SettingsTab::general;
    if (!shown) {
        poll_.invalidate();
        return;
    }
    if (poll_.isValid()) return;
    std::weak_ptr<SettingsWindow> weak = weak_from_this();
    poll_ = platform::current().runLoop->scheduleTimer(kPollInterval, platform::TimerKind::Repeating,
                                                       platform::RunLoopMode::Common, [weak] {
                                                           if (auto self = weak.lock()) self->pollGeneral();
                                                       });
}

void SettingsWindow::pollGeneral() {
    auto next = readGeneral();
    next.loginItemFailed = general_.loginItemFailed;
    if (next == general_) return;
    general_ = next;
    setNeedsRebuild();
}

void SettingsWindow::rememberCustomColor() {
    auto color = AppSettings::highlightColor();
    for (const auto& entry : highlightPalette) {
        if (entry.name == color) return;
    }
    state.setCustomColor(std::move(color));
}

void SettingsWindow::setNeedsRebuild() {
    if (rebuildScheduled_) return;
    rebuildScheduled_ = true;
    platform::current().runLoop->async(weakAction(&SettingsWindow::rebuild));
}

void SettingsWindow::rebuild() {
    rebuildScheduled_ = false;
    controller_->setContent(content());
}

ViewNode SettingsWindow::content() {
    platform::StackView root;
    root.axis = platform::Axis::Horizontal;
    root.alignment = platform::StackAlignment::Leading;
    root.spacing = 0;
    root.children.push_back(sidebar());
    root.children.push_back(ViewNode::make(platform::DividerView{}));
    root.children.push_back(pane(state.tab()));
    return ViewNode::makeStack(std::move(root));
}

ViewNode SettingsWindow::sidebar() {
    platform::StackView list;
    list.alignment = platform::StackAlignment::Leading;
    list.spacing = 2;
    list.padding = 10;
    list.width = kSettingsSidebarWidth;
    list.height = settingsTabHeight(state.tab());
    list.background = platform::StackBackground::SidebarMaterial;
    list.children.push_back(gap(kSettingsTitleBarInset));
    list.children.push_back(label("Marlowick", platform::FontRole::Headline, platform::FontWeight::Semibold));
    list.children.push_back(gap(6));
    std::weak_ptr<SettingsWindow> weak = weak_from_this();
    for (auto tab : allSettingsTabs) {
        platform::ButtonView button;
        button.title = settingsTabTitle(tab);
        button.action = [weak, tab] {
            if (auto self = weak.lock()) self->selectTab(tab);
        };
        button.style = platform::ButtonStyle::Plain;
        button.symbol =
            platform::SymbolView{std::string(settingsTabIcon(tab)), 14, platform::ForegroundStyle::Secondary};
        button.isSelected = tab == state.tab();
        button.fillsWidth = true;
        list.children.push_back(ViewNode::makeButton(std::move(button)));
    }
    list.children.push_back(ViewNode::make(platform::SpacerView{}));
    return ViewNode::makeStack(std::move(list));
}

ViewNode SettingsWindow::pane(SettingsTab tab) {
    platform::StackView column;
    column.alignment = platform::StackAlignment::Leading;
    column.spacing = 14;
    column.padding = kSettingsPanePadding;
    column.width = kSettingsPaneWidth;
    column.height = settingsTabHeight(tab);
    column.children.push_back(gap(kSettingsTitleBarInset - column.spacing));
    auto parts = [&] {
        switch (tab) {
        case SettingsTab::general:
            return generalPane();
        case SettingsTab::shortcuts:
            return shortcutsPane();
        case SettingsTab::behavior:
            return behaviorPane();
        case SettingsTab::appearance:
            break;
        }
        return appearancePane();
    }();
    for (auto& part : parts)
        column.children.push_back(std::move(part));
    return ViewNode::makeStack(std::move(column));
}

} // namespace marlowick
