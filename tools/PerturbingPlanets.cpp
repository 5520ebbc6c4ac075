#include "tools/PerturbingPlanets.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <memory>

#include "solar/PlanetSeries.h"

namespace velkaris::tools {

namespace {

// Heliocentric ecliptic rectangular coordinates of date (au) from the L, B,
// R series at jd (TT).
Vector3 SeriesPlace(const PlanetSeries& series, double jdTT) {
    PlanetSeries::Place p = series.Evaluate(PlanetSeries::PowersAt(jdTT));
    double l = static_cast<double>(p.L), b = static_cast<double>(p.B), r = static_cast<double>(p.R);
    return {r * std::cos(b) * std::cos(l), r * std::cos(b) * std::sin(l), r * std::sin(b)};
}

}  // namespace

Vector3 EclipticOfDateToJ2000(const Vector3& ofDate, double jdTT) {
    // Both matrices turn the ICRS equator into an ecliptic; going back to
    // the equator from the date's ecliptic and out to J2000's cancels the
    // frame bias they share.
    double toDate[3][3], toJ2000[3][3];
    eraEcm06(jdTT, 0.0, toDate);
    eraEcm06(ERFA_DJ00, 0.0, toJ2000);
    double v[3] = {ofDate.x, ofDate.y, ofDate.z}, equatorial[3], out[3];
    eraTrxp(toDate, v, equatorial);
    eraRxp(toJ2000, equatorial, out);
    return {out[0], out[1], out[2]};
}

std::vector<PerturbingBody> PerturbingPlanets(const std::string& folder, Diagnostics& diag) {
    static const std::pair<const char*, const char*> planets[] = {
        {"Mercury", "la_Mercury.dat"}, {"Venus", "la_Venus.dat"},     {"Earth", "la_earth.dat"},
        {"Mars", "la_Mars.dat"},       {"Jupiter", "la_Jupiter.dat"}, {"Saturn", "la_Saturn.dat"},
        {"Uranus", "la_Uranus.dat"},   {"Neptune", "la_Neptune.dat"},
    };
    std::vector<PerturbingBody> bodies;
    for (const auto& [name, file] : planets) {
        auto series = std::make_shared<PlanetSeries>();
        std::string path = folder + "/" + file;
        SeriesFileStatus status = series->Load(path);
        if (status != SeriesFileStatus::Read || series->Empty()) {
            diag.Note(
                Format("asteroids.dat: %s cannot be read whole; the minor planets are integrated without %s's "
                       "pull",
                       path.c_str(), name));
            continue;
        }
        PerturbingBody body{name, PlanetGM(name), PlanetSampleDays(name),
                            [series](double jdTT) { return EclipticOfDateToJ2000(SeriesPlace(*series, jdTT), jdTT); }};
        // Series that put the planet far from its orbit would pull every
        // minor planet astray.
        double distance = body.place(2451545.0).Length() / PlanetSemiMajorAxis(name);
        if (!(distance > 0.7 && distance < 1.3)) {
            diag.Note(
                Format("asteroids.dat: %s places %s %.3g au from the Sun; the minor planets are integrated "
                       "without its pull",
                       path.c_str(), name, body.place(2451545.0).Length()));
            continue;
        }
        bodies.push_back(std::move(body));
    }
    return bodies;
}

}  // namespace velkaris::tools
