#include "app/app_delegate.h"

#include "app/log.h"
#include "app/onboarding.h"
#include "app/tree_dump.h"
#include "app/updater.h"
#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "input/settings_window.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/controller.h"
#include "notificationcenter/reader.h"
#include "platform/platform.h"

namespace marlowick {

namespace {

platform::Services& os() {
    return platform::current();
}

std::string shortcutText(const KeyboardShortcuts::Name& name) {
    auto shortcut = KeyboardShortcuts::getShortcut(name);
    return shortcut ? shortcut->description() : "none";
}

std::string versionText() {
    auto value = os().process->bundleValue("CFBundleShortVersionString");
    if (value && std::holds_alternative<std::string>(*value)) return std::get<std::string>(*value);
    return "?";
}

} // namespace

std::shared_ptr<AppDelegate> AppDelegate::create() {
    return std::shared_ptr<AppDelegate>(new AppDelegate());
}

AppDelegate::AppDelegate() = default;
AppDelegate::~AppDelegate() = default;

std::shared_ptr<Controller> AppDelegate::controller() {
    if (!controller_) controller_ = Controller::create();
    return controller_;
}

std::function<void()> AppDelegate::weakAction(void (AppDelegate::*method)()) {
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    return [weak, method] {
        if (auto self = weak.lock()) ((*self).*method)();
    };
}

void AppDelegate::applicationDidFinishLaunching() {
    auto& services = os();
    // A run that records Notification Center's tree does only that.
    if (auto status = dumpTreeIfAsked()) {
        services.application->exitProcess(*status);
        return;
    }
    services.process->makeStandardOutputLineBuffered();
    statusItem_ = services.statusBar->makeStatusItem(platform::kVariableStatusItemLength);
    updateIcon();
    defaultsObserver_ = services.notifications->observe(
        platform::kUserDefaultsDidChange,
        [action = weakAction(&AppDelegate::updateIcon)](const platform::UserInfo&) { action(); });
    buildStatusMenu();
    mainMenu_ = buildMainMenu();
    services.application->setMainMenu(mainMenu_);
    KeyboardShortcuts::setEnabled(AppSettings::isOn());
    Hotkeys::installHotkeyEventHandler();
    Hotkeys::install(weakAction(&AppDelegate::onOffHotKeyPressed));

    auto updater = Updater::shared();
    updater->onPendingChange = weakAction(&AppDelegate::refreshItems);
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    updater->onSession = [weak](bool active) {
        if (auto self = weak.lock()) self->updateSessionChanged(active);
    };
    updater->startUpdates();

    services.accessibility->setMessagingTimeout(services.accessibility->systemWide(), kMessagingTimeout);
    if (!services.accessibility->isProcessTrusted())
        waitForAccessibility();
    else if (accessibilityReadsRefused())
        waitForAccessibility(true);
    else
        startServices();
}

bool AppDelegate::accessibilityReadsRefused() {
    auto& accessibility = *os().accessibility;
    platform::AXValue value;
    // Only a refusal counts: Notification Center may not run yet, or be slow to answer.
    if (auto application = notificationCenterApp())
        return accessibility.copyAttributeValue(*application, "AXRole", value) == platform::kAXErrorAPIDisabled;
    return accessibility.copyAttributeValue(accessibility.systemWide(), "AXFocusedApplication", value) ==
           platform::kAXErrorAPIDisabled;
}

void AppDelegate::startServices() {
    if (started_) return;
    started_ = true;
    auto& services = os();
    services.defaults->set(kAccessibilityWasGrantedKey, true);
    activity_ =
        services.application->beginActivity(kActivityOptions, "Hotkeys and the picker must respond at once");

    // The hot-key handlers only hand the work to the main queue.
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    KeyboardShortcuts::onKeyDown(Hotkeys::openNotification, [weak] {
        platform::current().runLoop->async([weak] {
            if (auto self = weak.lock()) self->controller()->openPicker();
        });
    });
    KeyboardShortcuts::onKeyDown(Hotkeys::clearAll, [weak] {
        platform::current().runLoop->async([weak] {
            if (auto self = weak.lock()) self->controller()->clearAll();
        });
    });
    controller()->start();

    log("Marlowick " + versionText() + " running. Open notification " +
        shortcutText(Hotkeys::openNotification) + ", clear all " + shortcutText(Hotkeys::clearAll) +
        ", on/off " + shortcutText(Hotkeys::toggleSwitch) + ".");
    log("Mode " + std::string(rawValue(AppSettings::openMode())) + ", next style " +
        std::string(rawValue(AppSettings::nextStyle())) + ", stacks " +
        std::string(rawValue(AppSettings::stacks())) + ", auto badges " +
        (AppSettings::autoBadges() ? "on" : "off"));
}

void AppDelegate::waitForAccessibility(bool refused) {
    if (refused) log("Accessibility permission reported, but reads are refused");
    log("Waiting for Accessibility permission");
    bool wasGranted = refused || os().defaults->plainBoolean(kAccessibilityWasGrantedKey);
    permissionAttempts_ = 0;
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    permissionTimer_ = os().runLoop->scheduleTimer(kPermissionPollInterval, platform::TimerKind::Repeating,
                                                   platform::RunLoopMode::Default, [weak, wasGranted] {
                                                       if (auto self = weak.lock())
                                                           self->checkPermission(wasGranted);
                                                   });
}

void AppDelegate::checkPermission(bool wasGranted) {
    const bool trusted = os().accessibility->isProcessTrusted();
    const bool refused = trusted && !started_ && accessibilityReadsRefused();
    if (!trusted || refused) {
        if (!onboarding_)
            showOnboarding(wasGranted || refused);
        else if (refused)
            setOnboardingStep(OnboardingStep::lost);
        return;
    }
    startServices();
    if (!onboarding_ || !onboarding_->window()->isVisible()) {
        permissionTimer_.invalidate();
        return;
    }
    // The trust report alone can be stale; only a real read shows that the permission works.
    auto application = notificationCenterApp();
    if (application && stringAttribute(*application, "AXRole")) {
        permissionTimer_.invalidate();
        log("Accessibility confirmed by a read of Notification Center");
        setOnboardingStep(OnboardingStep::granted);
        onboarding_->window()->orderFrontRegardless();
        return;
    }
    ++permissionAttempts_;
    setOnboardingStep(permissionAttempts_ < kReadsBeforeNoAnswer ? OnboardingStep::checking
                                                                 : OnboardingStep::noAnswer);
}

void AppDelegate::setOnboardingStep(OnboardingStep step) {
    if (onboarding_) onboarding_->state.setStep(step);
}

void AppDelegate::watchWindowClose(const std::shared_ptr<platform::Window>& window) {
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    std::weak_ptr<platform::Window> weakWindow = window;
    windowObservers_.push_back(window->observeWillClose([weak, weakWindow] {
        auto self = weak.lock();
        auto closing = weakWindow.lock();
        if (self && closing) self->windowWillClose(closing);
    }));
}

void AppDelegate::trackWindow(const std::shared_ptr<platform::Window>& window) {
    watchWindowClose(window);
    openWindows_.insert(window);
}

void AppDelegate::windowWillClose(const std::shared_ptr<platform::Window>& window) {
    openWindows_.erase(window);
    updateActivationPolicy();
}

void AppDelegate::updateActivationPolicy() {
    bool background = openWindows_.empty() && !updateSessionActive_;
    os().application->setActivationPolicy(background ? platform::ActivationPolicy::Accessory
                                                     : platform::ActivationPolicy::Regular);
}

void AppDelegate::activateApp() {
    os().application->activateIgnoringOtherApps();
}

std::shared_ptr<platform::Window> AppDelegate::settingsWindow() const {
    return settings_ ? settings_->window() : nullptr;
}

void AppDelegate::showSettings() {
    log("Opening Settings");
    controller()->closePicker();
    if (!settings_) {
        // Made once and kept: closing only takes it off the screen.
        settings_ = SettingsWindow::create();
        watchWindowClose(settings_->window());
    }
    openWindows_.insert(settings_->window());
    os().application->setActivationPolicy(platform::ActivationPolicy::Regular);
    settings_->show();
    activateApp();
}

void AppDelegate::updateSessionChanged(bool active) {
    updateSessionActive_ = active;
    if (!active) {
        updateActivationPolicy();
        return;
    }
    controller()->closePicker();
    os().application->setActivationPolicy(platform::ActivationPolicy::Regular);
    os().runLoop->asyncAfter(kActivationDelay, weakAction(&AppDelegate::activateApp));
}

std::shared_ptr<platform::Menu> AppDelegate::buildMainMenu() {
    auto& menus = *os().menus;
    auto main = menus.makeMenu("");

    auto applicationMenu = menus.makeMenu("");
    applicationMenu->addItem(menus.makeItem("Settings", weakAction(&AppDelegate::showSettings), ","));
    applicationMenu->addItem(menus.makeSeparator());
    applicationMenu->addItem(menus.makeItem(
        "Quit", [] { platform::current().application->terminate(); }, "q"));
    auto applicationEntry = menus.makeItem("", nullptr, "");
    applicationEntry->setSubmenu(applicationMenu);
    main->addItem(applicationEntry);

    auto fileMenu = menus.makeMenu("File");
    fileMenu->addItem(menus.makeItem(
        "Close",
        [] {
            if (auto window = platform::current().application->keyWindow()) window->performClose();
        },
        "w"));
    auto fileEntry = menus.makeItem("", nullptr, "");
    fileEntry->setSubmenu(fileMenu);
    main->addItem(fileEntry);
    return main;
}

} // namespace marlowick
