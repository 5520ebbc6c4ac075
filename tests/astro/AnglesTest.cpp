#include <gtest/gtest.h>

#include <cmath>

#include "astro/Angles.h"
#include "astro/Constants.h"

namespace {

// The program's own degree-to-radian constant: angles "of 200°" as the
// program itself would produce them.
constexpr double kRad = 0.0174532925;

TEST(Constants, PiAndArcsecond) {
    EXPECT_DOUBLE_EQ(static_cast<double>(Pi), M_PI);
    EXPECT_NEAR(static_cast<double>(ArcsecondInRadians), M_PI / 648000.0, 1e-20);
}

TEST(HmsAngle, NegativeRadiansKeepSignButShowWithinTheDay) {
    HmsAngle a;
    a.SetRadians(-0.1);
    EXPECT_DOUBLE_EQ(a.radians, -0.1);
    EXPECT_EQ(a.hours, 23);
    EXPECT_EQ(a.minutes, 37);
    EXPECT_EQ(a.Format(), "23h37'05\"");
}

TEST(HmsAngle, ReducesByAFullTurn) {
    HmsAngle a;
    a.SetRadians(2 * M_PI + 1.0);
    EXPECT_NEAR(a.radians, 1.0, 1e-12);
    HmsAngle b;
    b.SetRadians(-7.0);
    EXPECT_NEAR(b.radians, -7.0 + 2 * M_PI, 1e-12);
}

TEST(HmsAngle, FieldsSurviveARoundTrip) {
    struct Case { uint16_t h, m; double s; } cases[] = {
        {0, 0, 0.0}, {5, 35, 17.25}, {12, 0, 59.0}, {23, 59, 58.0}, {18, 36, 56.3},
    };
    for (const auto& c : cases) {
        HmsAngle a;
        const double r = a.SetHms(c.h, c.m, c.s);
        EXPECT_DOUBLE_EQ(r, (15.0 * c.h + 0.25 * c.m + 0.0041666 * c.s) * kRad);
        HmsAngle b;
        b.SetRadians(r);
        EXPECT_EQ(b.hours, c.h) << c.h << ":" << c.m;
        EXPECT_EQ(b.minutes, c.m) << c.h << ":" << c.m;
        EXPECT_NEAR(b.seconds, c.s, 1e-6) << c.h << ":" << c.m;
    }
}

TEST(HmsAngle, SecondsRoundWithoutCarryingIntoMinutes) {
    HmsAngle a;
    a.hours = 3;
    a.minutes = 7;
    a.seconds = 59.6;
    EXPECT_EQ(a.Format(), "3h07'60\"");
    a.seconds = 4.49;
    EXPECT_EQ(a.Format(), "3h07'04\"");
}

TEST(HmsAngle, AHairBelowAFullTurnIsMidnightNotTwentyFourHours) {
    HmsAngle a;
    a.SetRadians(-1e-17);
    EXPECT_EQ(a.hours, 0);
    EXPECT_EQ(a.Format(), "0h00'00\"");
}

TEST(DmsAngle, BeyondHalfATurnIsNegative) {
    DmsAngle a;
    a.SetRadians(200 * kRad);
    EXPECT_TRUE(a.negative);
    EXPECT_EQ(a.degrees, 160);
    EXPECT_EQ(a.minutes, 0);
    EXPECT_EQ(a.Format(false), "-160°00'00\"");
    EXPECT_EQ(a.Format(true), "200°00'00\"");
}

// Whole values that the radian conversions leave a few units of the last
// place short still show as whole, not as 59'60".
TEST(Angles, WholeValuesSurviveRadianNoise) {
    for (int d = 0; d < 180; ++d) {
        for (int m = 0; m < 60; m += 7) {
            const double degrees = d + m / 60.0;
            DmsAngle a;
            a.SetRadians(degrees * kRad);
            EXPECT_EQ(a.degrees, d) << d << " " << m;
            EXPECT_EQ(a.minutes, m) << d << " " << m;
            Angle b;
            b.SetDegrees(degrees);
            b.FormatSigned(false);
            EXPECT_EQ(b.deg, d) << d << " " << m;
            EXPECT_EQ(b.arcmin, m) << d << " " << m;
            Angle west;
            west.SetSexagesimal(static_cast<uint16_t>(d), static_cast<uint16_t>(m), 0.0f, true);
            west.ApplySexagesimal();
            west.FormatSigned(false);
            EXPECT_EQ(west.arcmin, m) << d << " " << m;
        }
    }
    for (int h = 0; h < 24; ++h) {
        for (int m = 0; m < 60; m += 11) {
            HmsAngle a;
            a.SetRadians(Pi * (15.0L * h + 0.25L * m) / 180.0L);
            EXPECT_EQ(a.hours, h) << h << " " << m;
            EXPECT_EQ(a.minutes, m) << h << " " << m;
            Angle b;
            b.SetDegrees(15.0 * h + 0.25 * m);
            b.DegreesToHours();
            EXPECT_EQ(b.hours, h) << h << " " << m;
            EXPECT_EQ(b.minutes, m) << h << " " << m;
        }
    }
    // Real seconds of 59.5 or more still print as 60.
    DmsAngle c;
    c.SetRadians((12.0 + 34.0 / 60.0 + 59.7 / 3600.0) * kRad);
    EXPECT_EQ(c.Format(false), "+12°34'60\"");
}

TEST(DmsAngle, WrappedAzimuth) {
    DmsAngle a;
    a.SetRadians(270.5 * kRad);
    EXPECT_EQ(a.Format(true), "270°30'00\"");
    EXPECT_EQ(a.Format(false), "-89°30'00\"");
    // Not negative: wrap changes nothing.
    a.SetRadians(45.25 * kRad);
    EXPECT_EQ(a.Format(true), "+45°15'00\"");
}

TEST(DmsAngle, SecondsOf59Point7PrintAs60) {
    DmsAngle a;
    a.SetDms(12, 34, 59.7, false);
    EXPECT_EQ(a.Format(false), "+12°34'60\"");
}

TEST(DmsAngle, SetFromFields) {
    DmsAngle a;
    EXPECT_DOUBLE_EQ(a.SetDms(10, 30, 36.0, true), -(10.51) * kRad);
    EXPECT_EQ(a.Format(false), "-10°30'36\"");
    DmsAngle b;
    b.SetRadians(a.radians);
    EXPECT_TRUE(b.negative);
    EXPECT_EQ(b.degrees, 10);
    EXPECT_EQ(b.minutes, 30);
    EXPECT_NEAR(b.seconds, 36.0f, 1e-3);
}

TEST(DmsAngle, LargestTextFitsAndIsUtf8) {
    DmsAngle a;
    a.degrees = 65535;
    a.minutes = 65535;
    a.seconds = 1e30f;
    a.negative = true;
    const std::string text = a.Format(false);
    EXPECT_EQ(text.rfind("-65535°65535'", 0), 0u);
    EXPECT_NE(text.find("\xC2\xB0"), std::string::npos);
}

TEST(Angle, SetFromNegativeDegreesAndRadians) {
    Angle a;
    a.SetDegrees(-30);
    EXPECT_DOUBLE_EQ(a.degrees, 330.0);
    EXPECT_NEAR(a.radians, 330.0 * M_PI / 180.0, 1e-12);

    Angle b;
    b.SetRadians(-0.5);
    EXPECT_DOUBLE_EQ(b.radians, -0.5);
    EXPECT_NEAR(b.degrees, 360.0 - 0.5 * 180.0 / M_PI, 1e-12);
    EXPECT_NEAR(b.degrees, 331.35, 0.01);
}

TEST(Angle, PlaceFromSexagesimal) {
    Angle lon;
    lon.SetSexagesimal(6, 53, 0.0f, true);
    lon.ApplySexagesimal();
    EXPECT_NEAR(lon.degrees, -(6.0 + 53.0 / 60.0), 1e-12);
    EXPECT_NEAR(lon.radians, lon.degrees * M_PI / 180.0, 1e-15);
    EXPECT_EQ(lon.FormatSigned(false), "-6°53'00\"");
    EXPECT_EQ(lon.FormatSigned(true), "353°07'00\"");
}

TEST(Angle, DegreesToHoursForSiderealTime) {
    Angle a;
    a.SetDegrees(280.46061837);  // 18h41m50.548s
    a.DegreesToHours();
    EXPECT_EQ(a.hours, 18);
    EXPECT_EQ(a.minutes, 41);
    EXPECT_NEAR(a.seconds, 50.548, 0.01);
}

TEST(Angle, ApparentDiameterInArcseconds) {
    Angle a;
    a.SetSexagesimal(0, 0, 31.4f, false);
    EXPECT_EQ(a.FormatArcseconds(), "31.40\"");
    a.SetSexagesimal(0, 31, 4.0f, false);
    EXPECT_EQ(a.FormatArcseconds(), "1864.00\"");
    a.SetSexagesimal(0, 0, 3.0f, false);
    EXPECT_EQ(a.FormatArcseconds(), " 3.00\"");
}

TEST(RadianAngle, ReducesAndConvertsBack) {
    RadianAngle r;
    EXPECT_NEAR(r.SetDegrees(370.0), 10.0 * M_PI / 180.0, 1e-12);
    EXPECT_NEAR(r.Degrees(), 10.0, 1e-10);
    EXPECT_NEAR(r.SetDegrees(-10.0), -10.0 * M_PI / 180.0, 1e-12);
}

TEST(DateTime, Texts) {
    DateTime t;
    t.day = 5;
    t.month = 3;
    t.year = 2000;
    t.hour = 7;
    t.minute = 4;
    t.second = 9;
    EXPECT_EQ(t.DateText(), "05-03-2000");
    EXPECT_EQ(t.TimeText(), "07:04:09");
    t.hour = -32768;
    EXPECT_EQ(t.TimeText(), "-32768:04:09");
}

}  // namespace
