#include "tools/PerturbingPlanets.h"

#include <erfa.h>
#include <erfam.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace velkaris::tools {

namespace {

struct Term {
    double a, b, c;
};
using Series = std::array<std::vector<Term>, 18>;  // L0..L5, B0..B5, R0..R5

// The series file: for each of the 18 series a label, a term count and the
// terms' A B C, as a stream of numbers.
bool LoadSeries(const std::string& path, Series& series)
{
    std::string text;
    if (!ReadWholeFile(path, text)) return false;
    const char* p = text.c_str();
    auto next = [&](double& value) {
        char* end = nullptr;
        errno = 0;
        value = std::strtod(p, &end);
        if (end == p || errno != 0) return false;
        p = end;
        return true;
    };
    std::size_t total = 0;
    for (auto& s : series) {
        double label = 0, count = 0;
        if (!next(label) || !next(count) || count < 0 || count > 65535) return false;
        s.resize(static_cast<std::size_t>(count));
        for (Term& t : s)
            if (!next(t.a) || !next(t.b) || !next(t.c)) return false;
        total += s.size();
    }
    return total > 0;
}

// Heliocentric ecliptic rectangular coordinates of date (au) from the L, B,
// R series at jd (TT).
Vector3 SeriesPlace(const Series& series, double jdTT)
{
    double tau = (jdTT - 2451545.0) / 365250.0;
    double lbr[3];
    for (int coordinate = 0; coordinate < 3; ++coordinate) {
        double total = 0, power = 1;
        for (int k = 0; k < 6; ++k) {
            double sum = 0;
            for (const Term& t : series[static_cast<std::size_t>(coordinate * 6 + k)])
                sum += t.a * std::cos(t.b + t.c * tau);
            total += sum * power;
            power *= tau;
        }
        lbr[coordinate] = total;
    }
    double cosB = std::cos(lbr[1]);
    return {lbr[2] * cosB * std::cos(lbr[0]), lbr[2] * cosB * std::sin(lbr[0]), lbr[2] * std::sin(lbr[1])};
}

}  // namespace

Vector3 EclipticOfDateToJ2000(const Vector3& ofDate, double jdTT)
{
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

std::vector<PerturbingBody> PerturbingPlanets(const std::string& folder, Diagnostics& diag)
{
    static const std::pair<const char*, const char*> planets[] = {
        {"Mercury", "la_Mercury.dat"}, {"Venus", "la_Venus.dat"},     {"Earth", "la_earth.dat"},
        {"Mars", "la_Mars.dat"},       {"Jupiter", "la_Jupiter.dat"}, {"Saturn", "la_Saturn.dat"},
        {"Uranus", "la_Uranus.dat"},   {"Neptune", "la_Neptune.dat"},
    };
    std::vector<PerturbingBody> bodies;
    for (const auto& [name, file] : planets) {
        auto series = std::make_shared<Series>();
        std::string path = folder + "/" + file;
        if (!LoadSeries(path, *series)) {
            diag.Note(Format("asteroids.dat: %s cannot be read; the minor planets are integrated without %s's pull",
                             path.c_str(), name));
            continue;
        }
        PerturbingBody body{name, PlanetGM(name), PlanetSampleDays(name), [series](double jdTT) {
                                return EclipticOfDateToJ2000(SeriesPlace(*series, jdTT), jdTT);
                            }};
        // Series that put the planet far from its orbit would pull every
        // minor planet astray.
        double distance = body.place(2451545.0).Length() / PlanetSemiMajorAxis(name);
        if (!(distance > 0.7 && distance < 1.3)) {
            diag.Note(Format("asteroids.dat: %s places %s %.3g au from the Sun; the minor planets are integrated "
                             "without its pull",
                             path.c_str(), name, body.place(2451545.0).Length()));
            continue;
        }
        bodies.push_back(std::move(body));
    }
    return bodies;
}

}  // namespace velkaris::tools
