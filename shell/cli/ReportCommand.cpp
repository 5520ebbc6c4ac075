// velkaris-cli report: the report window's text of one object, found by any
// of its names, from the planetarium's own sky.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/DeepSkyObject.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/ObjectNames.h"
#include "reports/ReportText.h"
#include "shell/cli/CliSky.h"
#include "shell/cli/Commands.h"
#include "shell/cli/TimePlaceOptions.h"

namespace {

int Malformed(const std::string& what) {
    std::fprintf(stderr, "velkaris-cli report: %s\n", what.c_str());
    return 2;
}

// One of several objects a name stands for, with what tells it apart.
std::string Candidate(Planetarium& sky, const ObjectNames& names, const ObjectRef& ref) {
    std::string text = names.NameOf(ref);
    const SkyObject* object = sky.ObjectOf(ref.kind, ref.catalogue, ref.index);
    switch (ref.kind) {
        case KindStar: {
            const auto* star = static_cast<const Star*>(object);
            text += " (star of the catalogue " + sky.Catalogue(ref.catalogue)->name;
            if (star->hd != 0) text += ", HD " + std::to_string(star->hd);
            return text + ")";
        }
        case KindDeepSky:
            return text + " (deep-sky object " + static_cast<const DeepSkyObject*>(object)->designation + ")";
        case KindMinorPlanet: return text + " (minor planet)";
        default: return text;
    }
}

}  // namespace

void PrintReportHelp() {
    std::printf("Usage: velkaris-cli report [--catalogue NAME] [OPTIONS] NAME...\n\n"
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
                "has the name (the objects are then listed on stderr); 2 for a malformed or\n"
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
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (a == "--catalogue") {
            if (i + 1 >= rest.size()) return Malformed("option --catalogue needs a catalogue name");
            catalogueName = rest[++i];
        } else if (a.rfind("--catalogue=", 0) == 0) {
            catalogueName = a.substr(12);
        } else if (a.rfind("--", 0) == 0) {
            return Malformed("unknown option '" + a + "' (see velkaris-cli report --help)");
        } else {
            // The shell splits "M 31" in two words unless it is quoted.
            name += (name.empty() ? "" : " ") + a;
        }
    }
    if (name.empty()) return Malformed("no NAME given (see velkaris-cli report --help)");

    CliSky sky(timePlace, "report");
    const ObjectNames names(*sky);
    std::vector<ObjectRef> found = names.Resolve(name);
    if (catalogueName) {
        std::erase_if(found, [&](const ObjectRef& ref) {
            return ref.kind == KindStar && sky->Catalogue(ref.catalogue)->name != *catalogueName;
        });
    }
    if (found.empty()) {
        std::fprintf(stderr, "velkaris-cli report: no object is named '%s'\n", name.c_str());
        return 1;
    }
    if (found.size() > 1) {
        if (const std::optional<ObjectRef> one = names.Preferred(found, name)) found = {*one};
    }
    if (found.size() > 1) {
        std::fprintf(stderr, "velkaris-cli report: '%s' names %zu objects:\n", name.c_str(), found.size());
        for (const ObjectRef& ref : found) std::fprintf(stderr, "  %s\n", Candidate(*sky, names, ref).c_str());
        return 1;
    }
    const ObjectRef& ref = found.front();
    std::fputs(PlainText(sky->ReportOn(ref.kind, ref.catalogue, ref.index)).c_str(), stdout);
    return 0;
}
