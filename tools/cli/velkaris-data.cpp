// Builds the data/ folder from the catalogue packages installed on this machine.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tools/DataBuilder.h"
#include "tools/MinorPlanets.h"

using namespace velkaris::tools;

namespace {

void Usage() {
    std::cout << "usage: velkaris-data [options] [group...]\n"
                 "Builds the sky data files from the catalogue packages.\n"
                 "groups: foundation series hipparcos notes deepsky asteroids (default: all)\n"
                 "options:\n"
                 "  --out DIR          folder to write (default data)\n"
                 "  --yale DIR         Bright Star Catalogue files (default /usr/share/stardata/yale)\n"
                 "  --kstars DIR       kstars-data files (default /usr/share/kstars)\n"
                 "  --stellarium DIR   stellarium-data star files (default /usr/share/stellarium/stars/default)\n"
                 "  --npm DIR          node_modules holding astronomia and d3-celestial\n"
                 "                     (default tools/npm/node_modules)\n"
                 "  --ngc2000 DIR      folder with ngc2000.dat for deep-sky descriptions (default: none)\n"
                 "  --minor-epoch YYYY-MM-DD\n"
                 "                     date the minor planets' elements are integrated to (default: today);\n"
                 "                     the planets' series are read from the --out folder\n";
}

}  // namespace

int main(int argc, char** argv) {
    SourcePaths sources;
    std::string outDir = "data";
    std::vector<std::string> groups;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) return false;
            target = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else if (arg == "--out")
            ok = value(outDir);
        else if (arg == "--yale")
            ok = value(sources.yale);
        else if (arg == "--kstars")
            ok = value(sources.kstars);
        else if (arg == "--stellarium")
            ok = value(sources.stellarium);
        else if (arg == "--npm")
            ok = value(sources.npm);
        else if (arg == "--ngc2000")
            ok = value(sources.ngc2000);
        else if (arg == "--minor-epoch") {
            std::string date;
            ok = value(date);
            if (ok && !ParseMinorEpoch(date, sources.minorEpochJD)) {
                std::cerr << "velkaris-data: --minor-epoch \"" << date << "\" is not a date from "
                          << IsoDate(MinorEpochFirstJD) << " to " << IsoDate(MinorEpochLastJD) << " (YYYY-MM-DD)\n";
                return 1;
            }
        } else if (!arg.empty() && arg[0] == '-')
            ok = false;
        else {
            bool known = false;
            for (const std::string& g : BuildGroups()) known = known || g == arg;
            if (!known && arg != "all")
                ok = false;
            else if (arg == "all")
                groups = BuildGroups();
            else
                groups.push_back(arg);
        }
        if (!ok) {
            std::cerr << "velkaris-data: bad argument \"" << arg << "\"\n";
            Usage();
            return 1;
        }
    }
    if (groups.empty()) groups = BuildGroups();
    ::mkdir(outDir.c_str(), 0755);

    Diagnostics diag;
    diag.echo = true;
    BuildResult result;
    for (const std::string& g : groups) BuildGroup(g, sources, outDir, result, diag);
    for (const auto& [file, count] : result.records) std::cout << "  " << file << ": " << count << "\n";
    if (diag.MalformedCount() > 50) std::cerr << diag.MalformedCount() << " malformed source records in all\n";
    if (!result.notBuilt.empty()) {
        std::cerr << "velkaris-data: not built:";
        for (const std::string& f : result.notBuilt) std::cerr << ' ' << f;
        std::cerr << "\n";
        return 2;
    }
    return 0;
}
