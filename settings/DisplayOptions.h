#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What the sky view draws: 27 switches in a fixed order. The order is that of
// the stored values, the preferences check boxes and the keyboard toggles.
struct DisplayOptions {
    enum Index : std::size_t {
        ShowStars = 0,
        ShowStarNames = 1,
        ShowBayerId = 2,
        ShowFlamsteedId = 3,
        ShowPlanets = 4,
        ShowPlanetNames = 5,
        ShowHorizon = 6,
        ShowEquator = 7,
        ShowHorizontalGrid = 8,
        ShowEquatorialGrid = 9,
        ShowDSOs = 10,
        ShowDSONames = 11,
        ShowConLines = 12,
        ShowMessierOnly = 13,
        ShowGalaxies = 14,
        ShowClusters = 15,
        ShowOtherDSOs = 16,
        ShowSun = 17,
        ShowMoon = 18,
        ShowSunName = 19,
        ShowMoonName = 20,
        ShowUmbra = 21,
        ShowHD = 22,
        ShowMinorPlanets = 23,
        ShowMPNames = 24,
        ShowMPNumbers = 25,
        HighAccuracy = 26,
        Count = 27,
    };

    // Stored value names, in member order.
    static constexpr std::array<const char*, Count> Names = {
        "ShowStars",       "ShowStarNames", "ShowBayerId",  "ShowFlamsteedId",    "ShowPlanets",
        "ShowPlanetNames", "ShowHorizon",   "ShowEquator",  "ShowHorizontalGrid", "ShowEquatorialGrid",
        "ShowDSOs",        "ShowDSONames",  "ShowConLines", "ShowMessierOnly",    "ShowGalaxies",
        "ShowClusters",    "ShowOtherDSOs", "ShowSun",      "ShowMoon",           "ShowSunName",
        "ShowMoonName",    "ShowUmbra",     "ShowHD",       "ShowMinorPlanets",   "ShowMPNames",
        "ShowMPNumbers",   "HighAccuracy",
    };
    static constexpr std::array<bool, Count> Defaults = {
        true, true, false, false, true, true, true, false, false, false, true, true, false, true,
        true, true, true,  true,  true, true, true, false, false, false, true, true, true,
    };

    std::array<bool, Count> flags = Defaults;

    bool& operator[](std::size_t i) { return flags[i]; }
    bool operator[](std::size_t i) const { return flags[i]; }
    bool operator==(const DisplayOptions&) const = default;
};
