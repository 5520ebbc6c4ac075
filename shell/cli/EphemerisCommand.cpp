// velkaris-cli ephemeris: the Sun, the Moon and the planets as the
// planetarium places them for a moment and a place, as CSV.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/MinorPlanet.h"
#include "shell/cli/CliSky.h"
#include "shell/cli/CommandOptions.h"
#include "shell/cli/Commands.h"
#include "shell/cli/CsvText.h"
#include "shell/cli/TimePlaceOptions.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"
#include "view/SkyView.h"

namespace {

constexpr const char* kHeader =
    "body,ra_deg,dec_deg,distance,magnitude,illuminated,elongation_deg,diameter_arcsec,alt_deg,az_deg,rise,transit,"
    "set";

// The bodies in the order of the rows, by the names --bodies takes.
constexpr const char* kBodies[] = {"sun",     "moon",   "mercury", "venus",   "mars",
                                   "jupiter", "saturn", "uranus",  "neptune", "pluto"};

// One row: every value is given already formatted, "-" where a body has none.
struct Row {
    std::string body;
    SkyObject* object = nullptr;  // ra, dec, magnitude, altitude, azimuth and the rise/transit/set search
    std::string distance, illuminated, elongation, diameter;
};

std::string Printed(const char* format, double value) {
    if (!std::isfinite(value)) return "-";
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double ArcsecondsOf(const Angle& diameter) { return SignedDegrees(diameter.radians) * 3600.0; }

void PrintRow(const Row& row) {
    SkyObject& o = *row.object;
    HmsAngle rise, transit, set;
    const uint32_t status = o.RiseTransitSet(rise, transit, set);
    std::string riseText = status & RtsRise ? ClockText(rise) : "-";
    if (status & RtsNeverRises) riseText = "never-rises";
    if (status & RtsNeverSets) riseText = "never-sets";
    std::printf("%s,%.6f,%.6f,%s,%.2f,%s,%s,%s,%.4f,%.4f,%s,%s,%s\n", CsvField(row.body).c_str(), Degrees(o.ra.radians),
                SignedDegrees(o.dec.radians), row.distance.c_str(), static_cast<double>(o.magnitude),
                row.illuminated.c_str(), row.elongation.c_str(), row.diameter.c_str(),
                SignedDegrees(o.altitude.radians), Degrees(o.azimuth.radians), riseText.c_str(),
                status & RtsTransit ? ClockText(transit).c_str() : "-", status & RtsSet ? ClockText(set).c_str() : "-");
}

// The row of a body the planetarium shows, or nothing when it could not be
// placed (its series file is missing).
bool RowOf(Planetarium& sky, const std::string& body, Row& row) {
    row.body = body;
    if (body == "sun") {
        Sun* sun = sky.SunBody();
        if (!sun) return false;
        row = {body,     sun,      Printed("%.8f", sun->R),
               "1.0000", "0.0000", Printed("%.2f", ArcsecondsOf(sun->apparentDiameter))};
        return true;
    }
    if (body == "moon") {
        Moon* moon = sky.MoonBody();
        if (!moon) return false;
        // Its phase is measured from the Sun: without the Sun there is none.
        const bool lit = sky.SunBody() != nullptr;
        row = {body,
               moon,
               Printed("%.1f", moon->distanceKm),
               lit ? Printed("%.4f", moon->illuminatedFraction) : "-",
               lit ? Printed("%.4f", SignedDegrees(moon->elongation.radians)) : "-",
               Printed("%.2f", ArcsecondsOf(moon->apparentDiameter))};
        return true;
    }
    for (int i = 0; i < Planetarium::PlanetCount; ++i) {
        if (body != kBodies[i + 2]) continue;
        Planet* planet = sky.PlanetBody(i);
        if (!planet) return false;
        row = {body,
               planet,
               Printed("%.8f", planet->distance),
               Printed("%.4f", planet->illuminatedFraction),
               Printed("%.4f", SignedDegrees(planet->elongation.radians)),
               Printed("%.2f", ArcsecondsOf(planet->apparentDiameter))};
        return true;
    }
    return false;
}

bool Known(const std::string& name) {
    for (const char* b : kBodies)
        if (name == b) return true;
    return false;
}

// The most minor planets --minor takes.
constexpr unsigned long kMostMinorPlanets = 1000000;

bool ParseBodies(const std::vector<std::string>& args, std::vector<std::string>& bodies, std::size_t& minor,
                 std::string& error) {
    CommandOptions parser("ephemeris");
    parser.Value("--minor", [&](const std::string& value) -> std::string {
        const bool digits =
            !value.empty() && value.size() <= 7 && value.find_first_not_of("0123456789") == std::string::npos;
        const unsigned long n = digits ? std::strtoul(value.c_str(), nullptr, 10) : 0;
        if (n == 0 || n > kMostMinorPlanets)
            return "option --minor: '" + value + "' is not a number of minor planets from 1 to 1000000";
        minor = n;
        return {};
    });
    parser.Value("--bodies", [&](const std::string& value) -> std::string {
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = value.find(',', start);
            const std::string body =
                value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (!Known(body)) {
                return "option --bodies: '" + body +
                       "' is none of sun, moon, mercury, venus, mars, jupiter, saturn, uranus, neptune, pluto";
            }
            bodies.push_back(body);
            if (comma == std::string::npos) return {};
            start = comma + 1;
        }
    });
    if (!parser.Parse(args, error)) return false;
    // --minor adds its minor planets to the ten bodies unless --bodies names others.
    if (bodies.empty()) bodies.assign(std::begin(kBodies), std::end(kBodies));
    return true;
}

}  // namespace

void PrintEphemerisHelp() {
    std::printf(
        "Usage: velkaris-cli ephemeris [--bodies NAME[,NAME...]] [--minor N] [OPTIONS]\n\n"
        "Prints the Sun, the Moon and the planets as the planetarium places them, as CSV\n"
        "with the header\n"
        "  %s\n"
        "ra/dec in degrees: the Sun's apparent place, the planets' geometric place of\n"
        "date, the Moon's topocentric apparent place; distance in au (the Moon's in km);\n"
        "illuminated fraction; elongation from the Sun and altitude/azimuth (from North\n"
        "through East) in degrees; apparent diameter in arcseconds; rise, transit and\n"
        "set as HH:MM:SS local civil time of the date, or -; never-rises or never-sets\n"
        "in the rise column for a body that stays below or above the horizon all day.\n\n"
        "  --bodies NAME[,NAME...]   these bodies only, in this order: sun, moon, mercury,\n"
        "                            venus, mars, jupiter, saturn, uranus, neptune, pluto.\n"
        "  --minor N                 the first N minor planets of data/asteroids.dat after\n"
        "                            the bodies (all ten unless --bodies names some), named\n"
        "                            \"number name\" (1 Ceres): geometric geocentric place\n"
        "                            of date and distance in au from their orbital\n"
        "                            elements; no phase, elongation or diameter (-).\n\n%s"
        "  --help                    this text.\n\n"
        "Progress goes to stderr. Exit status: 0; 1 when a body could not be placed\n"
        "(its series file in data/ is missing or damaged) or data/asteroids.dat holds\n"
        "fewer minor planets than asked for; 2 for a malformed or unknown option.\n",
        kHeader, TimePlaceUsage());
}

int RunEphemerisCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    TimePlaceOptions timePlace;
    std::vector<std::string> bodies;
    std::size_t minor = 0;
    std::string error;
    if (!ConsumeTimePlaceOptions(rest, timePlace, error) || !ParseBodies(rest, bodies, minor, error)) {
        std::fprintf(stderr, "velkaris-cli ephemeris: %s\n", error.c_str());
        return 2;
    }
    CliSky sky(timePlace, "ephemeris");
    int status = 0;
    std::vector<Row> rows;
    for (const std::string& body : bodies) {
        Row row;
        if (RowOf(*sky, body, row)) {
            rows.push_back(row);
        } else {
            std::fprintf(stderr, "velkaris-cli ephemeris: %s cannot be placed without its series file\n", body.c_str());
            status = 1;
        }
    }
    if (minor > 0) {
        // The planetarium computes as many as it shows.
        sky->View()->asteroidsToShow = static_cast<int32_t>(minor);
        sky->Recompute();
        const auto planets = sky->MinorPlanets().planets();
        if (planets.size() < minor) {
            std::fprintf(stderr, "velkaris-cli ephemeris: data/asteroids.dat holds %zu minor planets, not %zu\n",
                         planets.size(), minor);
            status = 1;
        }
        if (!sky->SunBody() && !planets.empty()) {
            std::fprintf(stderr, "velkaris-cli ephemeris: minor planets cannot be placed without the Sun\n");
            status = 1;
        } else {
            for (MinorPlanet& p : planets.first(std::min(minor, planets.size())))
                rows.push_back({p.GetName(), &p, Printed("%.8f", p.distance), "-", "-", "-"});
        }
    }
    std::printf("%s\n", kHeader);
    for (const Row& row : rows) PrintRow(row);
    return status;
}
