// velkaris-cli stars: chosen stars of the loaded catalogues with their
// catalogue place, their place of the date, their place on the sky and their
// rise, transit and set times, as CSV.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "catalogues/BayerLetters.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/StarCatalogue.h"
#include "settings/CatalogueDiscovery.h"
#include "settings/SettingsStore.h"
#include "shell/cli/CommandOptions.h"
#include "shell/cli/Commands.h"
#include "shell/cli/CsvText.h"
#include "shell/cli/TimePlaceOptions.h"

namespace {

constexpr const char* kHeader =
    "name,hd,hip,ra_deg,dec_deg,ra_date_deg,dec_date_deg,alt_deg,az_deg,magnitude,rise,transit,set";

struct StarsOptions {
    std::vector<uint32_t> hd;
    int brightest = 0;
    std::vector<std::string> catalogues;
};

bool ParseUnsigned(const std::string& text, unsigned long max, unsigned long& value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::strtoul(text.c_str(), nullptr, 10);
    return value <= max;
}

// Reads the command's own options; the moment and place were taken before.
bool ParseStarsOptions(const std::vector<std::string>& args, StarsOptions& options, std::string& error) {
    CommandOptions parser("stars");
    parser.Value("--hd", [&](const std::string& value) -> std::string {
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = value.find(',', start);
            unsigned long hd = 0;
            if (!ParseUnsigned(value.substr(start, comma - start), 4294967295ul, hd) || hd == 0)
                return "option --hd: '" + value + "' is not a list of HD numbers such as 48915,172167";
            options.hd.push_back(static_cast<uint32_t>(hd));
            if (comma == std::string::npos) return {};
            start = comma + 1;
        }
    });
    parser.Value("--brightest", [&](const std::string& value) -> std::string {
        unsigned long n = 0;
        if (!ParseUnsigned(value, 1000000ul, n) || n == 0)
            return "option --brightest: '" + value + "' is not a number of stars from 1 to 1000000";
        options.brightest = static_cast<int>(n);
        return {};
    });
    parser.Value("--catalogue", [&](const std::string& value) -> std::string {
        if (value.empty()) return "option --catalogue needs a catalogue name";
        options.catalogues.push_back(value);
        return {};
    });
    if (!parser.Parse(args, error)) return false;
    if (options.hd.empty() == (options.brightest == 0)) {
        error = "give either --hd N[,N...] or --brightest N";
        return false;
    }
    return true;
}

void PrintStar(Star& star, bool correct) {
    double raDate = star.ra.radians, decDate = star.dec.radians;
    star.CorrectToDate(raDate, decDate);
    star.UpdateHorizontal(999.9f, correct);
    HmsAngle rise, transit, set;
    const uint32_t status = star.RiseTransitSet(rise, transit, set);
    const auto time = [status](uint32_t bit, const HmsAngle& t) { return status & bit ? ClockText(t) : "-"; };
    const double altitude = star.altitude.radians * 180.0 / static_cast<double>(Pi);
    std::printf("%s,%u,%u,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.2f,%s,%s,%s\n", CsvField(ShownName(star)).c_str(), star.hd,
                star.hip, Degrees(star.ra.radians), star.dec.radians * 180.0 / static_cast<double>(Pi), Degrees(raDate),
                decDate * 180.0 / static_cast<double>(Pi), altitude, Degrees(star.azimuth.radians),
                static_cast<double>(star.magnitude), time(RtsRise, rise).c_str(), time(RtsTransit, transit).c_str(),
                time(RtsSet, set).c_str());
}

// Publishes the command's observer for as long as the command runs, so that
// the program's one observer pointer never outlives what it points to.
class PublishedObserver {
public:
    explicit PublishedObserver(Observer* observer) { TheObserver = observer; }
    ~PublishedObserver() { TheObserver = nullptr; }
    PublishedObserver(const PublishedObserver&) = delete;
    PublishedObserver& operator=(const PublishedObserver&) = delete;
};

// Brighter first; a magnitude that is no number (a damaged record) counts as
// the faintest, so that the order stays an order.
bool Brighter(const Star* a, const Star* b) {
    const auto key = [](const Star* s) { return std::isnan(s->magnitude) ? HUGE_VALF : s->magnitude; };
    return key(a) < key(b);
}

bool Matches(const StarCatalogue& catalogue, const std::string& wanted) {
    if (catalogue.name == wanted) return true;
    const std::size_t slash = catalogue.path.find_last_of('/');
    return catalogue.path.substr(slash == std::string::npos ? 0 : slash + 1) == wanted;
}

}  // namespace

void PrintStarsHelp() {
    std::printf(
        "Usage: velkaris-cli stars (--hd N[,N...] | --brightest N) [OPTIONS]\n\n"
        "Prints chosen stars of the loaded star catalogues as CSV with the header\n"
        "  %s\n"
        "ra/dec: catalogue place (J2000.0), ra_date/dec_date: corrected for proper\n"
        "motion and precession to the moment, alt/az: place on the sky (azimuth from\n"
        "North through East), in degrees; rise, transit and set as HH:MM:SS local\n"
        "civil time of the date; - for the times a star does not have (a star that\n"
        "never sets still has its transit, one that never rises has none).\n\n"
        "Stars:\n"
        "  --hd N[,N...]             the stars with these HD numbers, in this order.\n"
        "  --brightest N             the N brightest stars, brightest first.\n"
        "  --catalogue NAME          load this catalogue (its name or file name);\n"
        "                            may be repeated. Without it: the catalogues the\n"
        "                            preferences load.\n\n%s"
        "  --help                    this text.\n\n"
        "Progress goes to stderr. Exit status: 0; 1 when a star asked for is in no\n"
        "loaded catalogue or a catalogue cannot be loaded; 2 for a malformed or\n"
        "unknown option.\n",
        kHeader, TimePlaceUsage());
}

int RunStarsCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    TimePlaceOptions timePlace;
    StarsOptions options;
    std::string error;
    if (!ConsumeTimePlaceOptions(rest, timePlace, error) || !ParseStarsOptions(rest, options, error)) {
        std::fprintf(stderr, "velkaris-cli stars: %s\n", error.c_str());
        return 2;
    }

    const std::unique_ptr<Observer> observer = MakeObserver(timePlace);
    const PublishedObserver published(observer.get());

    std::array<std::unique_ptr<StarCatalogue>, kMaxStarCatalogues> slots;
    CatalogueDiscoveryReport report;
    bool correct = true;
    {
        SettingsStore store;
        DiscoverCatalogues(store, slots, kMaxStarCatalogues, "data", &report);
        correct = store.ReadDisplayOptions()[DisplayOptions::HighAccuracy];
    }
    for (const std::string& problem : report.problems) std::fprintf(stderr, "%s\n", problem.c_str());
    int status = 0;
    for (const std::string& wanted : options.catalogues) {
        const bool known =
            std::any_of(slots.begin(), slots.end(), [&](const auto& c) { return c && Matches(*c, wanted); });
        if (known) continue;
        const auto beyond =
            std::find_if(report.beyondLimit.begin(), report.beyondLimit.end(), [&](const std::string& path) {
                const std::optional<StarCatalogue::Header> header = StarCatalogue::ReadHeaderOf(path);
                return path.substr(path.find_last_of('/') + 1) == wanted || (header && header->name == wanted);
            });
        if (beyond != report.beyondLimit.end())
            std::fprintf(
                stderr,
                "velkaris-cli stars: %s is past the first %zu star catalogues, which are all the program uses\n",
                beyond->c_str(), kMaxStarCatalogues);
        else
            std::fprintf(stderr, "velkaris-cli stars: no star catalogue '%s' in data/\n", wanted.c_str());
        status = 1;
    }
    std::vector<StarCatalogue*> loaded;
    {
        StderrProgress progress;
        for (auto& slot : slots) {
            if (!slot) continue;
            const bool wanted = options.catalogues.empty()
                                    ? slot->loadRequested
                                    : std::any_of(options.catalogues.begin(), options.catalogues.end(),
                                                  [&](const std::string& w) { return Matches(*slot, w); });
            if (!wanted) continue;
            if (slot->Load(&progress))
                loaded.push_back(slot.get());
            else
                status = 1;
        }
    }

    std::printf("%s\n", kHeader);
    if (!options.hd.empty()) {
        for (uint32_t hd : options.hd) {
            Star* found = nullptr;
            for (StarCatalogue* c : loaded) {
                for (Star& s : c->stars()) {
                    if (s.hd == hd) {
                        found = &s;
                        break;
                    }
                }
                if (found) break;
            }
            if (found) {
                PrintStar(*found, correct);
            } else {
                std::fprintf(stderr, "velkaris-cli stars: HD %u is in no loaded catalogue\n", hd);
                status = 1;
            }
        }
        return status;
    }

    // The brightest stars, each once although several catalogues hold it.
    std::vector<Star*> all;
    for (StarCatalogue* c : loaded)
        for (Star& s : c->stars()) all.push_back(&s);
    std::stable_sort(all.begin(), all.end(), Brighter);
    std::set<uint32_t> hdSeen, hipSeen;
    int printed = 0;
    for (Star* s : all) {
        if (printed == options.brightest) break;
        if ((s->hd && hdSeen.count(s->hd)) || (s->hip && hipSeen.count(s->hip))) continue;
        if (s->hd) hdSeen.insert(s->hd);
        if (s->hip) hipSeen.insert(s->hip);
        PrintStar(*s, correct);
        ++printed;
    }
    return status;
}
