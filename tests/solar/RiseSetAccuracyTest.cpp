// Rise, transit and set of the Sun, the Moon and the planets against a root
// search on true places: the Swiss Ephemeris' apparent places (topocentric for
// the Moon) and ERFA's sidereal time, the altitude scanned through the civil
// date and each crossing bisected to half a second.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <erfa.h>
#include <functional>
#include <optional>

#include "catalogues/SkyObject.h"
#include "tests/solar/SolarTestSupport.h"

namespace {

using namespace solartest;

struct Events {
    std::optional<double> rise, transit, set;  // seconds after local midnight
    bool alwaysUp = false, alwaysDown = false;
};

// The true altitude above the altitude of rising, and the hour angle, of a
// body at a moment of Universal Time.
struct Truth {
    double aboveRising, hourAngle;
};

Truth TrueAt(int body, double jdUt, double lonDeg, double latDeg) {
    const double jde = jdUt + kDeltaT;
    double ra, dec, distance;
    const bool moon = body == SE_MOON;
    SwissPlace(jde, body, moon ? SEFLG_TOPOCTR : 0, ra, dec, distance);
    double riseAltitude = Rad(-0.5667);
    if (body == SE_SUN) riseAltitude = Rad(-0.8333);
    if (moon) riseAltitude -= std::asin(1737.4 / (distance * 149597870.7));  // upper limb
    const double sidereal = eraGst06a(jdUt, 0.0, jde, 0.0) + Rad(lonDeg);
    const double h = Wrapped(sidereal - ra);
    const double phi = Rad(latDeg);
    const double altitude = std::asin(std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(h));
    return {altitude - riseAltitude, h};
}

double Bisect(const std::function<double(double)>& f, double a, double b) {
    double fa = f(a);
    while (b - a > 0.5 / 86400.0) {
        const double m = (a + b) / 2, fm = f(m);
        if ((fm < 0) == (fa < 0)) {
            a = m;
            fa = fm;
        } else {
            b = m;
        }
    }
    return (a + b) / 2;
}

Events TrueEvents(int body, double midnightUt, double lonDeg, double latDeg) {
    if (body == SE_MOON) swe_set_topo(lonDeg, latDeg, 0.0);
    const auto above = [&](double t) { return TrueAt(body, t, lonDeg, latDeg).aboveRising; };
    const auto hour = [&](double t) { return TrueAt(body, t, lonDeg, latDeg).hourAngle; };
    Events e;
    e.alwaysUp = e.alwaysDown = true;
    const double step = 6.0 / 1440.0;
    Truth before = TrueAt(body, midnightUt, lonDeg, latDeg);
    for (double t = midnightUt; t < midnightUt + 1.0 - 1e-9; t += step) {
        const double next = std::min(t + step, midnightUt + 1.0);
        const Truth after = TrueAt(body, next, lonDeg, latDeg);
        (before.aboveRising > 0 ? e.alwaysDown : e.alwaysUp) = false;
        const auto at = [&](double when) { return (when - midnightUt) * 86400.0; };
        if (before.aboveRising < 0 && after.aboveRising >= 0) e.rise = at(Bisect(above, t, next));
        if (before.aboveRising >= 0 && after.aboveRising < 0) e.set = at(Bisect(above, t, next));
        if (before.hourAngle < 0 && after.hourAngle >= 0 && after.hourAngle - before.hourAngle < 1.0)
            e.transit = at(Bisect(hour, t, next));
        before = after;
    }
    return e;
}

struct Case {
    const char* where;
    double lonDeg, latDeg;
    int zone, year, month, day;
};

TEST(RiseTransitSetAccuracy, WithinAMinuteOfTheTrueEventsFrom35SouthTo65North) {
    const Case cases[] = {
        {"Enschede, winter", 6.8833, 52.35, 1, 2026, 12, 8},
        {"Canberra, winter solstice", 149.13, -35.3, 10, 2024, 6, 21},
        {"Quito, equinox", -78.5, -0.2, -5, 2030, 3, 20},
        {"Iceland, winter solstice", -18.0, 65.0, 0, 1955, 12, 21},
        {"Iceland, summer solstice", -18.0, 65.0, 0, 2012, 6, 20},
        {"Iceland, Moon never sets", -18.0, 65.0, 0, 2025, 1, 12},
        {"Iceland, Moon never rises", -18.0, 65.0, 0, 2025, 1, 26},
        {"Philadelphia, eclipse night", -75.0, 40.0, -5, 2025, 3, 14},
        {"Sao Paulo, summer", -47.0, -20.0, -3, 1987, 2, 1},
        {"Tokyo", 139.7, 35.7, 9, 1969, 7, 20},
    };
    int compared = 0, circumpolarMoons = 0;
    double worst = 0;
    for (const Case& c : cases) {
        auto observer = ObserverAt(c.lonDeg, c.latDeg, c.zone);
        TheObserver = observer.get();
        SetCivil(*observer, c.year, c.month, c.day, 12, 0, 0);
        SolarSystem bodies;
        bodies.Update();
        const double midnightUt = Observer::julianDayOf(c.year, c.month, c.day, 0, 0, 0) - c.zone / 24.0;
        std::vector<std::pair<SkyObject*, int>> tried = {{&bodies.sun, SE_SUN}, {&bodies.moon, SE_MOON}};
        for (std::size_t i = 0; i < bodies.planets.size(); ++i)
            tried.emplace_back(bodies.planets[i].get(), Planets()[i].swissId);
        for (auto [object, swissId] : tried) {
            SCOPED_TRACE(std::string(c.where) + ": " + object->GetName());
            const Events truth = TrueEvents(swissId, midnightUt, c.lonDeg, c.latDeg);
            HmsAngle rise, transit, set;
            const uint32_t status = object->RiseTransitSet(rise, transit, set);
            const auto check = [&](const std::optional<double>& expected, uint32_t bit, const HmsAngle& got) {
                EXPECT_EQ((status & bit) != 0, expected.has_value()) << "status " << status;
                if (!expected || !(status & bit)) return;
                double diff = std::fabs(got.radians / (2 * M_PI) * 86400.0 - *expected);
                diff = std::min(diff, 86400.0 - diff);
                worst = std::max(worst, diff);
                ++compared;
                EXPECT_LT(diff, 60.0) << "bit " << bit;
            };
            check(truth.rise, RtsRise, rise);
            check(truth.set, RtsSet, set);
            if (!truth.alwaysDown) check(truth.transit, RtsTransit, transit);
            EXPECT_EQ((status & RtsNeverRises) != 0, truth.alwaysDown) << "status " << status;
            EXPECT_EQ((status & RtsNeverSets) != 0, truth.alwaysUp) << "status " << status;
            if (swissId == SE_MOON && (truth.alwaysUp || truth.alwaysDown)) ++circumpolarMoons;
            // The search leaves the observer's nutation at the current moment.
            const long double dpsi = observer->nutationInLongitude;
            observer->computeNutation(0);
            EXPECT_EQ(observer->nutationInLongitude, dpsi);
        }
        TheObserver = nullptr;
    }
    std::printf("%d events compared, largest difference %.1f s\n", compared, worst);
    EXPECT_EQ(circumpolarMoons, 2);
    EXPECT_GT(compared, 200);
}

}  // namespace
