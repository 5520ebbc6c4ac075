#include <gtest/gtest.h>

#include <cmath>

#include "solar/RiseSetSearch.h"
#include "tests/solar/SolarTestSupport.h"

namespace {

using namespace solartest;

// An observer whose dynamical time is 0h on the given date.
std::unique_ptr<Observer> AtZeroHoursTD(int y, int mo, int d) {
    auto o = ObserverAt(0, 0, 0);
    SetCivil(*o, y, mo, d - 1, 23, 58, 55);
    return o;
}

double Degrees(double radians) {
    const double d = std::fmod(radians * 180.0 / M_PI, 360.0);
    return d < 0 ? d + 360.0 : d;
}

TEST(TextbookExamples, SunVenusAndMoonAsWorkedInTheStandardTextbook) {
    {
        SCOPED_TRACE("Sun, 1992 October 13, 0h TD");
        auto o = AtZeroHoursTD(1992, 10, 13);
        TheObserver = o.get();
        ASSERT_NEAR(o->dynamicalJulianDate, 2448908.5, 1e-8);
        Sun sun(DataSeries("earth"));
        sun.Position(0);
        // The textbook sums its shortened series: the whole series put the Sun
        // 8e-7 au farther, as JPL's ephemeris does.
        EXPECT_NEAR(sun.R, 0.99760775, 1e-6);
        EXPECT_NEAR(Degrees(sun.longitude) * 3600, 199.907272 * 3600, 1.0);  // geometric, of date
        EXPECT_NEAR(Degrees(sun.ra.radians) * 3600, (13 * 15 + 13 * 0.25 + 30.749 / 240) * 3600, 1.0);
        EXPECT_NEAR(sun.dec.radians * 180 / M_PI * 3600, -(7 * 3600 + 47 * 60 + 1.74), 1.0);
    }
    {
        SCOPED_TRACE("Venus, 1992 December 20, 0h TD (heliocentric)");
        auto o = AtZeroHoursTD(1992, 12, 20);
        TheObserver = o.get();
        Sun sun(DataSeries("earth"));
        Planet venus("Venus", 16.92, -4.40, &sun, DataSeries("Venus"));
        sun.Position(0);
        venus.ComputePosition(0);
        // The textbook sums its shortened series; the whole series differ by
        // a fraction of an arcsecond.
        EXPECT_NEAR(Degrees(venus.L) * 3600, 26.11428 * 3600, 1.0);
        EXPECT_NEAR((venus.B * 180 / M_PI) * 3600, -2.62070 * 3600, 1.0);
        EXPECT_NEAR(venus.R, 0.724603, 2e-6);
    }
    {
        SCOPED_TRACE("Moon, 1992 April 12, 0h TD (geocentric)");
        auto o = AtZeroHoursTD(1992, 4, 12);
        TheObserver = o.get();
        Sun sun(DataSeries("earth"));
        Moon moon(&sun);
        const Moon::Geocentric g = moon.GeocentricAt(0);
        EXPECT_NEAR(g.distanceKm, 368409.7, 0.1);
        EXPECT_NEAR(g.parallax * 180 / M_PI, 0.991990, 1e-6);
        EXPECT_NEAR(g.latitude * 180 / M_PI * 3600 - (g.latitude > M_PI ? 1296000 : 0), -3.229126 * 3600, 0.1);
        // The textbook's nutation has 63 terms, this program's four: half an
        // arcsecond apart at most.
        EXPECT_NEAR(Degrees(g.longitude) * 3600, 133.167265 * 3600, 1.0);
        EXPECT_NEAR(Degrees(g.ra) * 3600, 134.688470 * 3600, 1.0);
        EXPECT_NEAR(g.dec * 180 / M_PI * 3600, 13.768368 * 3600, 1.0);
    }
    TheObserver = nullptr;
}

TEST(EarthShadow, ConesOfTheEarthsTrueDiameterAndTheMoonInsideAtTotality) {
    auto o = ObserverAt(-75.0, 40.0, 0);
    TheObserver = o.get();
    {
        // At 1 au from the Sun and 384400 km from the Moon.
        Sun sun(DataSeries("earth"));
        Moon moon(&sun);
        EarthShadow shadow(&sun, &moon);
        sun.distanceKm = 149598770.0;
        moon.distanceKm = 384400.0;
        shadow.ComputeShadow();
        EXPECT_NEAR(shadow.umbraDiameter, 0.023961, 1e-5);     // 1.37 degrees
        EXPECT_NEAR(shadow.penumbraDiameter, 0.042570, 1e-5);  // 2.44 degrees
        moon.distanceKm = 0;                                   // nothing to cast the shadow on: no cone
        shadow.ComputeShadow();
        EXPECT_EQ(shadow.umbraDiameter, 0.0);
    }
    struct Moment {
        const char* what;
        int y, mo, d, h, mi;
        double lonDeg, latDeg;
        bool inUmbra;
    };
    // Mid-eclipse of the total lunar eclipses of 2025, and two hours after
    // the penumbra left the Moon, seen from places where the Moon was up.
    const Moment moments[] = {
        {"2025-03-14 mid-eclipse, Philadelphia", 2025, 3, 14, 6, 58, -75.0, 40.0, true},
        {"2025-03-14 mid-eclipse, Santiago", 2025, 3, 14, 6, 58, -70.7, -33.4, true},
        {"2025-03-14 after the end", 2025, 3, 14, 12, 0, -75.0, 40.0, false},
        {"2025-09-07 mid-eclipse, Delhi", 2025, 9, 7, 18, 11, 77.2, 28.6, true},
        {"2025-09-07 mid-eclipse, Perth", 2025, 9, 7, 18, 11, 115.9, -32.0, true},
        {"2025-09-07 after the end", 2025, 9, 7, 22, 55, 77.2, 28.6, false},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.what);
        auto here = ObserverAt(m.lonDeg, m.latDeg, 0);
        TheObserver = here.get();
        SetCivil(*here, m.y, m.mo, m.d, m.h, m.mi, 0);
        SolarSystem bodies;
        bodies.Update();
        const double apart = Separation(bodies.moon.ra.radians, bodies.moon.dec.radians, bodies.shadow.ra.radians,
                                        bodies.shadow.dec.radians);
        const double moonRadius = bodies.moon.apparentDiameter.radians / 2;
        if (m.inUmbra) {
            EXPECT_LT(apart + moonRadius, bodies.shadow.umbraDiameter / 2);
        } else {
            EXPECT_GT(apart - moonRadius, bodies.shadow.penumbraDiameter / 2);
        }
    }
    TheObserver = nullptr;
}

TEST(MissingSeries, BodiesWithoutSeriesAreUnavailableAndNothingTheyComputeIsInfinite) {
    auto o = ObserverAt(6.88, 52.35, 1);
    TheObserver = o.get();
    SetCivil(*o, 2026, 12, 8, 21, 0, 0);
    Sun noEarth{PlanetSeries{}};
    Sun sun(DataSeries("earth"));
    struct Case {
        const char* what;
        Sun* sun;
        bool planetSeries;
        bool sunAvailable, planetAvailable;
    };
    const Case cases[] = {
        {"no Earth series", &noEarth, true, false, false},
        {"no series of the planet", &sun, false, true, false},
        {"both", &sun, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Planet mars("Mars", 9.36, -1.52, c.sun, c.planetSeries ? DataSeries("Mars") : PlanetSeries{});
        Pluto pluto(c.sun);
        Moon moon(c.sun);
        EarthShadow shadow(c.sun, &moon);
        c.sun->Position(0);
        moon.Position(0);
        shadow.ComputeShadow();
        mars.ComputePosition(0);
        pluto.ComputePosition(0);
        EXPECT_EQ(c.sun->Available(), c.sunAvailable);
        EXPECT_EQ(mars.Available(), c.planetAvailable);
        EXPECT_EQ(pluto.Available(), c.sunAvailable);
        for (double v :
             {c.sun->ra.radians, c.sun->dec.radians, c.sun->apparentDiameter.radians, mars.ra.radians, mars.dec.radians,
              static_cast<double>(mars.magnitude), mars.illuminatedFraction, mars.elongation.radians,
              mars.apparentDiameter.radians, static_cast<double>(pluto.magnitude), static_cast<double>(moon.magnitude),
              moon.illuminatedFraction, shadow.ra.radians, shadow.umbraDiameter, shadow.penumbraDiameter}) {
            EXPECT_TRUE(std::isfinite(v));
        }
        HmsAngle rise, transit, set;
        if (!mars.Available()) {
            EXPECT_EQ(mars.RiseTransitSet(rise, transit, set), RtsNeverRises);
        }
    }
    // A body lit not at all (a new Moon) is faint, not infinitely so; one at
    // no distance still has a number for a magnitude.
    EXPECT_TRUE(std::isfinite(MagnitudeOf(0.21, 1.0, 1.0, 0.0)));
    EXPECT_GT(MagnitudeOf(0.21, 1.0, 1.0, 0.0), MagnitudeOf(0.21, 1.0, 1.0, 0.01));
    EXPECT_TRUE(std::isfinite(MagnitudeOf(0.21, 1.0, 0.0, 0.5)));
    TheObserver = nullptr;
}

}  // namespace
