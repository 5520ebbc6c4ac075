#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/DataText.h"

namespace velkaris::tools {

// Where the catalogue packages put their files. Tests point these at fixtures.
struct SourcePaths {
    std::string yale = "/usr/share/stardata/yale";
    std::string kstars = "/usr/share/kstars";
    std::string stellarium = "/usr/share/stellarium/stars/default";
    std::string npm = "tools/npm/node_modules";
    std::string ngc2000;  // empty: no descriptions
    // The Julian date (TT) the minor planets' elements are integrated to;
    // 0: 0h of the day of the build (UTC).
    double minorEpochJD = 0;
};

struct BuildResult {
    std::map<std::string, std::size_t> records;  // file name -> records written
    std::vector<std::string> notBuilt;           // file names left out
};

// The groups of files, each built from its own sources:
//   foundation: stfound.dat and constellations.dat (they must agree on stars)
//   series:     la_earth.dat, la_Mercury.dat ... la_Neptune.dat, la_Pluto.dat
//   hipparcos:  sthip.dat
//   notes:      bnotes.dat
//   deepsky:    dsocat.dat
//   asteroids:  asteroids.dat, integrated under the pull of the planets
//               whose series files the output folder holds (build the series
//               group first)
const std::vector<std::string>& BuildGroups();

bool BuildGroup(const std::string& group, const SourcePaths& sources, const std::string& outDir, BuildResult& result,
                Diagnostics& diag);

}  // namespace velkaris::tools
