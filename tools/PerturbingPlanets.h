#pragma once

// The major planets as perturbers of the minor planets, placed by the
// VSOP87D series files that the series group writes (la_earth.dat,
// la_Venus.dat, ...).

#include <string>
#include <vector>

#include "tools/DataText.h"
#include "tools/OrbitIntegration.h"

namespace velkaris::tools {

// Turns a vector from the ecliptic and mean equinox of date into the
// ecliptic and equinox of J2000 (IAU 2006 precession), at jd (TT).
Vector3 EclipticOfDateToJ2000(const Vector3& ofDate, double jdTT);

// The planets Mercury to Neptune, each from its series file in `folder`;
// heliocentric places in au, ecliptic and equinox J2000. A planet whose file
// cannot be read, or holds no terms, is left out with a note.
std::vector<PerturbingBody> PerturbingPlanets(const std::string& folder, Diagnostics& diag);

}  // namespace velkaris::tools
