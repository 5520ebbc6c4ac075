#include <gtest/gtest.h>

#include <cstring>

#include "ViewTestSupport.h"
#include "astro/Constants.h"
#include "catalogues/BayerLetters.h"
#include "catalogues/Star.h"
#include "view/SkyView.h"

namespace {

void SetIds(Star& s, const char* name, uint16_t flamsteed, const char* bayer, const char* constellation) {
    if (name) s.SetName(name);
    s.flamsteed = flamsteed;
    std::memcpy(s.bayer, bayer, strnlen(bayer, sizeof s.bayer - 1));
    std::memcpy(s.constellation, constellation, strnlen(constellation, sizeof s.constellation - 1));
}

SkyViewSettings LabelSettings(bool names, bool bayer, bool flamsteed, bool hd = false) {
    SkyViewSettings s;
    s.options[DisplayOptions::ShowStarNames] = names;
    s.options[DisplayOptions::ShowBayerId] = bayer;
    s.options[DisplayOptions::ShowFlamsteedId] = flamsteed;
    s.options[DisplayOptions::ShowHD] = hd;
    return s;
}

TEST(StarLabel, NameFlamsteedAndBayerInThreeParts) {
    Star s;
    s.magnitude = 0.5f;
    SetIds(s, "Betelgeuse", 58, "a", "Ori");
    SkyView all(LabelSettings(true, true, true), nullptr);
    SkyView::StarLabel l = all.BuildStarLabel(s);
    EXPECT_EQ(l.t1, "Betelgeuse (58 ");
    EXPECT_EQ(l.t2, "a");
    EXPECT_EQ(l.t3, " Ori)");
    EXPECT_EQ(l.fontHeight, 12);  // 2.5 x 4.935

    SkyView noFlamsteed(LabelSettings(true, true, false), nullptr);
    l = noFlamsteed.BuildStarLabel(s);
    EXPECT_EQ(l.t1, "Betelgeuse (");
    EXPECT_EQ(l.t2, "a");
    EXPECT_EQ(l.t3, " Ori)");

    // Flamsteed alone still names the constellation.
    SkyView flamsteedOnly(LabelSettings(false, false, true), nullptr);
    l = flamsteedOnly.BuildStarLabel(s);
    EXPECT_EQ(l.t1, "58");
    EXPECT_EQ(l.t2, "");
    EXPECT_EQ(l.t3, " Ori");
}

TEST(StarLabel, SuperscriptAndFaintStarsKeepNoName) {
    Star s;
    s.magnitude = 2.0f;  // fainter than 4.935 - 3
    SetIds(s, "Algedi", 0, "a2", "Cap");
    SkyView view(LabelSettings(true, true, false), nullptr);
    SkyView::StarLabel l = view.BuildStarLabel(s);
    EXPECT_EQ(l.t1, "");
    EXPECT_EQ(l.t2, "a");
    EXPECT_EQ(l.t3, "2 Cap");
    s.magnitude = 1.9f;
    l = view.BuildStarLabel(s);
    EXPECT_EQ(l.t1, "Algedi (");
    EXPECT_EQ(l.t3, "2 Cap)");
}

TEST(StarLabel, HenryDraperNumberOnlyForOtherwiseUnlabelledStars) {
    Star s;
    s.magnitude = 6.0f;
    s.hd = 12345;
    SkyView view(LabelSettings(true, true, true, true), nullptr);
    SkyView::StarLabel l = view.BuildStarLabel(s);
    EXPECT_EQ(l.t1, "HD12345");
    EXPECT_EQ(l.fontHeight, 5);  // 1.2 x 4.935
    SetIds(s, nullptr, 0, "b", "");
    l = view.BuildStarLabel(s);
    EXPECT_EQ(l.t1, "");
    EXPECT_EQ(l.t2, "b");
    EXPECT_EQ(l.fontHeight, 12);
}

TEST(StarLabel, SymbolFontLettersBecomeGreek) {
    EXPECT_EQ(BayerGreek('a'), "α");
    EXPECT_EQ(BayerGreek('b'), "β");
    EXPECT_EQ(BayerGreek('g'), "γ");
    EXPECT_EQ(BayerGreek('h'), "η");
    EXPECT_EQ(BayerGreek('q'), "θ");
    EXPECT_EQ(BayerGreek('j'), "φ");
    EXPECT_EQ(BayerGreek('c'), "χ");
    EXPECT_EQ(BayerGreek('y'), "ψ");
    EXPECT_EQ(BayerGreek('w'), "ω");
    EXPECT_EQ(BayerGreek('x'), "ξ");
    EXPECT_EQ(BayerGreek('z'), "ζ");
    EXPECT_EQ(BayerGreek('1'), "1");
    EXPECT_EQ(BayerGreek(std::string("ao")), "αο");
}

// The readout, the lock label and the command-line tool show a Bayer-named
// star with its Greek letter; other names pass through unchanged.
TEST(StarLabel, ShownNamesUseGreekLettersAndSuperscripts) {
    Star alphaCen;
    SetIds(alphaCen, nullptr, 0, "a2", "Cen");
    EXPECT_EQ(alphaCen.GetName(), "a2 Cen");
    EXPECT_EQ(ShownName(alphaCen), "α² Cen");

    Star theta;
    SetIds(theta, nullptr, 0, "q", "CMa");
    EXPECT_EQ(ShownName(theta), "θ CMa");

    Star named;
    SetIds(named, "Sirius", 9, "a", "CMa");
    EXPECT_EQ(ShownName(named), "Sirius");

    Star flamsteed;
    SetIds(flamsteed, nullptr, 61, "", "Cyg");
    EXPECT_EQ(ShownName(flamsteed), "61 Cyg");

    SkyObject plain;
    plain.SetName("Sun");
    EXPECT_EQ(ShownName(plain), "Sun");
}

// A selected object whose corrected place differs from the stored one.
class ShiftedObject : public SkyObject {
public:
    void CorrectToDate(double& ra, double& dec) const override {
        ra += 0.01;
        dec += 0.01;
    }
};

TEST(Readout, TextsWithTheirSpacing) {
    RecordingPanel panel;
    SkyView view(SkyViewSettings{}, &panel);
    ShiftedObject o;
    o.SetName("Polaris");
    o.ra.SetRadians(0.5);
    o.dec.SetRadians(1.5);
    o.magnitude = 1.97f;
    o.altitude.SetRadians(0.9);
    o.azimuth.SetRadians(-0.1);
    view.setText = "Set: 01:02";
    view.transitText = "Transit: 03:04";
    view.riseText = "Rise: 05:06";
    view.ShowReadout(&o);
    HmsAngle ra;
    ra.SetRadians(0.51);
    DmsAngle dec;
    dec.SetRadians(1.51);
    EXPECT_EQ(panel.labels[LabCurrentStar], "Polaris");
    EXPECT_EQ(panel.labels[LabCurRA], "RA : " + ra.Format());
    EXPECT_EQ(panel.labels[LabCurDec], "Dec: " + dec.Format(false));
    EXPECT_EQ(panel.labels[LabCurMag], "Mag:  1.97");
    EXPECT_EQ(panel.labels[LabCurAzi], "Azi  : " + o.azimuth.Format(true));
    EXPECT_EQ(panel.labels[LabCurAlt], "Alt   : " + o.altitude.Format(false));
    EXPECT_EQ(panel.labels[LabSet], "Set: 01:02");
    EXPECT_EQ(panel.labels[LabTrans], "Transit: 03:04");
    EXPECT_EQ(panel.labels[LabRise], "Rise: 05:06");
    // The stored place is untouched.
    EXPECT_DOUBLE_EQ(o.ra.radians, 0.5);

    view.Options()[DisplayOptions::HighAccuracy] = false;
    view.ShowReadout(&o);
    ra.SetRadians(0.5);
    EXPECT_EQ(panel.labels[LabCurRA], "RA : " + ra.Format());
}

TEST(Readout, MagnitudeLineAndNoSelection) {
    RecordingPanel panel;
    SkyView view(SkyViewSettings{}, &panel);
    SkyObject o;
    o.magnitude = -50.0f;
    view.ShowReadout(&o);
    EXPECT_EQ(panel.labels[LabCurMag], "");
    EXPECT_EQ(panel.labels[LabCurrentStar], "");
    o.magnitude = -49.99f;
    view.ShowReadout(&o);
    EXPECT_EQ(panel.labels[LabCurMag], "Mag: -49.99");
    view.riseText = "Rise: 05:06";
    view.ShowReadout(nullptr);
    EXPECT_EQ(panel.labels[LabCurrentStar], "none");
    for (PanelLabel l : {LabCurRA, LabCurDec, LabCurMag, LabCurAzi, LabCurAlt, LabSet, LabTrans, LabRise}) {
        EXPECT_EQ(panel.labels[l], "") << l;
    }
}

TEST(Readout, LockDirectionClockAndStatus) {
    RecordingPanel panel;
    SkyView view(SkyViewSettings{}, &panel);
    SkyObject o;
    o.SetName("Moon");
    view.ShowLockedName(&o);
    EXPECT_EQ(panel.labels[labLockedObject], "Moon");
    view.ShowLockedName(nullptr);
    EXPECT_EQ(panel.labels[labLockedObject], "none");
    view.direction.SetDegrees(45.0);
    view.ShowDirection();
    EXPECT_EQ(panel.labels[LabDirection], " 45");
    view.direction.SetDegrees(359.6);
    view.ShowDirection();
    EXPECT_EQ(panel.labels[LabDirection], "360");
    view.ShowClockMode(true, true);
    EXPECT_TRUE(panel.run);
    EXPECT_TRUE(panel.systemTime);
    EXPECT_FALSE(panel.runClickable);
    view.ShowClockMode(false, false);
    EXPECT_FALSE(panel.run);
    EXPECT_TRUE(panel.runClickable);
    view.SetStatusText(2, "Julian: 2461383.50000");
    EXPECT_EQ(panel.status[2], "Julian: 2461383.50000");
    view.SetStatusText(4, "belongs to the command handler");
    EXPECT_EQ(panel.status.count(4), 0u);
    // The clock panels were sized to their sample texts, widest the Julian date.
    ASSERT_EQ(panel.statusWidths.size(), 4u);
    EXPECT_GT(panel.statusWidths[2], panel.statusWidths[1]);
    EXPECT_GT(panel.statusWidths[1], 10);
}

TEST(CanvasClipping, LinesToFarAwayPointsStillReachTheEdge) {
    RecordingPanel panel(400, 300);
    SkyViewSettings settings;
    settings.projection = Stereographic;
    SkyView view(settings, &panel);
    Canvas& c = view.GetCanvas();
    view.Clear();
    c.SetPenColour(Colour(0, 255, 0));
    c.SetPenWidth(1);
    view.MoveToSky(0.0, 0.0);
    // Near the antipode: hundreds of thousands of pixels away.
    view.LineToSky(0.0, static_cast<double>(Pi) - 0.002);
    const QImage& img = view.Image();
    EXPECT_GT(CountLit(img), 20);
    EXPECT_EQ(img.pixel(200, 150) & 0xFFFFFF, 0x00FF00u);
}

}  // namespace
