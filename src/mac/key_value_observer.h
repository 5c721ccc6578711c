// Wraps: key-value observing (NSKeyValueObserving) for C++ callbacks: an object that hands every
// change of what it observes to a callback.
// Leaves out: the change dictionary (the callback reads the value it cares about afresh).
#pragma once

#import <Foundation/Foundation.h>

#include <functional>

@interface MWKKeyValueObserver : NSObject
- (instancetype)initWithCallback:(std::function<void()>)callback;
@end
