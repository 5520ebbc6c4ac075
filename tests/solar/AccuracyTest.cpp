// The places the program computes against independent ephemerides over
// 1950-2050: the Sun against ERFA (the IAU models), the planets and the Moon
// against the Swiss Ephemeris on its JPL-based files. Both sides take the same
// Universal Time and a dynamical time 65 s later, so only the theories differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <erfa.h>
#include <erfam.h>

#include "solar/RiseSetSearch.h"
#include "tests/solar/SolarTestSupport.h"

namespace {

using namespace solartest;

// The Sun's apparent place (true equator and equinox of date) from ERFA: the
// Earth's heliocentric and barycentric motion, aberration, and the IAU
// 2006/2000A frame of date.
void ErfaSun(double jde, double& ra, double& dec) {
    double pvh[2][3], pvb[2][3];
    eraEpv00(2400000.5, jde - 2400000.5, pvh, pvb);
    double toSun[3], r, unit[3];
    eraSxp(-1.0, pvh[0], toSun);
    eraPn(toSun, &r, unit);
    double v[3];
    eraSxp(ERFA_AULT / ERFA_DAYSEC, pvb[1], v);
    const double bm1 = std::sqrt(1.0 - eraPdp(v, v));
    double apparent[3], frame[3][3], ofDate[3];
    eraAb(unit, v, r, bm1, apparent);
    eraPnm06a(2400000.5, jde - 2400000.5, frame);
    eraRxp(frame, apparent, ofDate);
    double theta, phi;
    eraC2s(ofDate, &theta, &phi);
    ra = theta;
    dec = phi;
}

struct Worst {
    double arcsec = 0;
    double jd = 0;
    void Note(double value, double at) {
        if (value > arcsec) {
            arcsec = value;
            jd = at;
        }
    }
};

TEST(Accuracy, SunPlanetsPlutoAndMoonOver1950To2050) {
    // Greenwich at sea level would do for all but the Moon, whose topocentric
    // place is tried from a place far from the equator.
    auto observer = ObserverAt(-75.0, 40.0, 0);
    TheObserver = observer.get();
    SolarSystem bodies;
    Worst sun, moon;
    std::vector<Worst> planets(Planets().size());
    swe_set_topo(-75.0, 40.0, 0.0);
    int samples = 0;
    // Every 37 days and some hours: all hours of the day, all phases of the Moon.
    for (double jd = 2433282.5; jd < 2469807.5; jd += 37.0 + 5.0 / 24.0 + 17.0 / 1440.0) {
        int y, mo, d;
        double fraction;
        ASSERT_EQ(eraJd2cal(jd, 0.0, &y, &mo, &d, &fraction), 0);
        const int seconds = std::min(86399, static_cast<int>(std::lround(fraction * 86400.0)));
        SetCivil(*observer, y, mo, d, seconds / 3600, seconds / 60 % 60, seconds % 60);
        bodies.Update();
        const double jde = observer->dynamicalJulianDate;
        ++samples;

        double ra, dec, distance;
        ErfaSun(jde, ra, dec);
        sun.Note(Separation(bodies.sun.ra.radians, bodies.sun.dec.radians, ra, dec) * kArcsecPerRadian, jde);

        for (std::size_t i = 0; i < Planets().size(); ++i) {
            SwissPlace(jde, Planets()[i].swissId, SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL | SEFLG_NONUT, ra, dec,
                       distance);
            const Planet& p = *bodies.planets[i];
            planets[i].Note(Separation(p.ra.radians, p.dec.radians, ra, dec) * kArcsecPerRadian, jde);
            if (i < 7) {
                EXPECT_NEAR(p.distance, distance, 1e-5 * distance) << p.GetName() << " at JDE " << jde;
            }
        }

        SwissPlace(jde, SE_MOON, SEFLG_TOPOCTR, ra, dec, distance);
        moon.Note(Separation(bodies.moon.ra.radians, bodies.moon.dec.radians, ra, dec) * kArcsecPerRadian, jde);
    }
    TheObserver = nullptr;
    ASSERT_GT(samples, 900);

    std::printf("largest differences over %d moments, arcseconds:\n  Sun %.2f (JDE %.1f)\n", samples, sun.arcsec,
                sun.jd);
    for (std::size_t i = 0; i < planets.size(); ++i)
        std::printf("  %s %.2f (JDE %.1f)\n", Planets()[i].name, planets[i].arcsec, planets[i].jd);
    std::printf("  Moon (topocentric) %.2f (JDE %.1f)\n", moon.arcsec, moon.jd);

    EXPECT_LT(sun.arcsec, 5.0);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_LT(planets[i].arcsec, 5.0) << Planets()[i].name;
    EXPECT_LT(planets[7].arcsec, 300.0) << "Pluto";
    EXPECT_LT(moon.arcsec, 30.0);
}

}  // namespace
