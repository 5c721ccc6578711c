// The application delegate: the launch sequence, the wait for the accessibility permission, the
// one-time start of the working services, the status item with its menu, the application's own
// windows and the activation policy they imply. What the menu rows draw is the overlay's; reading
// Notification Center is the controller's.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "input/settings.h"
#include "overlay/key_cap.h"
#include "overlay/menu_row_view.h"
#include "platform/application.h"
#include "platform/menus.h"
#include "platform/run_loop.h"
#include "platform/status_bar.h"
#include "platform/subscription.h"
#include "platform/titled_windows.h"

namespace marlowick {

class Controller;
class OnboardingWindow;
class SettingsWindow;
enum class OnboardingStep;

class AppDelegate : public platform::MenuDelegate, public std::enable_shared_from_this<AppDelegate> {
public:
    static inline const std::string kAccessibilityWasGrantedKey = "accessibilityWasGranted";
    static constexpr platform::ActivityOptions kActivityOptions =
        platform::kActivityUserInitiatedAllowingIdleSystemSleep | platform::kActivityLatencyCritical;
    static constexpr double kPermissionPollInterval = 1.0;
    // Reads of Notification Center that may fail before the onboarding says it does not answer.
    static constexpr int kReadsBeforeNoAnswer = 5;
    static constexpr double kActivationDelay = 0.2;
    static constexpr double kMessagingTimeout = 0.5;

    static std::shared_ptr<AppDelegate> create();
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching();
    void startServices();
    // `refused`: the permission is reported, but reads are refused.
    void waitForAccessibility(bool refused = false);
    void trackWindow(const std::shared_ptr<platform::Window>& window);
    void updateActivationPolicy();
    void activateApp();
    void showSettings();
    void showOnboarding(bool lost);
    std::shared_ptr<platform::Menu> buildMainMenu();
    // Called by the updater when one of its sessions begins or ends.
    void updateSessionChanged(bool active);

    // The status menu.
    void refreshItems();
    void updateIcon();
    void toggleOnOff();
    void onOffHotKeyPressed();
    void toggleLegend();
    void layoutRows(platform::Menu& menu);
    void preselect(const std::shared_ptr<platform::MenuItem>& item);
    void menuNeedsUpdate(platform::Menu& menu) override;
    void menuWillOpen(platform::Menu& menu) override;
    void menuDidClose(platform::Menu& menu) override;

    // The menu's actions.
    void openPicker();
    void clearAll();
    void openAccessibility();
    void checkForUpdates();

    // The one controller, made on first use.
    std::shared_ptr<Controller> controller();

    // What the program and its tests look at.
    const std::shared_ptr<platform::StatusItem>& statusItem() const { return statusItem_; }
    const std::shared_ptr<platform::Menu>& statusMenu() const { return statusMenu_; }
    const std::shared_ptr<MenuRowView>& switchRow() const { return switchRow_; }
    const std::shared_ptr<MenuRowView>& legendHeader() const { return legendHeader_; }
    const std::vector<std::pair<std::shared_ptr<MenuRowView>, std::function<std::vector<KeyCap>()>>>&
    keyRows() const {
        return keyRows_;
    }
    const std::vector<std::shared_ptr<platform::MenuItem>>& hotkeyItems() const { return hotkeyItems_; }
    const std::shared_ptr<OnboardingWindow>& onboarding() const { return onboarding_; }
    const std::shared_ptr<SettingsWindow>& settings() const { return settings_; }
    std::shared_ptr<platform::Window> settingsWindow() const;
    std::size_t openWindowCount() const { return openWindows_.size(); }
    bool isStarted() const { return started_; }
    bool menuIsOpen() const { return menuIsOpen_; }

private:
    AppDelegate();
    void buildStatusMenu();
    void checkPermission(bool wasGranted);
    // A grant that no longer matches the binary (every rebuild signed ad hoc) is still reported;
    // the accessibility service then refuses every read.
    static bool accessibilityReadsRefused();
    void watchWindowClose(const std::shared_ptr<platform::Window>& window);
    void windowWillClose(const std::shared_ptr<platform::Window>& window);
    void setOnboardingStep(OnboardingStep step);
    std::shared_ptr<platform::MenuItem> addRowItem(platform::Menu& menu,
                                                   const std::shared_ptr<MenuRowView>& row,
                                                   std::shared_ptr<platform::MenuItem> item);
    // A hidden item with the title and action that still answers its key equivalent.
    std::shared_ptr<platform::MenuItem> hiddenTwin(const std::string& title, std::function<void()> action,
                                                   const std::string& keyEquivalent);
    std::function<void()> weakAction(void (AppDelegate::*method)());

    std::shared_ptr<platform::StatusItem> statusItem_;
    std::shared_ptr<platform::Menu> statusMenu_;
    std::shared_ptr<platform::MenuItem> updateItem_;
    std::shared_ptr<platform::MenuItem> updateSeparator_;
    std::shared_ptr<platform::MenuItem> accessibilityItem_;
    std::shared_ptr<platform::MenuItem> accessibilitySeparator_;
    std::shared_ptr<MenuRowView> switchRow_;
    std::shared_ptr<platform::MenuItem> openPickerItem_;
    std::shared_ptr<platform::MenuItem> clearAllItem_;
    std::shared_ptr<MenuRowView> legendHeader_;
    std::shared_ptr<platform::MenuItem> legendHeaderItem_;
    std::vector<std::shared_ptr<platform::MenuItem>> legendItems_;
    std::vector<std::shared_ptr<platform::MenuItem>> vimItems_;
    std::vector<std::shared_ptr<MenuRowView>> vimRows_;
    std::shared_ptr<platform::MenuItem> legendSeparator_;
    std::vector<std::shared_ptr<platform::MenuItem>> hotkeyItems_;
    std::vector<std::pair<std::shared_ptr<MenuRowView>, std::function<std::vector<KeyCap>()>>> keyRows_;
    std::shared_ptr<SettingsWindow> settings_;
    std::optional<MenuBarIcon> shownIcon_;
    std::optional<bool> shownIconIsOn_;
    std::shared_ptr<OnboardingWindow> onboarding_;
    std::set<std::shared_ptr<platform::Window>> openWindows_;
    bool updateSessionActive_ = false;
    bool started_ = false;
    bool menuIsOpen_ = false;
    platform::ActivityToken activity_;

    std::shared_ptr<Controller> controller_;
    std::shared_ptr<platform::Menu> mainMenu_;
    platform::Subscription defaultsObserver_;
    std::vector<platform::Subscription> windowObservers_;
    std::vector<platform::Subscription> twinObservers_;
    std::vector<std::function<void()>> twinKeyUpdates_;
    platform::Timer permissionTimer_;
    int permissionAttempts_ = 0;
};

} // namespace marlowick
