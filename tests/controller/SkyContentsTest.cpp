#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ControllerTestSupport.h"
#include "catalogues/ConstellationFigure.h"
#include "catalogues/DeepSkyObject.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "solar/Sun.h"
#include "view/SkyView.h"

namespace {

// Orion's figure needs Sirius and Rigel of the foundation catalogue; the
// second figure a star no catalogue has; the third points past its list.
constexpr const char* kFigures =
    "3\n"
    "Orion\n2 1 48915 34085 2 1 2\n"
    "Lost\n1 0 99999\n"
    "Broken\n2 1 48915 34085 2 1 5\n";

constexpr const char* kDeepSky =
    "4\n"
    "224 1 31 0 42 44.3 +41 16 3.44 177.8 Andromeda Galaxy\neB, vL\n"
    "1976 4 42 5 35 17.3 -5 23 4.0 85.0 Orion Nebula\n!!!, vB, vL\n"
    "7000 4 0 20 59 17.1 +44 20 4.0 120.0 North America Nebula\npB, vL\n"
    "IC11 0 0 0 52 0.0 +56 10 2.0 0\ndup\n";

std::string MinorPlanets() {
    std::string text = "3\n";
    for (const char* line : {"1 Ceres              80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12\n",
                             "2 Pallas             172.9 310.8 233.2 34.93 0.2300 0.21385 4.12 0.11\n",
                             "4 Vesta              103.8 151.3 191.9 7.14 0.0884 0.27151 3.20 0.32\n"})
        text += line;
    return text;
}

// A catalogue that is not the foundation, holding a star of the same HD
// number as one of Orion's and the star the second figure wants.
constexpr const char* kOtherCatalogue =
    "2\nother\n"
    "H 48915 0 6 45 8.917 -16 42 58.02 0 0 -1.46 0\n\n\n\n\n"
    "H 99999 0 1 0 0 +0 0 0 0 0 5.0 0\n\n\n\n\n";

// Collects the job texts of every progress window the controller opens.
class JobRecorder : public LoadProgress {
public:
    explicit JobRecorder(std::vector<std::string>& jobs) : jobs_(jobs) {}
    void SetJob(const std::string& text) override { jobs_.push_back(text); }
    void Step(int) override {}
    void ReportProblem(const std::string&) override {}

private:
    std::vector<std::string>& jobs_;
};

class SkyContentsTest : public ::testing::Test {
protected:
    std::unique_ptr<Planetarium> Start(bool withEarth = true) {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        work.Write(QStringLiteral("data/stother.dat"), kOtherCatalogue);
        work.Write(QStringLiteral("data/constellations.dat"), kFigures);
        work.Write(QStringLiteral("data/dsocat.dat"), kDeepSky);
        work.Write(QStringLiteral("data/asteroids.dat"), MinorPlanets());
        WriteSolarSeries(work);
        if (!withEarth) QFile::remove(work.Path() + QStringLiteral("/data/la_earth.dat"));
        PlanetariumLinks links;
        links.panel = &panel;
        links.messages = &messages;
        links.clock = [] { return FixedMoment(); };
        links.createProgress = [this] { return std::make_unique<JobRecorder>(jobs); };
        return std::make_unique<Planetarium>(links);
    }

    StarCatalogue* CatalogueNamed(Planetarium& p, const std::string& name) {
        for (int c = 0; c < p.StarCatalogueCount(); ++c)
            if (p.Catalogue(c)->name == name) return p.Catalogue(c);
        return nullptr;
    }

    // Puts an object at a plane offset from the plane point of a pixel, as
    // the last frame would have left it.
    static void PlaceAt(Planetarium& p, SkyObject& o, int px, int py, double dx) {
        o.screenX = p.View()->FromPixelX(px) + dx;
        o.screenY = p.View()->FromPixelY(py);
        o.onScreen = true;
    }

    ScratchWorkDir work;
    RecordingPanel panel;
    RecordingMessages messages;
    std::vector<std::string> jobs;
};

TEST_F(SkyContentsTest, LoadsEachKindInOrderAndSaysWhichFigureItLeftOut) {
    auto p = Start();
    EXPECT_EQ(jobs,
              (std::vector<std::string>{"Loading VSOP87 Terms", "Loading Constellation Definitions",
                                        "Loading: data/stfound.dat", "Loading Deepsky Objects", "Loading Asteroids"}));
    EXPECT_EQ(p->Figures().size(), 3u);
    EXPECT_EQ(p->DeepSky().size(), 4u);
    EXPECT_EQ(p->MinorPlanets().size(), 3u);
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_NE(messages.warnings[0].find("\"Broken\""), std::string::npos) << messages.warnings[0];
    // The setting's 250 minor planets become the 3 there are, and stay so.
    EXPECT_EQ(p->View()->asteroidsToShow, 3);
    for (const MinorPlanet& m : p->MinorPlanets().planets()) EXPECT_TRUE(m.isComputed) << m.GetName();
}

TEST_F(SkyContentsTest, FiguresFollowTheFoundationCatalogueAndNoOther) {
    auto p = Start();
    const auto figures = p->Figures().figures();
    StarCatalogue* foundation = CatalogueNamed(*p, "foundation");
    StarCatalogue* other = CatalogueNamed(*p, "other");
    ASSERT_TRUE(foundation && other);
    EXPECT_TRUE(figures[0].complete());
    EXPECT_EQ(figures[0].stars()[0], &foundation->stars()[0]);
    EXPECT_FALSE(figures[1].complete());
    EXPECT_FALSE(figures[2].complete());

    // Another catalogue's stars never fill a figure, even with the right numbers.
    other->Enable();
    p->ApplyCatalogueRequests(nullptr);
    ASSERT_TRUE(other->loaded());
    EXPECT_FALSE(figures[1].complete());

    foundation->Disable();
    p->ApplyCatalogueRequests(nullptr);
    EXPECT_FALSE(figures[0].complete());
    EXPECT_EQ(figures[0].unresolved(), 2);
    EXPECT_EQ(figures[0].stars()[0], nullptr);
    p->Redraw();  // nothing may touch the unloaded stars

    foundation->Enable();
    p->ApplyCatalogueRequests(nullptr);
    EXPECT_TRUE(figures[0].complete());
    EXPECT_EQ(figures[0].stars()[1], &foundation->stars()[1]);
}

TEST_F(SkyContentsTest, AClickPrefersMinorPlanetsThenStarsThenDeepSkyObjects) {
    auto p = Start();
    MinorPlanet& ceres = p->MinorPlanets().planets()[0];
    Star& sirius = p->Catalogue(0)->stars()[0];
    DeepSkyObject& andromeda = p->DeepSky().objects()[0];
    DisplayOptions& options = p->View()->Options();
    options[DisplayOptions::ShowMinorPlanets] = true;

    // The same distance from the click, to the left and to the right.
    const struct {
        const char* what;
        std::size_t switchedOff;
        uint16_t kind;
        SkyObject* object;
        const char* shown;
    } steps[] = {
        {"all three", DisplayOptions::Count, KindMinorPlanet, &ceres, "1 Ceres"},
        {"no minor planets", DisplayOptions::ShowMinorPlanets, KindStar, &sirius, "Sirius"},
        {"no stars either", DisplayOptions::ShowStars, KindDeepSky, &andromeda, "Andromeda Galaxy"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.switchedOff < DisplayOptions::Count) options[s.switchedOff] = false;
        PlaceAt(*p, andromeda, 300, 100, -0.25);
        PlaceAt(*p, sirius, 300, 100, 0.25);
        PlaceAt(*p, ceres, 300, 100, -0.25);
        p->SelectAt(300, 100);
        EXPECT_EQ(p->SelectedKind(), s.kind);
        EXPECT_EQ(p->Selected(), s.object);
        EXPECT_EQ(p->SelectedIndex(), 0u);
        EXPECT_EQ(panel.labels[LabCurrentStar], s.shown);
    }
    EXPECT_EQ(panel.labels[LabCurMag], "Mag:  3.44");

    // Only the first asteroidsToShow minor planets are candidates.
    options[DisplayOptions::ShowMinorPlanets] = true;
    p->View()->asteroidsToShow = 1;
    auto planets = p->MinorPlanets().planets();
    PlaceAt(*p, planets[2], 300, 100, 0.0);
    p->SelectAt(300, 100);
    EXPECT_EQ(p->Selected(), &ceres);
}

TEST_F(SkyContentsTest, LockingADeepSkyObjectOrAMinorPlanetCentresIt) {
    auto p = Start();
    p->View()->Options()[DisplayOptions::ShowMinorPlanets] = true;
    p->View()->Options()[DisplayOptions::ShowStars] = false;
    for (uint16_t kind : {KindDeepSky, KindMinorPlanet}) {
        SkyObject& target =
            kind == KindDeepSky ? static_cast<SkyObject&>(p->DeepSky().objects()[1]) : p->MinorPlanets().planets()[2];
        for (DeepSkyObject& o : p->DeepSky().objects()) o.onScreen = false;
        for (MinorPlanet& m : p->MinorPlanets().planets()) m.onScreen = false;
        PlaceAt(*p, target, 200, 120, 0.0);
        p->SelectAt(200, 120);
        ASSERT_EQ(p->Selected(), &target);
        p->ToggleLock();
        ASSERT_EQ(p->Locked(), &target);
        EXPECT_EQ(p->LockedKind(), kind);
        EXPECT_NEAR(p->View()->CentreX(), target.screenX, 1e-9);
        EXPECT_NEAR(p->View()->CentreY(), target.screenY, 1e-9);
        EXPECT_NEAR(p->View()->direction.radians, target.azimuth.radians, 1e-6);
        p->ToggleLock();
        EXPECT_EQ(p->Locked(), nullptr);
    }
}

TEST_F(SkyContentsTest, TheDeepSkyLayerDrawsWhatTheFiltersAndTheLimitLetThrough) {
    auto p = Start();
    DisplayOptions& o = p->View()->Options();
    // Andromeda (galaxy, M 31), Orion Nebula (nebula, M 42), North America
    // Nebula (nebula), IC11 (type 0).
    const struct {
        const char* what;
        std::size_t option;
        bool value;
        float limit;
        std::vector<bool> drawn;
    } steps[] = {
        {"Messier objects only", DisplayOptions::ShowMessierOnly, true, 9.0f, {true, true, false, false}},
        {"all", DisplayOptions::ShowMessierOnly, false, 9.0f, {true, true, true, false}},
        {"no other objects", DisplayOptions::ShowOtherDSOs, false, 9.0f, {true, false, false, false}},
        {"no galaxies either", DisplayOptions::ShowGalaxies, false, 9.0f, {false, false, false, false}},
        {"galaxies again, limit 3", DisplayOptions::ShowGalaxies, true, 3.0f, {false, false, false, false}},
        {"limit 3.5", DisplayOptions::ShowGalaxies, true, 3.5f, {true, false, false, false}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        o[s.option] = s.value;
        p->ShiftDsoLimit(s.limit - p->View()->dsoLimit);
        const auto objects = p->DeepSky().objects();
        for (std::size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(objects[i].onScreen, s.drawn[i]) << i;
    }
    // With the layer off, what the last frame drew is no candidate.
    o[DisplayOptions::ShowDSOs] = false;
    o[DisplayOptions::ShowStars] = false;
    p->Redraw();
    PlaceAt(*p, p->DeepSky().objects()[0], 300, 100, 0.0);
    p->SelectAt(300, 100);
    EXPECT_NE(p->SelectedKind(), KindDeepSky);
}

TEST_F(SkyContentsTest, MinorPlanetsAreSeenFromTheEarthWhereTheSunSaysItIs) {
    auto p = Start();
    const Sun* sun = p->SunBody();
    ASSERT_NE(sun, nullptr);
    for (MinorPlanet& m : p->MinorPlanets().planets()) {
        // Placed again from the Sun's place: nothing moves. Placed as seen
        // from the Sun itself: the distance, and so the magnitude, changes.
        const double ra = m.ra.radians, dec = m.dec.radians;
        const float magnitude = m.magnitude;
        m.ComputePosition(SunPosition{sun->X, sun->Y, sun->Z, sun->R});
        EXPECT_DOUBLE_EQ(m.ra.radians, ra) << m.GetName();
        EXPECT_DOUBLE_EQ(m.dec.radians, dec) << m.GetName();
        EXPECT_FLOAT_EQ(m.magnitude, magnitude) << m.GetName();
        m.ComputePosition(SunPosition{});
        EXPECT_GT(std::fabs(m.magnitude - magnitude), 0.01) << m.GetName();
    }
}

TEST_F(SkyContentsTest, WithoutTheSunNoMinorPlanetIsPlacedOrDrawn) {
    auto p = Start(false);
    ASSERT_EQ(p->SunBody(), nullptr);
    p->View()->Options()[DisplayOptions::ShowMinorPlanets] = true;
    p->Recompute();
    p->Redraw();
    for (const MinorPlanet& m : p->MinorPlanets().planets()) {
        EXPECT_FALSE(m.isComputed) << m.GetName();
        EXPECT_FALSE(m.onScreen) << m.GetName();
    }
}

}  // namespace
