#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "view/Colors.h"
#include "view/SkyView.h"

namespace {

TEST(Palette, ShadesAtTheStartingBrightness) {
    Palette p;
    EXPECT_FLOAT_EQ(p.Brightness(), 0.5f);
    EXPECT_FALSE(p.RedMode());
    EXPECT_EQ(p.Get(PalStarM, 0), Colour(127, 104, 56));
    EXPECT_EQ(p.Get(PalStarM, 1), Colour(178, 145, 78));
    EXPECT_EQ(p.Get(PalStarM, 2), Colour(229, 187, 100));
    EXPECT_EQ(p.Get(PalStarOther, 2), Colour(144, 144, 158));
    EXPECT_EQ(p.Get(PalSun, 1), Colour(178, 89, 0));
    EXPECT_EQ(p.Get(PalMinorPlanet, 2), Colour(144, 14, 14));
    EXPECT_EQ(p.Get(PalMinorPlanetLabel, 1), Colour(89, 33, 33));
}

TEST(Palette, DimmingStopsNearZero) {
    Palette p;
    for (int i = 0; i < 5; ++i) p.Dimmer();
    // Each step is taken in double and stored as a float.
    EXPECT_NEAR(p.Brightness(), 1.64e-8f, 0.02e-8f);
    EXPECT_EQ(p.Get(PalStarA, 0), Colour(0, 0, 0));
    // shade 2 is then 20 % of the base colour
    EXPECT_EQ(p.Get(PalStarA, 2), Colour(102, 102, 102));
    const float before = p.Brightness();
    p.Dimmer();
    EXPECT_EQ(p.Brightness(), before);
    p.Brighter();
    EXPECT_NEAR(p.Brightness(), 0.1f, 1e-6f);
}

TEST(Palette, BrighteningSaturatesChannelByChannel) {
    Palette p;
    for (int i = 0; i < 10; ++i) p.Brighter();
    EXPECT_NEAR(p.Brightness(), 1.5f, 1e-5f);
    EXPECT_EQ(p.Get(PalStarA, 2), Colour(255, 255, 255));
    // Class K (255, 112, 112) at 1.9: red clips, the others do not, so the hue is lost.
    EXPECT_EQ(p.Get(PalStarK, 2), Colour(255, 212, 212));
    EXPECT_EQ(p.Get(PalPlanet, 0), Colour(0, 0, 255));
}

TEST(Palette, RedModeKeepsOnlyTheRedChannel) {
    Palette p;
    const Palette day;
    EXPECT_TRUE(p.ToggleRedMode());
    EXPECT_EQ(p.Get(PalStarM, 2), Colour(229, 0, 0));
    // Every colour with red of its own keeps exactly that red.
    for (int e = 0; e < PaletteEntryCount; ++e) {
        for (int s = 0; s < 3; ++s) {
            if (e != PalPlanet) {
                EXPECT_EQ(p.Get(e, s), Colour(day.Get(e, s).r, 0, 0)) << e << "/" << s;
            }
            EXPECT_EQ(p.Get(e, s).g, 0);
            EXPECT_EQ(p.Get(e, s).b, 0);
        }
    }
    EXPECT_FALSE(p.ToggleRedMode());
    for (int e = 0; e < PaletteEntryCount; ++e) {
        for (int s = 0; s < 3; ++s) EXPECT_EQ(p.Get(e, s), day.Get(e, s));
    }
}

// Planets (pure blue) used to turn black in red mode and vanish from the sky.
TEST(Palette, AColourWithoutRedShowsItsBrightestChannelInRedMode) {
    struct Case {
        const char* what;
        int entry;
        uint16_t r, g, b;  // base colour; r = 999 keeps the standard one
        int brighter;
        Colour shades[3];
    };
    const Case cases[] = {
        {"planets", PalPlanet, 999, 0, 0, 0, {{127, 0, 0}, {178, 0, 0}, {229, 0, 0}}},
        {"planets brightened to 1.5", PalPlanet, 999, 0, 0, 10, {{255, 0, 0}, {255, 0, 0}, {255, 0, 0}}},
        {"green over blue", PalFigure, 0, 96, 40, 0, {{48, 0, 0}, {67, 0, 0}, {86, 0, 0}}},
        {"blue over green", PalFigure, 0, 100, 200, 0, {{100, 0, 0}, {140, 0, 0}, {180, 0, 0}}},
        {"black stays black", PalFigure, 0, 0, 0, 0, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        // A trace of red is the colour's own: it is kept, even where it rounds to nothing.
        {"a trace of red", PalFigure, 1, 0, 255, 0, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        Palette p;
        if (c.r != 999) {
            p.SetBase(c.entry, c.r, c.g, c.b);
            p.Rebuild();
        }
        for (int i = 0; i < c.brighter; ++i) p.Brighter();
        const Colour day[3] = {p.Get(c.entry, 0), p.Get(c.entry, 1), p.Get(c.entry, 2)};
        p.ToggleRedMode();
        for (int s = 0; s < 3; ++s) EXPECT_EQ(p.Get(c.entry, s), c.shades[s]) << c.what << ", shade " << s;
        p.ToggleRedMode();
        for (int s = 0; s < 3; ++s) EXPECT_EQ(p.Get(c.entry, s), day[s]) << c.what << ", shade " << s;
    }
}

TEST(Palette, ANewBaseColourTakesEffectAtRebuild) {
    Palette p;
    p.SetBase(PalFigure, 100, 0, 200);
    EXPECT_EQ(p.Get(PalFigure, 2), Colour(172, 172, 172));
    p.Rebuild();
    EXPECT_EQ(p.Get(PalFigure, 2), Colour(90, 0, 180));
    p.SetBase(PaletteEntryCount, 1, 2, 3);  // out of range: ignored
    p.Rebuild();
    EXPECT_EQ(p.Get(PalFigure, 2), Colour(90, 0, 180));
}

TEST(Palette, ViewRecoloursThePanelWithThePalette) {
    RecordingPanel panel;
    SkyView view(SkyViewSettings{}, &panel);
    EXPECT_EQ(panel.panelColour, Colour(145, 145, 145));
    EXPECT_EQ(panel.labelColours[LabDirection], Colour(145, 145, 145));
    EXPECT_EQ(panel.labelColours[LabCurRA], Colour(187, 187, 187));
    EXPECT_TRUE(view.ToggleRedMode());
    EXPECT_EQ(panel.labelColours[LabTrans], Colour(187, 0, 0));
    view.ToggleRedMode();
    view.Brighter();
    EXPECT_EQ(panel.panelColour, Colour(166, 166, 166));
    view.Dimmer();
    view.Dimmer();
    EXPECT_EQ(panel.labelColours[labLockedObject], Colour(166, 166, 166));
}

}  // namespace
