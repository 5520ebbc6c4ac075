// The observer's low-precision theories against the IAU models in ERFA, over
// the century the planetarium is used for most. Both sides get the same UT
// and TT = UT + 65 s, so only the theories differ.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <erfa.h>

#include "astro/Observer.h"

namespace {

constexpr double kArcsecPerRadian = 180.0 * 3600.0 / M_PI;
constexpr double kTimeSecondsPerRadian = 43200.0 / M_PI;

double Wrapped(double radians) {
    double d = std::fmod(radians, 2 * M_PI);
    if (d > M_PI) d -= 2 * M_PI;
    if (d < -M_PI) d += 2 * M_PI;
    return d;
}

struct Worst {
    double gastSeconds = 0, gmstSeconds = 0, dpsi = 0, deps = 0, obl80 = 0, obl06 = 0;
};

TEST(ErfaComparison, SiderealTimeNutationAndObliquity1950To2050) {
    Observer::Setup greenwich;
    Observer o(greenwich, [] { return LocalClockReading{}; });
    o.setUseSystemClock(false);
    o.stop();
    o.setDst(false);
    o.setZone(0);

    Worst worst;
    int samples = 0;
    // Every 11 days and a few hours, so that the hour of day and the phase of
    // every nutation term are sampled throughout.
    for (double jd = 2433282.5; jd < 2469807.5; jd += 11.0 + 7.0 / 24.0 + 13.0 / 1440.0 + 29.0 / 86400.0) {
        int year, month, day;
        double fraction;
        ASSERT_EQ(eraJd2cal(jd, 0.0, &year, &month, &day, &fraction), 0);
        int seconds = static_cast<int>(std::lround(fraction * 86400.0));
        if (seconds >= 86400) seconds = 86399;
        o.setCivil(static_cast<int16_t>(seconds / 3600), static_cast<int16_t>(seconds / 60 % 60),
                   static_cast<int16_t>(seconds % 60), static_cast<int16_t>(day), static_cast<int16_t>(month),
                   static_cast<int16_t>(year));
        o.update();

        double utA, utB;
        ASSERT_EQ(eraCal2jd(year, month, day, &utA, &utB), 0);
        utB += seconds / 86400.0;
        ASSERT_NEAR(o.julianDate, utA + utB, 1e-8);
        const double ttA = utA, ttB = utB + 65.0 / 86400.0;

        const double gast = eraGst06a(utA, utB, ttA, ttB);
        const double gmst = eraGmst06(utA, utB, ttA, ttB);
        double dpsi, deps;
        eraNut00b(ttA, ttB, &dpsi, &deps);

        const auto keep = [](double& w, double v) { w = std::max(w, std::fabs(v)); };
        keep(worst.gastSeconds, Wrapped(o.greenwichApparentSidereal.radians - gast) * kTimeSecondsPerRadian);
        keep(worst.gmstSeconds, Wrapped(o.greenwichMeanSidereal.radians - gmst) * kTimeSecondsPerRadian);
        keep(worst.dpsi, static_cast<double>(o.nutationInLongitude) * 3600.0 - dpsi * kArcsecPerRadian);
        keep(worst.deps, static_cast<double>(o.nutationInObliquity) * 3600.0 - deps * kArcsecPerRadian);
        keep(worst.obl80, (o.meanObliquity - eraObl80(ttA, ttB)) * kArcsecPerRadian);
        keep(worst.obl06, (o.meanObliquity - eraObl06(ttA, ttB)) * kArcsecPerRadian);
        // The true obliquity is the mean one plus the nutation, reduced only by whole turns.
        ASSERT_NEAR(o.trueObliquity, o.meanObliquity + static_cast<double>(o.nutationInObliquity) * M_PI / 180.0,
                    1e-12);
        ++samples;
    }
    std::printf(
        "ERFA comparison over %d moments 1950-2050, largest differences:\n"
        "  GAST vs eraGst06a %.4f s, GMST vs eraGmst06 %.4f s\n"
        "  nutation in longitude vs eraNut00b %.3f\", in obliquity %.3f\"\n"
        "  mean obliquity vs eraObl80 %.5f\", vs eraObl06 %.4f\"\n",
        samples, worst.gastSeconds, worst.gmstSeconds, worst.dpsi, worst.deps, worst.obl80, worst.obl06);
    EXPECT_GT(samples, 3000);
    EXPECT_LT(worst.gastSeconds, 0.05);
    EXPECT_LT(worst.gmstSeconds, 0.05);
    EXPECT_LT(worst.dpsi, 1.0);
    EXPECT_LT(worst.deps, 0.5);
    EXPECT_LT(worst.obl80, 0.1);
    EXPECT_LT(worst.obl06, 0.1);
}

// Local apparent sidereal time at a western place, through a zone and
// daylight time: every offset on the way has to come out right for this to hold.
TEST(ErfaComparison, LocalSiderealTimeThroughZoneAndDaylight) {
    Observer::Setup place;
    place.longitude.SetSexagesimal(74, 0, 30.0f, true);
    place.latitude.SetSexagesimal(40, 42, 0.0f, false);
    place.isWest = true;
    Observer o(place, [] { return LocalClockReading{}; });
    o.setUseSystemClock(false);
    o.stop();
    o.setDst(true);
    o.setZone(-5);
    o.setCivil(22, 15, 40, 3, 7, 2021);  // 02:15:40 UT on 4 July
    o.update();
    EXPECT_EQ(o.universal().DateText(), "04-07-2021");
    EXPECT_EQ(o.universal().TimeText(), "02:15:40");

    double utA, utB;
    ASSERT_EQ(eraCal2jd(2021, 7, 4, &utA, &utB), 0);
    utB += (2 * 3600 + 15 * 60 + 40) / 86400.0;
    const double last = eraGst06a(utA, utB, utA, utB + 65.0 / 86400.0) - (74.0 + 30.0 / 3600.0) * M_PI / 180.0;
    EXPECT_NEAR(Wrapped(o.localApparentSidereal.radians - last) * kTimeSecondsPerRadian, 0.0, 0.05);
}

}  // namespace
