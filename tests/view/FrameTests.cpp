#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ViewTestSupport.h"
#include "astro/Constants.h"
#include "catalogues/StarCatalogue.h"
#include "view/SkyFrame.h"
#include "view/SkyView.h"

namespace {

// A catalogue text of one star per spectral type given, all at RA 0, Dec 0.
std::string CatalogueText(const std::string& name, const std::string& spectral, int stars) {
    std::string text = std::to_string(stars) + "\n" + name + "\n";
    for (int i = 0; i < stars; ++i) {
        text += "H 0 " + std::to_string(i + 1) + " 0 0 0.0 +0 0 0 0 0 -1.00 0\n\n\n" + spectral + " \n\n";
    }
    return text;
}

std::unique_ptr<StarCatalogue> LoadedCatalogue(const std::string& name, const std::string& spectral, int stars = 1) {
    auto c = std::make_unique<StarCatalogue>("data/st" + name + ".dat", StarCatalogue::Header{}, true);
    EXPECT_TRUE(c->LoadText(CatalogueText(name, spectral, stars), nullptr));
    EXPECT_EQ(c->stars().size(), static_cast<std::size_t>(stars));
    return c;
}

void PlaceStar(Star& s, double altitude, double azimuth, bool computed = true) {
    s.altitude.SetRadians(altitude);
    s.azimuth.SetRadians(azimuth);
    s.isComputed = computed;
}

QRgb Q(Colour c) { return qRgb(c.r, c.g, c.b); }

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestObserver(52.35, 2026, 12, 8, 20, 0); }
};

TEST_F(FrameTest, TheFoundationCatalogueIsDrawnOnTopOfTheOthers) {
    RecordingPanel panel(400, 300);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    settings.options[DisplayOptions::ShowHorizon] = false;
    SkyView view(settings, &panel);
    auto foundation = LoadedCatalogue("foundation", "K0III");
    auto other = LoadedCatalogue("other", "A0V");
    PlaceStar(foundation->stars()[0], 0.2, 0.1);
    PlaceStar(other->stars()[0], 0.2, 0.1);
    SkyScene scene;
    scene.starCatalogues = {foundation.get(), other.get()};
    DrawFrame(view, scene);
    ASSERT_EQ(panel.presentCount, 1);
    const Star& s = foundation->stars()[0];
    const QRgb pixel = panel.presented.pixel(view.ToPixelX(s.screenX), view.ToPixelY(s.screenY));
    EXPECT_EQ(pixel & 0xFFFFFF, Q(view.GetPalette().Get(PalStarK, 2)) & 0xFFFFFF);
    EXPECT_TRUE(other->stars()[0].onScreen);

    // Unloaded catalogues and stars not computed this cycle are not drawn.
    PlaceStar(foundation->stars()[0], 0.2, 0.1, false);
    foundation->stars()[0].onScreen = true;
    DrawFrame(view, scene);
    EXPECT_FALSE(foundation->stars()[0].onScreen);
    EXPECT_EQ(panel.presented.pixel(view.ToPixelX(s.screenX), view.ToPixelY(s.screenY)) & 0xFFFFFF,
              Q(view.GetPalette().Get(PalStarA, 2)) & 0xFFFFFF);
    other->Unload();
    DrawFrame(view, scene);
    EXPECT_EQ(CountLit(panel.presented), 0);
}

TEST_F(FrameTest, LayersFollowTheirOptions) {
    RecordingPanel panel(400, 300);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    SkyView view(settings, &panel);
    auto stars = LoadedCatalogue("foundation", "A0V");
    PlaceStar(stars->stars()[0], 0.2, 0.1);
    SkyObject planet;
    planet.altitude.SetRadians(0.3);
    SkyScene scene;
    scene.starCatalogues = {stars.get()};
    scene.planets = {&planet};

    DrawFrame(view, scene);
    const int withAll = CountLit(panel.presented);
    EXPECT_GT(CountColour(panel.presented, qRgb(128, 0, 0)), 100);  // the horizon
    EXPECT_EQ(CountColour(panel.presented, qRgb(0, 0, 255)), 0);    // no equatorial grid

    view.Options()[DisplayOptions::ShowHorizon] = false;
    view.Options()[DisplayOptions::ShowStars] = false;
    view.Options()[DisplayOptions::ShowPlanets] = false;
    DrawFrame(view, scene);
    EXPECT_EQ(CountLit(panel.presented), 0);
    EXPECT_GT(withAll, 100);

    view.Options()[DisplayOptions::ShowEquatorialGrid] = true;
    view.Options()[DisplayOptions::ShowEquator] = true;
    DrawFrame(view, scene);
    EXPECT_GT(CountColour(panel.presented, qRgb(0, 0, 255)), 100);
    EXPECT_GT(CountColour(panel.presented, qRgb(0, 0, 128)), 100);
}

TEST_F(FrameTest, LaterLayersCoverEarlierOnes) {
    RecordingPanel panel(400, 300);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    settings.options[DisplayOptions::ShowHorizontalGrid] = true;
    settings.options[DisplayOptions::ShowEquatorialGrid] = true;
    SkyView view(settings, &panel);
    auto stars = LoadedCatalogue("foundation", "A0V", 2);
    PlaceStar(stars->stars()[0], 0.0, 0.1);  // on the horizon line
    PlaceStar(stars->stars()[1], 0.2, 0.2);  // under the planet
    SkyObject planet;
    planet.altitude.SetRadians(0.2);
    planet.azimuth.SetRadians(0.2);
    SkyScene scene;
    scene.starCatalogues = {stars.get()};
    scene.planets = {&planet};
    DrawFrame(view, scene);
    const QImage& img = panel.presented;
    const Star& onHorizon = stars->stars()[0];
    const int hx = view.ToPixelX(onHorizon.screenX), hy = view.ToPixelY(onHorizon.screenY);
    EXPECT_EQ(img.pixel(hx + 3, hy) & 0xFFFFFF, qRgb(128, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(hx, hy) & 0xFFFFFF, Q(view.GetPalette().Get(PalStarA, 2)) & 0xFFFFFF);
    const Star& covered = stars->stars()[1];
    EXPECT_TRUE(covered.onScreen);
    EXPECT_EQ(img.pixel(view.ToPixelX(covered.screenX), view.ToPixelY(covered.screenY)) & 0xFFFFFF,
              Q(view.GetPalette().Get(PalPlanet, 2)) & 0xFFFFFF);
}

TEST_F(FrameTest, DeepSkyFiltersAndOnScreenMarks) {
    RecordingPanel panel(400, 300);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    SkyView view(settings, &panel);
    SkyObject galaxy, cluster, nebula, unknown, outside;
    for (SkyObject* o : {&galaxy, &cluster, &nebula, &unknown, &outside}) {
        o->altitude.SetRadians(0.1);
        o->isComputed = true;
        o->magnitude = 8.0f;
    }
    outside.azimuth.SetRadians(2.0);
    SkyScene scene;
    scene.deepSky = {{&galaxy, 0.01, 1, true},
                     {&cluster, 0.01, 2, false},
                     {&nebula, 0.01, 5, true},
                     {&unknown, 0.01, 0, true},
                     {&outside, 0.01, 1, true}};
    DrawFrame(view, scene);
    EXPECT_TRUE(galaxy.onScreen);
    EXPECT_FALSE(cluster.onScreen);  // Messier only
    EXPECT_TRUE(nebula.onScreen);
    EXPECT_FALSE(unknown.onScreen);  // type 0 is never drawn
    EXPECT_TRUE(outside.onScreen);   // marked although its centre is out of view

    view.Options()[DisplayOptions::ShowMessierOnly] = false;
    view.Options()[DisplayOptions::ShowGalaxies] = false;
    galaxy.isComputed = true;
    DrawFrame(view, scene);
    EXPECT_FALSE(galaxy.onScreen);
    EXPECT_TRUE(cluster.onScreen);
    cluster.isComputed = false;
    DrawFrame(view, scene);
    EXPECT_FALSE(cluster.onScreen);
}

TEST_F(FrameTest, OnlyTheFirstMinorPlanetsAreShown) {
    RecordingPanel panel(400, 300);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    settings.options[DisplayOptions::ShowMinorPlanets] = true;
    settings.asteroidsToShow = 2;
    SkyView view(settings, &panel);
    SkyObject a, b, c;
    for (SkyObject* o : {&a, &b, &c}) {
        o->altitude.SetRadians(0.1);
        o->isComputed = true;
        o->onScreen = false;
    }
    b.isComputed = false;
    b.onScreen = true;
    SkyScene scene;
    scene.minorPlanets = {{&a, 1}, {&b, 2}, {&c, 3}};
    DrawFrame(view, scene);
    EXPECT_TRUE(a.onScreen);
    EXPECT_FALSE(b.onScreen);
    EXPECT_FALSE(c.onScreen);
}

TEST_F(FrameTest, ReadoutEndsTheFrame) {
    RecordingPanel panel(400, 300);
    SkyView view(SkyViewSettings{}, &panel);
    SkyObject selected;
    selected.SetName("Target");
    SkyScene scene;
    scene.selected = &selected;
    view.riseText = "Rise: 06:00";
    DrawFrame(view, scene);
    EXPECT_EQ(panel.labels[LabCurrentStar], "Target");
    EXPECT_EQ(panel.labels[LabRise], "Rise: 06:00");
    scene.selected = nullptr;
    DrawFrame(view, scene);
    EXPECT_EQ(panel.labels[LabCurrentStar], "none");
    EXPECT_EQ(panel.labels[LabRise], "");
    EXPECT_EQ(panel.presentCount, 2);
}

TEST_F(FrameTest, StarPositionsFollowTheLimitAndTheObserver) {
    RecordingPanel panel(400, 300);
    SkyView view(SkyViewSettings{}, &panel);
    auto stars = LoadedCatalogue("foundation", "A0V", 3);
    SkyScene scene;
    scene.starCatalogues = {stars.get()};
    view.starLimit = -2.0f;
    EXPECT_EQ(UpdateStarPositions(view, scene), 0u);
    view.starLimit = 4.5f;
    EXPECT_EQ(UpdateStarPositions(view, scene), 3u);
    EXPECT_TRUE(stars->stars()[0].isComputed);
}

// Every frame draws the stars the last update computed, from where each
// now stands: a star below the limit stays off even after the figures have
// placed it for their lines, and one moved since the update is drawn where
// it was moved to.
TEST_F(FrameTest, FramesDrawTheStarsOfTheLastUpdateWhereTheyStand) {
    RecordingPanel panel(400, 300);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    SkyView view(settings, &panel);
    view.Options()[DisplayOptions::ShowConLines] = true;
    std::string text = "2\nfoundation\n";
    for (const char* magnitude : {"-1.00", "9.00"})
        text += std::string("H 0 1 0 0 0.0 +0 0 0 0 0 ") + magnitude + " 0\n\n\nA0V \n\n";
    StarCatalogue catalogue("data/stfoundation.dat", StarCatalogue::Header{}, true);
    ASSERT_TRUE(catalogue.LoadText(text, nullptr));
    Star& bright = catalogue.stars()[0];
    Star& faint = catalogue.stars()[1];
    const std::vector<Star*> members = {&bright, &faint};
    const std::vector<FigureLine> lines = {{1, 2}};
    SkyScene scene;
    scene.starCatalogues = {&catalogue};
    scene.figures.push_back({members, lines, true});

    ASSERT_EQ(UpdateStarPositions(view, scene), 1u);
    view.direction.SetRadians(bright.azimuth.radians);
    view.elevation.SetRadians(bright.altitude.radians);
    for (int frame = 1; frame <= 3; ++frame) {
        DrawFrame(view, scene);
        EXPECT_TRUE(bright.onScreen) << "frame " << frame;
        EXPECT_FALSE(faint.onScreen) << "frame " << frame;
    }

    PlaceStar(bright, bright.altitude.radians + 0.05, bright.azimuth.radians + 0.05);
    view.Options()[DisplayOptions::ShowConLines] = false;  // its line would cover it
    DrawFrame(view, scene);
    ASSERT_TRUE(bright.onScreen);
    const double x = bright.screenX, y = bright.screenY;
    view.DrawStar(bright);
    EXPECT_EQ(bright.screenX, x);
    EXPECT_EQ(bright.screenY, y);
    // Its disc, outline or fill, is where it stands.
    const QRgb pixel = panel.presented.pixel(view.ToPixelX(x), view.ToPixelY(y)) & 0xFFFFFF;
    EXPECT_TRUE(pixel == (Q(view.GetPalette().Get(PalStarA, 1)) & 0xFFFFFF) ||
                pixel == (Q(view.GetPalette().Get(PalStarA, 2)) & 0xFFFFFF))
        << std::hex << pixel;
}

}  // namespace

TEST(FrameBuffers, AFrameShownStaysAsItWasWhileTheNextOnesArePainted) {
    RecordingPanel panel(200, 150);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    SkyView view(settings, &panel);
    const SkyScene scene;  // the horizon alone
    DrawFrame(view, scene);
    const QImage shown = panel.presented;  // held, as the window holds it
    const QImage asShown = shown.copy();
    ASSERT_GT(CountLit(asShown), 100);
    for (double elevation : {0.3, 0.6, 0.9}) {
        view.elevation.SetRadians(elevation);
        DrawFrame(view, scene);
        EXPECT_EQ(shown, asShown) << elevation;
        EXPECT_NE(panel.presented, asShown) << elevation;
    }
    // Showing the frame again shows the last one painted.
    const QImage last = panel.presented.copy();
    view.Present();
    EXPECT_EQ(panel.presented, last);
    EXPECT_EQ(view.Image(), last);
}
