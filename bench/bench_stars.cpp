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
#include <ctime>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "bench/BenchSupport.h"
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
    std::printf("%-10s %zu stars: %8.2f ms wall (%9.0f stars/s), %8.2f ms processor (%9.0f stars/s)%s\n", what, stars,
                t.wall * 1e3, stars / t.wall, t.processor * 1e3, stars / t.processor, note);
}

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    const BenchCatalogue source(argc, argv);
    const std::string& path = source.path;

    std::size_t stars = 0;
    const Timing load = Best(5, [&] {
        StarCatalogue catalogue(path, {}, true);
        catalogue.Load(nullptr);
        stars = catalogue.stars().size();
    });
    Print("load", stars, load, "");

    const auto observer = StoppedObserver(22, 15, 1, 2026);

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

    TheObserver = nullptr;
    return 0;
}
