// velkaris-cli report: the report window's text of one object, found by any
// of its names, from the planetarium's own sky.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/StarCatalogue.h"
#include "controller/ObjectNames.h"
#include "reports/ReportText.h"
#include "shell/cli/CliSky.h"
#include "shell/cli/CommandOptions.h"
#include "shell/cli/Commands.h"
#include "shell/cli/TimePlaceOptions.h"

namespace {

int Malformed(const std::string& what) {
    std::fprintf(stderr, "velkaris-cli report: %s\n", what.c_str());
    return 2;
}

}  // namespace

void PrintReportHelp() {
    std::printf(
        "Usage: velkaris-cli report [--catalogue NAME] [OPTIONS] NAME...\n\n"
        "Prints the report window's text on one object, for the moment and place\n"
        "given: its names and numbers, the catalogue it comes from, right ascension\n"
        "and declination, altitude and azimuth, rise, transit and set, magnitude,\n"
        "and what its kind adds (the Bright Star Catalogue notes of a star, the\n"
        "description of a deep-sky object and its translation, the phase,\n"
        "elongation, distances and size of the Sun, the Moon and a planet).\n"
        "Bayer letters are printed as Greek letters (UTF-8).\n\n"
        "NAME, in one or several words, case and blanks not counting:\n"
        "  a star's proper name (Sirius), Bayer designation (alp CMa, alp1 Cen),\n"
        "  Flamsteed designation (58 Ori), HD or HIP number (HD 48915, HIP 32349);\n"
        "  a deep-sky object's NGC or IC number (NGC 224, IC 434), Messier number\n"
        "  (M 31) or common name (Orion Nebula); Sun, Moon, a planet (Mars);\n"
        "  a minor planet's name or number and name (Ceres, 1 Ceres).\n"
        "Stars are looked for in the star catalogues the settings load. Of several\n"
        "objects of that name, the one whose first name it is (Pluto: the planet,\n"
        "not the minor planet 134340 Pluto).\n\n"
        "  --catalogue NAME          among stars, only those of this star catalogue\n"
        "                            (foundation, hipparcos, ...).\n%s"
        "  --help                    this text.\n\n"
        "Progress goes to stderr. Exit status: 0; 1 when no object or more than one\n"
        "has the name (the objects are then listed on stderr, and for a name that is\n"
        "nobody's, the names it may have been meant for); 2 for a malformed or\n"
        "unknown option or no NAME.\n",
        TimePlaceUsage());
}

int RunReportCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    TimePlaceOptions timePlace;
    std::string error;
    if (!ConsumeTimePlaceOptions(rest, timePlace, error)) return Malformed(error);
    std::optional<std::string> catalogueName;
    std::string name;
    CommandOptions parser("report");
    parser.Value(
        "--catalogue",
        [&](const std::string& value) -> std::string {
            catalogueName = value;
            return {};
        },
        "a catalogue name");
    // The shell splits "M 31" in two words unless it is quoted.
    parser.Words([&](const std::string& word) { name += (name.empty() ? "" : " ") + word; });
    if (!parser.Parse(rest, error)) return Malformed(error);
    if (name.empty()) return Malformed("no NAME given (see velkaris-cli report --help)");

    CliSky sky(timePlace, "report");
    const ObjectNames names(*sky);
    std::vector<ObjectRef> found = names.Resolve(name);
    const bool unknown = found.empty();
    if (catalogueName) {
        std::erase_if(found, [&](const ObjectRef& ref) {
            return ref.kind == KindStar && sky->Catalogue(ref.catalogue)->name != *catalogueName;
        });
    }
    if (found.empty()) {
        std::fprintf(stderr, "velkaris-cli report: no object is named '%s'\n", name.c_str());
        // A name that is nobody's may be a slip of the keyboard.
        if (unknown) {
            for (const NamedObject& meant : names.Suggestions(name, 5))
                std::fprintf(stderr, "  did you mean %s: %s\n", meant.name.c_str(),
                             names.Describe(meant.object).c_str());
        }
        return 1;
    }
    if (found.size() > 1) {
        if (const std::optional<ObjectRef> one = names.Preferred(found, name)) found = {*one};
    }
    if (found.size() > 1) {
        std::fprintf(stderr, "velkaris-cli report: '%s' names %zu objects:\n", name.c_str(), found.size());
        for (const ObjectRef& ref : found) std::fprintf(stderr, "  %s\n", names.Describe(ref).c_str());
        return 1;
    }
    const ObjectRef& ref = found.front();
    std::fputs(PlainText(sky->ReportOn(ref.kind, ref.catalogue, ref.index)).c_str(), stdout);
    return 0;
}
