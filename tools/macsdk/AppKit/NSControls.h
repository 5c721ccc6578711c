// Stands for AppKit's controls and the views the titled windows show: NSControl and its cells,
// buttons, text fields and the field editor, search fields, switches, pop-up buttons, image views,
// visual-effect views, boxes, alerts, system symbol images, Bézier paths and the system's named
// colours, with the signatures of Apple's public documentation. Included by AppKit.h.
#pragma once

NS_ASSUME_NONNULL_BEGIN

@class NSAlert, NSText, NSButtonCell;

typedef NS_ENUM(NSUInteger, NSControlSize){
    NSControlSizeRegular = 0,
    NSControlSizeSmall = 1,
    NSControlSizeMini = 2,
    NSControlSizeLarge = 3,
};

// The x86_64 values; on arm64 right and centre swap. Use the names, never the numbers.
typedef NS_ENUM(NSInteger, NSTextAlignment){
    NSTextAlignmentLeft = 0,
    NSTextAlignmentRight = 1,
    NSTextAlignmentCenter = 2,
    NSTextAlignmentNatural = 4,
};

typedef NS_ENUM(NSUInteger, NSLineBreakMode){
    NSLineBreakByWordWrapping = 0,
    NSLineBreakByClipping = 2,
    NSLineBreakByTruncatingTail = 4,
};

typedef NSInteger NSControlStateValue;
static const NSControlStateValue NSControlStateValueOff = 0;
static const NSControlStateValue NSControlStateValueOn = 1;

typedef NS_ENUM(NSUInteger, NSBezelStyle){
    NSBezelStylePush = 1,
};

typedef NS_ENUM(NSUInteger, NSCellImagePosition){
    NSNoImage = 0,
    NSImageOnly = 1,
    NSImageLeading = 7,
};

typedef NS_ENUM(NSUInteger, NSImageScaling){
    NSImageScaleProportionallyDown = 0,
    NSImageScaleNone = 2,
    NSImageScaleProportionallyUpOrDown = 3,
};

typedef NS_ENUM(NSInteger, NSVisualEffectMaterial){
    NSVisualEffectMaterialSidebar = 7,
};

typedef NS_ENUM(NSInteger, NSVisualEffectBlendingMode){
    NSVisualEffectBlendingModeBehindWindow = 0,
    NSVisualEffectBlendingModeWithinWindow = 1,
};

typedef NS_ENUM(NSInteger, NSVisualEffectState){
    NSVisualEffectStateFollowsWindowActiveState = 0,
};

typedef NS_ENUM(NSUInteger, NSBoxType){
    NSBoxPrimary = 0,
    NSBoxSeparator = 2,
    NSBoxCustom = 4,
};

typedef NS_ENUM(NSUInteger, NSTitlePosition){
    NSNoTitle = 0,
};

typedef NS_ENUM(NSUInteger, NSLineCapStyle){
    NSLineCapStyleButt = 0,
    NSLineCapStyleRound = 1,
};

typedef NS_ENUM(NSUInteger, NSLineJoinStyle){
    NSLineJoinStyleMiter = 0,
    NSLineJoinStyleRound = 1,
};

// The answer of an alert's first button; the second is one more, and so on.
static const NSModalResponse NSAlertFirstButtonReturn = 1000;

typedef NSString* NSColorName;

@interface NSColor (NSSystemColors)
// A colour resolved anew for the appearance of whatever draws with it.
+ (NSColor*)colorWithName:(nullable NSColorName)colorName
          dynamicProvider:(NSColor* (^)(NSAppearance* appearance))dynamicProvider;
@property(class, strong, readonly) NSColor* labelColor;
@property(class, strong, readonly) NSColor* secondaryLabelColor;
@property(class, strong, readonly) NSColor* tertiaryLabelColor;
@property(class, strong, readonly) NSColor* quaternaryLabelColor;
@property(class, strong, readonly) NSColor* controlAccentColor;
@property(class, strong, readonly) NSColor* separatorColor;
@property(class, strong, readonly) NSColor* quaternarySystemFillColor;
@property(class, strong, readonly) NSColor* systemGreenColor;
@property(class, strong, readonly) NSColor* whiteColor;
@property(class, strong, readonly) NSColor* blackColor;
- (NSColor*)colorWithAlphaComponent:(CGFloat)alpha;
- (void)setFill;
- (void)setStroke;
@end

@interface NSColorSpace : NSObject
@property(class, readonly, strong) NSColorSpace* sRGBColorSpace;
@end

@interface NSColor (NSColorComponents)
@property(class, strong, readonly) NSColor* selectedMenuItemTextColor;
@property(class, strong, readonly) NSColor* windowBackgroundColor;
- (nullable NSColor*)colorUsingColorSpace:(NSColorSpace*)space;
- (void)getRed:(nullable CGFloat*)red
         green:(nullable CGFloat*)green
          blue:(nullable CGFloat*)blue
         alpha:(nullable CGFloat*)alpha;
@end

@interface NSAppearance (NSDrawingAppearance)
+ (nullable NSAppearance*)appearanceNamed:(NSAppearanceName)name;
// Runs the block with this appearance as the one dynamic colours resolve for (macOS 11 and later).
- (void)performAsCurrentDrawingAppearance:(void(NS_NOESCAPE ^)(void))block;
@end

@interface NSImageRep : NSObject
@property NSInteger pixelsWide;
@property NSInteger pixelsHigh;
@end

@interface NSBitmapImageRep : NSImageRep
- (nullable NSColor*)colorAtX:(NSInteger)x y:(NSInteger)y;
@end

@interface NSGraphicsContext (NSBitmapDrawing)
+ (nullable NSGraphicsContext*)graphicsContextWithBitmapImageRep:(NSBitmapImageRep*)bitmapRep;
@end

@interface NSView (NSDisplayCaching)
- (nullable NSBitmapImageRep*)bitmapImageRepForCachingDisplayInRect:(NSRect)rect;
- (void)displayRectIgnoringOpacity:(NSRect)rect inContext:(NSGraphicsContext*)context;
@end

APPKIT_EXTERN void NSRectFill(NSRect rect);

@interface NSResponder (NSMenus)
@property(nullable, strong) NSMenu* menu;
@property(readonly) BOOL acceptsFirstResponder;
- (BOOL)becomeFirstResponder;
- (BOOL)resignFirstResponder;
- (void)mouseDown:(NSEvent*)event;
@end

@interface NSView (NSControlsHosting)
// The deepest descendant (or the view itself) under the point, given in the superview's space.
- (nullable NSView*)hitTest:(NSPoint)point;
- (BOOL)isDescendantOf:(NSView*)view;
// From another view's space (the window's when nil) to this one's.
- (NSPoint)convertPoint:(NSPoint)point fromView:(nullable NSView*)view;
// The frame whose alignment rectangle (what a control shows, without shadow or focus ring) is this.
- (NSRect)frameForAlignmentRect:(NSRect)alignmentRect;
@property(readonly, getter=isFlipped) BOOL flipped;
@property CGFloat alphaValue;
@property(getter=isHidden) BOOL hidden;
// Called when the view's effective appearance changes, its window's included.
- (void)viewDidChangeEffectiveAppearance;
@end

@interface NSMenuItem (NSImages)
@property(nullable, strong) NSImage* image;
@end

@interface NSImageSymbolConfiguration : NSObject <NSCopying>
+ (instancetype)configurationWithPointSize:(CGFloat)pointSize weight:(NSFontWeight)weight;
+ (instancetype)configurationWithPaletteColors:(NSArray<NSColor*>*)paletteColors;
- (NSImageSymbolConfiguration*)configurationByApplyingConfiguration:(NSImageSymbolConfiguration*)configuration;
@end

@interface NSImage (NSSymbolImages)
+ (nullable instancetype)imageWithSystemSymbolName:(NSString*)name
                          accessibilityDescription:(nullable NSString*)description;
- (nullable NSImage*)imageWithSymbolConfiguration:(NSImageSymbolConfiguration*)configuration;
@end

@interface NSBezierPath : NSObject <NSCopying>
+ (NSBezierPath*)bezierPath;
+ (NSBezierPath*)bezierPathWithOvalInRect:(NSRect)rect;
+ (NSBezierPath*)bezierPathWithRoundedRect:(NSRect)rect xRadius:(CGFloat)xRadius yRadius:(CGFloat)yRadius;
- (void)moveToPoint:(NSPoint)point;
- (void)lineToPoint:(NSPoint)point;
@property CGFloat lineWidth;
@property NSLineCapStyle lineCapStyle;
@property NSLineJoinStyle lineJoinStyle;
- (void)fill;
- (void)stroke;
@end

@interface NSCell : NSObject <NSCopying>
@end

@interface NSActionCell : NSCell
@property(nullable, weak) id target;
@property(nullable) SEL action;
@end

@interface NSButtonCell : NSActionCell
@end

@interface NSTextFieldCell : NSActionCell
@end

@interface NSSearchFieldCell : NSTextFieldCell
// The clear button; nil hides it, and resetCancelButtonCell brings back the standard one.
@property(nullable, strong) NSButtonCell* cancelButtonCell;
- (void)resetCancelButtonCell;
- (NSRect)cancelButtonRectForBounds:(NSRect)rect;
@end

@interface NSControl (NSControlValues)
@property(getter=isEnabled) BOOL enabled;
@property(nullable, weak) id target;
@property(nullable) SEL action;
@property NSControlSize controlSize;
@property(nullable, strong) NSFont* font;
@property(copy) NSString* stringValue;
@property NSTextAlignment alignment;
@property NSLineBreakMode lineBreakMode;
@property(nullable, strong) __kindof NSCell* cell;
// The field editor while the control is being edited.
- (nullable NSText*)currentEditor;
@end

@interface NSButton (NSButtonLooks)
+ (instancetype)buttonWithTitle:(NSString*)title target:(nullable id)target action:(nullable SEL)action;
@property(copy) NSString* title;
@property NSBezelStyle bezelStyle;
@property(getter=isBordered) BOOL bordered;
@property(copy) NSString* keyEquivalent;
@property NSEventModifierFlags keyEquivalentModifierMask;
@property(nullable, copy) NSColor* bezelColor;
@property BOOL hasDestructiveAction;
@property NSCellImagePosition imagePosition;
@property BOOL imageHugsTitle;
@property(nullable, copy) NSColor* contentTintColor;
// As a click: highlights the button and sends its action.
- (void)performClick:(nullable id)sender;
@end

@protocol NSTextDelegate <NSObject>
@optional
- (void)textDidEndEditing:(NSNotification*)notification;
@end

// The field editor is one of these: one text view per window that edits whichever field has focus.
@interface NSText : NSView
@property(copy) NSString* string;
@property(getter=isFieldEditor) BOOL fieldEditor;
@property(nullable, weak) id<NSTextDelegate> delegate;
@end

@interface NSTextView : NSText
@end

@interface NSTextField : NSControl
+ (instancetype)labelWithString:(NSString*)stringValue;
+ (instancetype)wrappingLabelWithString:(NSString*)stringValue;
@property(nullable, copy) NSColor* textColor;
@property(getter=isEditable) BOOL editable;
@property(getter=isSelectable) BOOL selectable;
@property(getter=isBezeled) BOOL bezeled;
@property(getter=isBordered) BOOL bordered;
@property BOOL drawsBackground;
@property(nullable, copy) NSString* placeholderString;
@property NSInteger maximumNumberOfLines;
@end

@interface NSSearchField : NSTextField
@end

@interface NSSwitch : NSControl
@property NSControlStateValue state;
@end

@interface NSPopUpButton : NSButton
- (instancetype)initWithFrame:(NSRect)buttonFrame pullsDown:(BOOL)flag;
- (void)removeAllItems;
- (void)selectItemAtIndex:(NSInteger)index;
@property(readonly) NSInteger indexOfSelectedItem;
@property(readonly) NSInteger numberOfItems;
@end

@interface NSImageView : NSControl
@property(nullable, strong) NSImage* image;
@property NSImageScaling imageScaling;
@property(nullable, copy) NSColor* contentTintColor;
@end

@interface NSVisualEffectView : NSView
@property NSVisualEffectMaterial material;
@property NSVisualEffectBlendingMode blendingMode;
@property NSVisualEffectState state;
@end

@interface NSBox : NSView
@property NSBoxType boxType;
@property NSTitlePosition titlePosition;
@property(copy) NSColor* fillColor;
@property(copy) NSColor* borderColor;
@property CGFloat borderWidth;
@property CGFloat cornerRadius;
@end

@interface NSAlert : NSObject
@property(copy) NSString* messageText;
@property(copy) NSString* informativeText;
- (NSButton*)addButtonWithTitle:(NSString*)title;
@property(readonly, copy) NSArray<NSButton*>* buttons;
@property(readonly, strong) NSWindow* window;
- (void)beginSheetModalForWindow:(NSWindow*)sheetWindow
               completionHandler:(void (^_Nullable)(NSModalResponse returnCode))handler;
@end

NS_ASSUME_NONNULL_END
