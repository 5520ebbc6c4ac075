#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "NamedSky.h"
#include "astro/Constants.h"
#include "controller/ObjectNames.h"
#include "view/SkyView.h"

namespace {

using named_sky::NamedSkyTest;
class FindTest : public NamedSkyTest {
protected:
    ObjectRef Only(Planetarium& p, const char* name) {
        const std::vector<ObjectRef> found = ObjectNames(p).Resolve(name);
        EXPECT_EQ(found.size(), 1u) << name;
        return found.empty() ? ObjectRef{} : found.front();
    }
};

double Degrees(double radians) { return radians * 180.0 / static_cast<double>(Pi); }

// 6 December 2000, 21:04:09 CET, at 52°21' N 6°53' E. Sirius (RA 6h45m,
// Dec -16°43') rises when the local sidereal time is 2h12m: 20:41 UT, 21:41
// on the clock. Betelgeuse's hour angle is then -4h20m, which puts it 21°
// up. alp Cen, 61° south, never clears a horizon 52° north.
TEST_F(FindTest, TurnsToTheObjectAndSaysWhereItIs) {
    auto p = Start();
    const struct {
        const char* name;
        const char* said;
    } rows[] = {
        {"Sirius", "Sirius is below the horizon; it rises at 21:41"},
        {"Betelgeuse", "Betelgeuse stands 21\u00b0 above the horizon"},
        // Named as the side panel names it, with its Greek letter.
        {"alp1 Cen", "α¹ Cen is below the horizon and never rises here"},
    };
    for (const auto& row : rows) {
        const ObjectRef ref = Only(*p, row.name);
        EXPECT_EQ(p->GoTo(ref), row.said);
        SkyObject* object = p->ObjectOf(ref.kind, ref.catalogue, ref.index);
        EXPECT_EQ(p->Selected(), object) << row.name;
        EXPECT_EQ(p->SelectedIndex(), ref.index);
        // The view looks straight at it: it stands at the centre.
        EXPECT_NEAR(p->View()->elevation.radians, object->altitude.radians, 1e-6) << row.name;
        EXPECT_NEAR(p->View()->direction.radians, object->azimuth.radians, 1e-6) << row.name;
        EXPECT_NEAR(object->screenX, p->View()->CentreX(), 1e-6) << row.name;
        EXPECT_NEAR(object->screenY, p->View()->CentreY(), 1e-6) << row.name;
    }
    EXPECT_EQ(panel.labels[LabCurrentStar], "α¹ Cen");
}

// The Sun of this test sky rose at 06:54 and is down at 21:04: it rises
// next on the following day, found by a search on that day, after which
// the clock and the sky are as they were.
TEST_F(FindTest, WhatRoseAlreadyTodayRisesTomorrow) {
    auto p = Start();
    SkyObject* sun = p->ObjectOf(KindSun, 0, 1);
    HmsAngle rise, transit, set;
    ASSERT_TRUE(sun->RiseTransitSet(rise, transit, set) & RtsRise);
    const std::string today = Planetarium::EventClockText(rise);
    const double julian = p->JulianDate(), altitude = sun->altitude.radians, rightAscension = sun->ra.radians;
    const std::string civil = p->GetObserver().civil().TimeText();

    const std::string said = p->GoTo(Only(*p, "Sun"));
    const std::string prefix = "Sun is below the horizon; it rises tomorrow at ";
    ASSERT_EQ(said.rfind(prefix, 0), 0u) << said;
    const std::string tomorrow = said.substr(prefix.size());
    EXPECT_NE(tomorrow, today);
    const auto minutes = [](const std::string& hhmm) {
        return std::stoi(hhmm.substr(0, 2)) * 60 + std::stoi(hhmm.substr(3, 2));
    };
    EXPECT_LE(std::abs(minutes(tomorrow) - minutes(today)), 30) << today << " " << tomorrow;

    EXPECT_EQ(p->GetObserver().civil().TimeText(), civil);
    EXPECT_TRUE(p->GetObserver().useSystemClock());
    EXPECT_DOUBLE_EQ(p->GetObserver().julianDate, julian);
    EXPECT_NEAR(sun->altitude.radians, altitude, 1e-12);
    EXPECT_NEAR(sun->ra.radians, rightAscension, 1e-12);
}

TEST_F(FindTest, AFaintStarIsPlacedTheLockLetGoAndTheReportFollows) {
    auto p = Start();
    p->GoTo(Only(*p, "Rigel"));
    p->ToggleLock();
    ASSERT_NE(p->Locked(), nullptr);
    p->ToggleReport();
    ASSERT_TRUE(report->open);
    const int fills = report->fills;

    // HD 12345 (magnitude 9.8) lies beyond the star limit of 4.5: the update
    // leaves it out, finding it places it.
    const ObjectRef faint = Only(*p, "HD 12345");
    SkyObject* star = p->ObjectOf(faint.kind, faint.catalogue, faint.index);
    EXPECT_FALSE(star->isComputed);
    const std::string said = p->GoTo(faint);
    EXPECT_EQ(said.rfind("HD: 12345 stands ", 0), 0u) << said;  // as the side panel shows it
    EXPECT_GT(star->altitude.radians, 0.5);
    EXPECT_FALSE(star->isComputed);  // still not drawn
    EXPECT_NEAR(p->View()->elevation.radians, star->altitude.radians, 1e-6);
    EXPECT_EQ(p->Locked(), nullptr);
    EXPECT_EQ(panel.labels[labLockedObject], "none");
    EXPECT_GT(report->fills, fills);
    EXPECT_NE(PlainText(report->runs).find("12345"), std::string::npos);
    // Redrawing keeps the view on it now that nothing is locked.
    p->Redraw();
    EXPECT_NEAR(Degrees(p->View()->elevation.radians), Degrees(star->altitude.radians), 1e-4);
}

}  // namespace
