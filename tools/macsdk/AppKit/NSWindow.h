// Stands for AppKit's NSWindow.h, NSPanel.h, NSColor.h and NSAnimationContext.h: windows and
// panels, their style, level, collection behaviour, frame and its animation, ordering, key status,
// first responder, events, sheets and their parents, and delegate, and colours in sRGB, with the
// signatures of Apple's public documentation. Included by AppKit.h.
#pragma once

NS_ASSUME_NONNULL_BEGIN

@class NSView, NSColor, NSResponder;

typedef NS_OPTIONS(NSUInteger, NSWindowStyleMask){
    NSWindowStyleMaskBorderless = 0,
    NSWindowStyleMaskTitled = 1 << 0,
    NSWindowStyleMaskClosable = 1 << 1,
    NSWindowStyleMaskMiniaturizable = 1 << 2,
    NSWindowStyleMaskResizable = 1 << 3,
    NSWindowStyleMaskNonactivatingPanel = 1 << 7,
    NSWindowStyleMaskFullSizeContentView = 1 << 15,
};

typedef NS_ENUM(NSUInteger, NSBackingStoreType){
    NSBackingStoreBuffered = 2,
};

typedef NSInteger NSWindowLevel;
static const NSWindowLevel NSNormalWindowLevel = 0;
static const NSWindowLevel NSPopUpMenuWindowLevel = 101;

typedef NS_OPTIONS(NSUInteger, NSWindowCollectionBehavior){
    NSWindowCollectionBehaviorDefault = 0,
    NSWindowCollectionBehaviorCanJoinAllSpaces = 1 << 0,
    NSWindowCollectionBehaviorFullScreenAuxiliary = 1 << 8,
};

typedef NS_ENUM(NSInteger, NSWindowTitleVisibility){
    NSWindowTitleVisible = 0,
    NSWindowTitleHidden = 1,
};

typedef NSString* NSWindowFrameAutosaveName;
typedef NSInteger NSModalResponse;

APPKIT_EXTERN NSNotificationName const NSWindowWillCloseNotification;
APPKIT_EXTERN NSNotificationName const NSWindowDidBecomeKeyNotification;
APPKIT_EXTERN NSNotificationName const NSWindowDidResignKeyNotification;
APPKIT_EXTERN NSNotificationName const NSWindowDidChangeBackingPropertiesNotification;

@interface NSColor : NSObject <NSCopying>
+ (NSColor*)colorWithSRGBRed:(CGFloat)red green:(CGFloat)green blue:(CGFloat)blue alpha:(CGFloat)alpha;
@property(class, strong, readonly) NSColor* clearColor;
@property(readonly) CGColorRef CGColor;
@end

@protocol NSWindowDelegate <NSObject>
@optional
- (void)windowWillClose:(NSNotification*)notification;
- (void)windowDidBecomeKey:(NSNotification*)notification;
- (void)windowDidResignKey:(NSNotification*)notification;
- (void)windowDidChangeBackingProperties:(NSNotification*)notification;
@end

@interface NSWindow : NSResponder <NSAppearanceCustomization>
- (instancetype)initWithContentRect:(NSRect)contentRect
                          styleMask:(NSWindowStyleMask)style
                            backing:(NSBackingStoreType)backingStoreType
                              defer:(BOOL)flag;
@property(copy) NSString* title;
@property NSWindowStyleMask styleMask;
@property NSWindowTitleVisibility titleVisibility;
@property BOOL titlebarAppearsTransparent;
@property(getter=isReleasedWhenClosed) BOOL releasedWhenClosed;
@property(nullable, weak) id<NSWindowDelegate> delegate;
@property(nullable, strong) __kindof NSView* contentView;

@property NSWindowLevel level;
@property(getter=isOpaque) BOOL opaque;
@property(null_resettable, copy) NSColor* backgroundColor;
@property BOOL ignoresMouseEvents;
@property NSWindowCollectionBehavior collectionBehavior;
@property BOOL hidesOnDeactivate;
@property(readonly) CGFloat backingScaleFactor;

@property(readonly) NSRect frame;
- (void)setFrame:(NSRect)frameRect display:(BOOL)flag;
- (void)setFrame:(NSRect)frameRect display:(BOOL)displayFlag animate:(BOOL)animateFlag;
- (NSTimeInterval)animationResizeTime:(NSRect)newFrame;
- (NSRect)frameRectForContentRect:(NSRect)contentRect;
- (NSRect)contentRectForFrameRect:(NSRect)frameRect;
- (void)center;
@property(readonly, copy) NSWindowFrameAutosaveName frameAutosaveName;
- (BOOL)setFrameAutosaveName:(NSWindowFrameAutosaveName)name;
- (BOOL)setFrameUsingName:(NSWindowFrameAutosaveName)name;
- (void)saveFrameUsingName:(NSWindowFrameAutosaveName)name;

- (void)makeKeyAndOrderFront:(nullable id)sender;
- (void)orderFrontRegardless;
- (void)orderOut:(nullable id)sender;
@property(getter=isVisible, readonly) BOOL visible;
@property(getter=isKeyWindow, readonly) BOOL keyWindow;
- (void)performClose:(nullable id)sender;
- (void)close;

@property(nullable, readonly, weak) NSResponder* firstResponder;
- (BOOL)makeFirstResponder:(nullable NSResponder*)responder;
- (void)selectNextKeyView:(nullable id)sender;
@property(nullable, weak) NSView* initialFirstResponder;
- (void)sendEvent:(NSEvent*)event;

- (void)beginSheet:(NSWindow*)sheetWindow completionHandler:(void (^_Nullable)(NSModalResponse returnCode))handler;
@property(nullable, readonly, strong) NSWindow* attachedSheet;
@property(nullable, readonly, strong) NSWindow* sheetParent;
- (void)endSheet:(NSWindow*)sheetWindow;
- (void)endSheet:(NSWindow*)sheetWindow returnCode:(NSModalResponse)returnCode;
@end

// Changes made through an animator inside a group animate over the group's duration.
@interface NSAnimationContext : NSObject
+ (void)runAnimationGroup:(void (^)(NSAnimationContext* context))changes
        completionHandler:(nullable void (^)(void))completionHandler;
@property NSTimeInterval duration;
@end

@protocol NSAnimatablePropertyContainer
- (instancetype)animator;
@end

@interface NSWindow (NSAnimatablePropertyContainer) <NSAnimatablePropertyContainer>
@end

@interface NSPanel : NSWindow
@property BOOL becomesKeyOnlyIfNeeded;
@property(getter=isFloatingPanel) BOOL floatingPanel;
@end

NS_ASSUME_NONNULL_END
