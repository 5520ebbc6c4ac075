#pragma once

#include <string>
#include <vector>

#include "tools/DataText.h"
#include "tools/OrbitIntegration.h"

namespace velkaris::tools {

// The common epoch of the elements file, 1998 July 6.0.
constexpr double MinorPlanetEpochJD = 2451000.5;
// TT − UT in days. The elements' epochs are in TT, as is the integration;
// the reader counts days on the clock, in UT. TT − UTC has been 69.184 s
// since 2017, and UT1 stays within 0.9 s of UTC; over the years a file
// serves, the difference does not change by a second.
constexpr double TerrestrialMinusUniversalDays = 69.184 / 86400.0;
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
    int number = 0;          // 0 for an unnumbered object
    std::string name;        // at most 18 characters
    double node = 0;         // degrees, J2000 ecliptic
    double perihelion = 0;   // degrees
    double meanAnomaly = 0;  // degrees, at MinorPlanetEpochJD
    double inclination = 0;  // degrees
    double eccentricity = 0;
    double meanMotion = 0;  // degrees per day
    double absoluteMagnitude = 0;
    double slope = 0.15;
    // The epoch (JD, TT) of the elements, the source's own or the one they
    // were integrated to, and the mean anomaly (degrees) there.
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

// How far beyond the epoch the elements are pinned to the integrated path.
constexpr double MinorPlanetFitDays = 365.25;

// Integrates every object's orbit from its elements' epoch to epochJD (TT)
// and on to MinorPlanetFitDays later, under the pull of the table's planets,
// and replaces its elements by the two-body ellipse through its integrated
// places at both dates (the osculating ellipse, should that fail), carried to
// the file's epoch as the reader runs it. Osculating elements would reproduce
// the place at epochJD alone and drift from the path by up to minutes of arc
// within the year; this ellipse reproduces it as well, meets the path again a
// year later and keeps closer to it in between and for some years after. The
// table must span every object's epoch and epochJD + MinorPlanetFitDays. An
// object whose integration fails (a close encounter the steps cannot follow,
// an orbit that opens) keeps its elements and is reported. Returns the number
// of objects brought to epochJD.
std::size_t IntegrateToEpoch(std::vector<MinorPlanetElements>& planets, double epochJD, const PerturberTable& table,
                             unsigned threads, Diagnostics& diag);

std::string FormatMinorPlanets(const std::vector<MinorPlanetElements>& planets);

}  // namespace velkaris::tools
