#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "astro/Angles.h"
#include "astro/Constants.h"

namespace {

// The program's own degree-to-radian constant: angles "of 200°" as the
// program itself would produce them.
constexpr double kRad = 0.0174532925;

TEST(HmsAngle, DerivedFieldsAndText) {
    HmsAngle a;
    a.SetRadians(-0.1);  // keeps its sign, shows within the day
    EXPECT_DOUBLE_EQ(a.radians, -0.1);
    EXPECT_EQ(a.Format(), "23h37'05\"");
    a.SetRadians(-1e-17);  // a hair below a full turn is 0h, not 24h
    EXPECT_EQ(a.Format(), "0h00'00\"");
    a.SetRadians(2 * M_PI + 1.0);
    EXPECT_NEAR(a.radians, 1.0, 1e-12);
    // Seconds round when printed, carrying into the minutes.
    a.hours = 3;
    a.minutes = 7;
    a.seconds = 59.6;
    EXPECT_EQ(a.Format(), "3h08'00\"");
}

TEST(HmsAngle, FieldsSurviveARoundTrip) {
    struct Case {
        uint16_t h, m;
        double s;
    } cases[] = {{0, 0, 0.0}, {5, 35, 17.25}, {12, 0, 59.0}, {23, 59, 58.0}};
    for (const auto& c : cases) {
        HmsAngle a, b;
        b.SetRadians(a.SetHms(c.h, c.m, c.s));
        EXPECT_EQ(b.hours, c.h) << c.h << ":" << c.m;
        EXPECT_EQ(b.minutes, c.m) << c.h << ":" << c.m;
        EXPECT_NEAR(b.seconds, c.s, 1e-6) << c.h << ":" << c.m;
    }
}

TEST(DmsAngle, SignsAndWrap) {
    DmsAngle a;
    a.SetRadians(200 * kRad);
    EXPECT_TRUE(a.negative);
    EXPECT_EQ(a.degrees, 160);
    EXPECT_EQ(a.Format(false), "-160°00'00\"");
    EXPECT_EQ(a.Format(true), "200°00'00\"");
    a.SetRadians(270.5 * kRad);
    EXPECT_EQ(a.Format(true), "270°30'00\"");
    a.SetRadians(45.25 * kRad);
    EXPECT_EQ(a.Format(true), "+45°15'00\"");
    a.SetDms(12, 34, 59.7, false);
    EXPECT_EQ(a.Format(false), "+12°35'00\"");
    // The largest fields still fit the text, and the degree sign is UTF-8.
    a.degrees = a.minutes = 65535;
    a.seconds = 1e30f;
    a.negative = true;
    EXPECT_EQ(a.Format(false).rfind("-65535\xC2\xB0"
                                    "65535'",
                                    0),
              0u);
}

// Whole values that the radian conversions leave a few units of the last
// place short still show as whole, not as 59'60".
TEST(Angles, WholeValuesSurviveRadianNoise) {
    for (int d = 0; d < 180; ++d) {
        for (int m = 0; m < 60; m += 7) {
            DmsAngle a;
            a.SetRadians((d + m / 60.0) * kRad);
            EXPECT_EQ(a.degrees * 60 + a.minutes, d * 60 + m) << d << " " << m;
            Angle west;
            west.SetSexagesimal(static_cast<uint16_t>(d), static_cast<uint16_t>(m), 0.0f, true);
            west.ApplySexagesimal();
            west.FormatSigned(false);
            EXPECT_EQ(west.deg * 60 + west.arcmin, d * 60 + m) << d << " " << m;
        }
    }
    for (int h = 0; h < 24; ++h) {
        for (int m = 0; m < 60; m += 11) {
            HmsAngle a;
            a.SetRadians(static_cast<double>(Pi * (15.0L * h + 0.25L * m) / 180.0L));
            EXPECT_EQ(a.hours * 60 + a.minutes, h * 60 + m) << h << " " << m;
            Angle b;
            b.SetDegrees(15.0 * h + 0.25 * m);
            b.DegreesToHours();
            EXPECT_EQ(b.hours * 60 + b.minutes, h * 60 + m) << h << " " << m;
        }
    }
    // Real seconds of 59.5 or more carry into the minutes.
    DmsAngle c;
    c.SetRadians((12.0 + 34.0 / 60.0 + 59.7 / 3600.0) * kRad);
    EXPECT_EQ(c.Format(false), "+12°35'00\"");
}

TEST(Angle, ConversionsAndTexts) {
    Angle a;
    a.SetDegrees(-30);
    EXPECT_DOUBLE_EQ(a.degrees, 330.0);
    EXPECT_NEAR(a.radians, 330.0 * M_PI / 180.0, 1e-12);
    a.SetRadians(-0.5);
    EXPECT_DOUBLE_EQ(a.radians, -0.5);
    EXPECT_NEAR(a.degrees, 331.35211, 1e-5);

    // A hair below zero is zero, as for the other records, not 360° shown as -0°.
    a.SetRadians(-1e-17);
    EXPECT_EQ(a.degrees, 0.0);
    EXPECT_EQ(a.FormatSigned(false), "+0°00'00\"");
    a.SetDegrees(-1e-20);
    EXPECT_EQ(a.degrees, 0.0);

    a.SetSexagesimal(6, 53, 0.0f, true);
    a.ApplySexagesimal();
    EXPECT_NEAR(a.degrees, -(6.0 + 53.0 / 60.0), 1e-12);
    EXPECT_EQ(a.FormatSigned(false), "-6°53'00\"");
    EXPECT_EQ(a.FormatSigned(true), "353°07'00\"");

    a.SetDegrees(280.46061837);  // 18h41m50.55s
    a.DegreesToHours();
    EXPECT_EQ(a.hours, 18);
    EXPECT_EQ(a.minutes, 41);
    EXPECT_NEAR(a.seconds, 50.55, 0.01);

    // Apparent diameters stay in arcseconds, even beyond a minute.
    a.SetSexagesimal(0, 0, 31.4f, false);
    EXPECT_EQ(a.FormatArcseconds(), "31.40\"");
    a.SetSexagesimal(0, 31, 4.0f, false);
    EXPECT_EQ(a.FormatArcseconds(), "1864.00\"");
}

// Seconds that round (or, for the sidereal time, truncate) to 60 carry into
// the minutes, and 60 minutes into the degrees or hours, which wrap at 360°
// and 24h: in every sexagesimal text of the readout and the status bar.
TEST(Angles, SecondsShownAs60CarryInEveryText) {
    const double arcsecond = kRad / 3600.0;
    struct Row {
        const char* what;
        std::function<std::string()> text;
        const char* expected;
    } rows[] = {
        {"right ascension",
         [] {
             HmsAngle a;
             a.hours = 5;
             a.minutes = 59;
             a.seconds = 59.6;
             return a.Format();
         },
         "6h00'00\""},
        {"right ascension at the end of the day",
         [] {
             HmsAngle a;
             a.SetHms(23, 59, 59.7);
             return a.Format();
         },
         "0h00'00\""},
        {"declination",
         [=] {
             DmsAngle a;
             a.SetRadians((10 * 3600 + 20 * 60 + 59.7) * arcsecond);
             return a.Format(false);
         },
         "+10°21'00\""},
        {"south declination",
         [] {
             DmsAngle a;
             a.SetDms(10, 59, 59.6, true);
             return a.Format(false);
         },
         "-11°00'00\""},
        {"azimuth",
         [=] {
             DmsAngle a;
             a.SetRadians((156 * 3600 + 10 * 60 + 59.8) * arcsecond);
             return a.Format(true);
         },
         "+156°11'00\""},
        {"azimuth a hair west of north",
         [=] {
             DmsAngle a;
             a.SetRadians(-0.3 * arcsecond);
             return a.Format(true);
         },
         "0°00'00\""},
        {"altitude",
         [=] {
             DmsAngle a;
             a.SetRadians(-(3600 * 89 + 59 * 60 + 59.9) * arcsecond);
             return a.Format(false);
         },
         "-90°00'00\""},
        {"elongation",
         [] {
             Angle a;
             a.SetDegrees(10 + 59 / 60.0 + 59.8 / 3600.0);
             return a.FormatSigned(false);
         },
         "+11°00'00\""},
        {"elongation a hair short of a turn",
         [] {
             Angle a;
             a.SetDegrees(360 - 0.3 / 3600.0);
             return a.FormatSigned(true);
         },
         "0°00'00\""},
        // The seconds' constant makes a hair short of a minute 60.0009 seconds.
        {"sidereal time",
         [] {
             Angle a;
             a.SetDegrees(15 * 7 + 0.25 * 59 + 0.2499999);
             a.DegreesToHours();
             return a.FormatTimeOfDay();
         },
         "08:00:00"},
        {"sidereal time at midnight",
         [] {
             Angle a;
             a.hours = 23;
             a.minutes = 59;
             a.seconds = 60.0004f;
             return a.FormatTimeOfDay();
         },
         "00:00:00"},
        {"sidereal time, truncated",
         [] {
             Angle a;
             a.hours = 7;
             a.minutes = 5;
             a.seconds = 59.99f;
             return a.FormatTimeOfDay();
         },
         "07:05:59"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.text(), r.expected) << r.what;
}

TEST(DateTime, Texts) {
    DateTime t;
    t.day = 5;
    t.month = 3;
    t.year = 2000;
    t.hour = 7;
    EXPECT_EQ(t.DateText(), "05-03-2000");
    EXPECT_EQ(t.TimeText(), "07:00:00");
}

}  // namespace
