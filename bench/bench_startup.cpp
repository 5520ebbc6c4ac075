// Start-up time: the controller without a window, on the default data and
// default settings, from the start of the program to its first painted frame
// (on an off-screen picture of 1280x800). Prints the first start-up, which
// includes the toolkit's own start, and the best of a few more in the same
// process, with the files in the system's cache.
//
//   bench_startup    (run from the folder that holds data/)
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/BenchSupport.h"
#include "controller/Planetarium.h"
#include "view/SkyPanel.h"

namespace {

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    if (!std::filesystem::exists("data/stfound.dat")) {
        std::fprintf(stderr, "bench_startup: data/ is missing (bash scripts/data.sh builds it)\n");
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const ScratchConfigHome config;
    QGuiApplication app(argc, argv);
    NullSkyPanel panel(1280, 800);
    PlanetariumLinks links;
    links.panel = &panel;
    double first = 0.0;
    {
        Planetarium planetarium(links);  // the constructor ends with the first frame
        first = Seconds(std::chrono::steady_clock::now() - start);
    }
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto again = std::chrono::steady_clock::now();
        Planetarium planetarium(links);
        best = std::min(best, Seconds(std::chrono::steady_clock::now() - again));
    }
    std::printf("start-up to the first painted frame: %.3f s (first), %.3f s (best of 5 more)\n", first, best);
    return 0;
}
