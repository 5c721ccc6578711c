// The General pane: the accessibility permission, launch at login, update checks and the
// "Restore Defaults" that resets all three groups after asking.
#include "app/log.h"
#include "app/onboarding.h"
#include "app/updater.h"
#include "input/settings_rows.h"
#include "input/settings_window.h"
#include "platform/platform.h"

namespace marlowick {

using platform::LoginItemStatus;
using platform::ViewNode;

namespace {

// A bundle value as text: bounded and escaped, "?" when missing or not text.
std::string bundleText(std::string_view key) {
    auto value = platform::current().process->bundleValue(key);
    if (!value || !std::holds_alternative<std::string>(*value)) return "?";
    const auto& text = std::get<std::string>(*value);
    return text.empty() ? "?" : escapeUntrusted(text);
}

std::string versionText() {
    return bundleText("CFBundleShortVersionString") + " (" + bundleText("CFBundleVersion") + ")";
}

// The last check in the user's locale; an absurd stored date is clamped, not converted blindly.
std::string checkDateText(double secondsSince1970) {
    auto* formatter = platform::current().dateFormatter;
    auto date = platform::clampedDate(secondsSince1970);
    std::string text = formatter && date ? formatter->abbreviatedDateShortTime(*date) : std::string();
    return text.empty() ? "never" : escapeUntrusted(text);
}

std::string statusCode(LoginItemStatus status) {
    return std::to_string(static_cast<int>(status));
}

ViewNode button(std::string title, std::function<void()> action, platform::ButtonRole role = {}) {
    platform::ButtonView view;
    view.title = std::move(title);
    view.action = std::move(action);
    view.role = role;
    return ViewNode::makeButton(std::move(view));
}

} // namespace

GeneralPaneState SettingsWindow::readGeneral() const {
    auto& services = platform::current();
    GeneralPaneState state;
    state.trusted = services.accessibility->isProcessTrusted();
    state.loginItem = services.loginItems ? services.loginItems->status() : LoginItemStatus::NotFound;
    auto updater = Updater::shared();
    if (updater->isAvailable() && updater->controller()) {
        state.checksAutomatically = updater->controller()->automaticallyChecksForUpdates();
        state.lastCheck = updater->controller()->lastUpdateCheckDate();
    }
    return state;
}

void SettingsWindow::setLaunchAtLogin(bool on) {
    auto* service = platform::current().loginItems;
    if (!service) return;
    std::string error;
    bool done = on ? service->registerMainApp(error) : service->unregisterMainApp(error);
    general_.loginItemFailed = !done;
    if (!done)
        log(std::string("Launch at login: ") + (on ? "register" : "unregister") +
            " failed: " + escapeUntrusted(error));
    general_.loginItem = service->status();
    log("Launch at login: status " + statusCode(general_.loginItem));
    setNeedsRebuild();
}

void SettingsWindow::confirmRestoreAll() {
    isConfirming_ = true;
    std::weak_ptr<SettingsWindow> weak = weak_from_this();
    controller_->beginAlert(
        {"Restore all settings to their defaults?",
         "Shortcuts, Behavior and Appearance go back to their defaults. This can't be undone. "
         "Launch at login and the on/off switch stay as they are.",
         {{"Cancel", platform::ButtonRole::Cancel}, {"Restore Defaults", platform::ButtonRole::Destructive}}},
        [weak](std::size_t answer) {
            auto self = weak.lock();
            if (!self) return;
            self->isConfirming_ = false;
            if (answer != 1) return;
            for (auto group : allRestoreGroups)
                AppSettings::restoreDefaults(group);
        });
}

std::vector<ViewNode> SettingsWindow::generalPane() {
    const auto& pane = general_;
    std::weak_ptr<SettingsWindow> weak = weak_from_this();
    std::vector<ViewNode> parts;

    Row accessibility{"Allow Accessibility", statusCircle(pane.trusted), std::nullopt, {}};
    if (pane.trusted) {
        accessibility.details.push_back(note("Done. Marlowick can read and press notifications."));
    } else {
        accessibility.control = button(
            "Allow", [] { platform::current().workspace->openURL(std::string(kAccessibilitySettingsURL)); },
            platform::ButtonRole::Prominent);
        accessibility.details.push_back(note("Needed to read and press notifications."));
    }
    parts.push_back(rowGroup("Setup", {row(std::move(accessibility))}));

    platform::SwitchView login;
    login.label = "Launch at login";
    login.isOn = pane.loginItem == LoginItemStatus::Enabled;
    login.onChange = [weak](bool on) {
        if (auto self = weak.lock()) self->setLaunchAtLogin(on);
    };
    ViewNode loginSwitch = ViewNode::make(std::move(login));
    loginSwitch.disabled = platform::current().loginItems == nullptr;
    Row launch{"Launch at login", std::nullopt, std::move(loginSwitch), {}};
    if (pane.loginItem == LoginItemStatus::RequiresApproval) {
        platform::StackView line;
        line.axis = platform::Axis::Horizontal;
        line.spacing = 8;
        line.children.push_back(note("Turned off in Login Items."));
        line.children.push_back(button("Open Login Items\u2026", [] {
            if (auto* service = platform::current().loginItems) service->openSystemSettingsLoginItems();
        }));
        launch.details.push_back(ViewNode::makeStack(std::move(line)));
    } else {
        launch.details.push_back(
            note(pane.loginItemFailed ? "macOS refused the change." : "Starts Marlowick when you log in."));
    }
    parts.push_back(rowGroup("Startup", {row(std::move(launch))}));

    auto updater = Updater::shared();
    const bool available = updater->isAvailable() && updater->controller();
    platform::SwitchView automatic;
    automatic.label = "Check automatically";
    automatic.isOn = available && pane.checksAutomatically;
    automatic.onChange = [weak](bool on) {
        auto self = weak.lock();
        auto shared = Updater::shared();
        if (!self || !shared->isAvailable() || !shared->controller()) return;
        shared->controller()->setAutomaticallyChecksForUpdates(on);
        self->general_.checksAutomatically = shared->controller()->automaticallyChecksForUpdates();
        self->setNeedsRebuild();
    };
    ViewNode automaticSwitch = ViewNode::make(std::move(automatic));
    automaticSwitch.disabled = !available;
    ViewNode checkNow = button("Check Now", [] { Updater::shared()->checkForUpdates(); });
    checkNow.disabled = !available;
    std::string footer = available ? "Version " + versionText() + ". Last checked " +
                                         (pane.lastCheck ? checkDateText(*pane.lastCheck) : "never")
                                   : "Updates are off in this build. Version " + versionText();
    auto updates =
        rowGroup("Updates", {row({"Check automatically", std::nullopt, std::move(automaticSwitch), {}}),
                             row({"Check for updates", std::nullopt, std::move(checkNow), {}})});
    updates.as<platform::StackView>()->children.push_back(note(std::move(footer)));
    parts.push_back(std::move(updates));

    parts.push_back(ViewNode::make(platform::SpacerView{}));
    bool atDefaults = true;
    for (auto group : allRestoreGroups)
        atDefaults = atDefaults && AppSettings::isAtDefaults(group);
    parts.push_back(restoreButton(atDefaults, [weak] {
        if (auto self = weak.lock()) self->confirmRestoreAll();
    }));
    return parts;
}

} // namespace marlowick
