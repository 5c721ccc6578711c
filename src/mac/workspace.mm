// Wraps: NSWorkspace's running applications and its launch and termination notifications,
// NSRunningApplication, opening URLs, NSTask for helper tools.
// Leaves out: launching applications, file icons, the frontmost application, KVO observation.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <memory>
#include <string>
#include <vector>

#include "mac/foundation_values.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

class MacRunningApplication final : public platform::RunningApplication {
public:
    explicit MacRunningApplication(NSRunningApplication* application) : application_(application) {}
    std::string bundleIdentifier() const override { return toString(application_.bundleIdentifier); }
    std::int32_t processIdentifier() const override { return application_.processIdentifier; }
    bool isTerminated() const override { return application_.terminated; }

private:
    NSRunningApplication* application_;
};

class MacWorkspace final : public platform::Workspace {
public:
    std::vector<std::shared_ptr<const platform::RunningApplication>> runningApplications() override {
        std::vector<std::shared_ptr<const platform::RunningApplication>> out;
        for (NSRunningApplication* application in NSWorkspace.sharedWorkspace.runningApplications)
            out.push_back(std::make_shared<MacRunningApplication>(application));
        return out;
    }

    platform::Subscription observeRunningApplications(std::function<void()> onChange) override {
        auto held = std::make_shared<std::function<void()>>(std::move(onChange));
        NSNotificationCenter* center = NSWorkspace.sharedWorkspace.notificationCenter;
        auto block = ^(NSNotification*) {
          (*held)();
        };
        id launched = [center addObserverForName:NSWorkspaceDidLaunchApplicationNotification
                                          object:nil
                                           queue:NSOperationQueue.mainQueue
                                      usingBlock:block];
        id terminated = [center addObserverForName:NSWorkspaceDidTerminateApplicationNotification
                                            object:nil
                                             queue:NSOperationQueue.mainQueue
                                        usingBlock:block];
        return platform::Subscription([center, launched, terminated] {
            [center removeObserver:launched];
            [center removeObserver:terminated];
        });
    }

    bool openURL(const std::string& url) override {
        NSString* text = toNSString(url);
        NSURL* target = text ? [NSURL URLWithString:text] : nil;
        return target && [NSWorkspace.sharedWorkspace openURL:target];
    }

    bool launchTask(const std::string& executable, const std::vector<std::string>& arguments) override {
        NSString* path = toNSString(executable);
        if (!path) return false;
        NSMutableArray<NSString*>* list = [NSMutableArray arrayWithCapacity:arguments.size()];
        for (const auto& argument : arguments) {
            NSString* text = toNSString(argument);
            if (!text) return false;
            [list addObject:text];
        }
        NSTask* task = [[NSTask alloc] init];
        task.executableURL = [NSURL fileURLWithPath:path];
        task.arguments = list;
        // The task runs on after this object goes; nobody waits for it.
        return [task launchAndReturnError:nil];
    }
};

} // namespace

std::unique_ptr<platform::Workspace> makeWorkspace() {
    return std::make_unique<MacWorkspace>();
}

} // namespace marlowick::mac
