// The horizontal conversion against ERFA's, in both of its forms.
#include <gtest/gtest.h>

#include <cmath>
#include <erfa.h>

#include "astro/Horizontal.h"

namespace {

constexpr double kDeg = M_PI / 180.0;

// The difference of two bearings, folded into [-pi, pi].
double BearingDifference(double a, double b) { return std::remainder(a - b, 2 * M_PI); }

struct Case {
    const char* what;
    double hourAngleDeg, declinationDeg, latitudeDeg;
};

constexpr Case kCases[] = {
    {"on the meridian, south of the zenith", 0, 10, 52},
    {"on the meridian, north of the zenith", 0, 70, 52},
    {"lower culmination of a circumpolar star", 180, 70, 52},
    {"rising in the east", -90, 0, 52},
    {"setting in the west", 90, 0, 52},
    {"the celestial pole", 37, 90, 52},
    {"the south celestial pole, from the south", -120, -90, -33.9},
    {"southern sky, west of the meridian", 45, -60, -33.9},
    {"at the equator, straight overhead", 0, 0, 0},
    {"at the equator, low in the north-east", -80, 40, 0},
    {"from the north pole", 123, 20, 90},
    {"the nadir", 180, -38, 52},
    {"hour angle past a full turn", 400, -5, 52},
};

TEST(Horizontal, AgreesWithErfaInBothForms) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const double h = c.hourAngleDeg * kDeg, d = c.declinationDeg * kDeg, phi = c.latitudeDeg * kDeg;
        double az = 0, el = 0;
        eraHd2ae(h, d, phi, &az, &el);
        const LatitudeTrig latitude(phi);
        const HorizontalPlace fromAngles = ToHorizontal(h, d, phi);
        const HorizontalPlace fromVector =
            ToHorizontalFromVector(std::cos(d) * std::sin(h), std::cos(d) * std::cos(h), std::sin(d), latitude);
        for (const HorizontalPlace& p : {fromAngles, fromVector}) {
            EXPECT_NEAR(p.altitude, el, 1e-12);
            EXPECT_GE(p.azimuth, 0.0);
            EXPECT_LE(p.azimuth, 2 * M_PI);
            // Straight up or down every bearing is the same place.
            if (std::fabs(std::fabs(el) - M_PI / 2) > 1e-9) {
                EXPECT_NEAR(BearingDifference(p.azimuth, az), 0.0, 1e-12);
            }
        }
    }
}

TEST(Horizontal, AnAltitudeRoundedPastTheZenithStaysAtIt) {
    // sin(phi)^2 + cos(phi)^2 rounds above 1 for some latitudes; the
    // altitude must still be a number.
    for (double latitude = -89.5; latitude <= 89.5; latitude += 0.37) {
        const HorizontalPlace p = ToHorizontal(0.0, latitude * kDeg, latitude * kDeg);
        ASSERT_FALSE(std::isnan(p.altitude)) << latitude;
        EXPECT_NEAR(p.altitude, M_PI / 2, 1e-7) << latitude;
    }
}

}  // namespace
