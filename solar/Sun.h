#pragma once

#include <cstdint>
#include <string>

#include "astro/Angles.h"
#include "catalogues/SkyObject.h"
#include "solar/PlanetSeries.h"

// The Sun, placed from the Earth's heliocentric series. Its place is the
// apparent one (nutation and aberration applied, true equator and equinox of
// date); its rectangular coordinates serve the planets, the minor planets, the
// Moon and the Earth's shadow.
class Sun : public SkyObject {
public:
    // Astronomical units in kilometres, as the distances are shown.
    static constexpr double KilometresPerAu = 149598770.0;
    static constexpr double DiameterAtUnitDistance = 1919.26;  // arcseconds

    // Reads the Earth's series from its file under data/.
    explicit Sun(bool highAccuracy = false);
    // With series given (tests, benchmarks).
    explicit Sun(PlanetSeries earthSeries);

    // The place for a dynamical Julian date, or for the observer's current
    // moment when jde is 0, stored in the fields below.
    void Position(double jde);

    // Everything Position stores, computed without storing it.
    struct Place {
        double X = 0, Y = 0, Z = 0;                 // au, geocentric, ecliptic of date, geometric
        double longitude = 0, latitude = 0, R = 0;  // radians, radians, au; geometric
        double ra = 0, dec = 0;                     // radians, apparent
    };
    Place PlaceAt(double jde) const;
    // The place as last stored for jde 0, or computed anew for another moment.
    Place PlaceFor(double jde) const;

    uint32_t RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) override;

    // False when the Earth's series could not be read: the Sun (and every
    // body placed from it) is then left out of the sky.
    bool Available() const { return !earth.Empty(); }
    SeriesFileStatus SeriesStatus() const { return seriesStatus_; }
    const std::string& SeriesPath() const { return seriesPath_; }

    // Geocentric rectangular ecliptic coordinates of date, au, from the
    // geometric place (no nutation, no aberration).
    double X = 0, Y = 0, Z = 0;
    Angle apparentDiameter;
    double distanceKm = 0;
    // Geometric geocentric longitude and latitude (radians), distance (au).
    double longitude = 0, latitude = 0, R = 0;
    PlanetSeries earth;

private:
    std::string seriesPath_;
    SeriesFileStatus seriesStatus_ = SeriesFileStatus::Read;
};
