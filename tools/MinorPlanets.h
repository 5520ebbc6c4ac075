#pragma once

#include <string>
#include <vector>

#include "tools/DataText.h"

namespace velkaris::tools {

// The common epoch of the elements file, 1998 July 6.0.
constexpr double MinorPlanetEpochJD = 2451000.5;
// The year length the reader uses to turn the mean motion into the axis.
constexpr double MinorPlanetSiderealYear = 365.2568984;

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
    // Kept for checks: the source's own epoch and mean anomaly there.
    double sourceEpochJD = 0;
    double sourceMeanAnomaly = 0;
    double semiMajorAxis = 0;
};

// The mean motion in degrees per day that makes the reader's Kepler's-third-
// law axis come out as `a` again.
double MeanMotionForAxis(double semiMajorAxis);

// KStars' asteroids.dat (JSON of JPL small-body elements). Objects on open
// orbits are reported and left out; numbered objects come first in number
// order, then the rest in the source's order.
std::vector<MinorPlanetElements> ParseMinorPlanets(const std::string& json, const std::string& fileName,
                                                   Diagnostics& diag);

std::string FormatMinorPlanets(const std::vector<MinorPlanetElements>& planets);

}  // namespace velkaris::tools
