// Stands for Apple's AppKit framework: the application object and its delegate, events and their
// monitors, the workspace and running applications, menu-tracking notifications, screens,
// appearances, fonts, the beep, drawn images, views, status items and menus, with the signatures
// of Apple's public documentation. Not the SDK: only what src/mac/ needs.
#pragma once

#include <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

@class NSMenu, NSWindow, NSGraphicsContext, CALayer;

typedef NS_ENUM(NSUInteger, NSEventType){
    NSEventTypeLeftMouseDown = 1,
    NSEventTypeLeftMouseUp = 2,
    NSEventTypeKeyDown = 10,
    NSEventTypeKeyUp = 11,
    NSEventTypeFlagsChanged = 12,
    NSEventTypeApplicationDefined = 15,
};

typedef NS_OPTIONS(unsigned long long, NSEventMask){
    NSEventMaskLeftMouseDown = 1ULL << NSEventTypeLeftMouseDown,
    NSEventMaskKeyDown = 1ULL << NSEventTypeKeyDown,
    NSEventMaskKeyUp = 1ULL << NSEventTypeKeyUp,
    NSEventMaskFlagsChanged = 1ULL << NSEventTypeFlagsChanged,
    NSEventMaskAny = ~0ULL,
};

typedef NS_OPTIONS(NSUInteger, NSEventModifierFlags){
    NSEventModifierFlagCapsLock = 1 << 16,
    NSEventModifierFlagShift = 1 << 17,
    NSEventModifierFlagControl = 1 << 18,
    NSEventModifierFlagOption = 1 << 19,
    NSEventModifierFlagCommand = 1 << 20,
    NSEventModifierFlagNumericPad = 1 << 21,
    NSEventModifierFlagHelp = 1 << 22,
    NSEventModifierFlagFunction = 1 << 23,
    NSEventModifierFlagDeviceIndependentFlagsMask = 0xffff0000UL,
};

@interface NSEvent : NSObject <NSCopying>
@property(readonly) NSEventType type;
@property(readonly) NSEventModifierFlags modifierFlags;
@property(readonly) NSTimeInterval timestamp;
@property(readonly) unsigned short keyCode;
@property(readonly, getter=isARepeat) BOOL ARepeat;
@property(nullable, readonly, copy) NSString* characters;
@property(nullable, readonly, copy) NSString* charactersIgnoringModifiers;
@property(readonly) NSInteger windowNumber;
@property(readonly) NSPoint locationInWindow;
+ (nullable NSEvent*)keyEventWithType:(NSEventType)type
                             location:(NSPoint)location
                        modifierFlags:(NSEventModifierFlags)flags
                            timestamp:(NSTimeInterval)time
                         windowNumber:(NSInteger)wNum
                              context:(nullable NSGraphicsContext*)unusedPassNil
                           characters:(NSString*)keys
          charactersIgnoringModifiers:(NSString*)ukeys
                            isARepeat:(BOOL)flag
                              keyCode:(unsigned short)code;
+ (nullable id)addLocalMonitorForEventsMatchingMask:(NSEventMask)mask
                                            handler:(NSEvent* _Nullable (^)(NSEvent* event))block;
+ (nullable id)addGlobalMonitorForEventsMatchingMask:(NSEventMask)mask handler:(void (^)(NSEvent* event))block;
+ (void)removeMonitor:(id)eventMonitor;
@end

FOUNDATION_EXPORT NSRunLoopMode const NSEventTrackingRunLoopMode;

typedef NS_ENUM(NSInteger, NSApplicationActivationPolicy){
    NSApplicationActivationPolicyRegular = 0,
    NSApplicationActivationPolicyAccessory = 1,
    NSApplicationActivationPolicyProhibited = 2,
};

@class NSApplication;

@protocol NSApplicationDelegate <NSObject>
@optional
- (void)applicationDidFinishLaunching:(NSNotification*)notification;
- (void)applicationWillTerminate:(NSNotification*)notification;
@end

@interface NSResponder : NSObject
- (void)mouseUp:(NSEvent*)event;
- (void)keyDown:(NSEvent*)event;
@end

@interface NSApplication : NSResponder
@property(class, readonly, strong) NSApplication* sharedApplication;
@property(nullable, weak) id<NSApplicationDelegate> delegate;
@property(nullable, strong) NSMenu* mainMenu;
@property(nullable, readonly, weak) NSWindow* keyWindow;
@property(getter=isActive, readonly) BOOL active;
- (NSApplicationActivationPolicy)activationPolicy;
- (BOOL)setActivationPolicy:(NSApplicationActivationPolicy)activationPolicy;
- (void)activate;
- (void)run;
- (void)terminate:(nullable id)sender;
- (nullable NSEvent*)nextEventMatchingMask:(NSEventMask)mask
                                 untilDate:(nullable NSDate*)expiration
                                    inMode:(NSRunLoopMode)mode
                                   dequeue:(BOOL)deqFlag;
- (void)postEvent:(NSEvent*)event atStart:(BOOL)atStart;
@end

APPKIT_EXTERN NSApplication* _Null_unspecified NSApp;

FOUNDATION_EXPORT NSNotificationName const NSMenuDidBeginTrackingNotification;
FOUNDATION_EXPORT NSNotificationName const NSMenuDidEndTrackingNotification;

@interface NSRunningApplication : NSObject
@property(readonly, getter=isTerminated) BOOL terminated;
@property(nullable, readonly, copy) NSString* bundleIdentifier;
@property(nullable, readonly, copy) NSURL* bundleURL;
@property(readonly) pid_t processIdentifier;
+ (NSArray<NSRunningApplication*>*)runningApplicationsWithBundleIdentifier:(NSString*)bundleIdentifier;
@end

@interface NSWorkspace : NSObject
@property(class, readonly, strong) NSWorkspace* sharedWorkspace;
@property(readonly, strong) NSNotificationCenter* notificationCenter;
@property(readonly, copy) NSArray<NSRunningApplication*>* runningApplications;
@property(readonly) BOOL accessibilityDisplayShouldReduceMotion;
- (BOOL)openURL:(NSURL*)url;
- (nullable NSURL*)URLForApplicationWithBundleIdentifier:(NSString*)bundleIdentifier;
@end
FOUNDATION_EXPORT NSNotificationName const NSWorkspaceDidLaunchApplicationNotification;
FOUNDATION_EXPORT NSNotificationName const NSWorkspaceDidTerminateApplicationNotification;

typedef CGFloat NSFontWeight;
APPKIT_EXTERN const NSFontWeight NSFontWeightUltraLight;
APPKIT_EXTERN const NSFontWeight NSFontWeightThin;
APPKIT_EXTERN const NSFontWeight NSFontWeightLight;
APPKIT_EXTERN const NSFontWeight NSFontWeightRegular;
APPKIT_EXTERN const NSFontWeight NSFontWeightMedium;
APPKIT_EXTERN const NSFontWeight NSFontWeightSemibold;
APPKIT_EXTERN const NSFontWeight NSFontWeightBold;
APPKIT_EXTERN const NSFontWeight NSFontWeightHeavy;
APPKIT_EXTERN const NSFontWeight NSFontWeightBlack;

@interface NSFont : NSObject <NSCopying>
+ (NSFont*)systemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight;
+ (NSFont*)monospacedDigitSystemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight;
@property(readonly) CGFloat pointSize;
@end

APPKIT_EXTERN NSAttributedStringKey const NSFontAttributeName;

typedef NSString* NSAppearanceName;
APPKIT_EXTERN NSAppearanceName const NSAppearanceNameAqua;
APPKIT_EXTERN NSAppearanceName const NSAppearanceNameDarkAqua;

@interface NSAppearance : NSObject
@property(readonly, copy) NSAppearanceName name;
- (nullable NSAppearanceName)bestMatchFromAppearancesWithNames:(NSArray<NSAppearanceName>*)appearances;
@end

@protocol NSAppearanceCustomization <NSObject>
@property(nullable, strong) NSAppearance* appearance;
@property(readonly, strong) NSAppearance* effectiveAppearance;
@end

@interface NSApplication (NSAppearanceCustomization) <NSAppearanceCustomization>
@end

@interface NSScreen : NSObject
@property(class, readonly, copy) NSArray<NSScreen*>* screens;
@property(readonly) NSRect frame;
@property(readonly) CGFloat backingScaleFactor;
@end

APPKIT_EXTERN void NSBeep(void);

@interface NSGraphicsContext : NSObject
@property(class, nullable, strong) NSGraphicsContext* currentContext;
@property(readonly) CGContextRef CGContext;
@end

@interface NSImage : NSObject
+ (instancetype)imageWithSize:(NSSize)size
                      flipped:(BOOL)drawingHandlerShouldBeCalledWithFlippedContext
               drawingHandler:(BOOL (^)(NSRect dstRect))drawingHandler;
@property NSSize size;
// The property "template" as its accessors: the word is a keyword in Objective-C++.
- (BOOL)isTemplate;
- (void)setTemplate:(BOOL)isTemplate;
@property(nullable, copy) NSString* accessibilityDescription;
@end

typedef NS_OPTIONS(NSUInteger, NSAutoresizingMaskOptions){
    NSViewNotSizable = 0,
    NSViewWidthSizable = 2,
};

typedef NSString* NSUserInterfaceItemIdentifier;

// A view's identifier; a subclass of a view must not declare a property of this name.
@protocol NSUserInterfaceItemIdentification
@property(nullable, copy) NSUserInterfaceItemIdentifier identifier;
@end

// What assistive applications read of an element.
@protocol NSAccessibility <NSObject>
@property(nullable, copy) NSString* accessibilityLabel;
@property(getter=isAccessibilitySelected) BOOL accessibilitySelected;
@end

@interface NSView : NSResponder <NSAppearanceCustomization, NSUserInterfaceItemIdentification, NSAccessibility>
- (instancetype)initWithFrame:(NSRect)frameRect;
@property NSRect frame;
@property NSRect bounds;
@property(nullable, readonly, weak) NSWindow* window;
@property(nullable, readonly, weak) NSView* superview;
@property(copy) NSArray<__kindof NSView*>* subviews;
- (void)addSubview:(NSView*)view;
- (void)removeFromSuperview;
// Layer-backed and layer-hosting views: a view given its layer before wantsLayer hosts that layer.
@property BOOL wantsLayer;
@property(nullable, strong) CALayer* layer;
// Called when the view's window moves to a screen of another scale or colour space.
- (void)viewDidChangeBackingProperties;
- (void)viewWillMoveToWindow:(nullable NSWindow*)newWindow;
- (void)viewDidMoveToWindow;
- (void)viewDidMoveToSuperview;
@property NSAutoresizingMaskOptions autoresizingMask;
@property BOOL needsDisplay;
- (void)setFrameSize:(NSSize)newSize;
- (void)drawRect:(NSRect)dirtyRect;
@end

@interface NSControl : NSView
@end

@interface NSButton : NSControl
@property(nullable, strong) NSImage* image;
@end

@interface NSStatusBarButton : NSButton
@end

@class NSStatusBar;

@interface NSStatusItem : NSObject
@property(readonly, weak) NSStatusBar* statusBar;
@property CGFloat length;
@property(nullable, strong) NSMenu* menu;
@property(nullable, readonly, strong) NSStatusBarButton* button;
@end

static const CGFloat NSVariableStatusItemLength = -1;
static const CGFloat NSSquareStatusItemLength = -2;

@interface NSStatusBar : NSObject
@property(class, readonly, strong) NSStatusBar* systemStatusBar;
- (NSStatusItem*)statusItemWithLength:(CGFloat)length;
- (void)removeStatusItem:(NSStatusItem*)item;
@end

@class NSMenuItem;

@protocol NSMenuDelegate <NSObject>
@optional
- (void)menuNeedsUpdate:(NSMenu*)menu;
- (void)menuWillOpen:(NSMenu*)menu;
- (void)menuDidClose:(NSMenu*)menu;
- (void)menu:(NSMenu*)menu willHighlightItem:(nullable NSMenuItem*)item;
@end

@interface NSMenu : NSObject
- (instancetype)initWithTitle:(NSString*)title;
@property(copy) NSString* title;
@property(nullable, weak) id<NSMenuDelegate> delegate;
@property BOOL autoenablesItems;
@property CGFloat minimumWidth;
@property(readonly) NSSize size;
@property(nullable, readonly, strong) NSMenuItem* highlightedItem;
@property(readonly) NSInteger numberOfItems;
- (void)addItem:(NSMenuItem*)newItem;
- (void)removeItem:(NSMenuItem*)item;
- (void)removeAllItems;
- (NSInteger)indexOfItem:(NSMenuItem*)item;
- (void)cancelTracking;
- (void)performActionForItemAtIndex:(NSInteger)index;
@end

@interface NSMenuItem : NSObject
+ (NSMenuItem*)separatorItem;
+ (NSMenuItem*)sectionHeaderWithTitle:(NSString*)title;
- (instancetype)initWithTitle:(NSString*)string action:(nullable SEL)selector keyEquivalent:(NSString*)charCode;
@property(copy) NSString* title;
@property(nullable) SEL action;
@property(nullable, weak) id target;
@property(copy) NSString* keyEquivalent;
@property NSEventModifierFlags keyEquivalentModifierMask;
@property(getter=isHidden) BOOL hidden;
@property BOOL allowsKeyEquivalentWhenHidden;
@property(getter=isEnabled) BOOL enabled;
@property(readonly, getter=isSeparatorItem) BOOL separatorItem;
@property(readonly, getter=isSectionHeader) BOOL sectionHeader;
@property(nullable, strong) NSView* view;
@property(nullable, strong) NSMenu* submenu;
@property(nullable, readonly, weak) NSMenu* menu;
@property(readonly, getter=isHighlighted) BOOL highlighted;
@end

FOUNDATION_EXPORT int NSApplicationMain(int argc, const char* _Nonnull argv[_Nonnull]);

NS_ASSUME_NONNULL_END

#include <AppKit/NSWindow.h>
#include <AppKit/NSControls.h>
