#include "app/updater.h"

#include "app/log.h"
#include "platform/platform.h"

namespace marlowick {

namespace {

std::string bundleString(std::string_view key) {
    auto value = platform::current().process->bundleValue(key);
    if (value && std::holds_alternative<std::string>(*value)) return std::get<std::string>(*value);
    return {};
}

} // namespace

std::shared_ptr<Updater> Updater::shared() {
    static std::shared_ptr<Updater> updater;
    static std::uint64_t generation = 0;
    if (!updater || generation != platform::generation()) {
        updater = std::shared_ptr<Updater>(new Updater());
        generation = platform::generation();
        // The controller does not start until startUpdates finds a feed and a key.
        updater->controller_ = platform::current().updates->makeStandardUpdaterController(false, updater);
    }
    return updater;
}

void Updater::startUpdates() {
    std::string feed = bundleString("SUFeedURL");
    std::string key = bundleString("SUPublicEDKey");
    if (feed.empty() || key.empty()) {
        log(std::string("Updates off: no ") + (feed.empty() ? "feed" : "public key") + " in this build");
        return;
    }
    isAvailable_ = true;
    controller_->startUpdater();
    log(std::string("Updates on, automatic checks ") +
        (controller_->automaticallyChecksForUpdates() ? "on" : "off"));
}

void Updater::checkForUpdates() {
    if (!isAvailable_) return;
    if (!controller_->canCheckForUpdates() && !pendingVersion_) return;
    onSession(true);
    controller_->checkForUpdates();
}

void Updater::standardUserDriverWillHandleShowingUpdate(bool, const platform::AppcastItem& update,
                                                        const platform::UserUpdateState& state) {
    updateFound(update, state);
}

void Updater::updateFound(const platform::AppcastItem& item, const platform::UserUpdateState& state) {
    // A check the user asked for shows the framework's own window.
    if (state.userInitiated) return;
    // The version comes from the feed: bounded and escaped like any text from outside, for the
    // log and for the menu row that shows it.
    std::string version = escapeUntrusted(item.displayVersionString);
    log("Update " + version + " found");
    setPendingVersion(std::move(version));
}

void Updater::standardUserDriverDidReceiveUserAttention(const platform::AppcastItem&) {
    setPendingVersion(std::nullopt);
}

void Updater::standardUserDriverWillFinishUpdateSession() {
    setPendingVersion(std::nullopt);
    onSession(false);
}

void Updater::setPendingVersion(std::optional<std::string> version) {
    pendingVersion_ = std::move(version);
    onPendingChange();
}

} // namespace marlowick
