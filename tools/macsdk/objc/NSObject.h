// Stands for the Objective-C runtime's root class and basic types (objc/NSObject.h, objc/objc.h),
// as far as Marlowick's Mac adapters use them. Not the SDK: only what src/mac/ needs.
#pragma once

typedef bool BOOL;
#define YES __objc_yes
#define NO __objc_no
typedef long NSInteger;
typedef unsigned long NSUInteger;
typedef struct objc_selector* SEL;
#define nil nullptr
#define Nil nullptr

#define NS_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define NS_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")
#define NS_SWIFT_NAME(name)
#define NS_RETURNS_INNER_POINTER __attribute__((objc_returns_inner_pointer))
#define NS_NOESCAPE __attribute__((noescape))
#define NS_UNAVAILABLE __attribute__((unavailable))
#ifdef __cplusplus
#define FOUNDATION_EXPORT extern "C"
#define APPKIT_EXTERN extern "C"
#else
#define FOUNDATION_EXPORT extern
#define APPKIT_EXTERN extern
#endif

NS_ASSUME_NONNULL_BEGIN

@class NSString;

@protocol NSObject
- (BOOL)isEqual:(nullable id)object;
- (BOOL)isKindOfClass:(Class)aClass;
- (BOOL)respondsToSelector:(SEL)aSelector;
@end

__attribute__((objc_root_class))
@interface NSObject <NSObject>
+ (instancetype)alloc;
+ (instancetype)new;
+ (Class)class;
- (instancetype)init;
@end

NS_ASSUME_NONNULL_END
