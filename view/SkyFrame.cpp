#include "view/SkyFrame.h"

#include <algorithm>
#include <limits>

#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"

namespace {

void DrawCatalogue(SkyView& view, StarCatalogue& catalogue, std::vector<StarCatalogue::ComputedStar>& byHand) {
    if (!catalogue.loaded()) return;
    const std::span<Star> stars = catalogue.stars();
    if (catalogue.updated()) {
        view.DrawStars(stars, catalogue.computedStars());
        return;
    }
    // Before the first update only the stars themselves say which are
    // placed (tests and tools place them by hand); no place is known, so
    // each is drawn from its own altitude and azimuth.
    byHand.clear();
    for (std::size_t i = 0; i < stars.size(); ++i) {
        Star& star = stars[i];
        if (star.isComputed) {
            StarCatalogue::ComputedStar entry;
            entry.place.altitude = std::numeric_limits<double>::quiet_NaN();
            entry.index = static_cast<uint32_t>(i);
            byHand.push_back(entry);
        } else {
            star.onScreen = false;
        }
    }
    view.DrawStars(stars, byHand);
}

}  // namespace

bool DeepSkyShown(const DisplayOptions& o, int type, bool hasMessierNumber) {
    if (o[DisplayOptions::ShowMessierOnly] && !hasMessierNumber) return false;
    if (type == 1) return o[DisplayOptions::ShowGalaxies];
    if (type == 2 || type == 3) return o[DisplayOptions::ShowClusters];
    if (type > 3) return o[DisplayOptions::ShowOtherDSOs];
    return false;
}

void DrawFrame(SkyView& view, const SkyScene& scene) {
    DrawSky(view, scene);
    view.ShowReadout(scene.selected);
    view.Present();
}

void DrawSky(SkyView& view, const SkyScene& scene) {
    const DisplayOptions& o = view.Options();
    view.Clear();

    if (o[DisplayOptions::ShowUmbra] && scene.earthShadow) {
        view.DrawEarthShadow(*scene.earthShadow, scene.penumbraRadius, scene.umbraRadius);
    }
    if (o[DisplayOptions::ShowHorizontalGrid]) view.DrawHorizontalGrid();
    if (o[DisplayOptions::ShowEquatorialGrid]) view.DrawEquatorialGrid();
    if (o[DisplayOptions::ShowHorizon]) view.DrawHorizon();
    if (o[DisplayOptions::ShowEquator]) view.DrawEquator();

    if (o[DisplayOptions::ShowDSOs]) {
        for (const DeepSkyEntry& e : scene.deepSky) {
            if (!e.object) continue;
            e.object->onScreen = false;
            if (!DeepSkyShown(o, e.type, e.hasMessierNumber) || !e.object->isComputed) continue;
            view.DrawDeepSky(*e.object, e.radius, e.hasMessierNumber);
            // Marked even when its centre fell outside: selection may still pick it.
            e.object->onScreen = true;
        }
    }

    if (o[DisplayOptions::ShowStars]) {
        // The foundation catalogue goes on top of all the others.
        StarCatalogue* foundation = nullptr;
        std::vector<StarCatalogue::ComputedStar> byHand;
        for (StarCatalogue* c : scene.starCatalogues) {
            if (!c) continue;
            if (c->name == "foundation" && !foundation) {
                foundation = c;
                continue;
            }
            DrawCatalogue(view, *c, byHand);
        }
        if (foundation) DrawCatalogue(view, *foundation, byHand);
    }

    if (o[DisplayOptions::ShowConLines]) {
        for (const FigureEntry& f : scene.figures) {
            if (!f.complete) continue;
            for (Star* s : f.stars) {
                if (s && !s->onScreen) s->UpdateHorizontal(999.9f, true);
            }
            view.DrawFigure(f.stars, f.lines);
        }
    }

    if (o[DisplayOptions::ShowMinorPlanets]) {
        const std::size_t shown = ShownMinorPlanetCount(view.asteroidsToShow, scene.minorPlanets.size());
        for (std::size_t i = 0; i < shown; ++i) {
            const MinorPlanetEntry& m = scene.minorPlanets[i];
            if (!m.object) continue;
            if (m.object->isComputed) {
                view.DrawMinorPlanet(*m.object, m.number);
            } else {
                m.object->onScreen = false;
            }
        }
    }

    if (o[DisplayOptions::ShowPlanets]) {
        for (SkyObject* p : scene.planets) {
            if (p) view.DrawPlanet(*p);
        }
    }
    if (o[DisplayOptions::ShowSun] && scene.sun) view.DrawSun(*scene.sun, scene.sunRadius);
    if (o[DisplayOptions::ShowMoon] && scene.moon) view.DrawMoon(*scene.moon, scene.moonRadius);
}

std::size_t UpdateStarPositions(SkyView& view, const SkyScene& scene) {
    std::size_t computed = 0;
    const bool correct = view.Options()[DisplayOptions::HighAccuracy];
    for (StarCatalogue* c : scene.starCatalogues) {
        if (c && c->loaded()) computed += c->UpdateHorizontal(view.starLimit, correct);
    }
    return computed;
}
