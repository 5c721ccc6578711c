// Stands for Apple's Foundation framework: strings, attributed strings, collections, numbers, dates,
// the process, bundle, user defaults, notifications, key-value observing, run loop and timers, files
// and tasks, with the signatures of Apple's public documentation. Not the SDK: only what src/mac/
// needs.
#pragma once

#include <stdint.h>
#include <sys/types.h>

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>
#include <dispatch/dispatch.h>
#include <objc/NSObject.h>

// As NSObjCRuntime.h defines them: Core Foundation's enumerations and options.
#define NS_ENUM(_type, _name) CF_ENUM(_type, _name)
#define NS_OPTIONS(_type, _name) CF_OPTIONS(_type, _name)

NS_ASSUME_NONNULL_BEGIN

typedef double NSTimeInterval;

// Hands a Core Foundation object the caller owns to ARC.
static inline id _Nullable CFBridgingRelease(CFTypeRef _Nullable X) {
    return (__bridge_transfer id)X;
}
typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;
FOUNDATION_EXPORT const NSRect NSZeroRect;
FOUNDATION_EXPORT NSRect NSInsetRect(NSRect aRect, CGFloat dX, CGFloat dY);
FOUNDATION_EXPORT BOOL NSEqualRects(NSRect aRect, NSRect bRect);
FOUNDATION_EXPORT BOOL NSPointInRect(NSPoint aPoint, NSRect aRect);

@class NSArray<ObjectType>, NSDictionary<KeyType, ObjectType>, NSError, NSURL, NSDate;

typedef struct {
    unsigned long state;
    __unsafe_unretained id _Nullable* _Nullable itemsPtr;
    unsigned long* _Nullable mutationsPtr;
    unsigned long extra[5];
} NSFastEnumerationState;

@protocol NSFastEnumeration
- (NSUInteger)countByEnumeratingWithState:(NSFastEnumerationState*)state
                                  objects:(__unsafe_unretained id _Nullable[_Nonnull])buffer
                                    count:(NSUInteger)len;
@end

@protocol NSCopying
@end

typedef NSUInteger NSStringEncoding;
enum : NSStringEncoding { NSUTF8StringEncoding = 4 };

@interface NSString : NSObject <NSCopying>
@property(readonly) NSUInteger length;
@property(nullable, readonly) const char* UTF8String NS_RETURNS_INNER_POINTER;
+ (nullable instancetype)stringWithUTF8String:(const char*)nullTerminatedCString;
- (nullable instancetype)initWithBytes:(const void*)bytes length:(NSUInteger)len encoding:(NSStringEncoding)encoding;
- (BOOL)isEqualToString:(NSString*)aString;
- (nullable NSString*)stringByAppendingPathExtension:(NSString*)str;
- (NSUInteger)lengthOfBytesUsingEncoding:(NSStringEncoding)enc;
@end

@interface NSValue : NSObject <NSCopying>
@end

// NSGeometry.h: points, sizes and rectangles boxed as values.
@interface NSValue (NSValueGeometryExtensions)
+ (NSValue*)valueWithPoint:(NSPoint)point;
+ (NSValue*)valueWithSize:(NSSize)size;
+ (NSValue*)valueWithRect:(NSRect)rect;
@end

@interface NSNumber : NSValue
+ (NSNumber*)numberWithBool:(BOOL)value;
+ (NSNumber*)numberWithInt:(int)value;
+ (NSNumber*)numberWithLongLong:(long long)value;
+ (NSNumber*)numberWithDouble:(double)value;
@property(readonly) BOOL boolValue;
@property(readonly) long long longLongValue;
@property(readonly) double doubleValue;
@property(readonly) const char* objCType NS_RETURNS_INNER_POINTER;
@end

@interface NSData : NSObject <NSCopying>
+ (instancetype)data;
+ (instancetype)dataWithBytes:(nullable const void*)bytes length:(NSUInteger)length;
@property(readonly) const void* bytes NS_RETURNS_INNER_POINTER;
@property(readonly) NSUInteger length;
@end

@interface NSArray<__covariant ObjectType> : NSObject <NSCopying, NSFastEnumeration>
+ (instancetype)array;
+ (instancetype)arrayWithObjects:(const ObjectType _Nonnull[_Nonnull])objects count:(NSUInteger)cnt;
@property(readonly) NSUInteger count;
- (ObjectType)objectAtIndex:(NSUInteger)index;
- (ObjectType)objectAtIndexedSubscript:(NSUInteger)idx;
@property(nullable, nonatomic, readonly) ObjectType firstObject;
- (BOOL)isEqualToArray:(NSArray<ObjectType>*)otherArray;
@end

@interface NSMutableArray<ObjectType> : NSArray <ObjectType>
+ (instancetype)arrayWithCapacity:(NSUInteger)numItems;
- (void)addObject:(ObjectType)anObject;
@end

@interface NSDictionary<__covariant KeyType, __covariant ObjectType> : NSObject <NSCopying, NSFastEnumeration>
+ (instancetype)dictionaryWithObjects:(const ObjectType _Nonnull[_Nullable])objects
                              forKeys:(const KeyType<NSCopying> _Nonnull[_Nullable])keys
                                count:(NSUInteger)cnt;
@property(readonly) NSUInteger count;
- (nullable ObjectType)objectForKey:(KeyType)aKey;
- (nullable ObjectType)objectForKeyedSubscript:(KeyType)key;
- (void)enumerateKeysAndObjectsUsingBlock:(void(NS_NOESCAPE ^)(KeyType key, ObjectType obj, BOOL* stop))block;
@end

@interface NSMutableDictionary<KeyType, ObjectType> : NSDictionary <KeyType, ObjectType>
+ (instancetype)dictionaryWithCapacity:(NSUInteger)numItems;
- (void)setObject:(ObjectType)anObject forKey:(KeyType<NSCopying>)aKey;
@end

@interface NSError : NSObject
@property(readonly) NSInteger code;
@property(readonly, copy) NSString* localizedDescription;
@end

@interface NSDate : NSObject <NSCopying>
+ (instancetype)date;
+ (instancetype)dateWithTimeIntervalSinceNow:(NSTimeInterval)secs;
+ (instancetype)dateWithTimeIntervalSince1970:(NSTimeInterval)secs;
@property(class, readonly, copy) NSDate* distantPast;
@property(readonly) NSTimeInterval timeIntervalSince1970;
@end

// Dates as the user's locale writes them.
@interface NSLocale : NSObject <NSCopying>
@property(class, readonly, strong) NSLocale* autoupdatingCurrentLocale;
// The user's preferred languages, most preferred first.
@property(class, readonly, copy) NSArray<NSString*>* preferredLanguages;
+ (NSString*)canonicalLanguageIdentifierFromString:(NSString*)string;
@end

@interface NSFormatter : NSObject <NSCopying>
@end

typedef NS_ENUM(NSUInteger, NSDateFormatterStyle){
    NSDateFormatterNoStyle = 0,
    NSDateFormatterShortStyle = 1,
    NSDateFormatterMediumStyle = 2,
};

@interface NSDateFormatter : NSFormatter
@property NSDateFormatterStyle dateStyle;
@property NSDateFormatterStyle timeStyle;
@property(null_resettable, copy) NSLocale* locale;
- (NSString*)stringFromDate:(NSDate*)date;
@end

@interface NSURL : NSObject <NSCopying>
+ (nullable instancetype)URLWithString:(NSString*)URLString;
+ (NSURL*)fileURLWithPath:(NSString*)path;
@property(nullable, readonly, copy) NSString* lastPathComponent;
@property(nullable, readonly, copy) NSURL* URLByDeletingLastPathComponent;
@property(nullable, readonly, copy) NSURL* URLByDeletingPathExtension;
@end

// The process and its activities.
typedef NS_OPTIONS(uint64_t, NSActivityOptions){
    NSActivityIdleDisplaySleepDisabled = (1ULL << 40),
    NSActivityIdleSystemSleepDisabled = (1ULL << 20),
    NSActivitySuddenTerminationDisabled = (1ULL << 14),
    NSActivityAutomaticTerminationDisabled = (1ULL << 15),
    NSActivityUserInitiated = (0x00FFFFFFULL | NSActivityIdleSystemSleepDisabled),
    NSActivityUserInitiatedAllowingIdleSystemSleep = (NSActivityUserInitiated & ~NSActivityIdleSystemSleepDisabled),
    NSActivityBackground = 0x000000FFULL,
    NSActivityLatencyCritical = 0xFF00000000ULL,
};

@interface NSProcessInfo : NSObject
@property(class, readonly, strong) NSProcessInfo* processInfo;
@property(readonly, copy) NSArray<NSString*>* arguments;
@property(readonly) NSTimeInterval systemUptime;
- (id<NSObject>)beginActivityWithOptions:(NSActivityOptions)options reason:(NSString*)reason;
- (void)endActivity:(id<NSObject>)activity;
@end

FOUNDATION_EXPORT NSString* NSHomeDirectory(void);

@interface NSBundle : NSObject
@property(class, readonly, strong) NSBundle* mainBundle;
+ (nullable instancetype)bundleWithURL:(NSURL*)url;
- (nullable id)objectForInfoDictionaryKey:(NSString*)key;
@property(readonly, copy) NSArray<NSString*>* localizations;
- (nullable NSArray<NSURL*>*)URLsForResourcesWithExtension:(nullable NSString*)ext
                                               subdirectory:(nullable NSString*)subpath;
- (nullable NSArray<NSURL*>*)URLsForResourcesWithExtension:(nullable NSString*)ext
                                               subdirectory:(nullable NSString*)subpath
                                               localization:(nullable NSString*)localizationName;
@end

// Property lists: strings tables are dictionaries in one of their formats.
typedef NS_OPTIONS(NSUInteger, NSPropertyListMutabilityOptions){
    NSPropertyListImmutable = 0,
    NSPropertyListMutableContainers = 1,
    NSPropertyListMutableContainersAndLeaves = 2,
};
typedef NSPropertyListMutabilityOptions NSPropertyListReadOptions;
typedef NS_ENUM(NSUInteger, NSPropertyListFormat){
    NSPropertyListOpenStepFormat = 1,
    NSPropertyListXMLFormat_v1_0 = 100,
    NSPropertyListBinaryFormat_v1_0 = 200,
};

@interface NSPropertyListSerialization : NSObject
+ (nullable id)propertyListWithData:(NSData*)data
                            options:(NSPropertyListReadOptions)opt
                             format:(nullable NSPropertyListFormat*)format
                              error:(NSError* _Nullable* _Nullable)error;
@end

// Notifications.
typedef NSString* NSNotificationName;

@interface NSNotification : NSObject <NSCopying>
@property(readonly, copy) NSNotificationName name;
@property(nullable, readonly, strong) id object;
@property(nullable, readonly, copy) NSDictionary* userInfo;
@end

@interface NSThread : NSObject
@property(class, readonly) BOOL isMainThread;
@end

@interface NSOperationQueue : NSObject
@property(class, readonly, strong) NSOperationQueue* mainQueue;
@end

@interface NSNotificationCenter : NSObject
@property(class, readonly, strong) NSNotificationCenter* defaultCenter;
- (id<NSObject>)addObserverForName:(nullable NSNotificationName)name
                            object:(nullable id)obj
                             queue:(nullable NSOperationQueue*)queue
                        usingBlock:(void (^)(NSNotification* notification))block;
- (void)addObserver:(id)observer
           selector:(SEL)aSelector
               name:(nullable NSNotificationName)aName
             object:(nullable id)anObject;
- (void)removeObserver:(id)observer;
- (void)postNotificationName:(NSNotificationName)aName object:(nullable id)anObject userInfo:(nullable NSDictionary*)aUserInfo;
@end

typedef NSString* NSAttributedStringKey;

@interface NSAttributedString : NSObject <NSCopying>
@property(readonly, copy) NSString* string;
@property(readonly) NSUInteger length;
- (instancetype)initWithString:(NSString*)str;
- (instancetype)initWithString:(NSString*)str attributes:(nullable NSDictionary<NSAttributedStringKey, id>*)attrs;
@end

// Key-value observing.
typedef NSString* NSKeyValueChangeKey;
typedef NS_OPTIONS(NSUInteger, NSKeyValueObservingOptions){
    NSKeyValueObservingOptionNew = 0x01,
    NSKeyValueObservingOptionOld = 0x02,
    NSKeyValueObservingOptionInitial = 0x04,
    NSKeyValueObservingOptionPrior = 0x08,
};

// The singleton that stands for "nothing" in collections (a layer delegate's "no action").
@interface NSNull : NSObject <NSCopying>
+ (NSNull*)null;
@end

@interface NSObject (NSKeyValueCoding)
- (nullable id)valueForKey:(NSString*)key;
- (void)setValue:(nullable id)value forKey:(NSString*)key;
@end

@interface NSObject (NSKeyValueObserving)
- (void)observeValueForKeyPath:(nullable NSString*)keyPath
                      ofObject:(nullable id)object
                        change:(nullable NSDictionary<NSKeyValueChangeKey, id>*)change
                       context:(nullable void*)context;
@end

@interface NSObject (NSKeyValueObserverRegistration)
- (void)addObserver:(NSObject*)observer
         forKeyPath:(NSString*)keyPath
            options:(NSKeyValueObservingOptions)options
            context:(nullable void*)context;
- (void)removeObserver:(NSObject*)observer forKeyPath:(NSString*)keyPath context:(nullable void*)context;
@end

// User defaults.
@interface NSUserDefaults : NSObject
@property(class, readonly, strong) NSUserDefaults* standardUserDefaults;
- (nullable id)objectForKey:(NSString*)defaultName;
- (void)setObject:(nullable id)value forKey:(NSString*)defaultName;
- (void)removeObjectForKey:(NSString*)defaultName;
@end
FOUNDATION_EXPORT NSNotificationName const NSUserDefaultsDidChangeNotification;

// The run loop and timers.
typedef NSString* NSRunLoopMode;
FOUNDATION_EXPORT NSRunLoopMode const NSDefaultRunLoopMode;
FOUNDATION_EXPORT NSRunLoopMode const NSRunLoopCommonModes;

@interface NSTimer : NSObject
+ (NSTimer*)timerWithTimeInterval:(NSTimeInterval)interval
                          repeats:(BOOL)repeats
                            block:(void (^)(NSTimer* timer))block;
- (void)invalidate;
@property(readonly, getter=isValid) BOOL valid;
@property NSTimeInterval tolerance;
@end

@interface NSRunLoop : NSObject
@property(class, readonly, strong) NSRunLoop* currentRunLoop;
@property(class, readonly, strong) NSRunLoop* mainRunLoop;
@property(nullable, readonly, copy) NSRunLoopMode currentMode;
- (void)addTimer:(NSTimer*)timer forMode:(NSRunLoopMode)mode;
- (BOOL)runMode:(NSRunLoopMode)mode beforeDate:(NSDate*)limitDate;
@end

// Files.
typedef NSString* NSFileAttributeKey;

@interface NSFileManager : NSObject
@property(class, readonly, strong) NSFileManager* defaultManager;
- (BOOL)fileExistsAtPath:(NSString*)path;
- (BOOL)createDirectoryAtPath:(NSString*)path
    withIntermediateDirectories:(BOOL)createIntermediates
                     attributes:(nullable NSDictionary<NSFileAttributeKey, id>*)attributes
                          error:(NSError* _Nullable* _Nullable)error;
- (nullable NSDictionary<NSFileAttributeKey, id>*)attributesOfItemAtPath:(NSString*)path
                                                                   error:(NSError* _Nullable* _Nullable)error;
- (BOOL)createFileAtPath:(NSString*)path
                contents:(nullable NSData*)data
              attributes:(nullable NSDictionary<NSFileAttributeKey, id>*)attr;
- (BOOL)removeItemAtPath:(NSString*)path error:(NSError* _Nullable* _Nullable)error;
@end

@interface NSDictionary <KeyType, ObjectType>(NSFileAttributes)
- (unsigned long long)fileSize;
@end

@interface NSFileHandle : NSObject
+ (nullable instancetype)fileHandleForWritingAtPath:(NSString*)path;
+ (nullable instancetype)fileHandleForReadingFromURL:(NSURL*)url error:(NSError* _Nullable* _Nullable)error;
- (nullable NSData*)readDataUpToLength:(NSUInteger)length error:(NSError* _Nullable* _Nullable)error;
- (BOOL)seekToEndReturningOffset:(out unsigned long long* _Nullable)offsetInFile
                           error:(NSError* _Nullable* _Nullable)error;
- (BOOL)writeData:(NSData*)data error:(NSError* _Nullable* _Nullable)error;
- (BOOL)closeAndReturnError:(NSError* _Nullable* _Nullable)error;
@end

// Helper tools.
@interface NSTask : NSObject
@property(nullable, copy) NSURL* executableURL;
@property(nullable, copy) NSArray<NSString*>* arguments;
- (void)setTerminationHandler:(void (^_Nullable)(NSTask*))handler;
@property(readonly) int terminationStatus;
- (BOOL)launchAndReturnError:(NSError* _Nullable* _Nullable)error;
@end

NS_ASSUME_NONNULL_END
