// Stands for the Sparkle 2 update framework's public headers, as far as the standard updater
// controller, its updater and the standard user driver's delegate go, with the signatures of
// Sparkle's documentation. Not the framework: only what src/mac/ needs.
#pragma once

#include <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

@interface SUAppcastItem : NSObject
@property(copy, readonly) NSString* displayVersionString;
@property(copy, readonly) NSString* versionString;
@end

@interface SPUUserUpdateState : NSObject
@property(nonatomic, readonly) BOOL userInitiated;
@end

@protocol SPUUpdaterDelegate <NSObject>
@end

@protocol SPUStandardUserDriverDelegate <NSObject>
@optional
@property(nonatomic, readonly) BOOL supportsGentleScheduledUpdateReminders;
- (BOOL)standardUserDriverShouldHandleShowingScheduledUpdate:(SUAppcastItem*)update
                                         andInImmediateFocus:(BOOL)immediateFocus;
- (void)standardUserDriverWillHandleShowingUpdate:(BOOL)handleShowingUpdate
                                        forUpdate:(SUAppcastItem*)update
                                            state:(SPUUserUpdateState*)state;
- (void)standardUserDriverDidReceiveUserAttentionForUpdate:(SUAppcastItem*)update;
- (void)standardUserDriverWillFinishUpdateSession;
@end

@interface SPUUpdater : NSObject
@property(nonatomic) BOOL automaticallyChecksForUpdates;
@property(nonatomic, readonly, copy, nullable) NSDate* lastUpdateCheckDate;
@property(nonatomic, readonly) BOOL canCheckForUpdates;
@end

@interface SPUStandardUpdaterController : NSObject
- (instancetype)initWithStartingUpdater:(BOOL)startUpdater
                        updaterDelegate:(nullable id<SPUUpdaterDelegate>)updaterDelegate
                     userDriverDelegate:(nullable id<SPUStandardUserDriverDelegate>)userDriverDelegate;
@property(nonatomic, readonly) SPUUpdater* updater;
- (void)startUpdater;
- (void)checkForUpdates:(nullable id)sender;
@end

NS_ASSUME_NONNULL_END
