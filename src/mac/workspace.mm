// Wraps: NSWorkspace's running applications and their key-value observation (the launch and
// termination notifications never come for an application without a Dock icon, such as
// Notification Center), NSRunningApplication, opening URLs, NSTask for helper tools and their exit
// status.
// Leaves out: launching applications, file icons, the frontmost application.
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <dispatch/dispatch.h>

#include <memory>
#include <string>
#include <vector>

#include "mac/foundation_values.h"
#include "mac/key_value_observer.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

NSString* const kRunningApplications = @"runningApplications";

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
        std::weak_ptr<std::function<void()>> weak = held;
        // The change may be reported on any thread; the callback runs on the main queue, and not at
        // all once the handle has been dropped.
        MWKKeyValueObserver* observer = [[MWKKeyValueObserver alloc] initWithCallback:[weak] {
            dispatch_async(dispatch_get_main_queue(), ^{
              if (auto callback = weak.lock()) {
                  auto keep = callback; // the callback may end this observation
                  (*keep)();
              }
            });
        }];
        NSWorkspace* workspace = NSWorkspace.sharedWorkspace;
        [workspace addObserver:observer forKeyPath:kRunningApplications options:0 context:nullptr];
        return platform::Subscription([workspace, observer, held] {
            [workspace removeObserver:observer forKeyPath:kRunningApplications context:nullptr];
        });
    }

    bool openURL(const std::string& url) override {
        NSString* text = toNSString(url);
        NSURL* target = text ? [NSURL URLWithString:text] : nil;
        return target && [NSWorkspace.sharedWorkspace openURL:target];
    }

    bool launchTask(const std::string& executable, const std::vector<std::string>& arguments,
                    std::function<void(int exitStatus)> onExit) override {
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
        if (onExit) {
            auto held = std::make_shared<std::function<void(int)>>(std::move(onExit));
            // Called on a thread of the task's own; the status goes to the main queue.
            [task setTerminationHandler:^(NSTask* ended) {
              const int status = ended.terminationStatus;
              dispatch_async(dispatch_get_main_queue(), ^{
                (*held)(status);
              });
            }];
        }
        // The task runs on after this object goes; nobody waits for it.
        return [task launchAndReturnError:nil];
    }
};

} // namespace

std::unique_ptr<platform::Workspace> makeWorkspace() {
    return std::make_unique<MacWorkspace>();
}

} // namespace marlowick::mac
