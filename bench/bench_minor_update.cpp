// Minor-planet recompute speed: placing 10,000 minor planets for one moment
// (Kepler's equation, the geocentric place and the magnitude, then altitude
// and azimuth), as the update cycle does with AsteroidsToShow = 10000.
//
//   bench_minor_update [data/asteroids.dat]
//
// The file's entries are used, repeated up to 10,000 when it holds fewer;
// without the file generated main-belt orbits are used.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "astro/Constants.h"
#include "bench/BenchSupport.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/TextCursor.h"
#include "platform/LargeMemory.h"

namespace {

constexpr int kPlanets = 10000;

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::string Entries(const std::string& path) {
    std::string lines;
    FileText file;
    if (file.Read(path)) {
        TextCursor text(file.view());
        text.SkipLine();
        while (!text.AtEnd()) {
            const std::string_view line = text.TakeLine();
            if (!line.empty()) lines.append(line).append("\n");
        }
    }
    std::string out = std::to_string(kPlanets) + "\n";
    if (lines.empty()) {
        std::printf("%s not found: using %d generated orbits\n", path.c_str(), kPlanets);
        std::mt19937 random(5);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        char line[160];
        for (int i = 0; i < kPlanets; ++i) {
            const double a = 2.1 + 1.2 * unit(random);
            std::snprintf(line, sizeof line, "%d %-18s %.6f %.6f %.6f %.6f %.8f %.12f %.2f 0.15\n", i + 1, "Rock",
                          360 * unit(random), 360 * unit(random), 360 * unit(random), 20 * unit(random),
                          0.3 * unit(random), 0.9856076686 / std::pow(a, 1.5), 10 + 8 * unit(random));
            out += line;
        }
        return out;
    }
    for (std::size_t n = 0; n < kPlanets;) {
        for (std::size_t start = 0; start < lines.size() && n < kPlanets; ++n) {
            const std::size_t end = lines.find('\n', start);
            out.append(lines, start, end - start + 1);
            start = end + 1;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    const auto observer = StoppedObserver(21, 8, 12, 2026);
    MinorPlanetList list;
    list.LoadText(Entries(argc > 1 ? argv[1] : "data/asteroids.dat"), "bench", nullptr);
    // Where the Sun stands on 8 December 2026, near enough for the timing.
    const SunPosition sun{0.19, -0.97, 0.0, 0.988};

    list.PlaceFirst(list.size(), sun);  // warm-up
    constexpr int kRounds = 50;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) list.PlaceFirst(list.size(), sun);
    const double place = Seconds(std::chrono::steady_clock::now() - start) / kRounds;

    std::size_t computed = 0;
    for (const MinorPlanet& p : list.planets()) computed += p.isComputed && std::isfinite(p.magnitude) ? 1 : 0;
    std::printf("minor planets %zu, placed with a magnitude %zu\n", list.size(), computed);
    std::printf("recompute all:  %7.2f ms (target 5 ms)  %6.0f ns each\n", place * 1e3, place * 1e9 / list.size());
    TheObserver = nullptr;
    return 0;
}
