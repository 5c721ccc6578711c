// The core's animation values and animations as Core Animation's. Objective-C++ only.
#pragma once

#import <QuartzCore/QuartzCore.h>

#include "platform/animation.h"

namespace marlowick::mac {

// The value boxed as Core Animation takes it for the property (NSNumber, NSValue, CGColor,
// CATransform3D); nil when a component is not finite, which Core Animation would throw on.
id _Nullable toCAValue(const platform::AnimatableValue& value);

CATransform3D toCATransform(const platform::Transform& transform);

// The animation on Core Animation's clock: a layer animation's begin time is on the core's media
// clock, and `mediaTimeOffset` (Core Animation's media time less the core's) moves it over; inside
// a group begin times are the group's own and stay as they are. Nil when a value cannot be shown.
CAAnimation* _Nullable toCAAnimation(const platform::Animation& animation, double mediaTimeOffset);

} // namespace marlowick::mac
