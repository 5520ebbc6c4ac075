// velkaris-cli dso: deep-sky objects, named or all that the deep-sky layer
// shows, with their catalogue place, magnitude, size, place on the sky and
// rise, transit and set times, as CSV. The sky is the planetarium's own.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/DeepSkyObject.h"
#include "controller/ObjectNames.h"
#include "shell/cli/CliSky.h"
#include "shell/cli/CommandOptions.h"
#include "shell/cli/Commands.h"
#include "shell/cli/CsvText.h"
#include "shell/cli/TimePlaceOptions.h"
#include "view/SkyFrame.h"
#include "view/SkyView.h"

namespace {

constexpr const char* kHeader = "name,type,ra_deg,dec_deg,magnitude,size_arcmin,alt_deg,az_deg,rise,transit,set";
// The most words a common name given without quotes is looked for in.
constexpr std::size_t kMostNameWords = 8;

struct DsoOptions {
    bool messierOnly = false;
    std::optional<float> limit;
    std::vector<std::string> words;
};

int Malformed(const std::string& what) {
    std::fprintf(stderr, "velkaris-cli dso: %s\n", what.c_str());
    return 2;
}

const char* TypeName(int32_t type) {
    switch (type) {
        case DeepSkyGalaxy: return "galaxy";
        case DeepSkyOpenCluster: return "open cluster";
        case DeepSkyGlobularCluster: return "globular cluster";
        case DeepSkyBrightNebula: return "bright nebula";
        case DeepSkyPlanetaryNebula: return "planetary nebula";
        default: return "other";
    }
}

// The deep-sky object a name stands for, by the names the planetarium knows
// it by: "M 31" or "M31", "NGC 224" or "IC 434" (with or without the blank),
// a designation as the file writes it ("224", "IC434"), or a common name;
// case does not matter. The first in file order when several have it.
DeepSkyObject* Find(Planetarium& sky, const ObjectNames& names, const std::string& name) {
    const std::vector<ObjectRef> found = names.Resolve(name, ObjectNames::KindBit(KindDeepSky));
    return found.empty() ? nullptr : &sky.DeepSky().objects()[found.front().index];
}

void PrintObject(DeepSkyObject& o) {
    // Fainter than the limit: not placed by the update, so placed here.
    if (!o.isComputed) o.UpdateHorizontal(999.9f, false);
    HmsAngle rise, transit, set;
    const uint32_t status = o.RiseTransitSet(rise, transit, set);
    const auto time = [status](uint32_t bit, const HmsAngle& t) { return status & bit ? ClockText(t) : "-"; };
    std::printf("%s,%s,%.6f,%.6f,%.2f,%.2f,%.6f,%.6f,%s,%s,%s\n", CsvField(o.GetName()).c_str(), TypeName(o.type),
                Degrees(o.ra.radians), SignedDegrees(o.dec.radians), static_cast<double>(o.magnitude),
                static_cast<double>(o.size), SignedDegrees(o.altitude.radians), Degrees(o.azimuth.radians),
                time(RtsRise, rise).c_str(), time(RtsTransit, transit).c_str(), time(RtsSet, set).c_str());
}

}  // namespace

void PrintDsoHelp() {
    std::printf(
        "Usage: velkaris-cli dso [--messier] [--limit MAG] [OPTIONS] [NAME...]\n\n"
        "Prints deep-sky objects of data/dsocat.dat as CSV with the header\n"
        "  %s\n"
        "name as the sky shows it; type galaxy, open cluster, globular cluster,\n"
        "bright nebula, planetary nebula or other; ra/dec: catalogue place (J2000.0,\n"
        "not corrected to the date) and alt/az: place on the sky (azimuth from North\n"
        "through East), in degrees; size in arcminutes (0 unknown); rise, transit\n"
        "and set as HH:MM:SS local civil time of the date, - for a time the object\n"
        "does not have.\n\n"
        "NAME is a Messier number (M 31 or M31), an NGC or IC number (NGC 224,\n"
        "IC 434) or a common name (Orion Nebula); case does not matter. Named\n"
        "objects are printed in the order given. Without names: every object the\n"
        "deep-sky layer shows under the stored switches for galaxies, clusters and\n"
        "other objects and the stored magnitude limit, Messier objects or not.\n\n"
        "  --messier                 only objects with a Messier number.\n"
        "  --limit MAG               the faintest magnitude listed (default: the\n"
        "                            stored deep-sky limit).\n%s"
        "  --help                    this text.\n\n"
        "Progress goes to stderr. Exit status: 0; 1 when a named object is not in\n"
        "the catalogue or the catalogue cannot be read; 2 for a malformed or unknown\n"
        "option.\n",
        kHeader, TimePlaceUsage());
}

int RunDsoCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    TimePlaceOptions timePlace;
    std::string error;
    if (!ConsumeTimePlaceOptions(rest, timePlace, error)) return Malformed(error);
    DsoOptions options;
    CommandOptions parser("dso");
    parser.Switch("--messier", [&] { options.messierOnly = true; });
    parser.Value(
        "--limit",
        [&](const std::string& value) -> std::string {
            char* end = nullptr;
            const double limit = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !std::isfinite(limit) || std::fabs(limit) > 1000)
                return "malformed --limit '" + value + "' (a magnitude such as 9.5)";
            options.limit = static_cast<float>(limit);
            return {};
        },
        "a magnitude");
    parser.Words([&](const std::string& word) { options.words.push_back(word); });
    if (!parser.Parse(rest, error)) return Malformed(error);

    CliSky sky(timePlace, "dso");
    SkyView& view = *sky->View();
    if (options.limit) view.dsoLimit = *options.limit;
    // The window starts with only the Messier objects shown; the command
    // lists them all unless asked for those alone.
    view.Options()[DisplayOptions::ShowMessierOnly] = options.messierOnly;
    sky->Recompute();
    DeepSkyCatalogue& catalogue = sky->DeepSky();
    int status = catalogue.size() == 0 ? 1 : 0;

    if (options.words.empty()) {
        std::printf("%s\n", kHeader);
        for (DeepSkyObject& o : catalogue.objects()) {
            if (o.isComputed && DeepSkyShown(view.Options(), o.type, o.messier != 0)) PrintObject(o);
        }
        return status;
    }

    // Names come as the shell split them: "M 31" may be two words, and so
    // may a common name given without quotes. The longest run of words that
    // names an object is taken.
    std::vector<DeepSkyObject*> found;
    const ObjectNames names(*sky);
    const std::vector<std::string>& w = options.words;
    for (std::size_t i = 0; i < w.size();) {
        DeepSkyObject* object = nullptr;
        std::size_t taken = 1;
        for (std::size_t n = std::min(kMostNameWords, w.size() - i); n >= 1 && !object; --n) {
            std::string name = w[i];
            for (std::size_t k = 1; k < n; ++k) name += " " + w[i + k];
            object = Find(*sky, names, name);
            taken = n;
        }
        if (object) {
            found.push_back(object);
        } else {
            std::fprintf(stderr, "velkaris-cli dso: no deep-sky object '%s' in data/dsocat.dat\n", w[i].c_str());
            status = 1;
        }
        i += taken;
    }
    std::printf("%s\n", kHeader);
    for (DeepSkyObject* o : found) PrintObject(*o);
    return status;
}
