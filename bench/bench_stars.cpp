// Star catalogue speed: loading the Hipparcos catalogue and one recompute of
// every star's horizontal place with correction to the date.
//
//   bench_stars [catalogue file]
//
// Without an argument it reads data/sthip.dat, or, when that is missing, a
// generated file of the same size and layout.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <ctime>
#include <vector>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "catalogues/StarCatalogue.h"
#include "catalogues/TextCursor.h"

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of the whole process, every thread counted: on a busy
// machine it shows what the work costs, where the wall clock also counts the
// time other programs had the processors.
double ProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Timing {
    double wall = 1e30;
    double processor = 1e30;
};

constexpr int kGeneratedStars = 118218;

std::string GenerateCatalogue() {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const char* spectra[] = {"A0V", "K0III", "G2V", "M1.5Iab", "B9.5V", "F5IV-V", ""};
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
        std::snprintf(line, sizeof line, "H %d %d %d %d %.3f %c%d %d %.2f %.5f %.5f %.2f %d\n", i % 3 ? 0 : 1000 + i,
                      i + 1, rh, rm, rs, dec < 0 ? '-' : '+', dd, dm, ds, (unit(random) - 0.5) * 0.2,
                      (unit(random) - 0.5) * 0.2, 2.0 + 10.0 * unit(random), i % 97 == 0 ? 1 + i % 80 : 0);
        text += line;
        text += "\n\n";
        const char* spectral = spectra[i % 7];
        text += *spectral ? std::string(spectral) + " \n" : std::string("\n");
        text += i % 500 == 0 ? "Named Star\n" : "\n";
    }
    return text;
}

template <typename F>
Timing Best(int runs, F&& f) {
    Timing best;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const double processorStart = ProcessorSeconds();
        f();
        best.processor = std::min(best.processor, ProcessorSeconds() - processorStart);
        best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void Print(const char* what, std::size_t stars, const Timing& t, const char* note) {
    std::printf("%-10s %zu stars: %8.2f ms wall (%9.0f stars/s), %8.2f ms processor (%9.0f stars/s)%s\n", what,
                stars, t.wall * 1e3, stars / t.wall, t.processor * 1e3, stars / t.processor, note);
}

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    std::string path = argc > 1 ? argv[1] : "data/sthip.dat";
    std::filesystem::path generated;
    if (!std::filesystem::exists(path)) {
        generated = std::filesystem::temp_directory_path() / "velkaris-bench-sthip.dat";
        std::ofstream(generated, std::ios::binary) << GenerateCatalogue();
        std::printf("%s not found: using a generated catalogue of %d stars\n", path.c_str(), kGeneratedStars);
        path = generated.string();
    }

    std::size_t stars = 0;
    const Timing load = Best(5, [&] {
        StarCatalogue catalogue(path, {}, true);
        catalogue.Load(nullptr);
        stars = catalogue.stars().size();
    });
    Print("load", stars, load, "");

    Observer::Setup setup;
    setup.longitude.SetSexagesimal(6, 53, 0, false);
    setup.latitude.SetSexagesimal(52, 21, 0, false);
    Observer observer(setup);
    observer.setUseSystemClock(false);
    observer.stop();
    observer.setCivil(22, 0, 0, 15, 1, 2026);
    observer.update();
    TheObserver = &observer;

    StarCatalogue catalogue(path, {}, true);
    catalogue.Load(nullptr);
    std::size_t computed = 0;
    const Timing batch = Best(20, [&] { computed = catalogue.UpdateHorizontal(99.0f, true); });
    Print("recompute", computed, batch, ", corrected to the date");
    const Timing plain = Best(20, [&] { computed = catalogue.UpdateHorizontal(99.0f, false); });
    Print("recompute", computed, plain, ", catalogue places");
    const Timing single = Best(5, [&] {
        for (Star& s : catalogue.stars()) s.UpdateHorizontal(99.0f, true);
    });
    Print("per star", computed, single, ", corrected to the date, each star on its own");

    if (!generated.empty()) std::filesystem::remove(generated);
    return 0;
}
