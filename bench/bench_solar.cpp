// Times one update of the Sun, the Moon, the eight planets (Pluto included)
// and the Earth's shadow on the full series of data/, and the rise, transit
// and set searches of the Sun, the Moon and a planet. Targets: an update
// under 1 ms, a Moon search under 5 ms.
//
// Usage: bench_solar [data folder's parent, default the working directory]
#include <chrono>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

#include "astro/Constants.h"
#include "bench/BenchSupport.h"
#include "solar/EarthShadow.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// The best of several rounds of n calls, in microseconds a call: the least
// disturbed by the other work of a shared machine.
template <class F>
double Best(int rounds, int n, F f) {
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < n; ++i) f(i);
        best = std::min(best, Microseconds(Clock::now() - start) / n);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    if (argc > 1 && chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    const auto observer = StoppedObserver(21, 8, 12, 2026);
    Sun sun;
    if (!sun.Available()) {
        std::fprintf(stderr, "bench_solar: no %s; run scripts/data.sh first\n", sun.SeriesPath().c_str());
        return 1;
    }
    Moon moon(&sun);
    EarthShadow shadow(&sun, &moon);
    const char* names[] = {"Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"};
    const double diameters[] = {6.74, 16.92, 9.36, 196.94, 165.6, 65.8, 62.2};
    const double magnitudes[] = {-0.42, -4.40, -1.52, -9.40, -8.80, -7.19, -6.87};
    std::vector<std::unique_ptr<Planet>> planets;
    std::size_t terms = sun.earth.TermCount();
    for (int i = 0; i < 7; ++i) {
        planets.push_back(std::make_unique<Planet>(names[i], diameters[i], magnitudes[i], &sun));
        terms += planets.back()->series.TermCount();
    }
    planets.push_back(std::make_unique<Pluto>(&sun));

    const double update = Best(7, 200, [&](int) {
        sun.Position(0);
        sun.UpdateHorizontal(99, false);
        moon.Position(0);
        moon.UpdateHorizontal(99, false);
        shadow.ComputeShadow();
        shadow.UpdateHorizontal(99, false);
        for (auto& p : planets) {
            p->ComputePosition(0);
            p->UpdateHorizontal(99, false);
        }
    });
    HmsAngle rise, transit, set;
    const double moonSearch = Best(5, 20, [&](int) { moon.RiseTransitSet(rise, transit, set); });
    const double sunSearch = Best(5, 10, [&](int) { sun.RiseTransitSet(rise, transit, set); });
    const double mercurySearch = Best(5, 5, [&](int) { planets[0]->RiseTransitSet(rise, transit, set); });

    std::printf("series terms summed per update: %zu\n", terms);
    std::printf("one update of Sun, Moon, shadow and 8 planets: %8.1f us (target 1000)\n", update);
    std::printf("Moon rise/transit/set search:                  %8.1f us (target 5000)\n", moonSearch);
    std::printf("Sun rise/transit/set search:                   %8.1f us\n", sunSearch);
    std::printf("Mercury rise/transit/set search:               %8.1f us\n", mercurySearch);
    return update < 1000 && moonSearch < 5000 ? 0 : 1;
}
