#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "view/Canvas.h"

// Palette entries by use.
enum PaletteEntry : int {
    PalStarM = 0,
    PalStarO = 1,
    PalStarB = 2,
    PalStarA = 3,
    PalStarF = 4,
    PalStarG = 5,
    PalStarK = 6,
    PalStarOther = 7,
    PalStarLabel = 8,
    PalPlanet = 9,
    PalPlanetLabel = 10,
    PalSun = 11,
    PalSunLabel = 12,
    PalMoon = 13,  // also the Earth's shadow
    PalMoonLabel = 14,
    PalDeepSky = 15,
    PalDeepSkyLabel = 16,
    PalFigure = 17,
    PalPanel = 18,
    PalMinorPlanet = 19,
    PalMinorPlanetLabel = 20,
    PaletteEntryCount = 21,
};

// The colours that depend on the kind of object: 21 base colours, each in
// three shades (0 darkest, 1 dim, 2 normal) scaled by a common brightness,
// optionally reduced to their red channel to keep night vision (a colour
// without red takes its brightest channel as red instead).
class Palette {
public:
    Palette();

    // Stores one base colour (channels 0-255); takes effect at the next Rebuild.
    void SetBase(int entry, uint16_t red, uint16_t green, uint16_t blue);
    void Rebuild();

    void Brighter();
    // Does nothing once the brightness is below 0.1.
    void Dimmer();
    // Returns the new state.
    bool ToggleRedMode();
    // Dark colours on white paper, for printed and exported charts: every
    // entry keeps its hue, shade 2 is the darkest and shade 0 the lightest
    // (as a dim object is the fainter one on paper too). Brightness and red
    // mode do not apply while it is on; they come back when it is off.
    void SetInkSaving(bool on);
    bool InkSaving() const { return inkSaving_; }
    // What the colours stand on, and what labels are outlined with: black,
    // or white while saving ink.
    Colour Background() const { return inkSaving_ ? Colour(255, 255, 255) : Colour(0, 0, 0); }

    Colour Get(int entry, int shade) const { return shaded_[entry][shade]; }
    // The horizon, equator and grid keep their own colours outside the table,
    // but in red mode a blue line would spoil night vision as much as a blue
    // star: it turns red by its brightest channel, as the planets do.
    Colour Fixed(Colour c) const { return redMode_ && !inkSaving_ ? Colour(std::max({c.r, c.g, c.b}), 0, 0) : c; }
    float Brightness() const { return brightness_; }
    bool RedMode() const { return redMode_; }

private:
    std::array<std::array<Colour, 3>, PaletteEntryCount> shaded_{};
    // Channels kept in the order blue, green, red.
    std::array<std::array<uint16_t, 3>, PaletteEntryCount> base_{};
    bool redMode_ = false;
    float brightness_ = 0.5f;
    bool inkSaving_ = false;
};
