// Wraps: Sparkle's SPUStandardUpdaterController and its SPUUpdater (scheduled and requested checks,
// the automatic-check preference, the last check's date) and the standard user driver's delegate
// calls, when the build found Sparkle (MARLOWICK_SPARKLE). Without it, a framework whose controllers
// never start or check: a build where updates are off.
// Leaves out: the updater delegate's calls, custom user drivers, feed and signature handling (the
// framework's own).
#import <Foundation/Foundation.h>

#include <memory>
#include <optional>
#include <utility>

#include "mac/foundation_values.h"
#include "mac/services.h"

#if MARLOWICK_SPARKLE
#import <Sparkle/Sparkle.h>

namespace p = marlowick::platform;

// Forwards the user driver's questions to the product's delegate while it lives.
@interface MWKUserDriverDelegate : NSObject <SPUStandardUserDriverDelegate>
- (instancetype)initWithDelegate:(std::weak_ptr<p::StandardUserDriverDelegate>)delegate;
@end

namespace {
p::AppcastItem itemOf(SUAppcastItem* update) {
    return p::AppcastItem{marlowick::mac::toString(update.displayVersionString)};
}
} // namespace

@implementation MWKUserDriverDelegate {
    std::weak_ptr<p::StandardUserDriverDelegate> _delegate;
}

- (instancetype)initWithDelegate:(std::weak_ptr<p::StandardUserDriverDelegate>)delegate {
    if ((self = [super init])) _delegate = std::move(delegate);
    return self;
}

- (BOOL)supportsGentleScheduledUpdateReminders {
    auto delegate = _delegate.lock();
    return delegate && delegate->supportsGentleScheduledUpdateReminders();
}

- (BOOL)standardUserDriverShouldHandleShowingScheduledUpdate:(SUAppcastItem*)update
                                         andInImmediateFocus:(BOOL)immediateFocus {
    auto delegate = _delegate.lock();
    return !delegate ||
           delegate->standardUserDriverShouldHandleShowingScheduledUpdate(itemOf(update), immediateFocus);
}

- (void)standardUserDriverWillHandleShowingUpdate:(BOOL)handleShowingUpdate
                                        forUpdate:(SUAppcastItem*)update
                                            state:(SPUUserUpdateState*)state {
    if (auto delegate = _delegate.lock())
        delegate->standardUserDriverWillHandleShowingUpdate(
            handleShowingUpdate, itemOf(update), p::UserUpdateState{static_cast<bool>(state.userInitiated)});
}

- (void)standardUserDriverDidReceiveUserAttentionForUpdate:(SUAppcastItem*)update {
    if (auto delegate = _delegate.lock()) delegate->standardUserDriverDidReceiveUserAttention(itemOf(update));
}

- (void)standardUserDriverWillFinishUpdateSession {
    if (auto delegate = _delegate.lock()) delegate->standardUserDriverWillFinishUpdateSession();
}

@end
#endif

namespace marlowick::mac {
namespace {

#if MARLOWICK_SPARKLE
class SparkleUpdaterController final : public p::UpdaterController {
public:
    SparkleUpdaterController(bool startingUpdater, std::weak_ptr<p::StandardUserDriverDelegate> delegate)
        : delegate_([[MWKUserDriverDelegate alloc] initWithDelegate:std::move(delegate)]),
          controller_([[SPUStandardUpdaterController alloc] initWithStartingUpdater:startingUpdater
                                                                    updaterDelegate:nil
                                                                 userDriverDelegate:delegate_]) {}

    void startUpdater() override { [controller_ startUpdater]; }
    bool automaticallyChecksForUpdates() override {
        return controller_.updater.automaticallyChecksForUpdates;
    }
    void setAutomaticallyChecksForUpdates(bool checks) override {
        controller_.updater.automaticallyChecksForUpdates = checks;
    }
    std::optional<double> lastUpdateCheckDate() override {
        NSDate* date = controller_.updater.lastUpdateCheckDate;
        if (!date) return std::nullopt;
        return date.timeIntervalSince1970;
    }
    bool canCheckForUpdates() override { return controller_.updater.canCheckForUpdates; }
    void checkForUpdates() override { [controller_ checkForUpdates:nil]; }

private:
    // The controller holds its user driver's delegate weakly; this keeps it.
    MWKUserDriverDelegate* delegate_;
    SPUStandardUpdaterController* controller_;
};

class SparkleUpdateFramework final : public p::UpdateFramework {
public:
    std::unique_ptr<p::UpdaterController>
    makeStandardUpdaterController(bool startingUpdater,
                                  std::weak_ptr<p::StandardUserDriverDelegate> delegate) override {
        return std::make_unique<SparkleUpdaterController>(startingUpdater, std::move(delegate));
    }
};
#else
namespace p = marlowick::platform;

class UpdatesOffController final : public p::UpdaterController {
public:
    void startUpdater() override {}
    bool automaticallyChecksForUpdates() override { return false; }
    void setAutomaticallyChecksForUpdates(bool) override {}
    std::optional<double> lastUpdateCheckDate() override { return std::nullopt; }
    bool canCheckForUpdates() override { return false; }
    void checkForUpdates() override {}
};

class UpdatesOffFramework final : public p::UpdateFramework {
public:
    std::unique_ptr<p::UpdaterController>
    makeStandardUpdaterController(bool, std::weak_ptr<p::StandardUserDriverDelegate>) override {
        return std::make_unique<UpdatesOffController>();
    }
};
#endif

} // namespace

std::unique_ptr<platform::UpdateFramework> makeUpdateFramework() {
#if MARLOWICK_SPARKLE
    return std::make_unique<SparkleUpdateFramework>();
#else
    return std::make_unique<UpdatesOffFramework>();
#endif
}

} // namespace marlowick::mac
