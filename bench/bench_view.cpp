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
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "catalogues/StarCatalogue.h"
#include "view/SkyFrame.h"
#include "view/SkyPanel.h"
#include "view/SkyView.h"

namespace {

constexpr int kGeneratedStars = 118218;

std::string GenerateCatalogue() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const char* spectra[] = {"A0V", "K0III", "G2V", "M1.5Iab", "B9.5V", "F5IV-V", ""};
    const char* bayer[] = {"Alp", "Bet", "Gam", "The1"};
    std::string text = std::to_string(kGeneratedStars) + "\nHipparcos\n";
    char line[160];
    for (int i = 0; i < kGeneratedStars; ++i) {
        const double ra = unit(random) * 24.0;
        const double dec = std::asin(2.0 * unit(random) - 1.0) * 180.0 / 3.141592653589793;
        const double decAbs = std::fabs(dec);
        const int rh = static_cast<int>(ra), rm = static_cast<int>((ra - rh) * 60);
        const double rs = (ra - rh - rm / 60.0) * 3600.0;
        const int dd = static_cast<int>(decAbs), dm = static_cast<int>((decAbs - dd) * 60);
        const double ds = (decAbs - dd - dm / 60.0) * 3600.0;
        // Magnitudes skewed faint, as in the real catalogue: about a third
        // of the stars are brighter than 8.
        const double mag = 12.5 - 11.0 * std::pow(unit(random), 1.6);
        std::snprintf(line, sizeof line, "H %d %d %d %d %.3f %c%d %d %.2f 0 0 %.2f %d\n", 1000 + i, i + 1, rh, rm,
                      rs, dec < 0 ? '-' : '+', dd, dm, ds, mag, i % 97 == 0 ? 1 + i % 80 : 0);
        text += line;
        text += i % 97 == 0 ? "Ori\n" : "\n";
        text += i % 61 == 0 ? std::string(bayer[i % 4]) + "\n" : std::string("\n");
        text += std::string(spectra[i % 7]) + " \n";
        text += i % 500 == 0 ? "Named Star\n" : "\n";
    }
    return text;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);

    std::string path = argc > 1 ? argv[1] : "data/sthip.dat";
    std::filesystem::path generated;
    if (!std::filesystem::exists(path)) {
        generated = std::filesystem::temp_directory_path() / "velkaris-bench-view-sthip.dat";
        std::ofstream(generated, std::ios::binary) << GenerateCatalogue();
        std::printf("%s not found: using a generated catalogue of %d stars\n", path.c_str(), kGeneratedStars);
        path = generated.string();
    }

    Observer::Setup setup;
    setup.longitude.SetSexagesimal(6, 53, 0, false);
    setup.latitude.SetSexagesimal(52, 21, 0, false);
    Observer observer(setup);
    observer.setUseSystemClock(false);
    observer.stop();
    observer.setCivil(21, 0, 0, 8, 12, 2026);
    observer.update();
    TheObserver = &observer;

    StarCatalogue catalogue(path, {}, true);
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
    if (!generated.empty()) std::filesystem::remove(generated);
    return 0;
}
