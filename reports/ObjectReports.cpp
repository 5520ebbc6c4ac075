#include "reports/ObjectReports.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "catalogues/BayerLetters.h"
#include "catalogues/DeepSkyObject.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/Star.h"
#include "catalogues/TextCursor.h"
#include "platform/LargeMemory.h"
#include "reports/NotesTranslation.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"

namespace {

constexpr int TitleSize = 16;
constexpr int SourceSize = 12;
constexpr int BodySize = 14;

// Any line of the notes file, however long, with its line end.
constexpr std::size_t WholeLine = std::numeric_limits<std::size_t>::max();
// The notes of the whole Bright Star Catalogue take under half a MiB; a file
// far larger than that is no notes file and is not read.
constexpr std::size_t MostNotesBytes = 64u << 20;

struct NoteCategory {
    std::string_view code;  // the first four characters of a remark
    const char* heading;
};

constexpr NoteCategory NoteCategories[] = {
    {"C:  ", "\nColors:\n"},
    {"D:  ", "\nDouble and multiple stars:\n"},
    {"DYN:", "\nDynamical parallaxes:\n"},
    {"G:  ", "\nGroup membership:\n"},
    {"M:  ", "\nMiscellaneous:\n"},
    {"N:  ", "\nStar names:\n"},
    {"P:  ", "\nPolarization:\n"},
    {"R:  ", "\nStellar radii or diameters:\n"},
    {"RV: ", "\nRadial and/or rotational velocities:\n"},
    {"S:  ", "\nSpectra:\n"},
    {"SB: ", "\nSpectroscopic binaries:\n"},
    {"VAR:", "\nVariability:\n"},
};

bool StartsBlock(std::string_view line) { return !line.empty() && line[0] >= '0' && line[0] <= '9'; }

// Whether a line starts the block of the star with this HD number; a number
// too large for any star starts no star's block.
bool StartsBlockOf(std::string_view line, uint32_t hd) {
    if (!StartsBlock(line)) return false;
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    return error == std::errc() && number == hd;
}

// A remark: the heading of its category in italics, then the text after the
// four characters of the code (a continuation line has four other ones).
void AppendNoteLine(ReportWriter& out, std::string_view line) {
    out.Italic(true);
    for (const NoteCategory& c : NoteCategories) {
        if (line.substr(0, 4) == c.code) {
            out.Append(c.heading);
            break;
        }
    }
    out.Italic(false);
    if (line.size() > 4) {
        out.Append(line.substr(4));
    } else if (!line.empty() && line.back() == '\n') {
        out.Append("\n");
    }
}

// A distance in kilometres as a whole number; none (a body without series)
// shows as 0.
unsigned long WholeKilometres(double km) {
    return std::isfinite(km) && km >= 0 && km < 1e18 ? static_cast<unsigned long>(km) : 0UL;
}

void AppendTitle(ReportWriter& out, std::string_view title) {
    out.Size(TitleSize);
    out.Bold(true);
    out.Append(title);
    out.Bold(false);
}

void AppendSource(ReportWriter& out, const char* line) {
    out.Size(SourceSize);
    out.Italic(true);
    out.Append(line);
}

void StartBody(ReportWriter& out, SkyObject& object) {
    out.Size(BodySize);
    out.Italic(false);
    AppendPosition(out, object);
}

// The lit part, magnitude and elongation of a planet or the Moon.
template <class Body>
void AppendPhase(ReportWriter& out, Body& body) {
    out.AppendFormat("Phase\t\t: %5.3f\t\t", body.illuminatedFraction);
    out.AppendFormat("Magnitude\t: %5.2f\n", static_cast<double>(body.magnitude));
    out.AppendFormat("Elongation\t: %s\n", body.elongation.FormatSigned(false).c_str());
}

const char* StarSource(char kind) {
    switch (kind) {
        case 'H': return "\n(source: hipparcos catalogue)\n";
        case 'B': return "\n(source: bright star catalogue)\n";
        case 'T': return "\n(source: tycho catalogue)\n";
        default: return "\n(source: unknown catalogue)\n";
    }
}

const char* DeepSkyHeading(int32_t type) {
    switch (type) {
        case DeepSkyGalaxy: return "Galaxy: ";
        case DeepSkyOpenCluster: return "Open Cluster: ";
        case DeepSkyGlobularCluster: return "Globular Cluster: ";
        case DeepSkyBrightNebula: return "Bright Emission/Reflection Nebula\n";
        case DeepSkyPlanetaryNebula: return "Planetary Nebula:";
        default: return "";
    }
}

}  // namespace

void AppendPosition(ReportWriter& out, SkyObject& object) {
    out.AppendFormat("\nRA\t\t: %s\tAltitude\t\t: %s\n", object.ra.Format().c_str(),
                     object.altitude.Format(false).c_str());
    out.AppendFormat("Dec\t\t: %s\tAzimuth\t: %s\n\n", object.dec.Format(false).c_str(),
                     object.azimuth.Format(true).c_str());
    HmsAngle rise, transit, set;
    const uint32_t status = object.RiseTransitSet(rise, transit, set);
    if (status & RtsNeverRises) {
        out.Append("Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains below the horizon\n\n");
    } else if (status & RtsNeverSets) {
        out.Append("Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains above the horizon\n\n");
    } else {
        if (status & RtsRise) {
            out.AppendFormat("Rise\t\t: %02d:%02d\n", rise.hours, rise.minutes);
        } else {
            out.Append("Rise\t\t: - -:- -\n");
        }
        if (status & RtsTransit) {
            out.AppendFormat("Transit\t\t: %02d:%02d\n", transit.hours, transit.minutes);
        } else {
            out.Append("Transit\t\t: - -:- -\n");
        }
        if (status & RtsSet) {
            out.AppendFormat("Set\t\t: %02d:%02d\n\n", set.hours, set.minutes);
        } else {
            out.Append("Set\t\t: - -:- -\n\n");
        }
    }
}

void AppendStarNotes(ReportWriter& out, std::string_view notesText, uint32_t hd) {
    TextCursor text(notesText);
    std::string_view line = text.ReadLine(WholeLine);
    while (!line.empty()) {
        if (!StartsBlockOf(line, hd)) {
            line = text.ReadLine(WholeLine);
            continue;
        }
        out.Bold(true);
        out.Append("\nNotes from Bright Star Catalogue:\n");
        out.Bold(false);
        // The block runs to the next line that starts a block, which may be
        // another block of the same star.
        line = {};
        while (!text.AtEnd()) {
            const std::string_view note = text.ReadLine(WholeLine);
            if (StartsBlock(note)) {
                line = note;
                break;
            }
            AppendNoteLine(out, note);
        }
    }
}

ReportText RenderStar(Star& star, const std::string& notesPath) {
    ReportWriter out;
    out.Size(TitleSize);
    out.Italic(false);
    out.Bold(true);
    out.Append("Star: ");
    const char* constellation = star.constellation;
    bool identified = true;
    if (const std::string* name = star.Name()) {
        out.Append(*name);
        out.Append(" \t");
        out.Bold(false);
    } else if (star.bayer[0] != '\0') {
        out.Font(GreekFont);
        out.Bold(false);
        out.Append(BayerGreek(std::string(star.bayer, strnlen(star.bayer, sizeof star.bayer))));
        out.Bold(true);
        out.Font(ReportFont);
        out.AppendFormat(" %.3s \t", constellation);
        out.Bold(false);
    } else if (star.flamsteed != 0) {
        out.AppendFormat("%d %.3s \t", star.flamsteed, constellation);
        out.Bold(false);
    } else {
        identified = false;
    }
    if (star.hd != 0) {
        out.AppendFormat("HD: %u ", star.hd);
        out.Bold(false);
        identified = true;
    }
    if (star.hip != 0) {
        out.AppendFormat("HIP: %u ", star.hip);
        out.Bold(false);
        identified = true;
    }
    if (!identified) {
        out.Bold(false);
        out.Append("no name or id given in catalogue");
    }
    AppendSource(out, StarSource(star.kind));
    StartBody(out, star);
    out.AppendFormat("Magnitude\t: %5.2f\n", static_cast<double>(star.magnitude));
    if (const std::string* spectral = star.Spectral()) out.AppendFormat("Spectrum\t: %s\n", spectral->c_str());
    // Without the notes file, or for a star without an HD number, the report
    // ends here.
    if (star.hd != 0) {
        FileText notes;
        if (notes.Read(notesPath, MostNotesBytes)) AppendStarNotes(out, notes.view(), star.hd);
    }
    return out.Take();
}

ReportText RenderDeepSky(DeepSkyObject& object) {
    ReportWriter out;
    out.Size(TitleSize);
    out.Bold(true);
    out.Append(DeepSkyHeading(object.type));
    if (const std::string* name = object.Name()) {
        out.Append(*name);
        out.Append("\n");
    }
    if (object.messier != 0) out.AppendFormat("M%hu ", object.messier);
    out.Append(std::string_view(object.designation, strnlen(object.designation, sizeof object.designation)));
    out.Bold(false);
    AppendSource(out, "\n(source: ngc 2000 catalogue)\n");
    StartBody(out, object);
    out.AppendFormat("Magnitude\t: %5.2f\n\n", static_cast<double>(object.magnitude));
    const std::string_view notes(object.notes, strnlen(object.notes, sizeof object.notes));
    out.Bold(true);
    out.Append("Notes\t\t: ");
    out.Bold(false);
    out.Append(notes);
    out.Bold(true);
    out.Append("\n\nNotes Translation attempt:\n");
    out.Bold(false);
    out.Append(TranslateNotes(notes));
    return out.Take();
}

ReportText RenderPlanet(Planet& planet) {
    ReportWriter out;
    AppendTitle(out, "Planet: " + planet.GetName());
    StartBody(out, planet);
    AppendPhase(out, planet);
    out.AppendFormat("From Earth\t: %9.6f au\n", planet.distance);
    out.AppendFormat("From Sun\t: %9.6f au\n", planet.R);
    out.AppendFormat("App. diameter\t: %s\n", planet.apparentDiameter.FormatArcseconds().c_str());
    return out.Take();
}

ReportText RenderSun(Sun& sun) {
    ReportWriter out;
    AppendTitle(out, sun.GetName());
    StartBody(out, sun);
    out.AppendFormat("\nFrom Earth\t: %9.6fau / %lukm\n", sun.R, WholeKilometres(sun.distanceKm));
    out.AppendFormat("App. diameter\t: %s\n", sun.apparentDiameter.FormatArcseconds().c_str());
    return out.Take();
}

ReportText RenderMoon(Moon& moon) {
    ReportWriter out;
    AppendTitle(out, moon.GetName());
    StartBody(out, moon);
    AppendPhase(out, moon);
    out.AppendFormat("From Earth\t: %lukm\n", WholeKilometres(moon.distanceKm));
    out.AppendFormat("App. diameter\t: %s\n", moon.apparentDiameter.FormatArcseconds().c_str());
    return out.Take();
}

ReportText RenderMinorPlanet(MinorPlanet& planet) {
    ReportWriter out;
    AppendTitle(out, "Asteroid: " + planet.GetName());
    AppendSource(out, "\n(source: orbital elements of minor planets 1998)\n");
    StartBody(out, planet);
    out.AppendFormat("Magnitude\t: %5.2f\n", static_cast<double>(planet.magnitude));
    return out.Take();
}
