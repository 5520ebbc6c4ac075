#include "catalogues/MinorPlanet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "catalogues/CatalogueFile.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/TextCursor.h"
#include "platform/LargeMemory.h"

namespace {

// The general precession in longitude, degrees per day.
constexpr double kPrecessionPerDay = 0.0000382394;
// Days in a sidereal year: the period in these years squared is the cube of
// the semi-major axis in AU.
constexpr double kSiderealYear = 365.2568984;
// The axis an entry without a mean motion gets, AU.
constexpr double kAxisWithoutMotion = 2.7666668;
// Width of the name field after the number.
constexpr std::size_t kNameField = 18;
// Skipped lines listed one by one in the message; the rest are counted.
constexpr std::size_t kLinesListed = 10;

// Hands out the entries of the file, one a line, passing over blank lines,
// and tells on which line of the file the last one stood.
class EntryLines {
public:
    EntryLines(const TextCursor& cursor, const char* fileStart) : cursor_(cursor), counted_(fileStart) {}

    TextCursor& cursor() { return cursor_; }

    std::string_view Next() {
        const std::string_view line = TakeFilledLine(cursor_);
        start_ = line.data();
        return line;
    }

    // Counted as far as needed only, and never twice.
    std::size_t LineNumber() {
        lineNumber_ += static_cast<std::size_t>(std::count(counted_, start_, '\n'));
        counted_ = start_;
        return lineNumber_;
    }

private:
    TextCursor cursor_;
    const char* counted_;
    const char* start_ = nullptr;
    std::size_t lineNumber_ = 1;
};

}  // namespace

double SolveKepler(double e, double m, double tolerance) {
    double E = m + e * std::sin(m) * (1.0 + e * std::cos(m));
    double result = 0.0;
    for (int i = 0; i < 10; ++i) {
        const double derivative = 1.0 - e * std::cos(E);
        if (derivative == 0.0) break;
        const double next = E - (E - e * std::sin(E) - m) / derivative;
        result = next;
        if (std::fabs(next - E) < tolerance) break;
        E = next;
    }
    return result;
}

MinorPlanetMoment MinorPlanetMoment::Of(const Observer& observer, const SunPosition& sun) {
    MinorPlanetMoment m;
    m.daysSinceJ2000 = observer.daysSinceJ2000;
    m.precessionDegrees = kPrecessionPerDay * observer.daysSinceJ2000;
    m.sinObliquity = std::sin(observer.meanObliquity);
    m.cosObliquity = std::cos(observer.meanObliquity);
    m.sun = sun;
    return m;
}

std::string MinorPlanet::GetName() const {
    const std::string* name = Name();
    return std::to_string(number) + " " + (name ? *name : std::string());
}

void MinorPlanet::ComputePosition(const SunPosition& sun) { ComputePosition(MinorPlanetMoment::Of(*TheObserver, sun)); }

void MinorPlanet::ComputePosition(const MinorPlanetMoment& t) {
    const double pi = static_cast<double>(Pi);
    const double e = eccentricity;
    // The node of date, and the mean anomaly run on from the epoch.
    const double nodeOfDate = node.radians + t.precessionDegrees * pi / 180.0;
    const double m =
        std::fmod(meanMotion.radians * (t.daysSinceJ2000 + ElementsEpochOffset) + meanAnomaly.radians, 2.0 * pi);
    const double E = SolveKepler(e, m, KeplerTolerance);

    // In the orbit's plane, x toward the perihelion.
    const double xp = semiMajorAxis * (std::cos(E) - e);
    const double yp = semiMajorAxis * std::sqrt(1.0 - e * e) * std::sin(E);
    const double r = std::sqrt(xp * xp + yp * yp);
    // r cos u and r sin u, u = true anomaly + perihelion.
    const double sinW = std::sin(perihelion.radians), cosW = std::cos(perihelion.radians);
    const double rCosU = xp * cosW - yp * sinW;
    const double rSinU = xp * sinW + yp * cosW;
    const double sinNode = std::sin(nodeOfDate), cosNode = std::cos(nodeOfDate);
    const double sinI = std::sin(inclination.radians), cosI = std::cos(inclination.radians);
    // Heliocentric ecliptic of date, then geocentric.
    const double x = cosNode * rCosU - sinNode * rSinU * cosI + t.sun.x;
    const double y = sinNode * rCosU + cosNode * rSinU * cosI + t.sun.y;
    const double z = rSinU * sinI + t.sun.z;
    // Equatorial.
    const double xq = x;
    const double yq = y * t.cosObliquity - z * t.sinObliquity;
    const double zq = y * t.sinObliquity + z * t.cosObliquity;
    const double delta = std::sqrt(xq * xq + yq * yq + zq * zq);

    // The cosine of the phase angle at the planet, between the Sun and the
    // Earth; a cosine a hair outside -1..1 from rounding is taken as the
    // limit. The tangent of half the angle follows from it directly.
    const double c = std::clamp((r * r + delta * delta - t.sun.r * t.sun.r) / (2.0 * r * delta), -1.0, 1.0);
    const double halfTan = std::sqrt((1.0 - c) / (1.0 + c));
    const double phi1 = std::exp(-3.33 * std::pow(halfTan, 0.63));
    const double phi2 = std::exp(-1.87 * std::pow(halfTan, 1.22));
    const double g = slope;
    // H + 5 log10(r delta) - 2.5 log10((1 - G) phi1 + G phi2), in one logarithm.
    const double rDelta = r * delta;
    magnitude =
        static_cast<float>(absoluteMagnitude + 2.5 * std::log10(rDelta * rDelta / ((1.0 - g) * phi1 + g * phi2)));

    distance = delta;
    sunDistance = r;
    ra.SetRadians(std::atan2(yq, xq));
    dec.SetRadians(std::atan2(zq, std::sqrt(xq * xq + yq * yq)));
}

void ReadMinorPlanetLine(std::string_view line, MinorPlanetRecord& r) {
    r = MinorPlanetRecord{};
    TextCursor text(line);
    uint32_t number = 0;
    if (text.ReadUnsigned(number)) r.number = static_cast<int32_t>(number);
    text.SkipBlanks();
    std::string_view name = text.ReadLine(kNameField);
    const std::size_t end = name.find_last_not_of(" \t");
    r.name = end == std::string_view::npos ? std::string_view() : name.substr(0, end + 1);
    float* const elements[] = {&r.node,         &r.perihelion, &r.meanAnomaly,       &r.inclination,
                               &r.eccentricity, &r.meanMotion, &r.absoluteMagnitude, &r.slope};
    for (float* element : elements) {
        if (!text.ReadFloat(*element)) break;
    }
}

std::string OrbitProblem(const MinorPlanetRecord& r) {
    for (float element : {r.node, r.perihelion, r.meanAnomaly, r.inclination, r.eccentricity, r.meanMotion,
                          r.absoluteMagnitude, r.slope}) {
        if (!std::isfinite(element)) return "an element that is no number";
    }
    char text[64];
    if (r.eccentricity < 0.0f || r.eccentricity >= 1.0f) {
        std::snprintf(text, sizeof text, "eccentricity %g, not an ellipse", static_cast<double>(r.eccentricity));
        return text;
    }
    if (r.meanMotion < 0.0f) {
        std::snprintf(text, sizeof text, "negative mean motion %g", static_cast<double>(r.meanMotion));
        return text;
    }
    return {};
}

void SetMinorPlanetFromRecord(MinorPlanet& p, const MinorPlanetRecord& r) {
    p.number = r.number;
    if (!r.name.empty()) p.SetName(std::string(r.name));
    p.node.SetDegrees(r.node);
    p.perihelion.SetDegrees(r.perihelion);
    p.meanAnomaly.SetDegrees(r.meanAnomaly);
    p.inclination.SetDegrees(r.inclination);
    p.eccentricity = r.eccentricity;
    p.meanMotion.SetDegrees(r.meanMotion);
    p.semiMajorAxis = r.meanMotion != 0.0f
                          ? std::pow(360.0 / (static_cast<double>(r.meanMotion) * kSiderealYear), 2.0 / 3.0)
                          : kAxisWithoutMotion;
    p.absoluteMagnitude = r.absoluteMagnitude;
    p.slope = r.slope;
}

bool MinorPlanetList::Load(const std::string& path, LoadProgress* progress) {
    planets_.reset();
    count_ = 0;
    FileText text;
    if (!text.Read(path)) return false;
    LoadText(text.view(), path, progress);
    return true;
}

void MinorPlanetList::LoadText(std::string_view text, const std::string& path, LoadProgress* progress) {
    TextCursor cursor(text);
    const uint32_t promised = ReadRecordCount(cursor);
    if (progress) progress->SetJob(MinorPlanetJobText);

    // Counted first, so that memory follows what the file holds and not what
    // its count line claims.
    MinorPlanetRecord record;
    std::size_t kept = 0;
    {
        EntryLines counting(cursor, text.data());
        ForEachRecord(counting.cursor(), promised, [&](std::size_t) {
            ReadMinorPlanetLine(counting.Next(), record);
            if (OrbitProblem(record).empty()) ++kept;
        });
    }

    planets_ = std::make_unique<MinorPlanet[]>(kept);
    count_ = kept;
    const RecordProgress steps(progress, promised);
    std::size_t next = 0, skipped = 0;
    std::string listed;
    EntryLines entries(cursor, text.data());
    ForEachRecord(entries.cursor(), promised, [&](std::size_t i) {
        ReadMinorPlanetLine(entries.Next(), record);
        steps.Record(i);
        const std::string problem = OrbitProblem(record);
        if (problem.empty()) {
            if (next < kept) SetMinorPlanetFromRecord(planets_[next++], record);
            return;
        }
        if (++skipped <= kLinesListed) {
            listed += "\nline " + std::to_string(entries.LineNumber()) + " (" + std::to_string(record.number) + " " +
                      std::string(record.name) + "): " + problem;
        }
    });
    if (progress && skipped > 0) {
        if (skipped > kLinesListed) listed += "\nand " + std::to_string(skipped - kLinesListed) + " more lines";
        progress->ReportProblem("These minor planets of " + path +
                                " are left out, as only elliptic orbits can be placed:" + listed);
    }
}

void MinorPlanetList::PlaceFirst(std::size_t count, const SunPosition& sun) {
    const MinorPlanetMoment moment = MinorPlanetMoment::Of(*TheObserver, sun);
    for (MinorPlanet& p : planets().first(std::min(count, count_))) {
        p.ComputePosition(moment);
        p.UpdateHorizontal(99.0f, false);
    }
}
