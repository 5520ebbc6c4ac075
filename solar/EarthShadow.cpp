#include "solar/EarthShadow.h"

#include <algorithm>
#include <cmath>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "solar/Moon.h"
#include "solar/Sun.h"

EarthShadow::EarthShadow(Sun* theSun, Moon* theMoon) : sun(theSun), moon(theMoon) {
    SetName("Umbra");
    magnitude = -99.0f;
}

void EarthShadow::ComputeShadow() {
    // The shadow's axis points at the antisolar point. Where it falls on the
    // Moon is seen from the observer with the Moon's parallax, as the Moon
    // itself is: placed without it, the umbra would miss the eclipsed Moon by
    // up to a degree.
    Moon::Geocentric axis;
    axis.ra = static_cast<double>(Pi) + sun->ra.radians;
    axis.dec = -sun->dec.radians;
    const double sunDistance = sun->distanceKm;
    const double moonDistance = moon->distanceKm;
    if (!(sunDistance > 0) || !(moonDistance > 0)) {
        ra.SetRadians(axis.ra);
        dec.SetRadians(axis.dec);
        umbraDiameter = penumbraDiameter = 0;
        return;
    }
    axis.parallax = std::asin(std::min(1.0, Moon::EarthRadiusKm / moonDistance));
    double topoRa, topoDec;
    moon->Topocentric(axis, TheObserver->localApparentSidereal.radians - axis.ra, topoRa, topoDec);
    ra.SetRadians(topoRa);
    dec.SetRadians(topoDec);
    // The cones behind the Earth: the umbra narrows and the penumbra widens
    // from the Earth's diameter by the Sun's diameter over its distance.
    const double narrowing = (SunDiameterKm - EarthDiameterKm) / sunDistance;
    const double widening = (SunDiameterKm + EarthDiameterKm) / sunDistance;
    // Past the umbra's tip (a Moon farther than about 1.4 million km) there
    // is no umbra left.
    umbraDiameter = std::max(0.0, 2 * std::atan2((EarthDiameterKm - narrowing * moonDistance) * 0.5, moonDistance));
    penumbraDiameter = 2 * std::atan2((EarthDiameterKm + widening * moonDistance) * 0.5, moonDistance);
}
