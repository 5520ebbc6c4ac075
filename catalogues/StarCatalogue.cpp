#include "catalogues/StarCatalogue.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "catalogues/DateCorrection.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/StarRecord.h"
#include "catalogues/TextCursor.h"

namespace {

constexpr std::size_t kCountLineRest = 255;
constexpr std::size_t kNameRead = 63;
// A guess at the shortest sensible record, used only to size the first
// allocation: never trusted for more than the text can hold.
constexpr std::size_t kShortestRecord = 40;

double ClampedAsin(double x) { return std::asin(std::clamp(x, -1.0, 1.0)); }

}  // namespace

std::string LoadJobText(const std::string& path) { return "Loading: " + path; }

bool StarCatalogue::ReadHeader(TextCursor& text, Header& header) {
    header = Header{};
    text.ReadCount(header.count);
    text.ReadLine(kCountLineRest + 1);
    std::string_view name = text.ReadLine(kNameRead);
    if (name.empty()) return false;
    const bool wholeLine = name.back() == '\n';
    name.remove_suffix(1);
    header.name.assign(name);
    // What a long name line leaves behind is not the first record.
    if (!wholeLine) text.SkipLine();
    return true;
}

std::optional<StarCatalogue::Header> StarCatalogue::ReadHeaderOf(const std::string& path) {
    // The header is a few dozen characters of a file that may hold many
    // megabytes; more is read only when the header runs past what was read.
    std::string text;
    for (std::size_t size = 4096;; size *= 16) {
        bool complete = false;
        if (!ReadFileStart(path, size, text, complete)) return std::nullopt;
        TextCursor cursor(text);
        Header header;
        const bool named = ReadHeader(cursor, header);
        if (complete || !cursor.AtEnd()) {
            if (!named) return std::nullopt;
            return header;
        }
    }
}

StarCatalogue::StarCatalogue(std::string path_, Header header, bool enabled_)
    : count(header.count), name(std::move(header.name)), path(std::move(path_)), enabled(enabled_),
      loadRequested(enabled_) {}

StarCatalogue::~StarCatalogue() = default;

bool StarCatalogue::Load(LoadProgress* progress) {
    if (loaded_) return true;
    if (progress) progress->SetJob(LoadJobText(path));
    std::string text;
    if (!ReadWholeFile(path, text)) {
        lastProblem_ = "Error opening the Star Catalogue file " + path;
        if (progress) progress->ReportProblem(lastProblem_);
        loadRequested = false;
        return false;
    }
    return LoadText(text, progress);
}

bool StarCatalogue::LoadText(std::string_view text, LoadProgress* progress) {
    if (loaded_) return true;
    TextCursor cursor(text);
    Header header;
    ReadHeader(cursor, header);
    name = std::move(header.name);
    const uint32_t promised = header.count;
    const uint32_t stride = promised / 100;

    // The count line is only a promise: records are read while the text
    // holds more, and memory follows what was really read.
    std::vector<StarRecord> records;
    records.reserve(std::min<std::size_t>(promised, cursor.Remaining() / kShortestRecord + 1));
    for (uint32_t i = 0; i < promised; ++i) {
        if (cursor.OnlyBlanksLeft()) break;
        ReadStarRecord(cursor, records.emplace_back());
        if (progress && promised >= 100 && i % stride == 0) progress->Step(1);
    }

    stars_ = std::make_unique<Star[]>(records.size());
    starCount_ = records.size();
    for (std::size_t i = 0; i < records.size(); ++i) SetStarFromRecord(stars_[i], records[i]);
    count = static_cast<uint32_t>(starCount_);
    loaded_ = true;
    loadRequested = false;
    lastProblem_.clear();
    return true;
}

void StarCatalogue::Unload() {
    if (!loaded_) return;
    stars_.reset();
    starCount_ = 0;
    loaded_ = false;
    unloadRequested = false;
}

void StarCatalogue::Enable() {
    enabled = true;
    loadRequested = !loaded_;
    unloadRequested = false;
}

void StarCatalogue::Disable() {
    enabled = false;
    unloadRequested = loaded_;
    loadRequested = false;
}

std::size_t StarCatalogue::UpdateHorizontal(float limit, bool correct) {
    const Observer& observer = *TheObserver;
    const double siderealTime = observer.localApparentSidereal.radians;
    const double phi = observer.latitude.radians;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double pi = static_cast<double>(Pi);
    std::size_t computed = 0;

    if (!correct) {
        for (Star& s : stars()) {
            if (s.magnitude > limit) {
                s.isComputed = false;
                continue;
            }
            const double delta = s.dec.radians;
            const double h = siderealTime - s.ra.radians;
            const double sinH = std::sin(h), cosH = std::cos(h);
            s.azimuth.SetRadians(std::atan2(sinH, cosH * sinPhi - std::tan(delta) * cosPhi) + pi);
            s.altitude.SetRadians(ClampedAsin(sinPhi * std::sin(delta) + cosPhi * std::cos(delta) * cosH));
            s.belowHorizon = s.altitude.radians < 0;
            s.isComputed = true;
            ++computed;
        }
        return computed;
    }

    // With (a, b, c) the precessed unit vector, the place of date is
    // ra = atan2(a, b) + z and dec = atan2(c, r), r = sqrt(a^2 + b^2). The
    // hour angle's sine and cosine, times r, follow from a and b directly, and
    // tan dec = c / r; the factor r cancels in the azimuth's atan2 and in the
    // altitude. That leaves two sine-cosine pairs, one atan2 and one asin per
    // star, the angles' own terms being the same for all.
    const DateCorrection date = DateCorrection::ForDate(observer.dynamicalJulianDate);
    const double meridian = siderealTime - date.z;
    const double sinM = std::sin(meridian), cosM = std::cos(meridian);
    for (Star& s : stars()) {
        if (s.magnitude > limit) {
            s.isComputed = false;
            continue;
        }
        const double years = date.YearsOfMotion(s.kind);
        const double alpha = s.ra.radians + years * s.pmRa;
        const double delta = s.dec.radians + years * s.pmDec;
        const double cosDec = std::cos(delta), sinDec = std::sin(delta);
        const double cosRa = std::cos(alpha + date.zeta), sinRa = std::sin(alpha + date.zeta);
        const double a = cosDec * sinRa;
        const double b = date.cosTheta * cosDec * cosRa - date.sinTheta * sinDec;
        const double c = date.sinTheta * cosDec * cosRa + date.cosTheta * sinDec;
        const double rSinH = sinM * b - cosM * a;
        const double rCosH = cosM * b + sinM * a;
        s.azimuth.SetRadians(std::atan2(rSinH, rCosH * sinPhi - c * cosPhi) + pi);
        s.altitude.SetRadians(ClampedAsin(sinPhi * c + cosPhi * rCosH));
        s.belowHorizon = s.altitude.radians < 0;
        s.isComputed = true;
        ++computed;
    }
    return computed;
}
