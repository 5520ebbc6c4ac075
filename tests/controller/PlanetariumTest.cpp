#include <gtest/gtest.h>

#include <QGuiApplication>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "ControllerTestSupport.h"
#include "astro/Constants.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "solar/EarthShadow.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/Watchdog.h"
#include "view/SkyView.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment<QGuiApplication>("test_controller"));

class PlanetariumTest : public ::testing::Test {
protected:
    std::unique_ptr<Planetarium> Start(bool withStars = true) {
        if (withStars) {
            work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
            WriteEmptyCatalogues(work);
            WriteSolarSeries(work);
        }
        PlanetariumLinks links;
        links.panel = &panel;
        links.messages = &messages;
        links.clock = [] { return FixedMoment(); };
        return std::make_unique<Planetarium>(links);
    }

    // Puts the two fixture stars at plane offsets from the plane point of a
    // pixel, as the last frame would have left them.
    void PlaceStars(Planetarium& p, int px, int py, double dx0, double dx1) {
        SkyView& view = *p.View();
        auto stars = p.Catalogue(0)->stars();
        const double x = view.FromPixelX(px), y = view.FromPixelY(py);
        stars[0].screenX = x + dx0;
        stars[1].screenX = x + dx1;
        stars[0].screenY = stars[1].screenY = y;
        stars[0].onScreen = stars[1].onScreen = true;
    }

    ScratchWorkDir work;
    RecordingPanel panel;
    RecordingMessages messages;
};

TEST_F(PlanetariumTest, StartsWithTheFoundationCatalogueAndNothingSelected) {
    auto p = Start();
    ASSERT_EQ(p->StarCatalogueCount(), 1);
    ASSERT_TRUE(p->Catalogue(0)->loaded());
    EXPECT_EQ(p->Catalogue(0)->stars().size(), 2u);
    EXPECT_EQ(p->SelectedKind(), KindNone);
    EXPECT_EQ(p->Selected(), nullptr);
    EXPECT_EQ(p->Locked(), nullptr);
    EXPECT_FALSE(p->readSlewFile);
    EXPECT_FALSE(p->writeSlewFile);
    EXPECT_TRUE(messages.warnings.empty());
    // The clock follows the system: both boxes ticked, Run not clickable.
    EXPECT_TRUE(panel.run);
    EXPECT_TRUE(panel.systemTime);
    EXPECT_FALSE(panel.runEnabled_);
}

TEST_F(PlanetariumTest, EmptyDataFolderNamesEachMissingFileOnceAndKeepsOnlyTheMoon) {
    auto p = Start(false);
    EXPECT_EQ(p->StarCatalogueCount(), 0);
    // No star catalogue file is no error; each missing series file is one,
    // and so are the figures, the deep-sky objects and the minor planets, in
    // the order they are loaded.
    EXPECT_EQ(messages.warnings, (std::vector<std::string>{"Error opening the VSOP87 Terms file data/la_earth.dat",
                                                           "Error opening the VSOP87 Terms file data/la_Mercury.dat",
                                                           "Error opening the VSOP87 Terms file data/la_Venus.dat",
                                                           "Error opening the VSOP87 Terms file data/la_Mars.dat",
                                                           "Error opening the VSOP87 Terms file data/la_Jupiter.dat",
                                                           "Error opening the VSOP87 Terms file data/la_Saturn.dat",
                                                           "Error opening the VSOP87 Terms file data/la_Uranus.dat",
                                                           "Error opening the VSOP87 Terms file data/la_Neptune.dat",
                                                           "Error opening the Constellation Definition file",
                                                           "Error opening the Deepsky Catalogue file",
                                                           "Error opening the Asteroid Catalogue file"}));
    // Without the Earth's series there is no Sun, and no planet can be placed
    // from the Earth; the Moon needs no file and is the one body left.
    EXPECT_EQ(p->SunBody(), nullptr);
    EXPECT_EQ(p->Shadow(), nullptr);
    for (int i = 0; i < Planetarium::PlanetCount; ++i) EXPECT_EQ(p->PlanetBody(i), nullptr) << i;
    p->SelectAt(350, 175);
    EXPECT_EQ(p->SelectedKind(), KindMoon);
}

// What the data folder holds that cannot be used is said once at start-up,
// and the start-up goes on.
TEST_F(PlanetariumTest, UnusableCatalogueFilesAreReportedAtStartUp) {
    work.Write(QStringLiteral("data/stfound.dat"), "0\nfoundation\n");
    WriteSolarSeries(work);
    WriteEmptyCatalogues(work);
    ASSERT_EQ(mkfifo((work.Path() + QStringLiteral("/data/stpipe.dat")).toLocal8Bit().constData(), 0600), 0);
    const Watchdog watchdog(20);
    auto p = Start(false);
    const std::vector<std::string> expected = {
        "The Star Catalogue file data/stpipe.dat is not a regular file; it is left out.",
        "The Star Catalogue file data/stfound.dat holds no stars.",
    };
    EXPECT_EQ(messages.warnings, expected);
    EXPECT_EQ(p->StarCatalogueCount(), 1);
}

TEST_F(PlanetariumTest, StatusTextsFollowTheClock) {
    auto p = Start(false);
    EXPECT_EQ(panel.status[0], "21:04:09 06-12-2000");
    EXPECT_TRUE(std::regex_match(panel.status[1], std::regex("Local: \\d\\d:\\d\\d:\\d\\d"))) << panel.status[1];
    EXPECT_TRUE(std::regex_match(panel.status[2], std::regex("Julian: 2451885\\.\\d{5}"))) << panel.status[2];
    EXPECT_TRUE(std::regex_match(panel.status[3], std::regex("Sidereal: \\d\\d:\\d\\d:\\d\\d"))) << panel.status[3];
    EXPECT_NEAR(p->JulianDate(), 2451885.33622, 1e-4);
}

TEST_F(PlanetariumTest, ClickSelectsTheStrictlyNearestStar) {
    auto p = Start();
    auto stars = p->Catalogue(0)->stars();
    PlaceStars(*p, 300, 100, 0.5, 0.25);
    p->SelectAt(300, 100);
    EXPECT_EQ(p->SelectedKind(), KindStar);
    EXPECT_EQ(p->SelectedIndex(), 1u);
    EXPECT_EQ(p->Selected(), &stars[1]);
    EXPECT_EQ(panel.labels[LabCurrentStar], "Rigel");
    EXPECT_EQ(panel.labels[LabRise].rfind("Rise\t: ", 0), 0u) << panel.labels[LabRise];

    // At the same distance the star met first wins.
    PlaceStars(*p, 300, 100, 0.25, -0.25);
    p->SelectAt(300, 100);
    EXPECT_EQ(p->SelectedIndex(), 0u);
    EXPECT_EQ(panel.labels[LabCurrentStar], "Sirius");

    // A star that was not drawn is no candidate.
    stars[0].onScreen = false;
    p->SelectAt(300, 100);
    EXPECT_EQ(p->SelectedIndex(), 1u);
}

TEST_F(PlanetariumTest, ClickFarFromEverythingKeepsTheSelection) {
    auto p = Start();
    PlaceStars(*p, 300, 100, 0.1, 0.2);
    p->SelectAt(300, 100);
    ASSERT_EQ(p->SelectedIndex(), 0u);
    PlaceStars(*p, 300, 100, 1000.0, 2000.0);
    // The Sun, the Moon and the planets are candidates wherever they were
    // last drawn: far away here.
    const auto bodiesFarAway = [&] {
        std::vector<SkyObject*> bodies = {p->SunBody(), p->MoonBody()};
        for (int i = 0; i < Planetarium::PlanetCount; ++i) bodies.push_back(p->PlanetBody(i));
        for (SkyObject* body : bodies) {
            ASSERT_NE(body, nullptr);
            body->screenX = body->screenY = 3000.0;
        }
    };
    bodiesFarAway();
    p->SelectAt(300, 100);
    EXPECT_EQ(p->SelectedIndex(), 0u);
    // Hidden stars are not selectable at all.
    PlaceStars(*p, 300, 100, 0.3, 0.1);
    p->ToggleOption(DisplayOptions::ShowStars);
    bodiesFarAway();
    p->SelectAt(300, 100);
    EXPECT_EQ(p->SelectedIndex(), 0u);
    EXPECT_EQ(p->SelectedKind(), KindStar);
}

TEST_F(PlanetariumTest, LockCentresTheObjectAndReleases) {
    auto p = Start();
    p->ToggleLock();  // nothing selected yet: nothing happens
    EXPECT_EQ(p->Locked(), nullptr);
    EXPECT_EQ(p->LockedKind(), KindNone);

    PlaceStars(*p, 300, 100, 0.0, 0.3);
    p->SelectAt(300, 100);
    p->ToggleLock();
    ASSERT_EQ(p->Locked(), p->Selected());
    EXPECT_EQ(p->LockedKind(), KindStar);
    EXPECT_EQ(p->LockedIndex(), 0);
    EXPECT_EQ(panel.labels[labLockedObject], "Sirius");
    // The view turned to the star and put it in the centre.
    const Star& sirius = p->Catalogue(0)->stars()[0];
    EXPECT_NEAR(p->View()->CentreX(), sirius.screenX, 1e-9);
    EXPECT_NEAR(p->View()->CentreY(), sirius.screenY, 1e-9);
    EXPECT_NEAR(p->View()->direction.radians, sirius.azimuth.radians, 1e-6);

    // Selecting another star and locking again moves the lock.
    PlaceStars(*p, 300, 100, 0.3, 0.0);
    p->SelectAt(300, 100);
    p->ToggleLock();
    EXPECT_EQ(p->LockedIndex(), 1);
    EXPECT_EQ(panel.labels[labLockedObject], "Rigel");

    p->ToggleLock();
    EXPECT_EQ(p->Locked(), nullptr);
    EXPECT_EQ(panel.labels[labLockedObject], "none");
}

TEST_F(PlanetariumTest, UnloadingACatalogueReleasesItsSelectedAndLockedStar) {
    auto p = Start();
    PlaceStars(*p, 300, 100, 0.0, 0.3);
    p->SelectAt(300, 100);
    p->ToggleLock();
    ASSERT_NE(p->Locked(), nullptr);

    StarCatalogue* catalogue = p->Catalogue(0);
    catalogue->Disable();
    p->ApplyCatalogueRequests(nullptr);
    ASSERT_FALSE(catalogue->loaded());
    EXPECT_EQ(p->Selected(), nullptr);
    EXPECT_EQ(p->SelectedKind(), KindNone);
    EXPECT_EQ(p->Locked(), nullptr);
    EXPECT_EQ(p->LockedKind(), KindNone);
    EXPECT_EQ(panel.labels[labLockedObject], "none");
    // The update cycle goes on without touching the destroyed stars.
    p->Tick(true);
    p->Redraw();

    catalogue->Enable();
    p->ApplyCatalogueRequests(nullptr);
    EXPECT_TRUE(catalogue->loaded());
}

TEST_F(PlanetariumTest, TickFollowsTheClockModeAndIntervals) {
    auto p = Start(false);
    p->SetUpdateIntervals(2, 1);
    const uint32_t before = p->RecomputeCount();
    p->Tick(false);
    p->Tick(false);
    EXPECT_EQ(p->RecomputeCount(), before);
    p->Tick(false);  // the third tick exceeds an interval of 2
    EXPECT_EQ(p->RecomputeCount(), before + 1);
    EXPECT_EQ(p->TickCount(), 0u);
    p->Tick(true);
    EXPECT_EQ(p->RecomputeCount(), before + 2);

    // Animation: Run ticked, System Time not.
    p->ApplyClockControls(true, false);
    EXPECT_TRUE(p->GetObserver().running());
    EXPECT_FALSE(p->GetObserver().useSystemClock());
    EXPECT_TRUE(panel.runEnabled_);
    const uint32_t animating = p->RecomputeCount();
    p->Tick(false);
    EXPECT_EQ(p->RecomputeCount(), animating);
    p->Tick(false);
    EXPECT_EQ(p->RecomputeCount(), animating + 1);

    // Stopped: ticks do nothing, forced or not.
    p->ApplyClockControls(false, false);
    const uint32_t stopped = p->RecomputeCount();
    const double jd = p->JulianDate();
    for (int i = 0; i < 5; ++i) p->Tick(false);
    p->Tick(true);
    EXPECT_EQ(p->RecomputeCount(), stopped);
    EXPECT_EQ(p->JulianDate(), jd);

    // System Time forces Run as well.
    p->ApplyClockControls(false, true);
    EXPECT_TRUE(p->GetObserver().running());
    EXPECT_TRUE(panel.run);
}

TEST_F(PlanetariumTest, ClockBoxesSetByTheControllerAreNotTakenForTheUser) {
    auto p = Start(false);
    // A check box reports every change of its tick as a click; the guard
    // must absorb the ones the controller causes itself.
    int clicks = 0;
    panel.onClockChange = [&] {
        ++clicks;
        p->ApplyClockControls(panel.run, panel.systemTime);
    };
    Observer& observer = p->GetObserver();
    observer.setUseSystemClock(false);
    observer.stop();
    p->SyncClockControls();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(observer.running());
    EXPECT_FALSE(observer.useSystemClock());
    EXPECT_FALSE(panel.run);
    EXPECT_FALSE(panel.systemTime);
    EXPECT_FALSE(p->SyncingClockControls());
}

TEST_F(PlanetariumTest, RotateTurnsByWholeDegrees) {
    auto p = Start(false);
    p->View()->direction.SetDegrees(3.7);
    p->Rotate(355);
    EXPECT_NEAR(p->View()->direction.degrees, 358.0, 1e-9);
    p->SetDirectionDegrees(345, false);
    p->Rotate(30);
    EXPECT_NEAR(p->View()->direction.degrees, 15.0, 1e-9);
    EXPECT_EQ(panel.labels[LabDirection], " 15");
}

TEST_F(PlanetariumTest, ZeroZoomNeitherZoomsNorRedraws) {
    auto p = Start(false);
    const float scale = p->View()->Scale();
    const uint32_t redraws = p->RedrawCount();
    p->Zoom(0.0f);
    EXPECT_EQ(p->RedrawCount(), redraws);
    EXPECT_EQ(p->View()->Scale(), scale);
    p->Zoom(1.5f);
    EXPECT_FLOAT_EQ(p->View()->Scale(), scale * 1.5f);
    EXPECT_EQ(p->RedrawCount(), redraws + 1);
}

TEST_F(PlanetariumTest, MagnitudeCommandsDoNotClamp) {
    auto p = Start(false);
    EXPECT_FLOAT_EQ(p->SetStarLimit(25.0f), 25.0f);
    EXPECT_FLOAT_EQ(p->ShiftStarLimit(0.25f), 25.25f);
    const float dso = p->View()->dsoLimit;
    EXPECT_FLOAT_EQ(p->ShiftDsoLimit(-20.0f), dso - 20.0f);
}

TEST(EventTimes, MinutesRoundAtHalfAMinuteAndCarryIntoTheHour) {
    HmsAngle t;
    t.hours = 5;
    t.minutes = 59;
    t.seconds = 45.0;
    EXPECT_EQ(Planetarium::TimeOfEventText("Rise", true, t), "Rise\t: 06:00");
    t.seconds = 29.9;
    EXPECT_EQ(Planetarium::TimeOfEventText("Rise", true, t), "Rise\t: 05:59");
    t.hours = 23;
    t.seconds = 30.0;
    EXPECT_EQ(Planetarium::TimeOfEventText("Set", true, t), "Set\t: 00:00");
    t.hours = 7;
    t.minutes = 3;
    t.seconds = 30.0;
    EXPECT_EQ(Planetarium::TimeOfEventText("Transit", true, t), "Transit\t: 07:04");
    EXPECT_EQ(Planetarium::TimeOfEventText("Transit", false, t), "Transit\t: - -:- -");
}

}  // namespace

namespace {

// Keeps the jobs and the steps of every job of the loads it is given for.
struct ProgressLog {
    std::vector<std::string> jobs;
    std::vector<int> steps;
};
class LoggingProgress : public LoadProgress {
public:
    explicit LoggingProgress(ProgressLog& log) : log_(log) {}
    void SetJob(const std::string& text) override {
        log_.jobs.push_back(text);
        log_.steps.push_back(0);
    }
    void Step(int n) override { log_.steps.back() += n; }
    void ReportProblem(const std::string&) override {}

private:
    ProgressLog& log_;
};

TEST_F(PlanetariumTest, SunMoonAndPlanetsLoadFirstAndAreSelectedAsTheirOptionsSay) {
    work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
    WriteSolarSeries(work);
    WriteEmptyCatalogues(work);
    ProgressLog log;
    PlanetariumLinks links;
    links.panel = &panel;
    links.messages = &messages;
    links.clock = [] { return FixedMoment(); };
    links.createProgress = [&log] { return std::make_unique<LoggingProgress>(log); };
    auto p = std::make_unique<Planetarium>(links);
    EXPECT_TRUE(messages.warnings.empty());
    ASSERT_FALSE(log.jobs.empty());
    EXPECT_EQ(log.jobs[0], "Loading VSOP87 Terms");
    EXPECT_EQ(log.steps[0], 96);  // 12 for each of the eight planets

    ASSERT_NE(p->SunBody(), nullptr);
    ASSERT_NE(p->Shadow(), nullptr);
    std::vector<SkyObject*> bodies = {p->SunBody(), p->MoonBody()};
    for (int i = 0; i < Planetarium::PlanetCount; ++i) {
        ASSERT_NE(p->PlanetBody(i), nullptr) << i;
        bodies.push_back(p->PlanetBody(i));
    }
    for (SkyObject* body : bodies) EXPECT_TRUE(body->isComputed) << body->GetName();
    EXPECT_TRUE(p->Shadow()->isComputed);

    struct Case {
        const char* what;
        SkyObject* target;
        std::size_t optionOff;
        uint16_t kind;  // KindNone: the click keeps the star selected before
        uint32_t index;
    };
    const Case cases[] = {
        {"the Sun, not drawn", p->SunBody(), DisplayOptions::ShowSun, KindSun, 1},
        {"the Moon, not drawn", p->MoonBody(), DisplayOptions::ShowMoon, KindMoon, 1},
        {"Jupiter, planets shown", p->PlanetBody(3), DisplayOptions::ShowStarNames, KindPlanet, 3},
        {"Pluto, planets shown", p->PlanetBody(7), DisplayOptions::ShowStarNames, KindPlanet, 7},
        {"Mars, planets hidden", p->PlanetBody(2), DisplayOptions::ShowPlanets, KindNone, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DisplayOptions& options = p->View()->Options();
        options = DisplayOptions();
        for (std::size_t i = 0; i < DisplayOptions::Count; ++i) options[i] = i != c.optionOff;
        PlaceStars(*p, 300, 100, 0.0, 500.0);
        p->SelectAt(300, 100);
        ASSERT_EQ(p->SelectedKind(), KindStar);
        for (SkyObject* body : bodies) body->screenX = body->screenY = 3000.0;
        c.target->screenX = p->View()->FromPixelX(300) + 0.01;
        c.target->screenY = p->View()->FromPixelY(100);
        for (Star& s : p->Catalogue(0)->stars()) s.onScreen = false;
        p->SelectAt(300, 100);
        EXPECT_EQ(p->SelectedKind(), c.kind == KindNone ? uint16_t{KindStar} : c.kind);
        if (c.kind == KindNone) continue;
        EXPECT_EQ(p->Selected(), c.target);
        EXPECT_EQ(p->SelectedIndex(), c.index);
        EXPECT_EQ(panel.labels[LabCurrentStar], c.target->GetName());
    }

    // The Moon locked: every redraw turns the view to it, and it stays locked.
    for (SkyObject* body : bodies) body->screenX = body->screenY = 3000.0;
    p->MoonBody()->screenX = p->View()->FromPixelX(10);
    p->MoonBody()->screenY = p->View()->FromPixelY(10);
    p->SelectAt(10, 10);
    ASSERT_EQ(p->SelectedKind(), KindMoon);
    p->ToggleLock();
    EXPECT_EQ(p->LockedKind(), KindMoon);
    EXPECT_EQ(p->Locked(), p->MoonBody());
    EXPECT_EQ(panel.labels[labLockedObject], "Moon");
    EXPECT_NEAR(p->View()->direction.radians, p->MoonBody()->azimuth.radians, 1e-6);
}

}  // namespace
