// Deep-sky drawing speed: what drawing every deep-sky object adds to a
// 1920x1080 stereographic frame of the whole sky (no Messier-only filter, no
// magnitude limit, names on), and what placing them all costs.
//
//   bench_deepsky [data/dsocat.dat]
//
// Without the file a generated catalogue of the same size is used.
#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "astro/Constants.h"
#include "bench/BenchSupport.h"
#include "catalogues/DeepSkyObject.h"
#include "view/SkyFrame.h"
#include "view/SkyPanel.h"
#include "view/SkyView.h"

namespace {

constexpr int kGeneratedObjects = 13960;

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Objects spread evenly over the sky, mostly faint galaxies, a hundred with
// Messier numbers, a third with common names.
std::string GenerateDeepSky() {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::string text = std::to_string(kGeneratedObjects) + "\n";
    char line[160];
    for (int i = 0; i < kGeneratedObjects; ++i) {
        const double ra = unit(random) * 24.0;
        const double dec = std::asin(2.0 * unit(random) - 1.0) * 180.0 / 3.141592653589793;
        const int rh = static_cast<int>(ra), rm = static_cast<int>((ra - rh) * 60);
        const double rs = (ra - rh - rm / 60.0) * 3600.0;
        const double decAbs = std::fabs(dec);
        const int dd = static_cast<int>(decAbs), dm = static_cast<int>((decAbs - dd) * 60);
        std::snprintf(line, sizeof line, "%d %d %d %d %d %.1f %c%d %d %.2f %.1f%s\n", i + 1, 1 + i % 5,
                      i % 127 == 0 ? 1 + i / 127 : 0, rh, rm, rs, dec < 0 ? '-' : '+', dd, dm,
                      6.0 + 10.0 * unit(random), 0.5 + 20.0 * unit(random), i % 3 == 0 ? " Named Object" : "");
        text += line;
        text += "vF, S, R\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const auto observer = StoppedObserver(21, 8, 12, 2026);

    DeepSkyCatalogue catalogue;
    const std::string path = argc > 1 ? argv[1] : "data/dsocat.dat";
    if (!catalogue.Load(path, nullptr)) {
        std::printf("%s not found: using a generated catalogue of %d objects\n", path.c_str(), kGeneratedObjects);
        catalogue.LoadText(GenerateDeepSky(), nullptr);
    }

    SkyViewSettings settings;
    settings.projection = Stereographic;
    settings.elevation = static_cast<double>(Pi) / 2;  // the zenith: the whole sky in one picture
    settings.dsoLimit = 100.0f;
    settings.options[DisplayOptions::ShowMessierOnly] = false;
    NullSkyPanel panel(1920, 1080);
    SkyView view(settings, &panel);
    view.SetScale(250.0f);  // the horizon circle fills the height

    SkyScene scene;
    for (DeepSkyObject& o : catalogue.objects()) {
        scene.deepSky.push_back({&o, o.radius, static_cast<int16_t>(o.type), o.messier != 0});
    }

    constexpr int kRounds = 40;
    const auto placeStart = std::chrono::steady_clock::now();
    std::size_t computed = 0;
    for (int r = 0; r < kRounds; ++r) {
        computed = 0;
        for (DeepSkyObject& o : catalogue.objects()) computed += o.UpdateHorizontal(view.dsoLimit, false) ? 1 : 0;
    }
    const double place = Seconds(std::chrono::steady_clock::now() - placeStart) / kRounds;

    DrawFrame(view, scene);  // warm-up: fonts, caches
    std::size_t drawn = 0, inView = 0;
    for (const DeepSkyObject& o : catalogue.objects()) {
        drawn += o.onScreen ? 1 : 0;
        inView += o.onScreen && view.IsInView(o.screenX, o.screenY) ? 1 : 0;
    }

    const auto timeFrames = [&] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kRounds; ++i) DrawFrame(view, scene);
        return Seconds(std::chrono::steady_clock::now() - start) / kRounds;
    };
    const double with = timeFrames();
    view.Options()[DisplayOptions::ShowDSOs] = false;
    const double without = timeFrames();

    std::printf("deep-sky objects loaded %zu, computed %zu, drawn %zu (centre in view %zu)\n", catalogue.size(),
                computed, drawn, inView);
    std::printf("placing all:          %7.2f ms\n", place * 1e3);
    std::printf("frame without them:   %7.2f ms\n", without * 1e3);
    std::printf("frame with them:      %7.2f ms\n", with * 1e3);
    std::printf("drawing them adds:    %7.2f ms (target 5 ms)\n", (with - without) * 1e3);

    TheObserver = nullptr;
    return 0;
}
