#pragma once

#include "catalogues/SkyObject.h"

class SkyView;

// The grid tracer: a sky object moved along grid lines and the equator so
// that the observer's frame turns each vertex into altitude and azimuth. Its
// magnitude is far brighter than any limit, so every update computes it.
class SkyOverlay : public SkyObject {
public:
    explicit SkyOverlay(SkyView* view) : view_(view) { magnitude = -1000.0f; }
    ~SkyOverlay() override = default;

    SkyView* View() const { return view_; }
    // Moves the tracer to (ra, dec) and computes its altitude and azimuth.
    void Trace(double raRadians, double decRadians);

private:
    SkyView* view_;
};
