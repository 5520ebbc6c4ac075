// Sky frame painting speed: a 1920x1080 stereographic frame of the whole sky
// with the Hipparcos catalogue at limit magnitude 8, star labels, both grids
// and the horizon on. Prints frames per second and stars drawn per second.
//
//   bench_view [data/sthip.dat]
//
// Without the catalogue file a generated one of the same size is used.
#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "astro/Constants.h"
#include "bench/BenchSupport.h"
#include "astro/Observer.h"
#include "catalogues/StarCatalogue.h"
#include "view/SkyFrame.h"
#include "view/SkyPanel.h"
#include "view/SkyView.h"

namespace {

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);

    const BenchCatalogue source(argc, argv);
    const auto observer = StoppedObserver(21, 8, 12, 2026);

    StarCatalogue catalogue(source.path, {}, true);
    if (!catalogue.Load(nullptr)) {
        std::fprintf(stderr, "bench_view: %s\n", catalogue.lastProblem().c_str());
        return 1;
    }

    SkyViewSettings settings;
    settings.projection = Stereographic;
    settings.elevation = static_cast<double>(Pi) / 2;  // the zenith: the whole sky in one picture
    settings.starLimit = 8.0f;
    DisplayOptions& o = settings.options;
    o[DisplayOptions::ShowStarNames] = true;
    o[DisplayOptions::ShowBayerId] = true;
    o[DisplayOptions::ShowFlamsteedId] = true;
    o[DisplayOptions::ShowHorizon] = true;
    o[DisplayOptions::ShowHorizontalGrid] = true;
    o[DisplayOptions::ShowEquatorialGrid] = true;
    NullSkyPanel panel(1920, 1080);
    SkyView view(settings, &panel);
    view.SetScale(250.0f);  // the horizon circle fills the height

    SkyScene scene;
    scene.starCatalogues.push_back(&catalogue);
    const std::size_t computed = UpdateStarPositions(view, scene);

    DrawFrame(view, scene);  // warm-up: fonts, caches
    std::size_t drawn = 0;
    for (const Star& s : catalogue.stars()) drawn += s.onScreen ? 1 : 0;

    constexpr int kFrames = 60;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) DrawFrame(view, scene);
    const double paint = Seconds(std::chrono::steady_clock::now() - start) / kFrames;

    const auto start2 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) {
        UpdateStarPositions(view, scene);
        DrawFrame(view, scene);
    }
    const double cycle = Seconds(std::chrono::steady_clock::now() - start2) / kFrames;

    std::printf("stars loaded %zu, computed (mag <= 8) %zu, drawn %zu\n", catalogue.stars().size(), computed, drawn);
    std::printf("frame paint:             %7.2f ms  %7.1f frames/s  %10.0f stars drawn/s\n", paint * 1e3,
                1.0 / paint, drawn / paint);
    std::printf("recompute + frame paint: %7.2f ms  %7.1f frames/s  %10.0f stars drawn/s\n", cycle * 1e3,
                1.0 / cycle, drawn / cycle);
    if (argc > 2) view.Image().save(QString::fromLocal8Bit(argv[2]));

    TheObserver = nullptr;
    return 0;
}
