#include "view/SkyOverlay.h"

#include "astro/Observer.h"

void SkyOverlay::Trace(double raRadians, double decRadians) {
    ra.SetRadians(raRadians);
    dec.SetRadians(decRadians);
    // Without an observer there is no sky to trace; the tracer stays put.
    if (TheObserver) UpdateHorizontal(999.9f, false);
}
