#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "view/SkyView.h"

class SkyObject;
class Star;
class StarCatalogue;

struct DeepSkyEntry {
    SkyObject* object = nullptr;
    double radius = 0.0;  // angular radius, radians
    int16_t type = 0;     // 1 galaxy, 2-3 clusters, above 3 other; 0 and below never drawn
    bool hasMessierNumber = false;
};

struct FigureEntry {
    std::span<Star* const> stars;
    std::span<const FigureLine> lines;
    bool complete = false;
};

struct MinorPlanetEntry {
    SkyObject* object = nullptr;
    int32_t number = 0;
};

// Everything one frame shows, as non-owning references into the owner's
// lists. Kinds that are not loaded stay empty or null.
struct SkyScene {
    // Loaded star catalogues in catalogue order; the one named "foundation"
    // is drawn after the others wherever it stands here.
    std::vector<StarCatalogue*> starCatalogues;
    std::vector<DeepSkyEntry> deepSky;
    std::vector<FigureEntry> figures;
    // Only the first asteroidsToShow of these are drawn.
    std::vector<MinorPlanetEntry> minorPlanets;
    std::vector<SkyObject*> planets;
    SkyObject* sun = nullptr;
    double sunRadius = 0.0;  // half the apparent diameter, radians
    SkyObject* moon = nullptr;
    double moonRadius = 0.0;
    SkyObject* earthShadow = nullptr;
    double penumbraRadius = 0.0;
    double umbraRadius = 0.0;
    // The selected object, whose readout ends the frame (null: none).
    SkyObject* selected = nullptr;
};

// Whether the deep-sky layer shows an object of this type under the display
// options (type, Messier-only and switch per kind; type 0 and below never).
// How many of the loaded minor planets are placed and drawn: the first
// asteroidsToShow of them, none when it is not positive.
inline std::size_t ShownMinorPlanetCount(int32_t asteroidsToShow, std::size_t loaded) {
    return asteroidsToShow > 0 ? std::min(static_cast<std::size_t>(asteroidsToShow), loaded) : 0;
}
bool DeepSkyShown(const DisplayOptions& options, int type, bool hasMessierNumber);

// Paints one whole frame, layer by layer, each gated by its display option,
// fills the readout of the selected object (write the view's rise, transit
// and set texts first) and presents the frame. Positions must be current:
// stars through UpdateStarPositions, the other kinds by their owner.
void DrawFrame(SkyView& view, const SkyScene& scene);
// The layers of a frame alone, on whatever the view paints on at the time:
// no readout, nothing presented.
void DrawSky(SkyView& view, const SkyScene& scene);

// Brings the stars of the scene up to date for the observer's moment, at the
// view's star limit, with the correction to date when high accuracy is on.
// Returns the number of stars computed.
std::size_t UpdateStarPositions(SkyView& view, const SkyScene& scene);
