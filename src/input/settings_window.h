// The settings window: one reusable window with a sidebar of four tabs and a pane per tab, where
// every control writes straight to the user-defaults key it stands for. The window rebuilds its view
// tree whenever its state or the user defaults change; the rows' building blocks are settings_rows.h.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/shortcut_field.h"
#include "input/titled_window_controller.h"
#include "platform/login_items.h"
#include "platform/run_loop.h"
#include "platform/subscription.h"
#include "platform/titled_windows.h"
#include "platform/view_tree.h"

namespace marlowick {

class CapsView;
class ExamplePreviewView;

enum class SettingsTab { general, shortcuts, behavior, appearance };
inline constexpr std::array<SettingsTab, 4> allSettingsTabs{SettingsTab::general, SettingsTab::shortcuts,
                                                            SettingsTab::behavior, SettingsTab::appearance};
std::string_view rawValue(SettingsTab tab);
// The raw value with its first letter capitalised: "General", ...
std::string settingsTabTitle(SettingsTab tab);
std::string_view settingsTabIcon(SettingsTab tab);
// The window's content height on the tab, in points.
double settingsTabHeight(SettingsTab tab);

// What the window and its views share: the tab and a custom highlight colour that stays
// selectable for the life of the window. Changes run the observer.
class SettingsState {
public:
    SettingsTab tab() const { return tab_; }
    void setTab(SettingsTab tab);
    const std::optional<std::string>& customColor() const { return customColor_; }
    void setCustomColor(std::optional<std::string> color);
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

private:
    void changed();

    SettingsTab tab_ = SettingsTab::general;
    std::optional<std::string> customColor_;
    std::function<void()> observer_;
};

// The General pane's view of things outside the settings, re-read every second while it shows.
struct GeneralPaneState {
    bool trusted = false;
    platform::LoginItemStatus loginItem = platform::LoginItemStatus::NotRegistered;
    bool loginItemFailed = false;
    bool checksAutomatically = false;
    std::optional<double> lastCheck;

    friend bool operator==(const GeneralPaneState&, const GeneralPaneState&) = default;
};

class SettingsWindow : public std::enable_shared_from_this<SettingsWindow> {
public:
    static constexpr platform::Size kContentSize{552, 544};
    static constexpr double kPollInterval = 1.0;

    static std::shared_ptr<SettingsWindow> create();
    ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    const std::shared_ptr<platform::Window>& window() const { return controller_->window(); }
    SettingsState state;

    // Key and in front, on the tab it showed last.
    void show();
    // As a click on the tab in the sidebar: the title follows, and the window animates to the
    // tab's height keeping its top edge and width.
    void selectTab(SettingsTab tab);
    // The content for the current state; the window shows it after every change.
    platform::ViewNode content();
    // Rebuilds the content now rather than on the next turn of the run loop.
    void rebuild();

    const GeneralPaneState& general() const { return general_; }
    bool isPolling() const { return poll_.isValid(); }
    bool isConfirmingRestore() const { return isConfirming_; }
    const std::shared_ptr<ExamplePreviewView>& preview() const { return preview_; }
    int replays() const { return replays_; }

private:
    SettingsWindow();
    void setNeedsRebuild();
    void resizeToTab(bool animated);
    void paneShown();
    void updatePolling();
    GeneralPaneState readGeneral() const;
    void pollGeneral();
    void setLaunchAtLogin(bool on);
    void confirmRestoreAll();
    void rememberCustomColor();
    std::function<void()> weakAction(void (SettingsWindow::*method)());

    platform::ViewNode sidebar();
    platform::ViewNode pane(SettingsTab tab);
    // Each pane: its groups, then its "Restore Defaults".
    std::vector<platform::ViewNode> generalPane();
    std::vector<platform::ViewNode> shortcutsPane();
    std::vector<platform::ViewNode> behaviorPane();
    std::vector<platform::ViewNode> appearancePane();

    // Holds the platform window and decides for it.
    std::shared_ptr<TitledWindowController> controller_;
    // The height the frame adds to the content (a title bar), found at creation.
    double frameExtraHeight_ = 0;
    std::vector<ShortcutField> fields_;
    std::vector<std::shared_ptr<CapsView>> pickerLegendCaps_;
    std::vector<std::shared_ptr<CapsView>> vimLegendCaps_;
    std::shared_ptr<ExamplePreviewView> preview_;
    int replays_ = 0;
    GeneralPaneState general_;
    bool isConfirming_ = false;
    bool rebuildScheduled_ = false;
    platform::Timer poll_;
    platform::Subscription defaultsObserver_;
    platform::Subscription willCloseObserver_;
};

} // namespace marlowick
