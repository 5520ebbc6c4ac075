#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "NamedSky.h"
#include "catalogues/DeepSkyObject.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/Star.h"
#include "view/SkyView.h"

namespace {

using named_sky::NamedSkyTest;

class ReportWindowTest : public NamedSkyTest {
protected:
    // Selects a star by a click on it, as the last frame left it.
    void ClickOn(Planetarium& p, Star& star) {
        const int px = 300, py = 100;
        for (int c = 0; c < p.StarCatalogueCount(); ++c)
            if (p.Catalogue(c)->loaded())
                for (Star& s : p.Catalogue(c)->stars()) s.onScreen = false;
        star.screenX = p.View()->FromPixelX(px);
        star.screenY = p.View()->FromPixelY(py);
        star.onScreen = true;
        p.SelectAt(px, py);
        ASSERT_EQ(p.Selected(), &star);
    }
    static std::string Title(const ReportText& runs) { return runs.empty() ? std::string() : runs[0].text; }
};

TEST_F(ReportWindowTest, ToggleShowsTheSelectionAndFollowsItWhileOpen) {
    auto p = Start();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(p->ReportWindow(), report);
    auto stars = p->Catalogue(SlotOf(*p, "foundation"))->stars();

    // Nothing selected: nothing to show.
    p->ToggleReport();
    EXPECT_FALSE(report->open);
    EXPECT_EQ(report->fills, 0);

    ClickOn(*p, stars[0]);
    EXPECT_EQ(report->fills, 0);
    p->ToggleReport();
    EXPECT_TRUE(report->open);
    EXPECT_EQ(Title(report->runs), "Star: Sirius \t");

    // A click while it is open fills it anew.
    ClickOn(*p, stars[1]);
    EXPECT_EQ(report->fills, 2);
    EXPECT_EQ(Title(report->runs), "Star: Rigel \t");

    p->ToggleReport();
    EXPECT_FALSE(report->open);
    // Closed, it is left alone; opened again it shows the selection of then.
    ClickOn(*p, stars[2]);
    EXPECT_EQ(report->fills, 2);
    p->ToggleReport();
    EXPECT_EQ(Title(report->runs), "Star: Betelgeuse \t");
}

TEST_F(ReportWindowTest, UnloadingTheCatalogueOfTheStarShownClosesIt) {
    auto p = Start();
    const int foundation = SlotOf(*p, "foundation"), other = SlotOf(*p, "other");
    ASSERT_GE(foundation, 0);
    ASSERT_GE(other, 0);
    p->Catalogue(other)->Enable();
    p->ApplyCatalogueRequests(nullptr);
    ASSERT_TRUE(p->Catalogue(other)->loaded());

    ClickOn(*p, p->Catalogue(other)->stars()[0]);
    p->ToggleReport();
    ASSERT_TRUE(report->open);
    // Another catalogue going leaves it be.
    p->Catalogue(foundation)->Disable();
    p->ApplyCatalogueRequests(nullptr);
    EXPECT_TRUE(report->open);
    EXPECT_EQ(Title(report->runs), "Star: Sirius \t");

    p->Catalogue(other)->Disable();
    p->ApplyCatalogueRequests(nullptr);
    EXPECT_FALSE(report->open);
    EXPECT_TRUE(report->runs.empty());
    // Nothing is selected now, so it stays closed.
    p->ToggleReport();
    EXPECT_FALSE(report->open);
}

TEST_F(ReportWindowTest, ReportOnEveryKindByItsDesignation) {
    auto p = Start();
    const auto foundation = static_cast<uint16_t>(SlotOf(*p, "foundation"));
    const struct {
        uint16_t kind, catalogue;
        int64_t index;
        const char* title;
    } rows[] = {
        {KindStar, foundation, 3, "Star: "},
        {KindStar, foundation, 5, "Star: HD: 12345 "},
        {KindDeepSky, 0, 1, "Bright Emission/Reflection Nebula\nGreat Orion Nebula, Orion Nebula\nM42 1976"},
        {KindSun, 0, 1, "Sun"},
        {KindMoon, 0, 1, "Moon"},
        {KindPlanet, 0, 4, "Planet: Saturn"},
        {KindPlanet, 0, 7, "Planet: Pluto"},
        {KindMinorPlanet, 0, 2, "Asteroid: 4 Vesta"},
        // Nothing of that designation.
        {KindPlanet, 0, 8, ""},
        {KindStar, foundation, 6, ""},
        {KindStar, 7, 0, ""},
        {KindDeepSky, 0, 3, ""},
        {KindNone, 0, 0, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Title(p->ReportOn(row.kind, row.catalogue, row.index)), row.title)
            << row.kind << " " << row.catalogue << " " << row.index;
}

// An object the update left out (fainter than the limit, a minor planet not
// shown) is reported where it stands now, and stays out of the frame.
TEST_F(ReportWindowTest, ObjectsTheUpdateLeftOutAreReportedWhereTheyStandNow) {
    auto p = Start();
    SkyView& view = *p->View();
    Star& faint = p->Catalogue(SlotOf(*p, "foundation"))->stars()[5];
    MinorPlanet& vesta = p->MinorPlanets().planets()[2];
    DeepSkyObject& nebula = p->DeepSky().objects()[2];
    const auto placeNow = [&] {
        view.starLimit = 99;
        view.dsoLimit = 99;
        view.asteroidsToShow = 3;
        p->Recompute();
    };
    placeNow();
    const double faintAltitude = faint.altitude.radians, vestaRa = vesta.ra.radians;
    const double nebulaAzimuth = nebula.azimuth.radians;

    view.starLimit = 2;
    view.dsoLimit = 2;
    view.asteroidsToShow = 1;
    p->Recompute();
    ASSERT_FALSE(faint.isComputed);
    faint.altitude.SetRadians(0);
    nebula.azimuth.SetRadians(0);
    vesta.ra.SetRadians(0);

    EXPECT_FALSE(p->ReportOn(KindStar, static_cast<uint16_t>(SlotOf(*p, "foundation")), 5).empty());
    EXPECT_FALSE(p->ReportOn(KindDeepSky, 0, 2).empty());
    EXPECT_FALSE(p->ReportOn(KindMinorPlanet, 0, 2).empty());
    EXPECT_NEAR(faint.altitude.radians, faintAltitude, 1e-12);
    EXPECT_NEAR(nebula.azimuth.radians, nebulaAzimuth, 1e-12);
    EXPECT_NEAR(vesta.ra.radians, vestaRa, 1e-12);
    EXPECT_FALSE(faint.isComputed);
    EXPECT_FALSE(nebula.isComputed);
}

}  // namespace
