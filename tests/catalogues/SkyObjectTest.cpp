#include <gtest/gtest.h>

#include <cmath>
#include <erfa.h>
#include <string>

#include "astro/Constants.h"
#include "catalogues/SkyObject.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "tests/catalogues/CatalogueTestSupport.h"

namespace {

using catalogue_tests::FixturePath;
using catalogue_tests::StoppedObserver;

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;

TEST(SkyObjectNames, ANameIsOwnedAndReplacedWhole) {
    SkyObject object;
    EXPECT_EQ(object.Name(), nullptr);
    EXPECT_EQ(object.GetName(), "");
    std::string first = "first";
    object.SetName(first);
    first = "changed";
    object.SetName("second");
    ASSERT_NE(object.Name(), nullptr);
    EXPECT_EQ(*object.Name(), "second");
    EXPECT_EQ(object.GetName(), "second");
}

TEST(HorizontalPlace, AgreesWithErfaAllOverTheSkyAndFromBothHemispheres) {
    for (double latitude : {52.35, -33.87, 0.5, 78.2}) {
        StoppedObserver observer(6.883, latitude, 1, false, 2026, 1, 15, 22, 0, 0);
        const double lst = observer->localApparentSidereal.radians;
        const double phi = observer->latitude.radians;
        for (int i = 0; i < 400; ++i) {
            SkyObject object;
            object.ra.SetRadians(0.0157 * i * 4.1);
            object.dec.SetRadians(std::asin(std::fmod(i * 0.618034, 2.0) - 1.0));
            ASSERT_TRUE(object.UpdateHorizontal(99.0f, false));
            double azimuth, elevation;
            eraHd2ae(lst - object.ra.radians, object.dec.radians, phi, &azimuth, &elevation);
            EXPECT_NEAR(object.altitude.radians, elevation, 1e-9) << latitude << " " << i;
            EXPECT_NEAR(std::remainder(object.azimuth.radians - azimuth, 2 * kPi) * std::cos(elevation), 0.0, 1e-9)
                << latitude << " " << i;
            EXPECT_EQ(object.belowHorizon, elevation < 0);
            EXPECT_TRUE(object.isComputed);
        }
    }
}

TEST(HorizontalPlace, DueSouthOnTheMeridianAndBelowTheHorizonKeepsItsSign) {
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    const double phi = observer->latitude.radians;
    SkyObject south;
    south.ra.SetRadians(observer->localApparentSidereal.radians);
    south.dec.SetRadians(10 * kDegree);
    ASSERT_TRUE(south.UpdateHorizontal(0.0f, false));
    EXPECT_NEAR(south.azimuth.radians, kPi, 1e-12);
    EXPECT_NEAR(south.altitude.radians, kPi / 2 - phi + 10 * kDegree, 1e-12);
    EXPECT_FALSE(south.belowHorizon);

    SkyObject low;
    low.ra.SetRadians(observer->localApparentSidereal.radians);
    low.dec.SetRadians(phi - kPi / 2 - 0.1);
    ASSERT_TRUE(low.UpdateHorizontal(0.0f, false));
    EXPECT_NEAR(low.altitude.radians, -0.1, 1e-12);
    EXPECT_TRUE(low.altitude.negative);
    EXPECT_TRUE(low.belowHorizon);
}

// Local civil time of an event, as a fraction of the day.
double DayFraction(const HmsAngle& t) {
    double f = t.radians / (2 * kPi);
    return f < 0 ? f + 1 : f;
}

// Where ERFA puts a star (J2000 place, moved linearly by its proper motion as
// the catalogues define it) at a local civil moment: altitude and hour angle.
struct ErfaSky {
    double longitude, latitude;  // radians
    double zoneHours;            // with daylight saving
    int year, month, day;

    void At(const Star& star, double dayFraction, double& altitude, double& hourAngle) const {
        double djm0, djm;
        eraCal2jd(year, month, day, &djm0, &djm);
        const double ut = djm + dayFraction - zoneHours / 24.0;
        const double tt = ut + 65.0 / 86400.0;
        const double years = star.kind == 'B' ? (djm0 + tt - 2451545.0) / 365.25 : 0.0;
        double v[3], w[3], matrix[3][3];
        eraS2c(star.ra.radians + years * star.pmRa, star.dec.radians + years * star.pmDec, v);
        eraPnm06a(djm0, tt, matrix);
        eraRxp(matrix, v, w);
        double ra, dec;
        eraC2s(w, &ra, &dec);
        hourAngle = eraAnpm(eraGst06a(djm0, ut, djm0, tt) + longitude - ra);
        double azimuth;
        eraHd2ae(hourAngle, dec, latitude, &azimuth, &altitude);
    }
};

void SetPlace(Star& star, double raHours, double decDegrees) {
    star.kind = 'T';
    star.ra.SetRadians(raHours * 15 * kDegree);
    star.dec.SetRadians(decDegrees * kDegree);
}

// Checks the three times of a star against ERFA: at the rise and set times
// the star stands at -0.5667 degrees, at the transit on the meridian.
void ExpectEventsOnTheDate(Star& star, const ErfaSky& sky, const std::string& what) {
    HmsAngle rise, transit, set;
    ASSERT_EQ(star.RiseTransitSet(rise, transit, set), RtsAll) << what;
    double altitude, hourAngle;
    sky.At(star, DayFraction(rise), altitude, hourAngle);
    EXPECT_NEAR(altitude / kDegree, -0.5667, 0.03) << what << " rise " << rise.Format();
    EXPECT_LT(hourAngle, 0) << what;
    sky.At(star, DayFraction(transit), altitude, hourAngle);
    EXPECT_NEAR(hourAngle / kDegree, 0.0, 0.05) << what << " transit " << transit.Format();
    sky.At(star, DayFraction(set), altitude, hourAngle);
    EXPECT_NEAR(altitude / kDegree, -0.5667, 0.03) << what << " set " << set.Format();
    EXPECT_GT(hourAngle, 0) << what;
}

TEST(RiseTransitSet, RealStarsAtRealPlacesAgreeWithErfa) {
    {
        // Sirius from the Netherlands on a winter evening, standard time.
        StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
        StarCatalogue catalogue(FixturePath("stfixture.dat"), {}, true);
        ASSERT_TRUE(catalogue.Load(nullptr));
        ExpectEventsOnTheDate(catalogue.stars()[0], {6.883 * kDegree, 52.35 * kDegree, 1, 2026, 1, 15}, "Sirius");
    }
    {
        // Arcturus from New York in summer: a zone west of Greenwich with
        // daylight saving.
        StoppedObserver observer(-74.006, 40.713, -5, true, 2026, 7, 4, 21, 30, 0);
        Star arcturus;
        SetPlace(arcturus, 14 + 15 / 60.0 + 39.67 / 3600.0, 19 + 10 / 60.0 + 56.7 / 3600.0);
        ExpectEventsOnTheDate(arcturus, {-74.006 * kDegree, 40.713 * kDegree, -4, 2026, 7, 4}, "Arcturus");
    }
    {
        // Antares from Sydney, just after local midnight, when the universal
        // date is still the day before.
        StoppedObserver observer(151.21, -33.87, 10, false, 2026, 6, 15, 0, 20, 0);
        Star antares;
        SetPlace(antares, 16 + 29 / 60.0 + 24.46 / 3600.0, -(26 + 25 / 60.0 + 55.2 / 3600.0));
        ExpectEventsOnTheDate(antares, {151.21 * kDegree, -33.87 * kDegree, 10, 2026, 6, 15}, "Antares");
    }
}

TEST(RiseTransitSet, EventsNearMidnightBelongToTheObserversDate) {
    // Stars every twenty minutes of right ascension put some event at every
    // time of night, those just after and just before midnight included.
    StoppedObserver observer(6.883, 52.35, 1, true, 2026, 4, 2, 23, 50, 0);
    const ErfaSky sky{6.883 * kDegree, 52.35 * kDegree, 2, 2026, 4, 2};
    for (int i = 0; i < 72; ++i) {
        Star star;
        SetPlace(star, i / 3.0, (i % 5) * 10.0 - 20.0);
        ExpectEventsOnTheDate(star, sky, "star " + std::to_string(i));
    }
}

// A star that never sets still crosses the meridian every day: it gets its
// transit, and no rise or set. One that never rises, or has no place, gets
// nothing at all.
TEST(RiseTransitSet, CircumpolarStarsTransitAndNeverRisingStarsGetNoTimes) {
    const double vega[2] = {18 + 36 / 60.0 + 56.3 / 3600.0, 38 + 47 / 60.0 + 1.3 / 3600.0};
    const double canopus[2] = {6 + 23 / 60.0 + 57.1 / 3600.0, -(52 + 41 / 60.0 + 44.4 / 3600.0)};
    const double nan = std::nan("");
    struct Row {
        const char* what;
        double raHours, decDegrees;
        double latitude;
        uint32_t status;
    } rows[] = {
        {"near the pole from 50 N", 3.0, 89.0, 50.0, RtsNeverSets | RtsTransit},
        {"Vega from 52 N", vega[0], vega[1], 52.35, RtsNeverSets | RtsTransit},
        {"a southern star from 50 N", 3.0, -60.0, 50.0, RtsNeverRises},
        {"Canopus from 52 N", canopus[0], canopus[1], 52.35, RtsNeverRises},
        {"Canopus from 40 S", canopus[0], canopus[1], -40.0, RtsNeverSets | RtsTransit},
        {"Canopus from the equator", canopus[0], canopus[1], 0.0, RtsAll},
        {"a damaged record", nan, 10.0, 52.35, RtsNeverRises},
    };
    for (const Row& r : rows) {
        StoppedObserver observer(6.883, r.latitude, 1, false, 2026, 1, 15, 22, 0, 0);
        Star star;
        SetPlace(star, r.raHours, r.decDegrees);
        HmsAngle rise, transit, set;
        rise.SetRadians(0.1);
        transit.SetRadians(0.2);
        set.SetRadians(0.3);
        const uint32_t status = star.RiseTransitSet(rise, transit, set);
        EXPECT_EQ(status, r.status) << r.what;
        if (!(status & RtsRise)) {
            EXPECT_EQ(rise.radians, 0.1) << r.what;
        }
        if (!(status & RtsSet)) {
            EXPECT_EQ(set.radians, 0.3) << r.what;
        }
        if (!(status & RtsTransit)) {
            EXPECT_EQ(transit.radians, 0.2) << r.what;
            continue;
        }
        // The transit is the upper one, on the meridian (to 0.05 degrees on
        // the sky), on the observer's date.
        const ErfaSky sky{6.883 * kDegree, r.latitude * kDegree, 1, 2026, 1, 15};
        double altitude, hourAngle;
        sky.At(star, DayFraction(transit), altitude, hourAngle);
        EXPECT_NEAR(hourAngle / kDegree * std::cos(r.decDegrees * kDegree), 0.0, 0.05)
            << r.what << " transit " << transit.Format();
    }
    // Without the correction to the date a damaged place gives nothing either.
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    SkyObject uncorrected;
    uncorrected.ra.radians = nan;
    uncorrected.dec.SetRadians(0.2);
    HmsAngle rise, transit, set;
    EXPECT_EQ(uncorrected.RiseTransitSet(rise, transit, set), RtsNeverRises);
}

}  // namespace
