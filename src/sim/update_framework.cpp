#include "sim/update_framework.h"

namespace marlowick::sim {

namespace {

constexpr std::string_view kAutomaticChecksKey = "SUEnableAutomaticChecks";

} // namespace

class SimUpdateFramework::Controller final : public platform::UpdaterController,
                                             public std::enable_shared_from_this<Controller> {
public:
    Controller(SimUpdateFramework& owner, std::weak_ptr<platform::StandardUserDriverDelegate> delegate)
        : owner_(owner), alive_(owner.alive_), delegate_(std::move(delegate)) {}

    void startUpdater() override {
        if (started_ || alive_.expired()) return;
        started_ = true;
        std::weak_ptr<Controller> weak = weak_from_this();
        timer_ = owner_.loop_.scheduleTimer(kScheduledCheckInterval, platform::TimerKind::Repeating,
                                            platform::RunLoopMode::Default, [weak] {
                                                if (auto self = weak.lock()) self->scheduledCheck();
                                            });
    }
    bool automaticallyChecksForUpdates() override {
        if (alive_.expired()) return false;
        if (auto stored = owner_.defaults_.boolean(kAutomaticChecksKey)) return *stored;
        auto bundled = owner_.process_.bundleValue(kAutomaticChecksKey);
        return bundled && std::holds_alternative<bool>(*bundled) && std::get<bool>(*bundled);
    }
    void setAutomaticallyChecksForUpdates(bool checks) override {
        if (!alive_.expired()) owner_.defaults_.set(kAutomaticChecksKey, checks);
    }
    std::optional<double> lastUpdateCheckDate() override { return lastCheck_; }
    bool canCheckForUpdates() override { return started_ && !session_; }
    void checkForUpdates() override {
        if (alive_.expired()) return;
        if (session_ && shown_ && !windowShown_) {
            // A gentle reminder waiting for the user: the check brings its update up, and the user
            // now attends to it.
            windowShown_ = true;
            if (auto delegate = delegate_.lock()) {
                delegate->standardUserDriverWillHandleShowingUpdate(true, {*shown_}, {.userInitiated = true});
                delegate->standardUserDriverDidReceiveUserAttention({*shown_});
            }
            return;
        }
        if (!canCheckForUpdates()) return;
        noteCheck();
        session_ = true;
        windowShown_ = true;
        shown_ = owner_.available_;
        if (!shown_) return; // the window says the application is up to date
        if (auto delegate = delegate_.lock()) {
            delegate->standardUserDriverWillHandleShowingUpdate(true, {*shown_}, {.userInitiated = true});
        }
    }

    std::optional<std::string> whyNoScheduledCheck() {
        if (alive_.expired() || !started_) return "the updater has not started";
        if (!automaticallyChecksForUpdates()) return "automatic checks are off";
        if (session_) return "an update session is under way";
        return std::nullopt;
    }
    void scheduledCheck() {
        if (whyNoScheduledCheck()) return;
        noteCheck();
        if (!owner_.available_) return;
        platform::AppcastItem item{*owner_.available_};
        auto delegate = delegate_.lock();
        bool gentle = delegate && delegate->supportsGentleScheduledUpdateReminders();
        bool frameworkShows =
            !gentle || delegate->standardUserDriverShouldHandleShowingScheduledUpdate(item, false);
        if (delegate)
            delegate->standardUserDriverWillHandleShowingUpdate(frameworkShows, item,
                                                                {.userInitiated = false});
        // Either way the session is under way: a gentle reminder's lasts until the user attends to it.
        session_ = true;
        windowShown_ = frameworkShows;
        shown_ = item.displayVersionString;
    }
    void userAttends() {
        if (!shown_) return;
        windowShown_ = true;
        if (auto delegate = delegate_.lock()) delegate->standardUserDriverDidReceiveUserAttention({*shown_});
    }
    void endSession() {
        if (!session_) return;
        session_ = false;
        windowShown_ = false;
        shown_.reset();
        if (auto delegate = delegate_.lock()) delegate->standardUserDriverWillFinishUpdateSession();
    }

    bool started() const { return started_; }
    bool session() const { return session_; }
    bool showsWindow() const { return session_ && windowShown_; }
    int checks() const { return checks_; }

private:
    void noteCheck() {
        ++checks_;
        lastCheck_ = owner_.loop_.secondsSince1970();
    }

    SimUpdateFramework& owner_;
    std::weak_ptr<bool> alive_;
    std::weak_ptr<platform::StandardUserDriverDelegate> delegate_;
    bool started_ = false;
    bool session_ = false;
    bool windowShown_ = false;
    std::optional<std::string> shown_;
    std::optional<double> lastCheck_;
    int checks_ = 0;
    platform::Timer timer_;
};

SimUpdateFramework::SimUpdateFramework(SimRunLoop& loop, platform::UserDefaults& defaults,
                                       platform::Process& process)
    : loop_(loop), defaults_(defaults), process_(process) {}

SimUpdateFramework::~SimUpdateFramework() {
    *alive_ = false;
}

// The application owns the controller; the framework keeps a weak reference to drive it.
namespace {
template <typename T> struct SharedOwner final : platform::UpdaterController {
    explicit SharedOwner(std::shared_ptr<T> inner) : inner(std::move(inner)) {}
    void startUpdater() override { inner->startUpdater(); }
    bool automaticallyChecksForUpdates() override { return inner->automaticallyChecksForUpdates(); }
    void setAutomaticallyChecksForUpdates(bool checks) override {
        inner->setAutomaticallyChecksForUpdates(checks);
    }
    std::optional<double> lastUpdateCheckDate() override { return inner->lastUpdateCheckDate(); }
    bool canCheckForUpdates() override { return inner->canCheckForUpdates(); }
    void checkForUpdates() override { inner->checkForUpdates(); }
    std::shared_ptr<T> inner;
};
} // namespace

std::unique_ptr<platform::UpdaterController> SimUpdateFramework::makeStandardUpdaterController(
    bool startingUpdater, std::weak_ptr<platform::StandardUserDriverDelegate> delegate) {
    auto controller = std::make_shared<Controller>(*this, std::move(delegate));
    controller_ = controller;
    if (startingUpdater) controller->startUpdater();
    return std::make_unique<SharedOwner<Controller>>(controller);
}

std::optional<std::string> SimUpdateFramework::runScheduledCheck() {
    auto controller = controller_.lock();
    if (!controller) return "no updater";
    if (auto reason = controller->whyNoScheduledCheck()) return reason;
    controller->scheduledCheck();
    return std::nullopt;
}

void SimUpdateFramework::runUserCheck() {
    if (auto controller = controller_.lock()) controller->checkForUpdates();
}

void SimUpdateFramework::userAttendsToUpdate() {
    if (auto controller = controller_.lock()) controller->userAttends();
}

void SimUpdateFramework::endSession() {
    if (auto controller = controller_.lock()) controller->endSession();
}

bool SimUpdateFramework::isStarted() const {
    auto controller = controller_.lock();
    return controller && controller->started();
}

bool SimUpdateFramework::isSessionActive() const {
    auto controller = controller_.lock();
    return controller && controller->session();
}

bool SimUpdateFramework::showsUpdateWindow() const {
    auto controller = controller_.lock();
    return controller && controller->showsWindow();
}

int SimUpdateFramework::checkCount() const {
    auto controller = controller_.lock();
    return controller ? controller->checks() : 0;
}

} // namespace marlowick::sim
