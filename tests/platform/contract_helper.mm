// The contract tests' helper application on a Mac (platform_under_test.h): one window with its two
// buttons, and the helper's hot key held while it runs. It prints "ready" and the status of the
// hot key's registration once both are in place, so the test knows when to look.
#import <AppKit/AppKit.h>
#import <Carbon/Carbon.h>

#include <cstdio>

#include "platform_under_test.h"

namespace t = marlowick::platform::testing;

@interface MWKContractHelper : NSObject
@property(nullable, strong) NSWindow* window;
- (void)rename:(id)sender;
- (void)closeWindow:(id)sender;
@end

@implementation MWKContractHelper
- (void)rename:(id)sender {
    (void)sender;
    NSString* original = @(t::kHelperTitle);
    self.window.title = [self.window.title isEqualToString:original] ? @(t::kRenamedTitle) : original;
}

- (void)closeWindow:(id)sender {
    (void)sender;
    [self.window close];
    // Gone for good, so that its elements read as stale.
    self.window = nil;
}
@end

int main() {
    @autoreleasepool {
        NSApplication* application = NSApplication.sharedApplication;
        [application setActivationPolicy:NSApplicationActivationPolicyAccessory];
        MWKContractHelper* helper = [[MWKContractHelper alloc] init];
        NSWindow* window = [[NSWindow alloc] initWithContentRect:NSRect {
            {200, 200}, {
                400, 300
            }
        }
                                                       styleMask:NSWindowStyleMaskTitled
                                                         backing:NSBackingStoreBuffered
                                                           defer:NO];
        window.releasedWhenClosed = NO;
        window.title = @(t::kHelperTitle);
        NSButton* rename = [NSButton buttonWithTitle:@(t::kRenameButton)
                                              target:helper
                                              action:@selector(rename:)];
        rename.frame = NSRect{{20, 20}, {90, 32}};
        NSButton* close = [NSButton buttonWithTitle:@(t::kCloseButton)
                                             target:helper
                                             action:@selector(closeWindow:)];
        close.frame = NSRect{{120, 20}, {90, 32}};
        [window.contentView addSubview:rename];
        [window.contentView addSubview:close];
        helper.window = window;
        [window orderFrontRegardless];

        EventHotKeyRef hotKey = nullptr;
        OSStatus status = RegisterEventHotKey(t::kHelperChordKeyCode, t::kHelperChordModifiers,
                                              EventHotKeyID{marlowick::platform::fourCharCode("MWHp"), 1},
                                              GetApplicationEventTarget(), 0, &hotKey);
        std::printf("ready %d\n", static_cast<int>(status));
        std::fflush(stdout);
        [application run];
    }
    return 0;
}
