#include "solar/Sun.h"

#include <cmath>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "solar/RiseSetSearch.h"

namespace {

constexpr double kRadiansPerArcsecond = 4.848132257047972e-06;
// The constant of aberration, arcseconds at 1 au.
constexpr double kAberration = 20.4898;

std::array<long double, 6> PowersNow(const Observer& o) { return {1.0L, o.tau, o.tau2, o.tau3, o.tau4, o.tau5}; }

}  // namespace

Sun::Sun(bool highAccuracy) : seriesPath_(SeriesFileName("earth", highAccuracy)) {
    SetName("Sun");
    magnitude = -25.0f;
    seriesStatus_ = earth.Load(seriesPath_);
}

Sun::Sun(PlanetSeries earthSeries) : earth(std::move(earthSeries)) {
    SetName("Sun");
    magnitude = -25.0f;
}

Sun::Place Sun::PlaceAt(double jde) const {
    const Observer& o = *TheObserver;
    const PlanetSeries::Place e = earth.Evaluate(jde != 0.0 ? PlanetSeries::PowersAt(jde) : PowersNow(o));
    Place p;
    // The geocentric Sun is the heliocentric Earth seen the other way.
    p.longitude = static_cast<double>(e.L + Pi);
    p.latitude = static_cast<double>(-e.B);
    p.R = static_cast<double>(e.R);
    const double cosB = std::cos(p.latitude);
    p.X = p.R * std::cos(p.longitude) * cosB;
    p.Y = p.R * std::sin(p.longitude) * cosB;
    p.Z = p.R * std::sin(p.latitude);

    // Aberration shifts the Sun back along the ecliptic by the constant of
    // aberration over its distance; without a distance there is none to apply.
    DmsAngle aberration;
    if (p.R > 0) aberration.SetDms(0, 0, kAberration / p.R, false);
    const double lambda = p.longitude + static_cast<double>(o.nutationInLongitude * Pi / 180.0L) - aberration.radians;
    const double eps = o.trueObliquity;
    p.ra = std::atan2(std::sin(lambda) * std::cos(eps) - std::tan(p.latitude) * std::sin(eps), std::cos(lambda));
    p.dec = std::asin(std::sin(p.latitude) * std::cos(eps) + cosB * std::sin(eps) * std::sin(lambda));
    return p;
}

Sun::Place Sun::PlaceFor(double jde) const {
    if (jde != 0.0) return PlaceAt(jde);
    Place p;
    p.X = X;
    p.Y = Y;
    p.Z = Z;
    p.longitude = longitude;
    p.latitude = latitude;
    p.R = R;
    p.ra = ra.radians;
    p.dec = dec.radians;
    return p;
}

void Sun::Position(double jde) {
    const Place p = PlaceAt(jde);
    X = p.X;
    Y = p.Y;
    Z = p.Z;
    longitude = p.longitude;
    latitude = p.latitude;
    R = p.R;
    ra.SetRadians(p.ra);
    dec.SetRadians(p.dec);
    apparentDiameter.SetRadians(R != 0 ? DiameterAtUnitDistance / R * kRadiansPerArcsecond : 0.001);
    apparentDiameter.DegreesToSexagesimal();
    distanceKm = R * KilometresPerAu;
}

uint32_t Sun::RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) {
    if (!Available()) return RtsNeverRises;
    return SearchRiseTransitSet(
        *TheObserver,
        [this](double jde) {
            const Place p = PlaceAt(jde);
            return BodyPlace{p.ra, p.dec, SunRiseAltitude()};
        },
        rise, transit, set);
}
