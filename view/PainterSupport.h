#pragma once

#include <algorithm>
#include <cstdint>

// Small rules the painters share.

// Pixel positions are truncated toward zero; far-off plane points (near the
// antipode of a stereographic view, say) are held inside the 32-bit range
// instead of overflowing it.
inline int32_t TruncToPixel(double v) {
    constexpr double kLimit = 1.0e9;
    if (!(v > -kLimit)) return static_cast<int32_t>(-kLimit);
    if (v > kLimit) return static_cast<int32_t>(kLimit);
    return static_cast<int32_t>(v);
}

// The magnitude a star's disc and pen are sized by. A damaged one (-1e10,
// nan) is held to what a star can sensibly be, so that no size computed from
// it leaves the range of the integers the canvas draws with.
inline float DrawnMagnitude(float magnitude) {
    if (!(magnitude <= 30.0f)) return 30.0f;
    return std::max(magnitude, -30.0f);
}

// The radius in pixels of a star's disc at a zoom; below 2 the star is a dot.
inline int DiscRadius(float magnitude, float zoomSteps) {
    return static_cast<int>((12 - DrawnMagnitude(magnitude)) * (zoomSteps - 45) / 60);
}
