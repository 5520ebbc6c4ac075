#pragma once

#include <cstdint>
#include <string>

#include "astro/Angles.h"
#include "catalogues/SkyObject.h"
#include "solar/PlanetSeries.h"
#include "solar/Sun.h"

// A major planet, placed from its heliocentric series and the Sun's
// geocentric place. Its place is geometric (no light time, aberration or
// nutation), on the mean equator and equinox of date.
class Planet : public SkyObject {
public:
    // Reads the planet's series from data/ under its name.
    Planet(const std::string& name, double diameterAtUnitDistance, double magnitudeAtUnitDistance, Sun* sun);
    // With series given (tests, benchmarks).
    Planet(const std::string& name, double diameterAtUnitDistance, double magnitudeAtUnitDistance, Sun* sun,
           PlanetSeries planetSeries);

    // The place for a dynamical Julian date, or for the observer's current
    // moment (with the Sun as last computed for it) when jde is 0.
    void ComputePosition(double jde);

    // Heliocentric ecliptic longitude, latitude (radians) and radius vector
    // (au) of date.
    struct Heliocentric {
        double L = 0, B = 0, R = 0;  // heliocentric ecliptic longitude and latitude of date (radians), radius (au)
    };
    virtual Heliocentric HeliocentricAt(double jde) const;

    uint32_t RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) override;

    // False when the planet's own series or the Earth's could not be read:
    // the planet is then left out of the sky.
    virtual bool Available() const;
    SeriesFileStatus SeriesStatus() const { return seriesStatus_; }
    const std::string& SeriesPath() const { return seriesPath_; }

    Angle apparentDiameter;
    double L = 0, B = 0, R = 0;      // heliocentric ecliptic of date: radians, radians, au
    double distance = 0;             // from the Earth, au
    double phaseAngle = 0;           // radians, Sun-planet-Earth
    double illuminatedFraction = 0;  // 0-1
    Angle elongation;
    PlanetSeries series;
    double diameterAtUnitDistance;   // arcseconds
    double magnitudeAtUnitDistance;  // visual, at 1 au from the Sun and the Earth
    Sun* sun;

protected:
    // A planet without series of its own (Pluto).
    Planet(const std::string& name, double diameterAtUnitDistance, double magnitudeAtUnitDistance, Sun* sun,
           std::nullptr_t);

private:
    struct Geocentric {
        double ra = 0, dec = 0, distance = 0;
    };
    Geocentric GeocentricAt(const Heliocentric& h, const Sun::Place& sunPlace) const;

    std::string seriesPath_;
    SeriesFileStatus seriesStatus_ = SeriesFileStatus::Read;
};

// Pluto, from a short trigonometric fit to its numerically integrated orbit
// rather than from series.
class Pluto : public Planet {
public:
    static constexpr double DefaultDiameter = 4.7;
    static constexpr double DefaultMagnitude = -1.0;
    explicit Pluto(Sun* sun, double diameterAtUnitDistance = DefaultDiameter,
                   double magnitudeAtUnitDistance = DefaultMagnitude);
    Heliocentric HeliocentricAt(double jde) const override;
    bool Available() const override;
};

// Magnitude of a body from its magnitude at unit distances, its distances
// from the Sun and the Earth (au) and its illuminated fraction. A body seen
// wholly dark (or at no distance) is given the magnitude of one lit to a
// millionth rather than an infinite one.
float MagnitudeOf(double magnitudeAtUnitDistance, double fromSun, double fromEarth, double illuminatedFraction);

// The angle whose cosine is q, with q brought into [-1, 1] first (0 for a q
// that is no number).
double ClampedAcos(double q);
