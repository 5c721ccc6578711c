// Wraps: the AppKit views of the titled windows' content: wrapping labels (NSTextField) in the
// role's system font and the named label colours, push and plain buttons (NSButton: the default
// one's Return, destructive and prominent looks, a leading system symbol, the sidebar's selected
// entry), mini NSSwitches, NSPopUpButtons whose options may be drawn images, round colour swatches
// and status circles drawn with NSBezierPath, the shortcut field (NSSearchField with its clear
// button hidden and restored), system symbols (NSImageView), separators and group boxes (NSBox),
// the sidebar material (NSVisualEffectView) and the core's hosted views (MWKLayerHostView); each
// one's frame, enabled state, opacity and accessibility label and selection.
// Leaves out: layout (the core places every view), tool tips, focus rings of our own, keyboard
// navigation between controls beyond AppKit's, and drag and drop.
#import <AppKit/AppKit.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "mac/appkit_values.h"
#include "mac/controls.h"
#include "mac/drawn_images.h"
#include "mac/layer_host.h"
#include "mac/text_lines.h"
#include "platform/control_looks.h"
#include "platform/view_metrics.h"

namespace p = marlowick::platform;
using marlowick::mac::dynamicColor;

@implementation MWKControlTarget
- (void)perform:(id)sender {
    // A copy: the action may replace the tree, and with it this target's action, while it runs.
    if (auto action = _action) action(sender);
}
@end

@implementation MWKShortcutField
@end

namespace {

// A colour of the shared looks table, resolved for the drawing appearance.
NSColor* lookColor(p::Color p::ControlLooks::*part) {
    return dynamicColor(p::controlLooks(p::Appearance::Light).*part, p::controlLooks(p::Appearance::Dark).*part);
}

NSColor* selectionColor() {
    return lookColor(&p::ControlLooks::selection);
}

// A white checkmark inside the circle, as the selected swatch and the done status circle carry it.
void drawCheckmark(NSRect circle, BOOL flipped) {
    const CGFloat inset = circle.size.width * p::kCheckmarkInset;
    const NSRect square = NSInsetRect(circle, inset, inset);
    auto at = [&](double x, double y) {
        const double fromTop = flipped ? y : 1 - y;
        return NSPoint{square.origin.x + x * square.size.width, square.origin.y + fromTop * square.size.height};
    };
    NSBezierPath* check = [NSBezierPath bezierPath];
    const auto& points = p::kCheckmarkPoints;
    [check moveToPoint:at(points[0].x, points[0].y)];
    [check lineToPoint:at(points[1].x, points[1].y)];
    [check lineToPoint:at(points[2].x, points[2].y)];
    check.lineWidth = std::max(p::kCheckmarkMinLineWidth, square.size.width * p::kCheckmarkLineWidth);
    check.lineCapStyle = NSLineCapStyleRound;
    check.lineJoinStyle = NSLineJoinStyleRound;
    [NSColor.whiteColor setStroke];
    [check stroke];
}

// The largest circle centred in the rectangle.
NSRect circleIn(NSRect bounds) {
    const CGFloat side = std::min(bounds.size.width, bounds.size.height);
    return NSRect{{bounds.origin.x + (bounds.size.width - side) / 2, bounds.origin.y + (bounds.size.height - side) / 2},
                  {side, side}};
}

} // namespace

// A button that can draw the background of a list's chosen entry (the sidebar's current tab): the
// accent colour with white text while its window is key, the quieter selection look otherwise.
@interface MWKButton : NSButton
@property(nonatomic) BOOL showsSelection;
@end

@implementation MWKButton
- (void)setShowsSelection:(BOOL)shows {
    if (_showsSelection == shows) return;
    _showsSelection = shows;
    [self updateSelectionLook];
}

- (BOOL)accented {
    return _showsSelection && self.window.isKeyWindow;
}

- (void)updateSelectionLook {
    self.contentTintColor = self.accented ? NSColor.whiteColor : nil;
    self.needsDisplay = YES;
}

// The look follows the window's key state, which AppKit does not redraw this view for.
- (void)viewWillMoveToWindow:(NSWindow*)newWindow {
    NSNotificationCenter* center = NSNotificationCenter.defaultCenter;
    [center removeObserver:self];
    if (!newWindow) return;
    [center addObserver:self selector:@selector(windowKeyStateChanged:) name:NSWindowDidBecomeKeyNotification
                 object:newWindow];
    [center addObserver:self selector:@selector(windowKeyStateChanged:) name:NSWindowDidResignKeyNotification
                 object:newWindow];
}

- (void)viewDidMoveToWindow {
    [self updateSelectionLook];
}

- (void)windowKeyStateChanged:(NSNotification*)notification {
    (void)notification;
    [self updateSelectionLook];
}

- (void)drawRect:(NSRect)dirtyRect {
    if (_showsSelection) {
        [(self.accented ? NSColor.controlAccentColor : selectionColor()) setFill];
        [[NSBezierPath bezierPathWithRoundedRect:self.bounds xRadius:6 yRadius:6] fill];
    }
    [super drawRect:dirtyRect];
}
@end

// A round colour swatch; the chosen one carries a checkmark.
@interface MWKSwatchButton : NSButton
@property(nonatomic, copy) NSColor* swatchColor;
@property(nonatomic) BOOL checked;
@end

@implementation MWKSwatchButton
- (void)drawRect:(NSRect)dirtyRect {
    (void)dirtyRect;
    const NSRect circle = circleIn(self.bounds);
    NSBezierPath* oval = [NSBezierPath bezierPathWithOvalInRect:NSInsetRect(circle, 0.25, 0.25)];
    NSColor* fill = _swatchColor ? _swatchColor : NSColor.clearColor;
    [(self.enabled ? fill : [fill colorWithAlphaComponent:p::kDisabledSwatchAlpha]) setFill];
    [oval fill];
    [marlowick::mac::toNSColor(p::kSwatchEdge) setStroke];
    oval.lineWidth = p::kSwatchEdgeWidth;
    [oval stroke];
    if (_checked) {
        drawCheckmark(circle, self.flipped);
    }
}
@end

// A circle either done (green, with a checkmark) or waiting (an empty ring).
@interface MWKStatusCircleView : NSView
@property(nonatomic) BOOL done;
@end

@implementation MWKStatusCircleView
- (void)setDone:(BOOL)done {
    if (_done == done) return;
    _done = done;
    self.needsDisplay = YES;
}

- (void)drawRect:(NSRect)dirtyRect {
    (void)dirtyRect;
    const NSRect circle = circleIn(self.bounds);
    NSBezierPath* ring = [NSBezierPath bezierPathWithOvalInRect:NSInsetRect(circle, 0.75, 0.75)];
    if (_done) {
        [NSColor.systemGreenColor setFill];
        [ring fill];
        drawCheckmark(circle, self.flipped);
    } else {
        [NSColor.tertiaryLabelColor setStroke];
        ring.lineWidth = 1.5;
        [ring stroke];
    }
}
@end

// A view of the core's own; clicks go through it to whatever lies below, as they do in the core.
@interface MWKHostedContentView : MWKLayerHostView
@end

@implementation MWKHostedContentView
- (nullable NSView*)hitTest:(NSPoint)point {
    (void)point;
    return nil;
}
@end

namespace marlowick::mac {
namespace {

// A label's cell sets its text this far in from either side; the layout measured the text alone.
constexpr double kLabelInset = 2;
// Symbols bigger than this are not something the windows show; a faulty width must not ask for one.
constexpr double kLargestSymbol = 256;

NSColor* foreground(p::ForegroundStyle style, const p::Color& custom) {
    switch (style) {
    case p::ForegroundStyle::Primary:
        return NSColor.labelColor;
    case p::ForegroundStyle::Secondary:
        return NSColor.secondaryLabelColor;
    case p::ForegroundStyle::Tertiary:
        return NSColor.tertiaryLabelColor;
    case p::ForegroundStyle::Accent:
        return NSColor.controlAccentColor;
    case p::ForegroundStyle::Custom:
        return toNSColor(custom);
    }
    return NSColor.labelColor;
}

// The system symbol at a point size that fills its square, in its style's colour; none for a name
// the system does not know.
NSImage* _Nullable symbolImage(const p::SymbolView& symbol) {
    NSImage* image = [NSImage imageWithSystemSymbolName:displayString(symbol.name) accessibilityDescription:nil];
    if (!image) return nil;
    const double side = std::isfinite(symbol.width) && symbol.width > 0 ? std::min(symbol.width, kLargestSymbol)
                                                                         : p::SymbolView{}.width;
    NSImageSymbolConfiguration* size = [NSImageSymbolConfiguration configurationWithPointSize:side
                                                                                       weight:NSFontWeightRegular];
    NSImageSymbolConfiguration* colour =
        [NSImageSymbolConfiguration configurationWithPaletteColors:@[ foreground(symbol.style, {}) ]];
    return [image imageWithSymbolConfiguration:[size configurationByApplyingConfiguration:colour]];
}

NSRect viewFrame(const p::Rect& frame) {
    return isUsableFrame(frame) ? toNSRect(frame) : NSZeroRect;
}

void updateLabel(NSTextField* label, const p::TextView& text) {
    NSString* string = displayString(text.text);
    if (![label.stringValue isEqualToString:string]) label.stringValue = string;
    p::Font font = p::fontFor(text.role, text.weight);
    font.monospacedDigits = text.monospacedDigits;
    label.font = systemFont(font);
    label.textColor = foreground(text.style, text.color);
}

void updateButton(MWKButton* button, MWKControlTarget* target, const p::ButtonView& view, bool isDefault) {
    const bool plain = view.style == p::ButtonStyle::Plain;
    button.title = displayString(view.title);
    button.bordered = !plain;
    if (!plain) button.bezelStyle = NSBezelStylePush;
    button.keyEquivalent = isDefault ? @"\r" : @"";
    button.hasDestructiveAction = view.role == p::ButtonRole::Destructive;
    // The default button is drawn in the accent colour already.
    button.bezelColor = view.role == p::ButtonRole::Prominent && !isDefault ? NSColor.controlAccentColor : nil;
    button.image = view.symbol ? symbolImage(*view.symbol) : nil;
    button.imagePosition = !view.symbol ? NSNoImage : view.title.empty() ? NSImageOnly : NSImageLeading;
    button.imageHugsTitle = YES;
    button.alignment = view.fillsWidth ? NSTextAlignmentLeft : NSTextAlignmentCenter;
    button.showsSelection = plain && view.isSelected;
    button.accessibilitySelected = view.isSelected;
    target.action = [action = view.action](id) {
        if (action) action();
    };
}

void updateSwitch(NSSwitch* toggle, MWKControlTarget* target, const p::SwitchView& view) {
    toggle.state = view.isOn ? NSControlStateValueOn : NSControlStateValueOff;
    toggle.accessibilityLabel = displayString(view.label);
    target.action = [change = view.onChange](id sender) {
        if (change) change(static_cast<NSSwitch*>(sender).state == NSControlStateValueOn);
    };
}

// What a pop-up's item is made from: its title, and its image's size and description if it has one.
std::string optionKey(const p::PickerOption& option) {
    if (!option.image) return option.title;
    const p::DrawnImage& image = *option.image;
    return option.title + '\0' + std::to_string(image.size.width) + 'x' + std::to_string(image.size.height) +
           '\0' + image.accessibilityDescription;
}

void updatePopUp(PresentedView& presented, const p::PickerView& view) {
    auto* popUp = static_cast<NSPopUpButton*>(presented.view);
    std::vector<std::string> options;
    options.reserve(view.options.size());
    for (const auto& option : view.options)
        options.push_back(optionKey(option));
    if (options != presented.popUpOptions) {
        // Items are added to the menu itself: the pop-up's own adding drops an item whose title is
        // already there, and image-only items all have the same empty title.
        NSMenu* menu = popUp.menu;
        [menu removeAllItems];
        for (const auto& option : view.options) {
            NSString* title = displayString(option.title);
            auto* item = [[NSMenuItem alloc] initWithTitle:option.image ? @"" : title action:nil keyEquivalent:@""];
            if (option.image) {
                NSImage* image = makeNSImage(*option.image);
                if (!image.accessibilityDescription) image.accessibilityDescription = title;
                item.image = image;
            }
            [menu addItem:item];
        }
        presented.popUpOptions = std::move(options);
    }
    const bool chosen = view.selectedIndex >= 0 && view.selectedIndex < static_cast<int>(view.options.size());
    [popUp selectItemAtIndex:chosen ? view.selectedIndex : -1];
    popUp.accessibilityLabel = displayString(view.label);
    presented.target.action = [select = view.onSelect](id sender) {
        const NSInteger index = static_cast<NSPopUpButton*>(sender).indexOfSelectedItem;
        if (select && index >= 0) select(static_cast<int>(index));
    };
}

void updateSwatch(MWKSwatchButton* swatch, MWKControlTarget* target, const p::SwatchView& view) {
    swatch.swatchColor = toNSColor(view.color);
    swatch.checked = view.isSelected;
    swatch.needsDisplay = YES;
    swatch.accessibilityLabel = displayString(view.name);
    swatch.accessibilitySelected = view.isSelected;
    target.action = [action = view.action](id) {
        if (action) action();
    };
}

void updateField(PresentedView& presented, const p::ShortcutFieldView& view) {
    auto* field = static_cast<MWKShortcutField*>(presented.view);
    field.shortcutIdentifier = view.identifier;
    field.onBecomeFirstResponder = view.onBecomeFirstResponder;
    field.onResignFirstResponder = view.onResignFirstResponder;
    NSString* placeholder = displayString(view.placeholder);
    if (![field.placeholderString isEqualToString:placeholder]) {
        field.placeholderString = placeholder;
        field.needsDisplay = YES;
    }
    // While the field is edited its field editor holds the text: setting the field's own value
    // would end the editing.
    NSString* text = displayString(view.text);
    if (NSText* editor = field.currentEditor) {
        if (![editor.string isEqualToString:text]) editor.string = text;
    } else if (![field.stringValue isEqualToString:text]) {
        field.stringValue = text;
    }
    auto* cell = static_cast<NSSearchFieldCell*>(field.cell);
    NSButtonCell* clear = view.showsClearButton ? presented.clearButton : nil;
    if (cell.cancelButtonCell != clear) cell.cancelButtonCell = clear;
    presented.clearTarget.action = [clearField = view.onClear](id) {
        if (clearField) clearField();
    };
}

void updateHosted(PresentedView& presented, const p::HostedView& view, NSRect frame) {
    auto* host = static_cast<MWKHostedContentView*>(presented.view);
    if (presented.hosted != view.content) {
        presented.hosted = view.content;
        presented.toldSize.reset();
        presented.toldAppearance.reset();
        [host setHostedLayer:view.content ? view.content->layer() : nullptr];
    }
    const p::Size size{frame.size.width, frame.size.height};
    if (presented.hosted && presented.toldSize != size) {
        presented.toldSize = size;
        presented.hosted->setSize(size);
    }
    tellAppearance(presented);
}

} // namespace

ControlClass controlClassOf(const p::ViewNode& node) {
    if (const auto* stack = node.as<p::StackView>()) {
        switch (stack->background) {
        case p::StackBackground::None:
            return ControlClass::None;
        case p::StackBackground::SidebarMaterial:
            return ControlClass::Sidebar;
        case p::StackBackground::GroupBox:
            return ControlClass::GroupBox;
        }
        return ControlClass::None;
    }
    if (node.as<p::TextView>()) return ControlClass::Label;
    if (node.as<p::ButtonView>()) return ControlClass::Button;
    if (node.as<p::SymbolView>()) return ControlClass::Symbol;
    if (node.as<p::SwitchView>()) return ControlClass::Switch;
    if (node.as<p::PickerView>()) return ControlClass::PopUp;
    if (node.as<p::SwatchView>()) return ControlClass::Swatch;
    if (node.as<p::StatusCircleView>()) return ControlClass::StatusCircle;
    if (node.as<p::ShortcutFieldView>()) return ControlClass::ShortcutField;
    if (node.as<p::HostedView>()) return ControlClass::Hosted;
    if (node.as<p::DividerView>()) return ControlClass::Divider;
    return ControlClass::None;
}

PresentedView makePresentedView(const p::ViewNode& node) {
    PresentedView presented;
    presented.controlClass = controlClassOf(node);
    auto withTarget = [&](NSControl* control) {
        presented.target = [[MWKControlTarget alloc] init];
        control.target = presented.target;
        control.action = @selector(perform:);
        return control;
    };
    switch (presented.controlClass) {
    case ControlClass::None:
        break;
    case ControlClass::Label: {
        NSTextField* label = [NSTextField wrappingLabelWithString:@""];
        label.selectable = NO;
        presented.view = label;
        break;
    }
    case ControlClass::Button:
        presented.view = withTarget([[MWKButton alloc] initWithFrame:NSZeroRect]);
        break;
    case ControlClass::Symbol: {
        NSImageView* image = [[NSImageView alloc] initWithFrame:NSZeroRect];
        image.imageScaling = NSImageScaleProportionallyDown;
        presented.view = image;
        break;
    }
    case ControlClass::Switch: {
        NSSwitch* toggle = [[NSSwitch alloc] initWithFrame:NSZeroRect];
        toggle.controlSize = NSControlSizeMini;
        presented.view = withTarget(toggle);
        break;
    }
    case ControlClass::PopUp:
        presented.view = withTarget([[NSPopUpButton alloc] initWithFrame:NSZeroRect pullsDown:NO]);
        break;
    case ControlClass::Swatch: {
        MWKSwatchButton* swatch = [[MWKSwatchButton alloc] initWithFrame:NSZeroRect];
        swatch.bordered = NO;
        swatch.title = @"";
        swatch.imagePosition = NSNoImage;
        presented.view = withTarget(swatch);
        break;
    }
    case ControlClass::StatusCircle:
        presented.view = [[MWKStatusCircleView alloc] initWithFrame:NSZeroRect];
        break;
    case ControlClass::ShortcutField: {
        MWKShortcutField* field = [[MWKShortcutField alloc] initWithFrame:NSZeroRect];
        field.font = systemFont(p::fontFor(p::FontRole::Body));
        auto* cell = static_cast<NSSearchFieldCell*>(field.cell);
        presented.clearButton = cell.cancelButtonCell;
        presented.clearTarget = [[MWKControlTarget alloc] init];
        presented.clearButton.target = presented.clearTarget;
        presented.clearButton.action = @selector(perform:);
        presented.view = field;
        break;
    }
    case ControlClass::Hosted: {
        const auto& hosted = *node.as<p::HostedView>();
        presented.hosted = hosted.content;
        presented.view = [[MWKHostedContentView alloc] initWithFrame:NSZeroRect
                                                               layer:hosted.content ? hosted.content->layer() : nullptr];
        break;
    }
    case ControlClass::Divider: {
        NSBox* line = [[NSBox alloc] initWithFrame:NSZeroRect];
        line.boxType = NSBoxSeparator;
        presented.view = line;
        break;
    }
    case ControlClass::Sidebar: {
        NSVisualEffectView* sidebar = [[NSVisualEffectView alloc] initWithFrame:NSZeroRect];
        sidebar.material = NSVisualEffectMaterialSidebar;
        sidebar.blendingMode = NSVisualEffectBlendingModeBehindWindow;
        sidebar.state = NSVisualEffectStateFollowsWindowActiveState;
        presented.view = sidebar;
        break;
    }
    case ControlClass::GroupBox: {
        NSBox* box = [[NSBox alloc] initWithFrame:NSZeroRect];
        box.boxType = NSBoxCustom;
        box.titlePosition = NSNoTitle;
        box.cornerRadius = 8;
        box.borderWidth = 0.5;
        box.fillColor = lookColor(&p::ControlLooks::groupBoxFill);
        box.borderColor = lookColor(&p::ControlLooks::groupBoxBorder);
        presented.view = box;
        break;
    }
    }
    return presented;
}

void updatePresentedView(PresentedView& presented, const p::PlacedView& placed, bool isDefault) {
    NSView* view = presented.view;
    if (!view || !placed.node) return;
    const p::ViewNode& node = *placed.node;
    const NSRect layoutFrame = viewFrame(placed.frame);
    // Before the kinds' own labels (a switch's, a pop-up's), which take precedence; none clears a
    // reused view's old one.
    view.accessibilityLabel = node.accessibilityLabel.empty() ? nil : displayString(node.accessibilityLabel);

    if (const auto* text = node.as<p::TextView>()) updateLabel(static_cast<NSTextField*>(view), *text);
    if (const auto* button = node.as<p::ButtonView>())
        updateButton(static_cast<MWKButton*>(view), presented.target, *button, isDefault);
    if (const auto* symbol = node.as<p::SymbolView>()) static_cast<NSImageView*>(view).image = symbolImage(*symbol);
    if (const auto* toggle = node.as<p::SwitchView>())
        updateSwitch(static_cast<NSSwitch*>(view), presented.target, *toggle);
    if (const auto* picker = node.as<p::PickerView>()) updatePopUp(presented, *picker);
    if (const auto* swatch = node.as<p::SwatchView>())
        updateSwatch(static_cast<MWKSwatchButton*>(view), presented.target, *swatch);
    if (const auto* circle = node.as<p::StatusCircleView>()) static_cast<MWKStatusCircleView*>(view).done = circle->done;
    if (const auto* field = node.as<p::ShortcutFieldView>()) updateField(presented, *field);
    if (const auto* hosted = node.as<p::HostedView>()) updateHosted(presented, *hosted, layoutFrame);

    // The layout places what shows. A control's frame reaches past that by its bezel's shadow and
    // focus ring, as its alignment insets say (known only once its look is set, above); a label's
    // reaches past its text by the cell's padding.
    NSRect frame = layoutFrame;
    if (presented.controlClass == ControlClass::Label)
        frame = NSInsetRect(layoutFrame, -kLabelInset, 0);
    else if ([view isKindOfClass:NSControl.class])
        frame = [view frameForAlignmentRect:layoutFrame];
    if (!NSEqualRects(view.frame, frame)) view.frame = frame;

    if ([view isKindOfClass:NSControl.class]) static_cast<NSControl*>(view).enabled = !placed.disabled;
    view.alphaValue = std::isfinite(placed.opacity) ? std::clamp(placed.opacity, 0.0, 1.0) : 1;
}

void tellAppearance(PresentedView& presented) {
    if (!presented.hosted || !presented.view) return;
    const p::Appearance appearance = appearanceOf(presented.view.effectiveAppearance);
    if (presented.toldAppearance == appearance) return;
    presented.toldAppearance = appearance;
    presented.hosted->setAppearance(appearance);
}

} // namespace marlowick::mac
