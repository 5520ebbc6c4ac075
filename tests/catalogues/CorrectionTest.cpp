#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <erfa.h>
#include <random>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/DateCorrection.h"
#include "catalogues/StarCatalogue.h"
#include "tests/catalogues/CatalogueTestSupport.h"

namespace {

using catalogue_tests::FixturePath;
using catalogue_tests::StoppedObserver;

constexpr double kArcsecond = 4.84813681109536e-6;
constexpr double kJ2000 = 2451545.0;
constexpr double kHipparcosEpoch = 2448349.0625;

double Separation(double ra1, double dec1, double ra2, double dec2) {
    double a[3], b[3];
    eraS2c(ra1, dec1, a);
    eraS2c(ra2, dec2, b);
    return eraSepp(a, b);
}

TEST(Precession, TheAnglesAreThoseOfTheIau1976Model) {
    for (double jde : {2415020.0, 2433282.5, 2451545.0, 2461041.5, 2488070.0}) {
        const DateCorrection c = DateCorrection::ForDate(jde);
        double zeta, z, theta;
        eraPrec76(kJ2000, 0.0, jde, 0.0, &zeta, &z, &theta);
        EXPECT_NEAR(c.zeta, zeta, 1e-6 * kArcsecond) << jde;
        EXPECT_NEAR(c.z, z, 1e-6 * kArcsecond) << jde;
        EXPECT_NEAR(c.theta, theta, 1e-6 * kArcsecond) << jde;
    }
}

// Carries stars all over the sky, the poles' surroundings included, to a date
// by the rigorous method and by an ERFA matrix; returns the worst separation.
double WorstSeparation(double jde, double matrix[3][3]) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const DateCorrection c = DateCorrection::ForDate(jde);
    double worst = 0.0;
    for (int i = 0; i < 2000; ++i) {
        const double ra0 = 2 * 3.141592653589793 * unit(random);
        const double dec0 = std::asin(2 * unit(random) - 1) * (i % 10 == 0 ? 1.0 : 0.999);
        double ra = ra0, dec = dec0;
        c.Apply('T', 0.0f, 0.0f, ra, dec);
        double v[3], w[3];
        eraS2c(ra0, dec0, v);
        eraRxp(matrix, v, w);
        double raErfa, decErfa;
        eraC2s(w, &raErfa, &decErfa);
        worst = std::max(worst, Separation(ra, dec, raErfa, decErfa));
    }
    return worst;
}

TEST(Precession, PlacesAreThoseOfTheIau1976Model) {
    for (double jde : {2415020.5, 2424151.5, 2433282.5, 2461041.5, 2487000.5, 2488070.0}) {
        double matrix[3][3];
        eraPmat76(jde, 0.0, matrix);
        EXPECT_LT(WorstSeparation(jde, matrix), 1e-4 * kArcsecond) << jde;
    }
}

TEST(Precession, PlacesAgreeWithTheIau2006ModelAsFarAsTheModelsAgree) {
    // The 2006 model has a precession rate 0.3" a century slower than the
    // 1976 one and a frame bias of 0.02"; within a century of J2000 the two
    // stay within a few tenths of an arcsecond, and well under 0.1" within a
    // quarter of a century.
    for (double jde : {2424151.5, 2433282.5, 2451545.0, 2455197.5, 2461041.5, 2487000.5}) {
        double matrix[3][3];
        eraPmat06(jde, 0.0, matrix);
        const double centuries = std::fabs(jde - kJ2000) / 36525.0;
        EXPECT_LT(WorstSeparation(jde, matrix), (0.04 + 0.35 * centuries) * kArcsecond) << jde;
    }
}

TEST(ProperMotion, EachKindMovesFromItsOwnEpoch) {
    const float pmRa = static_cast<float>(0.8 * kArcsecond), pmDec = static_cast<float>(-1.2 * kArcsecond);
    const double ra0 = 1.2, dec0 = 0.4;
    const auto corrected = [&](char kind, double jde) {
        double ra = ra0, dec = dec0;
        DateCorrection::ForDate(jde).Apply(kind, pmRa, pmDec, ra, dec);
        return std::pair{ra, dec};
    };
    const auto precessedFrom = [&](double ra, double dec, double jde) {
        DateCorrection::ForDate(jde).Apply('T', 0.0f, 0.0f, ra, dec);
        return std::pair{ra, dec};
    };

    // A Hipparcos star stands still at its catalogue epoch J1991.25 ...
    const auto atEpoch = corrected('H', kHipparcosEpoch);
    const auto still = precessedFrom(ra0, dec0, kHipparcosEpoch);
    EXPECT_NEAR(atEpoch.first, still.first, 1e-12);
    EXPECT_NEAR(atEpoch.second, still.second, 1e-12);
    // ... and has moved by its yearly motion times the years since then.
    const double jde = 2461041.5;  // 2026 January 1
    const double yearsH = (jde - kHipparcosEpoch) / 365.25;
    const auto h = corrected('H', jde);
    const auto hExpected = precessedFrom(ra0 + yearsH * pmRa, dec0 + yearsH * pmDec, jde);
    EXPECT_NEAR(h.first, hExpected.first, 1e-12);
    EXPECT_NEAR(h.second, hExpected.second, 1e-12);
    EXPECT_GT(Separation(h.first, h.second, still.first, still.second), 30 * kArcsecond);

    // A bright star moves from J2000.0.
    const double yearsB = (jde - kJ2000) / 365.25;
    const auto b = corrected('B', jde);
    const auto bExpected = precessedFrom(ra0 + yearsB * pmRa, dec0 + yearsB * pmDec, jde);
    EXPECT_NEAR(b.first, bExpected.first, 1e-12);
    EXPECT_NEAR(b.second, bExpected.second, 1e-12);

    // Any other star never moves, whatever its file says.
    for (char kind : {'T', 'X', '\0'}) {
        const auto t = corrected(kind, jde);
        const auto tExpected = precessedFrom(ra0, dec0, jde);
        EXPECT_EQ(t.first, tExpected.first) << kind;
        EXPECT_EQ(t.second, tExpected.second) << kind;
    }
}

TEST(ProperMotion, AStarCorrectsTheCallersCopiesForTheObserversDate) {
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    StarCatalogue catalogue(FixturePath("stfixture.dat"), {}, true);
    ASSERT_TRUE(catalogue.Load(nullptr));
    const Star& sirius = catalogue.stars()[0];
    const double ra0 = sirius.ra.radians, dec0 = sirius.dec.radians;
    double ra = ra0, dec = dec0;
    sirius.CorrectToDate(ra, dec);
    EXPECT_EQ(sirius.ra.radians, ra0);
    EXPECT_EQ(sirius.dec.radians, dec0);
    // A bright star: moved from J2000.0 to the observer's dynamical date, then
    // precessed to it.
    const double jde = observer->dynamicalJulianDate;
    const double years = (jde - kJ2000) / 365.25;
    double v[3], w[3], matrix[3][3];
    eraS2c(ra0 + years * sirius.pmRa, dec0 + years * sirius.pmDec, v);
    eraPmat76(jde, 0.0, matrix);
    eraRxp(matrix, v, w);
    double raErfa, decErfa;
    eraC2s(w, &raErfa, &decErfa);
    EXPECT_LT(Separation(ra, dec, raErfa, decErfa), 1e-4 * kArcsecond);
    // Without the motion the place would be a third of an arcminute away.
    EXPECT_GT(Separation(ra, dec, raErfa - years * sirius.pmRa, decErfa), 10 * kArcsecond);
}

// The batch update of a whole catalogue must give what each star's own
// UpdateHorizontal gives, to rounding.
class BatchUpdate : public testing::TestWithParam<bool> {};

std::string RandomCatalogue(int n) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::string text = std::to_string(n) + "\nrandom\n";
    char line[200];
    const char kinds[] = {'H', 'B', 'T', 'X'};
    for (int i = 0; i < n; ++i) {
        const double ra = 24 * unit(random), dec = std::asin(2 * unit(random) - 1) * 57.29577951308232;
        const double d = std::fabs(dec);
        // A few stars as fast as the fastest known, so that centuries move
        // them by more than a small angle.
        const double motion = i % 50 == 0 ? 20.0 : 4.0;
        std::snprintf(line, sizeof line, "%c %d %d %d %d %.3f %c%d %d %.2f %.4f %.4f %.2f 0\n\n\n\n\n", kinds[i % 4], i,
                      i, static_cast<int>(ra), static_cast<int>(std::fmod(ra * 60, 60)), std::fmod(ra * 3600, 60),
                      dec < 0 ? '-' : '+', static_cast<int>(d), static_cast<int>(std::fmod(d * 60, 60)),
                      std::fmod(d * 3600, 60), (unit(random) - 0.5) * motion, (unit(random) - 0.5) * motion,
                      12 * unit(random) - 1);
        text += line;
    }
    return text;
}

TEST_P(BatchUpdate, GivesEachStarsOwnPlaceToRounding) {
    const bool correct = GetParam();
    StarCatalogue catalogue("random", {}, true);
    ASSERT_TRUE(catalogue.LoadText(RandomCatalogue(30000), nullptr));
    const float limit = 8.0f;
    // Places that span the years, both hemispheres and both sides of Greenwich.
    const std::vector<std::array<double, 2>> places = {{6.883, 52.35}, {-70.4, -24.6}, {151.2, -33.9}, {-155.5, 19.8}};
    const std::vector<int> years = {1930, 2026, 2090, 2900};
    for (const auto& place : places) {
        for (int year : years) {
            StoppedObserver observer(place[0], place[1], 0, false, year, 3, 20, 21, 30, 0);
            const std::size_t computed = catalogue.UpdateHorizontal(limit, correct);
            std::vector<double> altitude, azimuth;
            std::vector<bool> below, done;
            for (const Star& s : catalogue.stars()) {
                altitude.push_back(s.altitude.radians);
                azimuth.push_back(s.azimuth.radians);
                below.push_back(s.belowHorizon);
                done.push_back(s.isComputed);
            }
            std::size_t computedOneByOne = 0;
            for (std::size_t i = 0; i < catalogue.stars().size(); ++i) {
                Star& s = catalogue.stars()[i];
                computedOneByOne += s.UpdateHorizontal(limit, correct) ? 1 : 0;
                ASSERT_EQ(s.isComputed, done[i]) << i;
                if (!s.isComputed) continue;
                ASSERT_NEAR(s.altitude.radians, altitude[i], 1e-12) << i;
                const double dAz = std::remainder(s.azimuth.radians - azimuth[i], 2 * 3.141592653589793);
                ASSERT_NEAR(dAz * std::cos(altitude[i]), 0.0, 1e-12) << i;
                if (std::fabs(altitude[i]) > 1e-12) {
                    ASSERT_EQ(s.belowHorizon, below[i]) << i;
                }
            }
            EXPECT_EQ(computed, computedOneByOne);
            EXPECT_GT(computed, 1000u);
            EXPECT_LT(computed, catalogue.stars().size());
        }
    }
}

TEST_P(BatchUpdate, AStarFainterThanTheLimitKeepsItsLastPlace) {
    const bool correct = GetParam();
    StarCatalogue catalogue(FixturePath("stfixture.dat"), {}, true);
    ASSERT_TRUE(catalogue.Load(nullptr));
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    catalogue.UpdateHorizontal(99.0f, correct);
    Star& sirius = catalogue.stars()[0];
    const double altitude = sirius.altitude.radians, azimuth = sirius.azimuth.radians;
    observer.Set(2026, 1, 16, 3, 0, 0);
    // Exactly at the limit: computed.
    catalogue.UpdateHorizontal(-1.44f, correct);
    EXPECT_TRUE(sirius.isComputed);
    EXPECT_NE(sirius.altitude.radians, altitude);
    // A hundredth fainter than the limit: not computed, last place kept.
    const double altitude2 = sirius.altitude.radians, azimuth2 = sirius.azimuth.radians;
    observer.Set(2026, 1, 16, 5, 0, 0);
    EXPECT_EQ(catalogue.UpdateHorizontal(-1.45f, correct), 0u);
    EXPECT_FALSE(sirius.isComputed);
    EXPECT_EQ(sirius.altitude.radians, altitude2);
    EXPECT_EQ(sirius.azimuth.radians, azimuth2);
    EXPECT_FALSE(sirius.UpdateHorizontal(-1.45f, correct));
    EXPECT_EQ(sirius.altitude.radians, altitude2);
    EXPECT_NE(azimuth2, azimuth);
}

INSTANTIATE_TEST_SUITE_P(BothModes, BatchUpdate, testing::Bool(), [](const testing::TestParamInfo<bool>& info) {
    return info.param ? "CorrectedToDate" : "CatalogueEquinox";
});

}  // namespace
