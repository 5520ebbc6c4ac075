#pragma once

// Observers, bodies on the real series of data/, and the Swiss Ephemeris
// (JPL-based files) set up for the solar tests.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <swephexp.h>
#include <vector>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "solar/EarthShadow.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"

namespace solartest {

constexpr double kArcsecPerRadian = 180.0 * 3600.0 / M_PI;
constexpr double kDeltaT = 65.0 / 86400.0;

inline double Rad(double degrees) { return degrees * M_PI / 180.0; }

inline double Wrapped(double radians) {
    double d = std::fmod(radians, 2 * M_PI);
    if (d > M_PI) d -= 2 * M_PI;
    if (d < -M_PI) d += 2 * M_PI;
    return d;
}

// Angle between two directions given as right ascension and declination.
inline double Separation(double ra1, double dec1, double ra2, double dec2) {
    const double c = std::sin(dec1) * std::sin(dec2) + std::cos(dec1) * std::cos(dec2) * std::cos(ra1 - ra2);
    const double x = std::cos(dec2) * std::sin(ra1 - ra2);
    const double y = std::cos(dec1) * std::sin(dec2) - std::sin(dec1) * std::cos(dec2) * std::cos(ra1 - ra2);
    return std::atan2(std::hypot(x, y), c);
}

// A stopped observer at a place given in signed degrees (East, North).
inline std::unique_ptr<Observer> ObserverAt(double lonDeg, double latDeg, int zoneHours) {
    Observer::Setup setup;
    auto angle = [](double v, Angle& a) {
        const double m = std::fabs(v) * 3600.0;
        a.SetSexagesimal(static_cast<uint16_t>(m / 3600), static_cast<uint16_t>(std::fmod(m, 3600.0) / 60),
                         static_cast<float>(std::fmod(m, 60.0)), v < 0);
    };
    angle(lonDeg, setup.longitude);
    angle(latDeg, setup.latitude);
    setup.isWest = lonDeg < 0;
    setup.isSouth = latDeg < 0;
    auto o = std::make_unique<Observer>(setup, [] { return LocalClockReading{}; });
    o->setUseSystemClock(false);
    o->stop();
    o->setDst(false);
    o->setZone(zoneHours);
    return o;
}

inline void SetCivil(Observer& o, int y, int mo, int d, int h, int mi, int s) {
    o.setCivil(static_cast<int16_t>(h), static_cast<int16_t>(mi), static_cast<int16_t>(s), static_cast<int16_t>(d),
               static_cast<int16_t>(mo), static_cast<int16_t>(y));
    o.update();
}

// The series of a body in the data folder, read once.
inline const PlanetSeries& DataSeries(const std::string& body) {
    static std::map<std::string, PlanetSeries> cache;
    auto it = cache.find(body);
    if (it == cache.end()) {
        PlanetSeries s;
        const std::string path = std::string(VELKARIS_SOURCE_DIR) + "/" + SeriesFileName(body, false);
        EXPECT_EQ(s.Load(path), SeriesFileStatus::Read) << path << " (scripts/data.sh builds it)";
        it = cache.emplace(body, std::move(s)).first;
    }
    return it->second;
}

struct PlanetInfo {
    const char* name;
    double diameter, magnitude;
    int swissId;
};
inline const std::vector<PlanetInfo>& Planets() {
    static const std::vector<PlanetInfo> planets = {
        {"Mercury", 6.74, -0.42, SE_MERCURY},   {"Venus", 16.92, -4.40, SE_VENUS},   {"Mars", 9.36, -1.52, SE_MARS},
        {"Jupiter", 196.94, -9.40, SE_JUPITER}, {"Saturn", 165.6, -8.80, SE_SATURN}, {"Uranus", 65.8, -7.19, SE_URANUS},
        {"Neptune", 62.2, -6.87, SE_NEPTUNE},   {"Pluto", 4.7, -1.0, SE_PLUTO},
    };
    return planets;
}

// The Sun, the Moon, the Earth's shadow and the eight planets on the data
// folder's series, published observer given.
struct SolarSystem {
    Sun sun{DataSeries("earth")};
    Moon moon{&sun};
    EarthShadow shadow{&sun, &moon};
    std::vector<std::unique_ptr<Planet>> planets;

    SolarSystem() {
        for (const PlanetInfo& p : Planets()) {
            if (std::string(p.name) == "Pluto") {
                planets.push_back(std::make_unique<Pluto>(&sun));
            } else {
                planets.push_back(std::make_unique<Planet>(p.name, p.diameter, p.magnitude, &sun, DataSeries(p.name)));
            }
        }
    }
    void Update() {
        sun.Position(0);
        moon.Position(0);
        shadow.ComputeShadow();
        for (auto& p : planets) p->ComputePosition(0);
    }
};

// The Swiss Ephemeris on its JPL-based files, with the same fixed 65 s
// between universal and dynamical time as the program.
inline void SetUpSwiss() {
    static bool done = false;
    if (done) return;
    swe_set_ephe_path(const_cast<char*>("/usr/share/libswe/ephe"));
    swe_set_delta_t_userdef(kDeltaT);
    done = true;
}

// Right ascension, declination (radians) and distance (au) of a body at a
// dynamical Julian date; fails the test unless the JPL-based files were used.
inline void SwissPlace(double jde, int body, int32_t flags, double& ra, double& dec, double& distance) {
    SetUpSwiss();
    double x[6];
    char error[AS_MAXCH] = "";
    const int32_t used = swe_calc(jde, body, flags | SEFLG_SWIEPH | SEFLG_EQUATORIAL, x, error);
    ASSERT_TRUE(used >= 0 && (used & SEFLG_SWIEPH)) << "Swiss Ephemeris files missing: " << error;
    ra = Rad(x[0]);
    dec = Rad(x[1]);
    distance = x[2];
}

}  // namespace solartest
