#pragma once

// How the commands of velkaris-cli write their CSV fields.

#include <string>

#include "astro/Angles.h"

// An angle given in radians as degrees within [0, 360).
double Degrees(double radians);
// Radians as signed degrees.
double SignedDegrees(double radians);
// A time of day to the nearest second, HH:MM:SS.
std::string ClockText(const HmsAngle& t);
// A text as one CSV field: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
