#pragma once

#include <string>
#include <vector>

#include "tools/DataText.h"
#include "tools/OrbitIntegration.h"

namespace velkaris::tools {

// The common epoch of the elements file, 1998 July 6.0.
constexpr double MinorPlanetEpochJD = 2451000.5;
// The year length the reader uses to turn the mean motion into the axis.
constexpr double MinorPlanetSiderealYear = 365.2568984;

// The dates the elements may be brought to, 1900-01-01 to 2100-12-31. The
// series and the integration hold far beyond, but the table of the planets'
// places grows with the years between the sources' epochs and this one.
constexpr double MinorEpochFirstJD = 2415020.5;
constexpr double MinorEpochLastJD = 2488433.5;
// A "YYYY-MM-DD" within that span, as the Julian date of its 0h.
bool ParseMinorEpoch(const std::string& text, double& jd);

struct MinorPlanetElements {
    int number = 0;            // 0 for an unnumbered object
    std::string name;          // at most 18 characters
    double node = 0;           // degrees, J2000 ecliptic
    double perihelion = 0;     // degrees
    double meanAnomaly = 0;    // degrees, at MinorPlanetEpochJD
    double inclination = 0;    // degrees
    double eccentricity = 0;
    double meanMotion = 0;     // degrees per day
    double absoluteMagnitude = 0;
    double slope = 0.15;
    // The epoch (JD, TT) the angles osculate at, the source's own or the one
    // they were integrated to, and the mean anomaly (degrees) there.
    double sourceEpochJD = 0;
    double sourceMeanAnomaly = 0;
    double semiMajorAxis = 0;  // au
};

// The mean motion in degrees per day that makes the reader's Kepler's-third-
// law axis come out as `a` again.
double MeanMotionForAxis(double semiMajorAxis);

// KStars' asteroids.dat (JSON of JPL small-body elements). Objects on open
// orbits are reported and left out; numbered objects come first in number
// order, then the rest in the source's order.
std::vector<MinorPlanetElements> ParseMinorPlanets(const std::string& json, const std::string& fileName,
                                                   Diagnostics& diag);

// Integrates every object's orbit from its elements' epoch to epochJD (TT)
// under the pull of the table's planets and replaces its elements by the
// osculating ones there, carried to the file's epoch by two-body motion as
// the reader runs them. The table must span every object's epoch and
// epochJD. An object whose integration fails (a close encounter the steps
// cannot follow, an orbit that opens) keeps its elements and is reported.
// Returns the number of objects brought to epochJD.
std::size_t OsculateAt(std::vector<MinorPlanetElements>& planets, double epochJD, const PerturberTable& table,
                       unsigned threads, Diagnostics& diag);

std::string FormatMinorPlanets(const std::vector<MinorPlanetElements>& planets);

}  // namespace velkaris::tools
