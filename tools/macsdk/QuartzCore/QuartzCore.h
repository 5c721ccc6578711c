// Stands for Apple's QuartzCore (Core Animation) framework: layers (plain, shape, text, gradient),
// their delegate, media timing, basic, keyframe, spring and group animations, timing functions and
// transactions, with the signatures of Apple's public documentation. Not the SDK: only what src/mac/
// needs.
#pragma once

#include <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

#define CA_EXTERN extern "C"

typedef double CFTimeInterval;
CA_EXTERN CFTimeInterval CACurrentMediaTime(void);

struct CATransform3D {
    CGFloat m11, m12, m13, m14;
    CGFloat m21, m22, m23, m24;
    CGFloat m31, m32, m33, m34;
    CGFloat m41, m42, m43, m44;
};
typedef struct CATransform3D CATransform3D;
CA_EXTERN const CATransform3D CATransform3DIdentity;

@interface NSValue (CATransform3DAdditions)
+ (NSValue*)valueWithCATransform3D:(CATransform3D)t;
@end

typedef NSString* CAMediaTimingFillMode;
CA_EXTERN CAMediaTimingFillMode const kCAFillModeForwards;
CA_EXTERN CAMediaTimingFillMode const kCAFillModeBackwards;
CA_EXTERN CAMediaTimingFillMode const kCAFillModeBoth;
CA_EXTERN CAMediaTimingFillMode const kCAFillModeRemoved;

@protocol CAMediaTiming
@property CFTimeInterval beginTime;
@property CFTimeInterval duration;
@property float speed;
@property CFTimeInterval timeOffset;
@property float repeatCount;
@property BOOL autoreverses;
@property(copy) CAMediaTimingFillMode fillMode;
@end

@class CALayer, CAAnimation;

@protocol CAAction
- (void)runActionForKey:(NSString*)event object:(id)anObject arguments:(nullable NSDictionary*)dict;
@end

@protocol CALayerDelegate <NSObject>
@optional
- (void)drawLayer:(CALayer*)layer inContext:(CGContextRef)ctx;
- (nullable id<CAAction>)actionForLayer:(CALayer*)layer forKey:(NSString*)event;
@end

typedef NSString* CALayerCornerCurve;
CA_EXTERN CALayerCornerCurve const kCACornerCurveCircular;
CA_EXTERN CALayerCornerCurve const kCACornerCurveContinuous;

@interface CALayer : NSObject <CAMediaTiming>
+ (instancetype)layer;
@property CGRect bounds;
@property CGPoint position;
@property CGPoint anchorPoint;
@property CATransform3D transform;
@property float opacity;
@property(nullable) CGColorRef backgroundColor;
@property CGFloat cornerRadius;
@property(copy) CALayerCornerCurve cornerCurve;
@property CGFloat borderWidth;
@property(nullable) CGColorRef borderColor;
@property(nullable) CGColorRef shadowColor;
@property float shadowOpacity;
@property CGFloat shadowRadius;
@property CGSize shadowOffset;
@property BOOL masksToBounds;
@property(getter=isHidden) BOOL hidden;
@property(nullable, copy) NSString* name;
@property(nullable, strong) __kindof CALayer* mask;
@property(nullable, copy) NSArray<__kindof CALayer*>* sublayers;
@property(nullable, readonly) CALayer* superlayer;
@property(getter=isGeometryFlipped) BOOL geometryFlipped;
- (BOOL)contentsAreFlipped;
@property(nullable, weak) id<CALayerDelegate> delegate;
@property(nullable, strong) id contents;
@property CGFloat contentsScale;
@property BOOL needsDisplayOnBoundsChange;
@property(nullable, copy) NSDictionary<NSString*, id<CAAction>>* actions;
- (void)setNeedsDisplay;
- (void)addSublayer:(CALayer*)layer;
- (void)insertSublayer:(CALayer*)layer atIndex:(unsigned)idx;
- (void)removeFromSuperlayer;
- (void)addAnimation:(CAAnimation*)anim forKey:(nullable NSString*)key;
- (void)removeAnimationForKey:(NSString*)key;
- (void)removeAllAnimations;
- (nullable NSArray<NSString*>*)animationKeys;
- (nullable __kindof CAAnimation*)animationForKey:(NSString*)key;
@end

typedef NSString* CAShapeLayerFillRule;
CA_EXTERN CAShapeLayerFillRule const kCAFillRuleNonZero;
CA_EXTERN CAShapeLayerFillRule const kCAFillRuleEvenOdd;
typedef NSString* CAShapeLayerLineCap;
CA_EXTERN CAShapeLayerLineCap const kCALineCapButt;
CA_EXTERN CAShapeLayerLineCap const kCALineCapRound;
CA_EXTERN CAShapeLayerLineCap const kCALineCapSquare;
typedef NSString* CAShapeLayerLineJoin;
CA_EXTERN CAShapeLayerLineJoin const kCALineJoinMiter;
CA_EXTERN CAShapeLayerLineJoin const kCALineJoinRound;
CA_EXTERN CAShapeLayerLineJoin const kCALineJoinBevel;

@interface CAShapeLayer : CALayer
@property(nullable) CGPathRef path;
@property(nullable) CGColorRef fillColor;
@property(copy) CAShapeLayerFillRule fillRule;
@property(nullable) CGColorRef strokeColor;
@property CGFloat strokeStart;
@property CGFloat strokeEnd;
@property CGFloat lineWidth;
@property CGFloat miterLimit;
@property(copy) CAShapeLayerLineCap lineCap;
@property(copy) CAShapeLayerLineJoin lineJoin;
@property CGFloat lineDashPhase;
@property(nullable, copy) NSArray<NSNumber*>* lineDashPattern;
@end

typedef NSString* CATextLayerAlignmentMode;
CA_EXTERN CATextLayerAlignmentMode const kCAAlignmentLeft;
CA_EXTERN CATextLayerAlignmentMode const kCAAlignmentCenter;
CA_EXTERN CATextLayerAlignmentMode const kCAAlignmentRight;
typedef NSString* CATextLayerTruncationMode;
CA_EXTERN CATextLayerTruncationMode const kCATruncationNone;

@interface CATextLayer : CALayer
// An NSString or NSAttributedString.
@property(nullable, copy) id string;
// A CTFontRef, CGFontRef, NSFont or font name.
@property(nullable) CFTypeRef font;
@property CGFloat fontSize;
@property(nullable) CGColorRef foregroundColor;
@property(getter=isWrapped) BOOL wrapped;
@property(copy) CATextLayerTruncationMode truncationMode;
@property(copy) CATextLayerAlignmentMode alignmentMode;
@end

typedef NSString* CAGradientLayerType;
CA_EXTERN CAGradientLayerType const kCAGradientLayerAxial;
CA_EXTERN CAGradientLayerType const kCAGradientLayerRadial;

@interface CAGradientLayer : CALayer
// CGColorRefs, bridged.
@property(nullable, copy) NSArray* colors;
@property(nullable, copy) NSArray<NSNumber*>* locations;
@property CGPoint startPoint;
@property CGPoint endPoint;
@property(copy) CAGradientLayerType type;
@end

@interface CAMediaTimingFunction : NSObject
+ (instancetype)functionWithControlPoints:(float)c1x:(float)c1y:(float)c2x:(float)c2y;
@end

@protocol CAAnimationDelegate <NSObject>
@optional
- (void)animationDidStart:(CAAnimation*)anim;
- (void)animationDidStop:(CAAnimation*)anim finished:(BOOL)flag;
@end

@interface CAAnimation : NSObject <CAMediaTiming, CAAction, NSCopying>
+ (instancetype)animation;
@property(nullable, strong) CAMediaTimingFunction* timingFunction;
@property(nullable, strong) id<CAAnimationDelegate> delegate;
@property(getter=isRemovedOnCompletion) BOOL removedOnCompletion;
@end

@interface CAPropertyAnimation : CAAnimation
+ (instancetype)animationWithKeyPath:(nullable NSString*)path;
@property(nullable, copy) NSString* keyPath;
@end

@interface CABasicAnimation : CAPropertyAnimation
@property(nullable, strong) id fromValue;
@property(nullable, strong) id toValue;
@end

@interface CASpringAnimation : CABasicAnimation
@property CGFloat mass;
@property CGFloat stiffness;
@property CGFloat damping;
@property CGFloat initialVelocity;
@property(readonly) CFTimeInterval settlingDuration;
@end

typedef NSString* CAAnimationCalculationMode;
CA_EXTERN CAAnimationCalculationMode const kCAAnimationLinear;

@interface CAKeyframeAnimation : CAPropertyAnimation
@property(nullable, copy) NSArray* values;
@property(nullable, copy) NSArray<NSNumber*>* keyTimes;
@property(copy) CAAnimationCalculationMode calculationMode;
@end

@interface CAAnimationGroup : CAAnimation
@property(nullable, copy) NSArray<CAAnimation*>* animations;
@end

@interface CATransaction : NSObject
+ (void)begin;
+ (void)commit;
+ (void)flush;
+ (BOOL)disableActions;
+ (void)setDisableActions:(BOOL)flag;
+ (CFTimeInterval)animationDuration;
+ (void)setAnimationDuration:(CFTimeInterval)dur;
+ (void)setCompletionBlock:(nullable void (^)(void))block;
@end

NS_ASSUME_NONNULL_END
