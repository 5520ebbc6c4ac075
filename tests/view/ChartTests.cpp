#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <memory>
#include <string>

#include "ViewTestSupport.h"
#include "catalogues/StarCatalogue.h"
#include "view/Colors.h"
#include "view/SkyChart.h"
#include "view/SkyFrame.h"
#include "view/SkyView.h"

namespace {

TEST(InkSavingPalette, DarkHuesOnWhiteAndTheScreenColoursBackAfterwards) {
    Palette p;
    p.ToggleRedMode();
    p.Brighter();
    const Palette screen = p;
    p.SetInkSaving(true);
    EXPECT_EQ(p.Background(), Colour(255, 255, 255));
    struct Row {
        int entry;
        Colour base;
    };
    const Row rows[] = {{PalStarA, {255, 255, 255}}, {PalPlanet, {0, 0, 255}}, {PalDeepSky, {208, 0, 0}},
                        {PalMoon, {240, 240, 0}},    {PalSun, {255, 128, 0}},  {PalStarM, {255, 208, 112}}};
    const int value[3] = {170, 120, 60};  // largest channel of shades 0, 1, 2
    for (const Row& row : rows) {
        for (int s = 0; s < 3; ++s) {
            const Colour c = p.Get(row.entry, s);
            EXPECT_EQ(std::max({c.r, c.g, c.b}), value[s]) << row.entry << "/" << s;
            // Each channel in the base colour's proportion: the hue stays,
            // whatever red mode and brightness say.
            const int largest = std::max({row.base.r, row.base.g, row.base.b});
            EXPECT_NEAR(c.r, row.base.r * value[s] / double(largest), 1.0) << row.entry;
            EXPECT_NEAR(c.g, row.base.g * value[s] / double(largest), 1.0) << row.entry;
            EXPECT_NEAR(c.b, row.base.b * value[s] / double(largest), 1.0) << row.entry;
        }
    }
    p.SetInkSaving(false);
    EXPECT_EQ(p.Background(), Colour(0, 0, 0));
    EXPECT_TRUE(p.RedMode());
    for (int e = 0; e < PaletteEntryCount; ++e)
        for (int s = 0; s < 3; ++s) EXPECT_EQ(p.Get(e, s), screen.Get(e, s)) << e << "/" << s;
}

class ChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestObserver(52.35, 2026, 12, 8, 20, 0);
        // Two stars with discs (one with a name), a faint one as a dot, a
        // horizon, an equator and both grids (dotted and solid lines, text).
        std::string text = "3\nfoundation\n";
        text += "H 1 1 0 0 0.0 +0 0 0 0 0 -1.00 0\n\n\nA0V \nBright\n";
        text += "H 2 2 0 0 0.0 +0 0 0 0 0 9.00 0\n\n\nK0III \n\n";
        text += "H 3 3 0 0 0.0 +0 0 0 0 0 3.00 0\n\n\nM2III \n\n";
        catalogue = std::make_unique<StarCatalogue>("data/stfoundation.dat", StarCatalogue::Header{}, true);
        ASSERT_TRUE(catalogue->LoadText(text, nullptr));
        const double places[3][2] = {{0.05, 0.03}, {0.08, -0.06}, {-0.03, 0.07}};
        for (int i = 0; i < 3; ++i) {
            Star& s = catalogue->stars()[i];
            s.altitude.SetRadians(places[i][0]);
            s.azimuth.SetRadians(places[i][1]);
            s.isComputed = true;
        }
        SkyViewSettings settings;
        settings.projection = Stereographic;
        for (std::size_t o : {DisplayOptions::ShowHorizon, DisplayOptions::ShowEquator,
                              DisplayOptions::ShowHorizontalGrid, DisplayOptions::ShowEquatorialGrid})
            settings.options[o] = true;
        view = std::make_unique<SkyView>(settings, &panel);
        view->SetScale(1000.0f);
        scene.starCatalogues = {catalogue.get()};
        DrawFrame(*view, scene);
        for (const Star& s : catalogue->stars()) ASSERT_TRUE(s.onScreen);
    }
    QPoint PixelOf(int star) const {
        const Star& s = catalogue->stars()[star];
        return {view->ToPixelX(s.screenX), view->ToPixelY(s.screenY)};
    }

    RecordingPanel panel{400, 300};
    std::unique_ptr<StarCatalogue> catalogue;
    std::unique_ptr<SkyView> view;
    SkyScene scene;
};

// Painted on a picture of its own size, a chart is the window's frame to
// the pixel: the painters draw the same on any device.
TEST_F(ChartTest, ChartAndFrameAreTheSamePicture) {
    ASSERT_GT(CountLit(panel.presented), 1000);
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    ASSERT_TRUE(PaintChart(*view, scene, picture, QRectF(0, 0, 400, 300), false));
    EXPECT_EQ(picture, panel.presented.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ChartTest, AChartIsFittedIntoItsTargetAndSavesInk) {
    const QImage frame = view->Image().copy();
    // Twice the size, with a margin of 40 pixels above and below.
    QImage page(800, 680, QImage::Format_RGB32);
    page.fill(Qt::gray);
    ASSERT_TRUE(PaintChart(*view, scene, page, QRectF(0, 0, 800, 680), true));
    EXPECT_EQ(page.pixel(400, 20), QColor(Qt::gray).rgb());  // the margin stays as it was
    EXPECT_EQ(page.pixel(2, 42), qRgb(255, 255, 255));       // the paper
    // The faint star's one-pixel dot is a dark square of two by two.
    const QPoint faint = PixelOf(1) * 2 + QPoint(0, 40);
    for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        EXPECT_LT(qGray(page.pixel(faint + d)), 150) << d.x() << "," << d.y();
    EXPECT_EQ(page.pixel(faint + QPoint(-1, -1)), qRgb(255, 255, 255));
    // The window keeps its colours and its frame.
    EXPECT_FALSE(view->GetPalette().InkSaving());
    EXPECT_EQ(view->Image(), frame);
}

TEST(ChartFormats, TheExtensionNamesTheFormat) {
    const struct {
        const char* path;
        std::optional<ChartFormat> format;
    } rows[] = {
        {"sky.png", ChartFormat::Png}, {"sky.SVG", ChartFormat::Svg},   {"/tmp/a.b/sky.Pdf", ChartFormat::Pdf},
        {"sky", ChartFormat::Png},     {"/dev/full", ChartFormat::Png}, {"/tmp/a.b/sky", ChartFormat::Png},
        {"sky.jpg", std::nullopt},     {"sky.pdf.txt", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(ChartFormatOf(row.path), row.format) << row.path;
}

}  // namespace
