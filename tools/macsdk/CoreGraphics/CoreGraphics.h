// Stands for Apple's CoreGraphics framework: its geometry types, as far as the adapters read points
// and sizes. Not the SDK: only what src/mac/ needs.
#pragma once

typedef double CGFloat;
struct CGPoint {
    CGFloat x;
    CGFloat y;
};
typedef struct CGPoint CGPoint;
struct CGSize {
    CGFloat width;
    CGFloat height;
};
typedef struct CGSize CGSize;
struct CGRect {
    CGPoint origin;
    CGSize size;
};
typedef struct CGRect CGRect;
