#include "solar/Planet.h"

#include <algorithm>
#include <cmath>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "solar/RiseSetSearch.h"

namespace {

constexpr double kRadiansPerArcsecond = 4.848132257047972e-06;
// The faintest illuminated fraction a magnitude is worked out for.
constexpr double kLeastFraction = 1e-6;
// The least distance (au) a magnitude is worked out for.
constexpr double kLeastDistance = 1e-9;

std::array<long double, 6> PowersNow(const Observer& o) { return {1.0L, o.tau, o.tau2, o.tau3, o.tau4, o.tau5}; }

}  // namespace

double ClampedAcos(double q) {
    if (std::isnan(q)) return 0.0;
    return std::acos(std::clamp(q, -1.0, 1.0));
}

float MagnitudeOf(double magnitudeAtUnitDistance, double fromSun, double fromEarth, double illuminatedFraction) {
    const double distances = std::max(fromSun * fromEarth, kLeastDistance);
    const double fraction = std::max(illuminatedFraction, kLeastFraction);
    return static_cast<float>(magnitudeAtUnitDistance + 5.0 * std::log10(distances) - 2.5 * std::log10(fraction));
}

Planet::Planet(const std::string& name, double diameter, double magnitude, Sun* theSun)
    : diameterAtUnitDistance(diameter),
      magnitudeAtUnitDistance(magnitude),
      sun(theSun),
      seriesPath_(SeriesFileName(name, false)) {
    SetName(name);
    seriesStatus_ = series.Load(seriesPath_);
}

Planet::Planet(const std::string& name, double diameter, double magnitude, Sun* theSun, PlanetSeries planetSeries)
    : series(std::move(planetSeries)),
      diameterAtUnitDistance(diameter),
      magnitudeAtUnitDistance(magnitude),
      sun(theSun) {
    SetName(name);
}

Planet::Planet(const std::string& name, double diameter, double magnitude, Sun* theSun, std::nullptr_t)
    : diameterAtUnitDistance(diameter), magnitudeAtUnitDistance(magnitude), sun(theSun) {
    SetName(name);
}

bool Planet::Available() const { return !series.Empty() && sun && sun->Available(); }

Planet::Heliocentric Planet::HeliocentricAt(double jde) const {
    const PlanetSeries::Place p = series.Evaluate(jde != 0.0 ? PlanetSeries::PowersAt(jde) : PowersNow(*TheObserver));
    return {static_cast<double>(p.L), static_cast<double>(p.B), static_cast<double>(p.R)};
}

Planet::Geocentric Planet::GeocentricAt(const Heliocentric& h, const Sun::Place& s) const {
    // Heliocentric planet plus geocentric Sun: the planet from the Earth,
    // ecliptic of date, then turned to the mean equator of date.
    const double x = h.R * std::cos(h.B) * std::cos(h.L) + s.X;
    const double y = h.R * std::cos(h.B) * std::sin(h.L) + s.Y;
    const double z = h.R * std::sin(h.B) + s.Z;
    const double eps = TheObserver->meanObliquity;
    const double ex = x;
    const double ey = y * std::cos(eps) - z * std::sin(eps);
    const double ez = y * std::sin(eps) + z * std::cos(eps);
    Geocentric g;
    g.distance = std::sqrt(ex * ex + ey * ey + ez * ez);
    g.ra = std::atan2(ey, ex);
    g.dec = std::atan2(ez, std::sqrt(ex * ex + ey * ey));
    return g;
}

void Planet::ComputePosition(double jde) {
    const Sun::Place s = sun->PlaceFor(jde);
    const Heliocentric h = HeliocentricAt(jde);
    L = h.L;
    B = h.B;
    R = h.R;
    const Geocentric g = GeocentricAt(h, s);
    distance = g.distance;
    ra.SetRadians(g.ra);
    dec.SetRadians(g.dec);
    apparentDiameter.SetRadians(distance != 0 ? diameterAtUnitDistance / distance * kRadiansPerArcsecond : 0.001);
    apparentDiameter.DegreesToSexagesimal();
    // Sun, Earth and planet as a triangle; a side of length 0 leaves the
    // angles undefined, taken as 0.
    const double sunEarth = s.R;
    elongation.SetRadians(ClampedAcos((sunEarth * sunEarth + distance * distance - R * R) / (2 * sunEarth * distance)));
    phaseAngle = ClampedAcos((R * R + distance * distance - sunEarth * sunEarth) / (2 * R * distance));
    illuminatedFraction = (1 + std::cos(phaseAngle)) / 2;
    magnitude = MagnitudeOf(magnitudeAtUnitDistance, R, distance, illuminatedFraction);
}

uint32_t Planet::RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) {
    if (!Available()) return RtsNeverRises;
    return SearchRiseTransitSet(
        *TheObserver,
        [this](double jde) {
            const Geocentric g = GeocentricAt(HeliocentricAt(jde), sun->PlaceAt(jde));
            return BodyPlace{g.ra, g.dec, PlanetRiseAltitude()};
        },
        rise, transit, set);
}

// ---- Pluto ---------------------------------------------------------------------------

Pluto::Pluto(Sun* theSun, double diameter, double magnitude) : Planet("Pluto", diameter, magnitude, theSun, nullptr) {}

bool Pluto::Available() const { return sun && sun->Available(); }

Planet::Heliocentric Pluto::HeliocentricAt(double jde) const {
    const Observer& o = *TheObserver;
    // Days of Universal Time since 2000 January 0.0.
    const double d = jde != 0.0 ? jde - (o.dynamicalJulianDate - o.julianDate) - o.epoch2000Jan0 : o.daysSince2000Jan0;
    Angle s, p;
    s.SetDegrees(50.03 + 0.033459652 * d);
    p.SetDegrees(238.95 + 0.003968789 * d);
    const double S = s.radians, P = p.radians;
    const double lon = 238.9508 + 0.00400703 * d - 19.799 * std::sin(P) + 19.848 * std::cos(P) +
                       0.897 * std::sin(2 * P) - 4.956 * std::cos(2 * P) + 0.61 * std::sin(3 * P) +
                       1.211 * std::cos(3 * P) - 0.341 * std::sin(4 * P) - 0.19 * std::cos(4 * P) +
                       0.128 * std::sin(5 * P) - 0.034 * std::cos(5 * P) - 0.038 * std::sin(6 * P) +
                       0.031 * std::cos(6 * P) + 0.02 * std::sin(S - P) - 0.01 * std::cos(S - P);
    const double lat = -3.9082 - 5.453 * std::sin(P) - 14.975 * std::cos(P) + 3.527 * std::sin(2 * P) +
                       1.673 * std::cos(2 * P) - 1.051 * std::sin(3 * P) + 0.328 * std::cos(3 * P) +
                       0.179 * std::sin(4 * P) - 0.292 * std::cos(4 * P) + 0.019 * std::sin(5 * P) +
                       0.1 * std::cos(5 * P) - 0.031 * std::sin(6 * P) - 0.026 * std::cos(6 * P) +
                       0.011 * std::cos(S - P);
    const double r = 40.72 + 6.68 * std::sin(P) + 6.9 * std::cos(P) - 1.18 * std::sin(2 * P) - 0.03 * std::cos(2 * P) +
                     0.15 * std::sin(3 * P) - 0.14 * std::cos(3 * P);
    Angle lambda, beta;
    lambda.SetDegrees(lon);
    beta.SetDegrees(lat);
    return {lambda.radians, beta.radians, r};
}
