// How long bringing every minor planet's elements to one date takes (the
// data build's target: the whole of it under a minute on two cores), and how
// far the program's two-body motion from those elements drifts from the
// integrated orbit in the years after that date.
//
// Usage: bench_minor_planets [YYYY-MM-DD [asteroids.dat [series folder]]]
//   (defaults: today, /usr/share/kstars/asteroids.dat, data)

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tools/MinorPlanets.h"
#include "tools/PerturbingPlanets.h"

using namespace velkaris::tools;

namespace {

constexpr double Radians = 1.0 / DegreesPerRadian;

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Arcseconds(const Vector3& a, const Vector3& b) {
    return std::atan2(a.Cross(b).Length(), a.Dot(b)) * DegreesPerRadian * 3600.0;
}

KeplerOrbit OrbitOf(const MinorPlanetElements& p) {
    return {p.semiMajorAxis,  p.eccentricity,         p.inclination * Radians,
            p.node * Radians, p.perihelion * Radians, p.sourceMeanAnomaly * Radians};
}

double Percentile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    double epoch = TodayJD();
    if (argc > 1 && !ParseMinorEpoch(argv[1], epoch)) {
        std::fprintf(stderr, "bench_minor_planets: \"%s\" is not a date YYYY-MM-DD from 1900 to 2100\n", argv[1]);
        return 1;
    }
    std::string sourcePath = argc > 2 ? argv[2] : "/usr/share/kstars/asteroids.dat";
    std::string seriesFolder = argc > 3 ? argv[3] : "data";
    std::string text;
    if (!ReadWholeFile(sourcePath, text)) {
        std::fprintf(stderr, "bench_minor_planets: cannot read %s (install kstars-data)\n", sourcePath.c_str());
        return 1;
    }
    Diagnostics diag;
    std::vector<MinorPlanetElements> planets = ParseMinorPlanets(text, sourcePath, diag);
    std::vector<PerturbingBody> bodies = PerturbingPlanets(seriesFolder, diag);
    for (const std::string& m : diag.Messages()) std::printf("%s\n", m.c_str());
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());

    auto start = std::chrono::steady_clock::now();
    double first = epoch, last = epoch + MinorPlanetFitDays;
    for (const MinorPlanetElements& p : planets) {
        first = std::min(first, p.sourceEpochJD);
        last = std::max(last, p.sourceEpochJD);
    }
    PerturberTable table(bodies, first, last, threads);
    double tableSeconds = SecondsSince(start);
    auto integrationStart = std::chrono::steady_clock::now();
    std::vector<MinorPlanetElements> atEpoch = planets;
    std::size_t integrated = IntegrateToEpoch(atEpoch, epoch, table, threads, diag);
    double integrationSeconds = SecondsSince(integrationStart);
    std::printf(
        "%zu of %zu objects brought to %s on %u threads: planets' table %.2f s (%zu planets, %.0f days), "
        "integration %.2f s, together %.2f s\n",
        integrated, planets.size(), IsoDate(epoch).c_str(), threads, tableSeconds, table.BodyCount(), last - first,
        integrationSeconds, SecondsSince(start));

    // Drift of the two-body motion the program applies, from the elements
    // at the epoch, against the orbit integrated from the source's elements;
    // as seen from the Earth, which is what a chart shows.
    std::size_t earth = table.BodyCount();
    for (std::size_t b = 0; b < table.BodyCount(); ++b)
        if (table.Body(b).name == "Earth") earth = b;
    const double years[] = {0.5, 1, 1.5, 2, 3, 5, 10};
    PerturberTable ahead(bodies, first, epoch + 365.25 * years[std::size(years) - 1], threads);
    std::printf("\ngeocentric place from the elements against the integrated orbit, arcseconds\n");
    std::printf("%-22s", "years after the epoch");
    for (double y : years) std::printf(" %7.1f", y);
    std::printf("\n");
    std::vector<std::vector<double>> geo(std::size(years), std::vector<double>(atEpoch.size()));
    ParallelFor(atEpoch.size(), threads, [&](std::size_t i) {
        const MinorPlanetElements& p = atEpoch[i];
        KeplerOrbit orbit = OrbitOf(p);
        OrbitState state = StateFromOrbit(OrbitOf(planets[i]));
        double jd = planets[i].sourceEpochJD;
        for (std::size_t k = 0; k < std::size(years); ++k) {
            double target = epoch + 365.25 * years[k];
            if (!Integrate(state, jd, target, &ahead)) return;
            jd = target;
            KeplerOrbit twoBody = orbit;
            twoBody.meanAnomaly += p.meanMotion * Radians * (target - p.sourceEpochJD);
            Vector3 kepler = StateFromOrbit(twoBody).r;
            Vector3 observer;  // the Sun, without the Earth's series
            if (earth < ahead.BodyCount()) {
                std::vector<Vector3> places(ahead.BodyCount());
                ahead.Places(target, places.data());
                observer = places[earth];
            }
            geo[k][i] = Arcseconds(kepler - observer, state.r - observer);
        }
    });
    for (std::size_t i = 0; i < std::min<std::size_t>(4, atEpoch.size()); ++i) {
        std::printf("%-22s", (std::to_string(atEpoch[i].number) + " " + atEpoch[i].name).c_str());
        for (std::size_t k = 0; k < std::size(years); ++k) std::printf(" %7.1f", geo[k][i]);
        std::printf("\n");
    }
    for (auto [label, q] : {std::pair{"median of all", 0.5}, {"9 in 10 within", 0.9}, {"largest", 1.0}}) {
        std::printf("%-22s", label);
        for (std::size_t k = 0; k < std::size(years); ++k) std::printf(" %7.1f", Percentile(geo[k], q));
        std::printf("\n");
    }
    return 0;
}
