#pragma once

#include <cstdint>

#include "astro/Angles.h"
#include "catalogues/SkyObject.h"

class Sun;

// The Moon from the truncated ELP-2000/82 lunar theory (the 60 + 60 periodic
// terms of Meeus' Astronomical Algorithms, chapter 47). Its stored right
// ascension and declination are topocentric and apparent (nutation applied,
// true equator and equinox of date); its distance is from the Earth's centre.
class Moon : public SkyObject {
public:
    static constexpr double EarthRadiusKm = 6378.14;
    static constexpr double DiameterAtUnitDistance = 112422.0;  // arcseconds at one Earth radius
    static constexpr double MagnitudeAtUnitDistance = 0.21;

    explicit Moon(Sun* sun);

    // The place for a dynamical Julian date, or for the observer's current
    // moment when jde is 0 (with the Sun as last computed for it).
    void Position(double jde);

    // The geocentric apparent place at a dynamical Julian date (0: now).
    struct Geocentric {
        double longitude = 0, latitude = 0;  // radians, apparent ecliptic of date
        double ra = 0, dec = 0;              // radians
        double distanceKm = 0;
        double parallax = 0;  // equatorial horizontal parallax, radians
    };
    Geocentric GeocentricAt(double jde) const;
    // The topocentric correction at a local hour angle (radians).
    void Topocentric(const Geocentric& g, double hourAngle, double& ra, double& dec) const;

    uint32_t RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) override;

    Sun* sun;
    double distanceEarthRadii = 0;
    double x = 0, y = 0, z = 0;  // geocentric ecliptic, Earth radii
    double distanceKm = 0;
    double distanceFromSun = 0;  // au
    Angle apparentDiameter;
    Angle elongation;
    double phaseAngle = 0;           // radians, Sun-Moon-Earth
    double illuminatedFraction = 0;  // 0-1
};

// Altitude of the Moon's centre (radians, geocentric) at which its upper limb
// touches the horizon, with refraction, for an equatorial horizontal parallax.
double MoonRiseAltitude(double parallax);
