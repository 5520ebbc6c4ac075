#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "ViewTestSupport.h"
#include "astro/Constants.h"
#include "catalogues/Star.h"
#include "view/QtCanvas.h"
#include "view/SkyView.h"

namespace {

double pi() { return static_cast<double>(Pi); }

std::unique_ptr<Star> MakeStar(double altitude, double azimuth, float magnitude, int colourClass = PalStarA) {
    auto s = std::make_unique<Star>();
    s->altitude.SetRadians(altitude);
    s->azimuth.SetRadians(azimuth);
    s->magnitude = magnitude;
    s->colourClass = static_cast<int16_t>(colourClass);
    s->isComputed = true;
    return s;
}

SkyViewSettings Settings(uint16_t projection) {
    SkyViewSettings s;
    s.projection = projection;
    return s;
}

QRgb Q(Colour c) { return qRgb(c.r, c.g, c.b); }

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestObserver(52.35, 2026, 12, 8, 20, 0); }
};

// A damaged magnitude draws as the brightest or faintest a star can sensibly
// be, at every zoom, instead of overflowing the disc and pen arithmetic.
TEST_F(RenderTest, AbsurdMagnitudesDrawAsTheLimitsOfSaneOnes) {
    const struct {
        float magnitude;
        float drawnAs;
    } rows[] = {
        {-1e10f, -30.0f},
        {-3.0e38f, -30.0f},
        {1e10f, 30.0f},
        {std::nanf(""), 30.0f},
    };
    for (const float scale : {175.0f, 1.0e4f, 2.0e6f}) {
        for (const auto& row : rows) {
            RecordingPanel panel(300, 200);
            SkyView view(Settings(Stereographic), &panel);
            view.SetScale(scale);
            view.Options()[DisplayOptions::ShowStarNames] = false;
            auto absurd = MakeStar(0.0, 0.0, row.magnitude);
            auto sane = MakeStar(0.0, 0.0, row.drawnAs);
            view.Clear();
            view.DrawStar(*sane);
            const QImage expected = view.Image().copy();
            view.Clear();
            view.DrawStar(*absurd);
            EXPECT_TRUE(view.Image() == expected) << row.magnitude << " at scale " << scale;
            EXPECT_LT(CountLit(view.Image()), 300 * 200) << row.magnitude << " at scale " << scale;
        }
    }
}

TEST_F(RenderTest, ABrightStarIsADiscOfItsRadiusAtItsPixel) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    view.SetScale(1000.0f);  // a magnitude 0 star has radius 5 here
    view.Options()[DisplayOptions::ShowStarNames] = false;
    auto star = MakeStar(0.05, 0.03, 0.0f);
    view.Clear();
    view.DrawStar(*star);
    EXPECT_TRUE(star->onScreen);
    const QImage& img = view.Image();
    const int px = view.ToPixelX(star->screenX), py = view.ToPixelY(star->screenY);
    EXPECT_EQ(px, view.ToPixelX(std::cos(0.05) * std::sin(0.03) * 2 / (1 + std::cos(0.05) * std::cos(0.03))));
    const QRgb fill = Q(view.GetPalette().Get(PalStarA, 2));
    EXPECT_EQ(img.pixel(px, py) & 0xFFFFFF, fill & 0xFFFFFF);
    for (int dx = -3; dx <= 3; ++dx) EXPECT_NE(img.pixel(px + dx, py) & 0xFFFFFF, 0u) << dx;
    // Nothing beyond the radius.
    EXPECT_EQ(CountLit(img, px + 7, py - 10, px + 30, py + 10), 0);
    EXPECT_EQ(CountLit(img, px - 30, py - 10, px - 6, py + 10), 0);
    EXPECT_EQ(CountLit(img, px - 10, py - 30, px + 10, py - 6), 0);
    const int lit = CountLit(img);
    EXPECT_GT(lit, 50);  // about pi * 5 * 5
    EXPECT_LT(lit, 130);

    // The same star at the default zoom is a single dot of its dim colour.
    view.SetScale(175.0f);
    view.Clear();
    view.DrawStar(*star);
    const QImage& dot = view.Image();
    EXPECT_EQ(CountLit(dot), 1);
    EXPECT_EQ(dot.pixel(view.ToPixelX(star->screenX), view.ToPixelY(star->screenY)) & 0xFFFFFF, fill & 0xFFFFFF);
}

TEST_F(RenderTest, StarsOutOfViewAreNotDrawnAndBelowTheHorizonAreDimmed) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    auto behind = MakeStar(0.1, pi(), 1.0f);
    behind->onScreen = true;
    auto below = MakeStar(-0.05, 0.0, 3.0f, PalStarK);
    below->belowHorizon = true;
    view.Clear();
    view.DrawStar(*behind);
    view.DrawStar(*below);
    EXPECT_FALSE(behind->onScreen);
    EXPECT_TRUE(below->onScreen);
    const QImage& img = view.Image();
    EXPECT_EQ(CountLit(img), 1);
    EXPECT_EQ(CountColour(img, Q(view.GetPalette().Get(PalStarK, 1))), 1);
    view.Options()[DisplayOptions::ShowHorizon] = false;
    view.Clear();
    view.DrawStar(*below);
    EXPECT_EQ(CountColour(view.Image(), Q(view.GetPalette().Get(PalStarK, 2))), 1);
}

TEST_F(RenderTest, LabelsAppearOnlyWithADisc) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    auto star = MakeStar(0.05, 0.0, 0.0f);
    star->SetName("Vega");
    auto labelArea = [&](const QImage& img) {
        const int px = view.ToPixelX(star->screenX), py = view.ToPixelY(star->screenY);
        return CountLit(img, px + 8, py, std::min(px + 80, img.width()), std::min(py + 30, img.height()));
    };
    view.SetScale(180.0f);  // radius 1: a dot, no label
    view.Clear();
    view.DrawStar(*star);
    EXPECT_EQ(CountLit(view.Image()), 1);
    view.SetScale(190.0f);  // radius 2: a disc with its name
    view.Clear();
    view.DrawStar(*star);
    EXPECT_GT(labelArea(view.Image()), 5);
    // A magnitude -1.46 star has its disc and label at the default zoom, -1 does not.
    view.SetScale(175.0f);
    star->magnitude = -1.0f;
    view.Clear();
    view.DrawStar(*star);
    EXPECT_EQ(CountLit(view.Image()), 1);
    star->magnitude = -1.46f;
    view.Clear();
    view.DrawStar(*star);
    EXPECT_GT(labelArea(view.Image()), 5);
}

TEST_F(RenderTest, HorizonStandsAtItsHeight) {
    RecordingPanel panel(700, 350);
    SkyView view(Settings(Stereographic), &panel);
    const QRgb red = qRgb(128, 0, 0);
    view.Clear();
    view.DrawHorizon();
    const QImage& level = view.Image();
    // Looking level, the horizon runs across the middle row.
    EXPECT_GT(CountColour(level, red, 0, 173, 700, 178), 600);
    EXPECT_EQ(CountColour(level, red, 0, 0, 700, 170), 0);

    view.elevation.radians = pi() / 4;
    view.Clear();
    view.DrawHorizon();
    const QImage& raised = view.Image();
    // Straight ahead it drops by 2 tan(22.5 deg) plane units.
    const int row = view.ToPixelY(-2 * std::tan(pi() / 8));
    EXPECT_GT(CountColour(raised, red, 345, row - 2, 356, row + 3), 3);
    EXPECT_EQ(CountColour(raised, red, 0, 0, 700, 170), 0);
}

TEST_F(RenderTest, CompassLettersLeaveOutTheOneBehind) {
    RecordingPanel panel(700, 350);
    SkyView view(Settings(Orthographic), &panel);
    view.SetScale(120.0f);
    auto letterArea = [&](double azimuth) {
        double x, y;
        view.Project(-0.015, azimuth, x, y);
        const int px = view.ToPixelX(x), py = view.ToPixelY(y);
        // Letters are smoothed: count the reddish pixels below the line.
        int n = 0;
        for (int y = py + 2; y < py + 14; ++y) {
            for (int x = std::max(px, 0); x < std::min(px + 12, 700); ++x) {
                const QRgb p = view.Image().pixel(x, y);
                if (qRed(p) > 40 && qGreen(p) == 0 && qBlue(p) == 0) ++n;
            }
        }
        return n;
    };
    view.Clear();
    view.DrawHorizon();
    EXPECT_GT(letterArea(0), 3);         // N ahead
    EXPECT_GT(letterArea(pi() / 2), 3);  // E
    EXPECT_EQ(letterArea(pi()), 0);      // S straight behind: left out
    view.direction.SetDegrees(90.0);
    view.Clear();
    view.DrawHorizon();
    EXPECT_GT(letterArea(pi()), 3);
    EXPECT_EQ(letterArea(3 * pi() / 2), 0);
    // A hair short of a full turn still faces north.
    view.direction.radians = 2 * pi() - 1e-9;
    view.Clear();
    view.DrawHorizon();
    EXPECT_EQ(letterArea(pi()), 0);
    EXPECT_GT(letterArea(0), 3);
}

TEST_F(RenderTest, OrthographicShowsTwoDiscs) {
    RecordingPanel panel(600, 300);
    SkyView view(Settings(Orthographic), &panel);
    view.SetScale(100.0f);
    std::vector<std::unique_ptr<Star>> stars;
    for (int a = -85; a <= 85; a += 5) {
        for (int z = 0; z < 360; z += 5) stars.push_back(MakeStar(a * pi() / 180, z * pi() / 180, 6.0f));
    }
    view.Clear();
    for (auto& s : stars) view.DrawStar(*s);
    const QImage& img = view.Image();
    int front = 0, back = 0, outside = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if ((img.pixel(x, y) & 0xFFFFFF) == 0) continue;
            const double px = view.FromPixelX(x), py = view.FromPixelY(y);
            if (std::hypot(px - 1.3, py) < 1.02) {
                ++front;
            } else if (std::hypot(px + 1.3, py) < 1.02) {
                ++back;
            } else {
                ++outside;
            }
        }
    }
    EXPECT_GT(front, 500);
    EXPECT_GT(back, 500);
    EXPECT_EQ(outside, 0);
}

TEST_F(RenderTest, GridsAndEquatorOnlyInTheTwoAzimuthalProjections) {
    RecordingPanel panel(700, 350);
    for (uint16_t p = 0; p < ProjectionCount; ++p) {
        SkyView view(Settings(p), &panel);
        view.Clear();
        view.DrawHorizontalGrid();
        view.DrawEquatorialGrid();
        view.DrawEquator();
        const int lit = CountLit(view.Image());
        if (p == Stereographic || p == EqualArea) {
            EXPECT_GT(lit, 1000) << p;
            EXPECT_GT(CountColour(view.Image(), qRgb(0, 0, 255)), 100) << p;
            EXPECT_GT(CountColour(view.Image(), qRgb(0, 0, 128)), 100) << p;
        } else {
            EXPECT_EQ(lit, 0) << p;
        }
        // The horizon is drawn in every projection.
        view.DrawHorizon();
        EXPECT_GT(CountColour(view.Image(), qRgb(128, 0, 0)), 100) << p;
    }
}

TEST_F(RenderTest, CelestialPoleMarkSitsAtTheLatitude) {
    RecordingPanel panel(700, 350);
    SkyView view(Settings(Stereographic), &panel);
    view.elevation.SetDegrees(40.0);
    view.Clear();
    view.DrawEquatorialGrid();
    // Looking north at 40 degrees up from 52.35 N, the pole is 12.35 degrees
    // above the centre; its mark is a wide blue dot there.
    double x, y;
    view.Project(52.35 * pi() / 180, 0.0, x, y);
    const int px = view.ToPixelX(x), py = view.ToPixelY(y);
    EXPECT_NEAR(y, 2 * std::tan(12.35 * pi() / 360), 0.01);
    EXPECT_GE(CountColour(view.Image(), qRgb(0, 0, 255), px - 2, py - 2, px + 3, py + 3), 6);
}

TEST_F(RenderTest, RedModeLeavesOnlyRedChannels) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    view.SetScale(600.0f);
    view.ToggleRedMode();
    std::vector<std::unique_ptr<Star>> stars;
    for (int c = 0; c < 8; ++c) {
        stars.push_back(MakeStar(0.02 * c - 0.08, 0.03 * c - 0.1, -1.0f, c));
        stars.back()->SetName("Star");
    }
    SkyObject planet, moon, sun;
    planet.SetName("Mars");
    planet.altitude.SetRadians(0.1);
    moon.altitude.SetRadians(-0.1);
    moon.azimuth.SetRadians(0.1);
    sun.altitude.SetRadians(0.15);
    sun.azimuth.SetRadians(0.2);
    view.Clear();
    for (auto& s : stars) view.DrawStar(*s);
    view.DrawPlanet(planet);
    view.DrawMoon(moon, 0.01);
    view.DrawSun(sun, 0.01);
    view.DrawDeepSky(planet, 0.02, true);
    // The fixed line colours too: a blue equator or grid would spoil night vision.
    view.DrawHorizontalGrid();
    view.DrawEquatorialGrid();
    view.DrawEquator();
    view.DrawHorizon();
    const QImage& img = view.Image();
    int red = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            ASSERT_EQ(qGreen(p), 0) << x << "," << y;
            ASSERT_EQ(qBlue(p), 0) << x << "," << y;
            if (qRed(p) > 0) ++red;
        }
    }
    EXPECT_GT(red, 200);

    // The planet alone: still a point on the black sky.
    view.Clear();
    view.DrawPlanet(planet);
    const int px = view.ToPixelX(planet.screenX), py = view.ToPixelY(planet.screenY);
    EXPECT_GT(CountColour(view.Image(), Q(view.GetPalette().Get(PalPlanet, 2)), px - 3, py - 3, px + 4, py + 4), 0);
    EXPECT_EQ(view.GetPalette().Get(PalPlanet, 2), Colour(229, 0, 0));
}

TEST_F(RenderTest, MoonAndSunAreFilledDiscsOnlyWhenWhollyInView) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    view.SetScale(1000.0f);
    SkyObject moon;
    moon.SetName("Moon");
    moon.altitude.SetRadians(0.0);
    moon.azimuth.SetRadians(0.0);
    view.Options()[DisplayOptions::ShowMoonName] = false;
    view.Clear();
    view.DrawMoon(moon, 0.01);  // about 10 pixels
    const QImage& img = view.Image();
    const QRgb yellow = Q(view.GetPalette().Get(PalMoon, 2));
    EXPECT_EQ(img.pixel(200, 150) & 0xFFFFFF, yellow & 0xFFFFFF);
    EXPECT_EQ(img.pixel(206, 150) & 0xFFFFFF, yellow & 0xFFFFFF);
    // The outline pen is wide (21 pixels here) and straddles the edge.
    EXPECT_EQ(CountLit(img, 226, 0, 400, 300), 0);
    EXPECT_GT(CountColour(img, yellow), 250);

    // Half out of the picture: not drawn at all.
    moon.azimuth.SetRadians(0.199);
    view.Clear();
    view.DrawMoon(moon, 0.01);
    EXPECT_EQ(CountLit(view.Image()), 0);

    SkyObject sun;
    sun.SetName("Sun");
    view.Clear();
    view.DrawSun(sun, 0.005);
    EXPECT_EQ(view.Image().pixel(200, 150) & 0xFFFFFF, Q(view.GetPalette().Get(PalSun, 2)) & 0xFFFFFF);
}

TEST_F(RenderTest, EarthShadowShowsUmbraInsidePenumbra) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    view.SetScale(1000.0f);
    SkyObject shadow;
    view.Clear();
    view.DrawEarthShadow(shadow, 0.02, 0.01);
    const QImage& img = view.Image();
    EXPECT_EQ(img.pixel(195, 150) & 0xFFFFFF, Q(view.GetPalette().Get(PalMoon, 2)) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(185, 160) & 0xFFFFFF, Q(view.GetPalette().Get(PalMoon, 1)) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(160, 150) & 0xFFFFFF, 0u);
}

TEST_F(RenderTest, EllipsesNeedBothCornersAndAMinimumSize) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    Canvas& c = view.GetCanvas();
    c.SetPenColour(Colour(255, 0, 0));
    c.SetPenWidth(1);
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetBrushColour(Colour(255, 0, 0));
    view.Clear();
    c.SetPenColour(Colour(255, 0, 0));
    c.SetBrushColour(Colour(255, 0, 0));
    c.SetBrushStyle(BrushStyle::Solid);
    // Corners one pixel apart become a 3 x 3 box.
    view.DrawEllipse(view.FromPixelX(100), view.FromPixelY(100), view.FromPixelX(101), view.FromPixelY(101));
    EXPECT_GT(CountLit(view.Image()), 0);
    EXPECT_EQ(CountLit(view.Image(), 0, 0, 400, 99), 0);
    EXPECT_EQ(CountLit(view.Image(), 104, 0, 400, 300), 0);
    view.Clear();
    c.SetPenColour(Colour(255, 0, 0));
    view.DrawEllipse(view.FromPixelX(-5), view.FromPixelY(100), view.FromPixelX(50), view.FromPixelY(150));
    EXPECT_EQ(CountLit(view.Image()), 0);
}

TEST_F(RenderTest, SkyLinesNeedOneEndInViewPlaneLinesBoth) {
    RecordingPanel panel(400, 300);
    SkyView view(Settings(Stereographic), &panel);
    Canvas& c = view.GetCanvas();
    view.Clear();
    c.SetPenColour(Colour(0, 255, 0));
    c.SetPenWidth(1);
    view.MoveToPlane(0.0, 0.0);
    view.LineToPlane(5.0, 0.0);  // far end out of view: nothing
    EXPECT_EQ(CountLit(view.Image()), 0);
    view.MoveToSky(0.0, 0.0);
    view.LineToSky(0.0, 1.2);  // one end in view: drawn up to the edge
    EXPECT_GT(CountLit(view.Image(), 200, 148, 400, 152), 150);
    view.Clear();
    c.SetPenColour(Colour(0, 255, 0));
    view.MoveToPlane(-0.5, 0.1);
    view.LineToPlane(0.5, 0.1);
    EXPECT_GT(CountLit(view.Image()), 150);
}

TEST_F(RenderTest, FigureStrokesBreakBetweenFarApartStars) {
    RecordingPanel panel(800, 400);
    SkyView view(Settings(LambertCylindrical), &panel);
    view.SetScale(100.0f);
    view.Options()[DisplayOptions::ShowConLines] = true;
    auto a = MakeStar(0.0, 6.2, 5.0f);  // left of the seam at azimuth pi... placed either side of it
    auto b = MakeStar(0.0, 0.1, 5.0f);
    auto c = MakeStar(0.3, 0.1, 5.0f);
    std::vector<Star*> stars = {a.get(), b.get(), c.get()};
    std::vector<FigureLine> lines = {{1, 2, 3}};
    view.Clear();
    view.DrawFigure(stars, lines);
    const QImage& img = view.Image();
    const QRgb grey = Q(view.GetPalette().Get(PalFigure, 2));
    // a and b are 0.18 apart across azimuth 0 and joined; c is 0.3 above b and joined.
    EXPECT_GT(CountColour(img, grey), 40);
    // Now one apart by more than a plane unit: the stroke breaks.
    a->azimuth.SetRadians(4.0);
    c->azimuth.SetRadians(1.11 + 0.1);
    c->altitude.SetRadians(0.0);
    view.Clear();
    view.DrawFigure(stars, lines);
    EXPECT_EQ(CountColour(view.Image(), grey), 0);
}

// The canvas sets the pixels of dots itself instead of asking the toolkit;
// they must be exactly the toolkit's. A wide pen's dot is compared with the
// toolkit stroking the same line, anywhere on the image and across its
// edges; a batch of one-pixel dots with the same dots drawn one by one.
TEST(CanvasDots, AreExactlyTheToolkitsPixels) {
    constexpr int kW = 200, kH = 150;
    const QPoint places[] = {{50, 40}, {0, 0}, {kW - 1, kH - 1}, {-2, 75}, {120, 1}, {kW, kH / 2}, {77, kH + 1}};
    for (int width : {2, 3, 4, 5, 8, 13}) {
        for (const QPoint& at : places) {
            QtCanvas canvas(kW, kH);
            canvas.SetBrushColour(Colour(0, 0, 0));
            canvas.FillRect(0, 0, kW, kH);
            canvas.SetPenColour(Colour(255, 200, 0));
            canvas.SetPenWidth(width);
            canvas.MoveTo(at.x(), at.y());
            canvas.LineTo(at.x() + 1, at.y());

            QImage expected(kW, kH, QImage::Format_RGB32);
            expected.fill(Qt::black);
            QPainter p(&expected);
            QPen pen(QColor(255, 200, 0));
            pen.setWidth(width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
            p.drawLine(at.x(), at.y(), at.x() + 1, at.y());
            p.end();
            EXPECT_EQ(canvas.Image(), expected) << "width " << width << " at " << at.x() << "," << at.y();
            EXPECT_EQ(canvas.PenX(), at.x() + 1);
        }
    }

    const std::vector<CanvasDot> dots = {{10, 10, Colour(255, 0, 0)}, {11, 10, Colour(0, 255, 0)},
                                         {10, 10, Colour(0, 0, 255)},  // the later dot wins
                                         {-1, 5, Colour(9, 9, 9)},    {kW, 5, Colour(9, 9, 9)},
                                         {5, kH, Colour(9, 9, 9)},    {kW - 1, kH - 1, Colour(1, 2, 3)}};
    QtCanvas batch(kW, kH), single(kW, kH);
    for (QtCanvas* c : {&batch, &single}) {
        c->SetBrushColour(Colour(0, 0, 0));
        c->FillRect(0, 0, kW, kH);
        c->SetPenWidth(1);
        // A line pending before the dots stays below them.
        c->SetPenColour(Colour(90, 90, 90));
        c->MoveTo(0, 10);
        c->LineTo(kW, 10);
    }
    batch.Dots(dots);
    for (const CanvasDot& d : dots) {
        single.SetPenColour(d.colour);
        single.MoveTo(d.x, d.y);
        single.LineTo(d.x + 1, d.y);
    }
    EXPECT_EQ(batch.Image(), single.Image());
    EXPECT_EQ(batch.Image().pixel(10, 10) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(batch.Image().pixel(12, 10) & 0xFFFFFF, 0x5A5A5Au);
}

}  // namespace
