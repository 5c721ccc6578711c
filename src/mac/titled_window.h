// The NSWindow of the titled windows, which knows the core's window it shows, so that the
// application adapter can answer with the key window. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <functional>
#include <memory>

#include "mac/controls.h"
#include "platform/titled_windows.h"

NS_ASSUME_NONNULL_BEGIN

@interface MWKWindow : NSWindow
// The core's handle for this window, while one lives.
@property(nonatomic) std::weak_ptr<marlowick::platform::Window> handle;
// Runs after every change of first responder, whoever made it; a change made inside another one
// (a field handing its editing to the field editor) runs it once, at the end.
@property(nonatomic) std::function<void()> firstResponderChanged;
// Runs at every left mouse-down on the content while no sheet is up, before AppKit handles it; when
// it returns true, AppKit never sees the click.
@property(nonatomic) std::function<bool(const marlowick::platform::MouseDown&)> mouseDown;
// The shortcut field being edited in this window, if any.
- (nullable MWKShortcutField*)editedShortcutField;
@end

NS_ASSUME_NONNULL_END
