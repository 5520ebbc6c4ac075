#include <gtest/gtest.h>

#include <cmath>

#include "ViewTestSupport.h"
#include "astro/Constants.h"
#include "catalogues/SkyObject.h"
#include "view/SkyView.h"

namespace {

constexpr double kTol = 1e-9;

SkyViewSettings WithProjection(uint16_t p, double directionRadians = 0.0, double elevationRadians = 0.0) {
    SkyViewSettings s;
    s.projection = p;
    s.direction = directionRadians;
    s.elevation = elevationRadians;
    return s;
}

struct Point {
    double x, y;
};

Point ProjectWith(const SkyView& view, double altitude, double azimuth) {
    Point p{};
    view.Project(altitude, azimuth, p.x, p.y);
    return p;
}

double pi() { return static_cast<double>(Pi); }

TEST(ViewBounds, DefaultScaleOnASmallSurface) {
    RecordingPanel panel(700, 350);
    SkyView view(SkyViewSettings{}, &panel);
    EXPECT_FLOAT_EQ(view.Scale(), 175.0f);
    EXPECT_DOUBLE_EQ(view.PlaneLeft(), -2.0);
    EXPECT_DOUBLE_EQ(view.PlaneRight(), 2.0);
    EXPECT_DOUBLE_EQ(view.PlaneBottom(), -1.0);
    EXPECT_DOUBLE_EQ(view.PlaneTop(), 1.0);
    EXPECT_EQ(view.ToPixelX(0.0), 350);
    EXPECT_EQ(view.ToPixelY(0.0), 175);
    // The edges themselves are outside.
    EXPECT_FALSE(view.IsInView(-2.0, 0.0));
    EXPECT_FALSE(view.IsInView(0.0, 1.0));
    EXPECT_TRUE(view.IsInView(-1.999, 0.999));
    // Derived zoom values follow the scale.
    EXPECT_NEAR(view.LabelScale(), 4.935, 1e-3);
    EXPECT_NEAR(view.ZoomSteps(), 54.19, 1e-2);
    EXPECT_NEAR(view.SqrtScale(), std::sqrt(175.0), 1e-4);
}

TEST(ViewBounds, OddSizesHalveTowardZeroAndTheCentreLandsThere) {
    RecordingPanel panel(701, 351);
    SkyView view(SkyViewSettings{}, &panel);
    EXPECT_EQ(view.HalfWidth(), 350);
    EXPECT_EQ(view.HalfHeight(), 175);
    view.SetCentre(0.5, -0.25);
    EXPECT_EQ(view.ToPixelX(0.5), 350);
    EXPECT_EQ(view.ToPixelY(-0.25), 351 - 175);
    view.Resize(200, 100);
    EXPECT_DOUBLE_EQ(view.CentreX(), 0.5);
    EXPECT_DOUBLE_EQ(view.PlaneRight(), 0.5 + 100 / 175.0);
}

TEST(ViewBounds, PixelsTruncateTowardZeroAndConvertBack) {
    RecordingPanel panel(700, 350);
    SkyView view(SkyViewSettings{}, &panel);
    // 10.9 pixels from the left edge lands on pixel 10.
    EXPECT_EQ(view.ToPixelX(-2.0 + 10.9 / 175.0), 10);
    // Half a pixel left of the edge truncates to 0, not -1.
    EXPECT_EQ(view.ToPixelX(-2.0 - 0.5 / 175.0), 0);
    EXPECT_EQ(view.ToPixelX(-2.0 - 1.5 / 175.0), -1);
    EXPECT_DOUBLE_EQ(view.FromPixelX(350), 0.0);
    EXPECT_DOUBLE_EQ(view.FromPixelY(175), 0.0);
    EXPECT_DOUBLE_EQ(view.FromPixelY(0), 1.0);
    // Points far beyond the surface keep a usable pixel value.
    EXPECT_LT(view.ToPixelX(-1e30), 0);
    EXPECT_GT(view.ToPixelY(-1e30), 350);
}

TEST(ViewZoom, LimitsAreTestedBeforeTheStep) {
    RecordingPanel panel(700, 350);
    SkyView view(SkyViewSettings{}, &panel);
    view.SetScale(1999999.0f);
    view.ZoomIn(1.5f);
    EXPECT_FLOAT_EQ(view.Scale(), 2999998.5f);
    view.ZoomIn(1.5f);
    EXPECT_FLOAT_EQ(view.Scale(), 2999998.5f);
    view.SetScale(50.0f);
    view.ZoomOut(1.5f);
    EXPECT_FLOAT_EQ(view.Scale(), 50.0f);
    view.SetScale(51.0f);
    view.ZoomOut(1.5f);
    EXPECT_FLOAT_EQ(view.Scale(), 34.0f);
    EXPECT_DOUBLE_EQ(view.PlaneRight(), 350 / 34.0);
}

TEST(ViewScroll, StepsAreOneSixteenthOfTheVisibleExtent) {
    RecordingPanel panel(700, 350);
    SkyView view(SkyViewSettings{}, &panel);
    view.ScrollVertical(8.0f);  // up
    EXPECT_NEAR(view.CentreY(), 2.0 / 16, kTol);
    view.ScrollHorizontal(8.0f);  // right
    EXPECT_NEAR(view.CentreX(), 4.0 / 16, kTol);
    view.ScrollVertical(-8.0f);
    view.ScrollHorizontal(-8.0f);
    EXPECT_NEAR(view.CentreY(), 0.0, kTol);
    EXPECT_NEAR(view.CentreX(), 0.0, kTol);
    EXPECT_NEAR(view.PlaneTop(), 1.0, kTol);
}

TEST(ViewProjection, OrthographicShowsTwoDiscsSplitByAzimuth) {
    SkyView view(WithProjection(Orthographic), nullptr);
    Point east = ProjectWith(view, 0, pi() / 2);
    EXPECT_NEAR(east.x, 2.3, kTol);
    EXPECT_NEAR(east.y, 0.0, kTol);
    Point south = ProjectWith(view, 0, pi());
    EXPECT_NEAR(south.x, -1.3, kTol);
    Point ahead = ProjectWith(view, 0, 0);
    EXPECT_NEAR(ahead.x, 1.3, kTol);
    // Exactly east and west count as the front half.
    EXPECT_NEAR(ProjectWith(view, 0, 3 * pi() / 2).x, 0.3, kTol);
    Point zenith = ProjectWith(view, pi() / 2, 0);
    EXPECT_NEAR(zenith.y, 1.0, kTol);
    // Looking west, the split turns with the direction and wraps past 2 pi.
    SkyView west(WithProjection(Orthographic, 3 * pi() / 2), nullptr);
    EXPECT_LT(ProjectWith(west, 0.3, 0.1).x, 0.0);           // north-east is behind
    EXPECT_GT(ProjectWith(west, 0.3, 3 * pi() / 2).x, 0.0);  // west is ahead
}

TEST(ViewProjection, StereographicAndEqualAreaWorkedPoints) {
    SkyView stereo(WithProjection(Stereographic), nullptr);
    Point east = ProjectWith(stereo, 0, pi() / 2);
    EXPECT_NEAR(east.x, 2.0, kTol);
    EXPECT_NEAR(east.y, 0.0, kTol);
    Point antipode = ProjectWith(stereo, 0, pi());
    EXPECT_EQ(antipode.x, 0.0);
    EXPECT_EQ(antipode.y, 0.0);
    Point zenith = ProjectWith(stereo, pi() / 2, 0);
    EXPECT_NEAR(zenith.y, 2.0, kTol);

    SkyView equal(WithProjection(EqualArea), nullptr);
    EXPECT_NEAR(ProjectWith(equal, 0, pi() / 2).x, std::sqrt(2.0), kTol);
    EXPECT_NEAR(ProjectWith(equal, 0, 3 * pi() / 2).x, -std::sqrt(2.0), kTol);
    // Near the centre one plane unit is one radian in both.
    EXPECT_NEAR(ProjectWith(equal, 0.001, 0).y, 0.001, 1e-8);
    EXPECT_NEAR(ProjectWith(stereo, 0, 0.001).x, 0.001, 1e-8);

    // Looking up at the zenith, the horizon south is below the centre.
    SkyView up(WithProjection(Stereographic, 0, pi() / 2), nullptr);
    EXPECT_NEAR(ProjectWith(up, pi() / 2, 1.0).y, 0.0, kTol);
    EXPECT_NEAR(ProjectWith(up, 0, 0).y, -2.0, kTol);
}

TEST(ViewProjection, CylindricalMapsWrapOnce) {
    SkyView lambert(WithProjection(LambertCylindrical, 0.5), nullptr);
    EXPECT_NEAR(ProjectWith(lambert, pi() / 2, 0.5).y, 1.0, kTol);
    EXPECT_NEAR(ProjectWith(lambert, 0, 0.5 + 3).x, 3.0, kTol);
    EXPECT_NEAR(ProjectWith(lambert, 0, 0.5 + 3.5).x, 3.5 - 2 * pi(), kTol);
    EXPECT_NEAR(ProjectWith(lambert, 0, 0.5 - 3.5).x, -3.5 + 2 * pi(), kTol);

    // A wider standard parallel narrows and stretches the map; elevation is ignored.
    SkyView peters(WithProjection(Peters, 0.0, 1.0), nullptr);
    const double c = std::cos(44.138 * 0.0174532925);
    EXPECT_NEAR(peters.standardParallel.degrees, 44.138, 1e-9);
    EXPECT_NEAR(ProjectWith(peters, 0, 1.0).x, c * 1.0, 1e-9);
    EXPECT_NEAR(ProjectWith(peters, pi() / 2, 0).y, 1 / c, 1e-8);
    EXPECT_NEAR(ProjectWith(peters, 0, 0).y, 0.0, kTol);
}

TEST(ViewProjection, EveryStoredValueGivesAPicture) {
    SkyView view(WithProjection(42), nullptr);
    EXPECT_EQ(view.GetProjection(), EqualArea);
    view.SetProjection(Balthasart);
    EXPECT_EQ(view.GetProjection(), Balthasart);
    EXPECT_NEAR(view.standardParallel.degrees, 50.0, 1e-9);
    // The azimuthal projections keep the last standard parallel.
    view.SetProjection(Stereographic);
    EXPECT_NEAR(view.standardParallel.degrees, 50.0, 1e-9);
    view.SetProjection(9);
    EXPECT_EQ(view.GetProjection(), EqualArea);
    EXPECT_STREQ(ProjectionCommandName(Stereographic), "stereographic");
    EXPECT_STREQ(ProjectionDialogItem(BehrmanCylindrical), "Behrman Cylindrical");
}

TEST(ViewProjection, CentreOnAnObjectPutsItInTheMiddle) {
    RecordingPanel panel(700, 350);
    SkyView view(WithProjection(Stereographic), &panel);
    SkyObject star;
    star.altitude.SetRadians(0.4);
    star.azimuth.SetRadians(0.3);
    view.CentreOn(&star);
    EXPECT_DOUBLE_EQ(view.CentreX(), star.screenX);
    EXPECT_DOUBLE_EQ(view.CentreY(), star.screenY);
    EXPECT_EQ(view.ToPixelX(star.screenX), 350);
    EXPECT_EQ(view.ToPixelY(star.screenY), 175);
    view.CentreOn(nullptr);
    EXPECT_DOUBLE_EQ(view.CentreX(), star.screenX);
}

}  // namespace
