#pragma once

// What the benchmark programs share: the catalogue they time (the real
// Hipparcos file, or a generated one of the same size and layout when it is
// missing) and an observer stopped at a fixed moment at the default place.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "astro/Observer.h"

constexpr int kGeneratedStars = 118218;

// Magnitudes are skewed faint, as in the real catalogue (about a third of the
// stars brighter than 8); some stars carry labels so that label drawing costs
// what it costs with real data.
inline std::string GenerateCatalogue() {
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
        const double mag = 12.5 - 11.0 * std::pow(unit(random), 1.6);
        const double pmRa = (unit(random) - 0.5) * 0.2, pmDec = (unit(random) - 0.5) * 0.2;
        std::snprintf(line, sizeof line, "H %d %d %d %d %.3f %c%d %d %.2f %.5f %.5f %.2f %d\n", i % 3 ? 0 : 1000 + i,
                      i + 1, rh, rm, rs, dec < 0 ? '-' : '+', dd, dm, ds, pmRa, pmDec, mag,
                      i % 97 == 0 ? 1 + i % 80 : 0);
        text += line;
        text += i % 97 == 0 ? "Ori\n" : "\n";
        text += i % 61 == 0 ? std::string(bayer[i % 4]) + "\n" : std::string("\n");
        text += std::string(spectra[i % 7]) + " \n";
        text += i % 500 == 0 ? "Named Star\n" : "\n";
    }
    return text;
}

// The catalogue named on the command line, else data/sthip.dat, else a
// generated one written to a temporary file that the caller removes.
struct BenchCatalogue {
    std::string path;
    std::filesystem::path generated;

    BenchCatalogue(int argc, char** argv) : path(argc > 1 ? argv[1] : "data/sthip.dat") {
        if (std::filesystem::exists(path)) return;
        generated = std::filesystem::temp_directory_path() / "velkaris-bench-sthip.dat";
        std::ofstream(generated, std::ios::binary) << GenerateCatalogue();
        std::printf("%s not found: using a generated catalogue of %d stars\n", path.c_str(), kGeneratedStars);
        path = generated.string();
    }
    ~BenchCatalogue() {
        if (!generated.empty()) std::filesystem::remove(generated);
    }
};

// An observer at 6°53' E, 52°21' N, stopped at the given civil moment and
// published as the program's observer.
inline std::unique_ptr<Observer> StoppedObserver(int hour, int day, int month, int year) {
    Observer::Setup setup;
    setup.longitude.SetSexagesimal(6, 53, 0, false);
    setup.latitude.SetSexagesimal(52, 21, 0, false);
    auto observer = std::make_unique<Observer>(setup);
    observer->setUseSystemClock(false);
    observer->stop();
    observer->setCivil(static_cast<int16_t>(hour), 0, 0, static_cast<int16_t>(day), static_cast<int16_t>(month),
                       static_cast<int16_t>(year));
    observer->update();
    TheObserver = observer.get();
    return observer;
}

// Settings of the benchmark's own, in a fresh folder that is removed again:
// the user's settings are neither read nor touched, and every value starts
// at its default.
struct ScratchConfigHome {
    std::filesystem::path path;

    ScratchConfigHome() {
        path = std::filesystem::temp_directory_path() /
               ("velkaris-bench-config-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(path);
        setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    }
    ~ScratchConfigHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};
