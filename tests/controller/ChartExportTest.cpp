#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <memory>
#include <string>

#include "ControllerTestSupport.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "settings/SettingsStore.h"
#include "tests/support/ChartFiles.h"
#include "tests/support/TestEnvironment.h"
#include "view/SkyView.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment<QGuiApplication>("test_controller"));

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Sirius (a disc with its name at this zoom) and Rigel (a one-pixel dot) on
// a sky of 700 x 350 pixels.
class ChartExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        PlanetariumLinks links;
        links.panel = &panel;
        links.messages = &messages;
        links.clock = [] { return FixedMoment(); };
        planetarium = std::make_unique<Planetarium>(links);
        ASSERT_NE(planetarium->Catalogue(0), nullptr);
        sirius = &planetarium->Catalogue(0)->stars()[0];
        rigel = &planetarium->Catalogue(0)->stars()[1];
        ASSERT_TRUE(sirius->onScreen && rigel->onScreen);
    }
    QPointF Pixel(const Star* star) const {
        const SkyView& view = *planetarium->View();
        return QPointF(view.ToPixelX(star->screenX), view.ToPixelY(star->screenY));
    }
    std::string File(const char* name) const {
        return (work.Path() + QLatin1Char('/') + QLatin1String(name)).toStdString();
    }

    ScratchWorkDir work;
    NullSkyPanel panel{700, 350};
    RecordingMessages messages;
    std::unique_ptr<Planetarium> planetarium;
    Star* sirius = nullptr;
    Star* rigel = nullptr;
};

TEST_F(ChartExportTest, AnSvgChartHoldsTheStarsWhereTheWindowDrawsThem) {
    for (const bool ink : {false, true}) {
        ASSERT_EQ(planetarium->ExportChart(File("sky.svg"), ink), "");
        QString error;
        const SvgDrawing svg = ReadSvg(ReadAll(QString::fromStdString(File("sky.svg"))), &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(svg.viewBox, QRectF(0, 0, 700, 350));

        const std::vector<SvgShape> rects = svg.Of(QStringLiteral("rect"));
        ASSERT_FALSE(rects.empty());
        // The background first, black or white.
        EXPECT_EQ(rects.front().box, QRectF(0, 0, 700, 350));
        EXPECT_EQ(rects.front().fill, ink ? QStringLiteral("#ffffff") : QStringLiteral("#000000"));
        // Rigel is a one-pixel dot on its pixel, the only dot that is not
        // the end of a horizon stroke.
        std::vector<SvgShape> dots;
        for (const SvgShape& r : rects)
            if (r.box.size() == QSizeF(1, 1) && r.fill != QStringLiteral("#800000")) dots.push_back(r);
        ASSERT_EQ(dots.size(), 1u);
        EXPECT_EQ(dots[0].box.topLeft(), Pixel(rigel));
        // Sirius is a disc of radius 2 around its pixel.
        bool disc = false;
        for (const SvgShape& e : svg.Discs())
            disc = disc || (std::fabs(e.box.center().x() - Pixel(sirius).x()) <= 1 &&
                            std::fabs(e.box.center().y() - Pixel(sirius).y()) <= 1 && e.box.width() <= 5);
        EXPECT_TRUE(disc) << (ink ? "ink" : "window colours");
        // Its name is text, outlined twice and then drawn, starting two
        // pixels to the right of the star.
        int names = 0;
        for (const SvgShape& t : svg.Of(QStringLiteral("text"))) {
            if (t.text != QStringLiteral("Sirius")) continue;
            ++names;
            EXPECT_NEAR(t.at.x(), Pixel(sirius).x() + 2, 1.01);
        }
        EXPECT_EQ(names, 3);
    }
    // The window's own frame and colours are left as they were.
    EXPECT_FALSE(planetarium->View()->GetPalette().InkSaving());
    EXPECT_EQ(planetarium->View()->Image().pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(ChartExportTest, APdfChartIsOnePageOfTheFramesSizeWithTextAsText) {
    if (!PopplerAvailable()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string path = File("sky.pdf");
    ASSERT_EQ(planetarium->ExportChart(path, false), "");
    EXPECT_TRUE(ReadAll(QString::fromStdString(path)).startsWith("%PDF-"));
    EXPECT_NE(ToolOutput("pdfinfo '" + path + "'").find("Pages:           1\n"), std::string::npos);
    // The page holds the frame's 700 x 350 pixels as 525 x 262.5 points,
    // which the file rounds to whole points.
    EXPECT_NE(ToolOutput("pdfinfo '" + path + "'").find("525 x 263 pts"), std::string::npos);
    // 96 pixels to the inch: a pixel is three quarters of a point.
    int names = 0;
    for (const PdfWord& w : PdfWords(path)) {
        if (w.text != QStringLiteral("Sirius")) continue;
        ++names;
        EXPECT_NEAR(w.box.left(), (Pixel(sirius).x() + 2) * 0.75, 1.5);
        EXPECT_NEAR(w.box.top(), (Pixel(sirius).y() + 2) * 0.75, 3.0);
    }
    EXPECT_GE(names, 1);
    // Rendered back at 96 dots to the inch, Rigel's dot lies on its pixel.
    const QImage page = PdfPicture(path, 96, File("page"));
    ASSERT_EQ(page.width(), 700);
    ASSERT_NEAR(page.height(), 350, 1);
    const QPoint rigelAt = Pixel(rigel).toPoint();
    int lit = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) lit += qGray(page.pixel(rigelAt + QPoint(dx, dy))) > 60 ? 1 : 0;
    EXPECT_GE(lit, 1);
    EXPECT_EQ(qGray(page.pixel(rigelAt + QPoint(6, -6))), 0);
}

TEST_F(ChartExportTest, AChartThatCannotBeWrittenSaysWhyAndLeavesNothing) {
    QDir(work.Path()).mkdir(QStringLiteral("folder.svg"));
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {File("sky.jpg"), "ends in neither .png, .svg nor .pdf"},
        {File("folder.svg"), "not a regular file"},
        {File("missing/sky.pdf"), "No such file or directory"},
    };
    for (const auto& c : cases) {
        const std::string problem = planetarium->ExportChart(c.path, false);
        EXPECT_NE(problem.find(c.reason), std::string::npos) << c.path << ": " << problem;
    }
    EXPECT_EQ(QDir(work.Path()).entryList(QDir::Files), QStringList());
}

// The Hipparcos catalogue of the data folder, where it was built, to
// magnitude 8 over the whole sky: files that viewers open in reasonable
// time.
TEST(ChartSize, AFullSkyOfHipparcosStarsStaysSmall) {
    const QString hipparcos = QStringLiteral(VELKARIS_SOURCE_DIR "/data/sthip.dat");
    if (!QFile::exists(hipparcos)) GTEST_SKIP() << "no Hipparcos catalogue in data/";
    ScratchWorkDir work;
    QDir(work.Path()).mkdir(QStringLiteral("data"));
    ASSERT_TRUE(QFile::link(hipparcos, work.Path() + QStringLiteral("/data/sthip.dat")));
    ASSERT_TRUE(SettingsStore().WriteBool("hipparcos", true));
    ASSERT_TRUE(SettingsStore().WriteFloat("StarMagnitude", 8.0));
    NullSkyPanel panel(1200, 800);
    RecordingMessages messages;
    PlanetariumLinks links;
    links.panel = &panel;
    links.messages = &messages;
    links.clock = [] { return FixedMoment(); };
    Planetarium planetarium(links);
    std::size_t drawn = 0;
    for (const Star& s : planetarium.Catalogue(0)->stars()) drawn += s.onScreen ? 1 : 0;
    ASSERT_GT(drawn, 20000u);

    const std::string svg = (work.Path() + QStringLiteral("/sky.svg")).toStdString();
    const std::string pdf = (work.Path() + QStringLiteral("/sky.pdf")).toStdString();
    ASSERT_EQ(planetarium.ExportChart(svg, false), "");
    ASSERT_EQ(planetarium.ExportChart(pdf, true), "");
    const QByteArray svgBytes = ReadAll(QString::fromStdString(svg));
    EXPECT_LT(svgBytes.size(), 20 << 20);
    EXPECT_LT(ReadAll(QString::fromStdString(pdf)).size(), 20 << 20);
    // Every star drawn is in the drawing: a dot, or a disc for the bright.
    const SvgDrawing drawing = ReadSvg(svgBytes);
    std::size_t stars = drawing.Discs().size();
    for (const SvgShape& r : drawing.Of(QStringLiteral("rect"))) stars += r.box.size() == QSizeF(1, 1) ? 1 : 0;
    EXPECT_GE(stars, drawn * 99 / 100);
    EXPECT_LE(stars, drawn + 20);  // the Sun, Moon and planet discs of the solar system, where loaded
}

}  // namespace
