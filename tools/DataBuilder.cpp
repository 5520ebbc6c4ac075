#include "tools/DataBuilder.h"

#include <cmath>
#include <optional>
#include <set>
#include <thread>
#include <unordered_map>

#include "tools/BrightStarCatalogue.h"
#include "tools/Constellations.h"
#include "tools/DeepSky.h"
#include "tools/Hipparcos.h"
#include "tools/MinorPlanets.h"
#include "tools/PerturbingPlanets.h"
#include "tools/PlanetSeries.h"
#include "tools/StarRecords.h"

namespace velkaris::tools {

namespace {

const char* const YalePackage = "yale (Debian non-free)";
const char* const KStarsPackage = "kstars-data (Debian)";
const char* const StellariumPackage = "stellarium-data (Debian)";
const char* const AstronomiaPackage = "astronomia (npm; run scripts/setup.sh)";
const char* const CelestialPackage = "d3-celestial (npm; run scripts/setup.sh)";

bool Load(const std::string& path, std::string& text, const std::string& output, const char* package,
          Diagnostics& diag) {
    if (ReadWholeFile(path, text)) return true;
    diag.MissingSource(output, package, path);
    return false;
}

bool Write(const std::string& outDir, const std::string& file, const std::string& content, std::size_t count,
           BuildResult& result, Diagnostics& diag) {
    if (!WriteFileAtomically(outDir + "/" + file, content, diag)) {
        result.notBuilt.push_back(file);
        return false;
    }
    result.records[file] = count;
    return true;
}

double Separation(double ra1, double dec1, double ra2, double dec2) {
    double r = 1.0 / DegreesPerRadian;
    double c =
        std::sin(dec1 * r) * std::sin(dec2 * r) + std::cos(dec1 * r) * std::cos(dec2 * r) * std::cos((ra1 - ra2) * r);
    return std::acos(std::clamp(c, -1.0, 1.0)) * DegreesPerRadian;
}

// HD number to Hipparcos number. A few HD numbers cover two Hipparcos stars
// (the components of a double); the lower number is taken, so the result
// does not depend on the order of the table.
std::unordered_map<uint32_t, uint32_t> HipByHd(const std::unordered_map<uint32_t, uint32_t>& hdByHip) {
    std::unordered_map<uint32_t, uint32_t> hipByHd;
    for (const auto& [hip, hd] : hdByHip) {
        auto [it, added] = hipByHd.emplace(hd, hip);
        if (!added && hip < it->second) it->second = hip;
    }
    return hipByHd;
}

struct HipparcosInputs {
    std::vector<HipparcosPlace> places;
    std::unordered_map<uint32_t, ProperMotion> motions;
    std::unordered_map<uint32_t, uint32_t> hdByHip;
    StarNames names;
    bool haveNames = false;
};

bool LoadHipparcos(const SourcePaths& src, const std::string& output, HipparcosInputs& in, Diagnostics& diag) {
    std::string text;
    std::string placesPath = src.npm + "/d3-celestial/data/stars.14.json";
    std::string pmPath = src.stellarium + "/hip_pm.dat";
    std::string crossPath = src.stellarium + "/cross-id.dat";
    if (!Load(placesPath, text, output, CelestialPackage, diag)) return false;
    in.places = ParseHipparcosPlaces(text, placesPath, diag);
    if (!Load(pmPath, text, output, StellariumPackage, diag)) return false;
    in.motions = ParseHipparcosProperMotions(text, pmPath, diag);
    if (!Load(crossPath, text, output, StellariumPackage, diag)) return false;
    in.hdByHip = ParseCrossIdentifications(text, crossPath, diag);
    std::string namesPath = src.npm + "/d3-celestial/data/starnames.json";
    if (ReadWholeFile(namesPath, text)) {
        in.names = ParseStarNames(text, namesPath, diag);
        in.haveNames = true;
    }
    return true;
}

bool BuildFoundation(const SourcePaths& src, const std::string& outDir, BuildResult& result, Diagnostics& diag) {
    std::string text;
    std::string catalogPath = src.yale + "/catalog.dat";
    if (!Load(catalogPath, text, "stfound.dat", YalePackage, diag)) {
        result.notBuilt.push_back("stfound.dat");
        // The figures name their stars by the foundation catalogue: without it
        // they could never be checked, so they wait for it too.
        result.notBuilt.push_back("constellations.dat");
        return false;
    }
    BrightStarCatalogue bsc = ParseBrightStarCatalogue(text, catalogPath, diag);

    StarNames names;
    std::string namesPath = src.npm + "/d3-celestial/data/starnames.json";
    if (ReadWholeFile(namesPath, text))
        names = ParseStarNames(text, namesPath, diag);
    else
        diag.MissingPart(CelestialPackage, namesPath, "the stars of stfound.dat have no proper names");

    // Hipparcos numbers by HD, so that the report can show both.
    std::unordered_map<uint32_t, uint32_t> hipByHd;
    std::string crossPath = src.stellarium + "/cross-id.dat";
    if (ReadWholeFile(crossPath, text)) {
        Diagnostics quiet;  // reported with sthip.dat
        hipByHd = HipByHd(ParseCrossIdentifications(text, crossPath, quiet));
    } else {
        diag.MissingPart(StellariumPackage, crossPath, "the stars of stfound.dat have no Hipparcos numbers");
    }

    std::vector<StarRecord> stars;
    std::set<uint32_t> foundationHd;
    for (BrightStar& b : bsc.stars) {
        if (const StarName* n = b.star.hd ? names.ByHd(b.star.hd) : nullptr) b.star.name = n->name;
        if (auto h = hipByHd.find(b.star.hd); b.star.hd && h != hipByHd.end()) b.star.hip = h->second;
        if (b.star.hd) foundationHd.insert(b.star.hd);
        stars.push_back(b.star);
    }

    std::vector<Figure> figures;
    std::string linesPath = src.kstars + "/clines.dat";
    bool haveFigures = Load(linesPath, text, "constellations.dat", KStarsPackage, diag);
    if (haveFigures) {
        figures = ParseFigureLines(text, linesPath, diag);
        std::set<uint32_t> missing;
        for (const Figure& f : figures)
            for (uint32_t hd : f.hd)
                if (!foundationHd.count(hd)) missing.insert(hd);
        std::map<uint32_t, uint32_t> replacement;
        if (!missing.empty()) {
            HipparcosInputs hip;
            if (LoadHipparcos(src, "adding the figure stars that stfound.dat lacks", hip, diag)) {
                std::unordered_map<uint32_t, const HipparcosPlace*> placeByHip;
                for (const HipparcosPlace& p : hip.places) placeByHip[p.hip] = &p;
                HipparcosSources hs{hip.places, hip.motions, hip.hdByHip, &names, nullptr};
                for (uint32_t hd : missing) {
                    auto h = hipByHd.find(hd);
                    auto p = h == hipByHd.end() ? placeByHip.end() : placeByHip.find(h->second);
                    if (p == placeByHip.end()) {
                        diag.Note(
                            Format("constellations.dat: HD %u is in no star source; its figure stays incomplete", hd));
                        continue;
                    }
                    const HipparcosPlace& place = *p->second;
                    // A bright star within an arcminute is the same star under
                    // another number (a component of a double, as a rule).
                    const BrightStar* nearest = nullptr;
                    double best = 1.0 / 60.0;
                    for (const BrightStar& b : bsc.stars) {
                        if (std::fabs(b.star.decDegrees - place.decDegrees) > best || b.star.hd == 0) continue;
                        double d = Separation(b.star.raDegrees, b.star.decDegrees, place.raDegrees, place.decDegrees);
                        if (d <= best) {
                            best = d;
                            nearest = &b;
                        }
                    }
                    if (nearest) {
                        replacement[hd] = nearest->star.hd;
                        continue;
                    }
                    StarRecord added = MakeHipparcosRecord(place, hs);
                    added.hd = hd;
                    stars.push_back(added);
                    foundationHd.insert(hd);
                }
            } else {
                diag.Note(
                    Format("constellations.dat: %zu figure stars are not in the Bright Star Catalogue and "
                           "cannot be added; their figures stay incomplete",
                           missing.size()));
            }
        }
        ReplaceFigureStars(figures, [&](uint32_t hd) -> std::optional<uint32_t> {
            auto it = replacement.find(hd);
            if (it == replacement.end()) return std::nullopt;
            return it->second;
        });
    }

    bool ok = Write(outDir, "stfound.dat", FormatStarCatalogue("foundation", stars), stars.size(), result, diag);
    if (haveFigures)
        ok = Write(outDir, "constellations.dat", FormatFigures(figures), figures.size(), result, diag) && ok;
    else {
        result.notBuilt.push_back("constellations.dat");
        ok = false;
    }
    return ok;
}

bool BuildNotes(const SourcePaths& src, const std::string& outDir, BuildResult& result, Diagnostics& diag) {
    std::string catalog, notes;
    std::string catalogPath = src.yale + "/catalog.dat";
    std::string notesPath = src.yale + "/notes.dat";
    if (!Load(catalogPath, catalog, "bnotes.dat", YalePackage, diag) ||
        !Load(notesPath, notes, "bnotes.dat", YalePackage, diag)) {
        result.notBuilt.push_back("bnotes.dat");
        return false;
    }
    // Only the HR-to-HD table is wanted from the catalogue; its own record
    // problems are reported when stfound.dat is built.
    Diagnostics quiet;
    BrightStarCatalogue bsc = ParseBrightStarCatalogue(catalog, catalogPath, quiet);
    std::size_t blocks = 0;
    std::string out = ConvertBrightStarNotes(notes, notesPath, bsc.hdByHr, diag, &blocks);
    return Write(outDir, "bnotes.dat", out, blocks, result, diag);
}

bool BuildSeries(const SourcePaths& src, const std::string& outDir, BuildResult& result, Diagnostics& diag) {
    static const std::pair<const char*, const char*> bodies[] = {
        {"earth", "la_earth.dat"},   {"mercury", "la_Mercury.dat"}, {"venus", "la_Venus.dat"},
        {"mars", "la_Mars.dat"},     {"jupiter", "la_Jupiter.dat"}, {"saturn", "la_Saturn.dat"},
        {"uranus", "la_Uranus.dat"}, {"neptune", "la_Neptune.dat"},
    };
    bool ok = true;
    for (const auto& [body, file] : bodies) {
        std::string path = src.npm + "/astronomia/data/vsop87D" + body + ".js";
        std::string text;
        SeriesSet set;
        if (!Load(path, text, file, AstronomiaPackage, diag) || !ParseAstronomiaSeries(text, path, set, diag)) {
            result.notBuilt.push_back(file);
            ok = false;
            continue;
        }
        if (set.version != "D") {
            // Any other version is referred to another frame; the Sun would be
            // placed wrongly by a fraction of a degree.
            diag.Malformed(path, 1, "series of version \"" + set.version + "\", not D (ecliptic of date)");
            result.notBuilt.push_back(file);
            ok = false;
            continue;
        }
        ok = Write(outDir, file, FormatSeries(set), TermCount(set), result, diag) && ok;
    }
    // Pluto's place comes from its own formula; its file is read but never
    // evaluated, so it holds eighteen empty series.
    ok = Write(outDir, "la_Pluto.dat", FormatSeries(SeriesSet{}), 0, result, diag) && ok;
    return ok;
}

bool BuildHipparcos(const SourcePaths& src, const std::string& outDir, BuildResult& result, Diagnostics& diag) {
    HipparcosInputs in;
    if (!LoadHipparcos(src, "sthip.dat", in, diag)) {
        result.notBuilt.push_back("sthip.dat");
        return false;
    }
    SpectralIndex spectra;
    std::string text;
    std::string starsPath = src.kstars + "/stars.dat";
    bool haveSpectra = ReadWholeFile(starsPath, text);
    if (haveSpectra)
        spectra.Parse(text, starsPath, diag);
    else
        diag.MissingPart(KStarsPackage, starsPath, "the stars of sthip.dat have no spectral types");
    HipparcosSources sources{in.places, in.motions, in.hdByHip, in.haveNames ? &in.names : nullptr,
                             haveSpectra ? &spectra : nullptr};
    std::vector<StarRecord> stars = BuildHipparcosCatalogue(sources);
    return Write(outDir, "sthip.dat", FormatStarCatalogue("hipparcos", stars), stars.size(), result, diag);
}

bool BuildDeepSky(const SourcePaths& src, const std::string& outDir, BuildResult& result, Diagnostics& diag) {
    std::string path = src.kstars + "/OpenNGC.kscat";
    std::vector<DeepSkyRecord> records;
    if (!FileExists(path)) {
        diag.MissingSource("dsocat.dat", KStarsPackage, path);
        result.notBuilt.push_back("dsocat.dat");
        return false;
    }
    if (!ReadOpenNgcDatabase(path, records, diag)) {
        result.notBuilt.push_back("dsocat.dat");
        return false;
    }
    if (!src.ngc2000.empty()) {
        std::string text;
        std::string ngcPath = src.ngc2000 + "/ngc2000.dat";
        if (ReadWholeFile(ngcPath, text)) {
            std::size_t n = MergeNgcDescriptions(records, ParseNgc2000(text, ngcPath, diag));
            diag.Note(Format("dsocat.dat: descriptions of %zu objects from %s", n, ngcPath.c_str()));
        } else {
            diag.Note("dsocat.dat: " + ngcPath + " cannot be read; the notes stay empty");
        }
    }
    SortDeepSky(records);
    return Write(outDir, "dsocat.dat", FormatDeepSky(records), records.size(), result, diag);
}

bool BuildAsteroids(const SourcePaths& src, const std::string& outDir, BuildResult& result, Diagnostics& diag) {
    std::string path = src.kstars + "/asteroids.dat";
    std::string text;
    if (!Load(path, text, "asteroids.dat", KStarsPackage, diag)) {
        result.notBuilt.push_back("asteroids.dat");
        return false;
    }
    std::vector<MinorPlanetElements> planets = ParseMinorPlanets(text, path, diag);
    if (planets.empty()) {
        result.notBuilt.push_back("asteroids.dat");
        return false;
    }
    double epoch = src.minorEpochJD != 0 ? src.minorEpochJD : TodayJD();
    double first = epoch, last = epoch + MinorPlanetFitDays;
    for (const MinorPlanetElements& p : planets) {
        first = std::min(first, p.sourceEpochJD);
        last = std::max(last, p.sourceEpochJD);
    }
    std::vector<PerturbingBody> bodies = PerturbingPlanets(outDir, diag);
    std::string pulling = "the Sun";
    for (std::size_t i = 0; i < bodies.size(); ++i)
        pulling += (i + 1 == bodies.size() ? " and " : ", ") + bodies[i].name;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    PerturberTable table(std::move(bodies), first, last, threads);
    std::size_t integrated = IntegrateToEpoch(planets, epoch, table, threads, diag);
    diag.Note(
        Format("asteroids.dat: elements for %s 0h TT (JD %.1f), through the places integrated for that date "
               "and a year later under the pull of %s: %zu of %zu objects",
               IsoDate(epoch).c_str(), epoch, pulling.c_str(), integrated, planets.size()));
    return Write(outDir, "asteroids.dat", FormatMinorPlanets(planets), planets.size(), result, diag);
}

}  // namespace

const std::vector<std::string>& BuildGroups() {
    static const std::vector<std::string> groups{"foundation", "series", "hipparcos", "notes", "deepsky", "asteroids"};
    return groups;
}

bool BuildGroup(const std::string& group, const SourcePaths& sources, const std::string& outDir, BuildResult& result,
                Diagnostics& diag) {
    if (group == "foundation") return BuildFoundation(sources, outDir, result, diag);
    if (group == "series") return BuildSeries(sources, outDir, result, diag);
    if (group == "hipparcos") return BuildHipparcos(sources, outDir, result, diag);
    if (group == "notes") return BuildNotes(sources, outDir, result, diag);
    if (group == "deepsky") return BuildDeepSky(sources, outDir, result, diag);
    if (group == "asteroids") return BuildAsteroids(sources, outDir, result, diag);
    diag.Note("unknown group \"" + group + "\"");
    return false;
}

}  // namespace velkaris::tools
