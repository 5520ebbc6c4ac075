#include "catalogues/StarCatalogue.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <utility>
#include <vector>

#include "astro/Constants.h"
#include "astro/Horizontal.h"
#include "astro/Observer.h"
#include "catalogues/DateCorrection.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/StarRecord.h"
#include "catalogues/TextCursor.h"

namespace {

constexpr std::size_t kNameRead = 63;
// A header further into its file than this is not a catalogue's header.
constexpr std::size_t kMaxHeaderBytes = std::size_t{1} << 20;

// Below this many stars a second thread costs more than it saves.
constexpr std::size_t kStarsPerWorker = 20000;
constexpr std::size_t kMaxWorkers = 4;

// Everything of one update that is the same for every star: the sidereal
// time, the latitude's sine and cosine and, when the places are corrected to
// the date, the precession angles and the years of proper motion.
class HorizontalUpdate {
public:
    HorizontalUpdate(const Observer& observer, float limit, bool correct)
        : limit_(limit),
          correct_(correct),
          siderealTime_(observer.localApparentSidereal.radians),
          latitude_(observer.latitude.radians) {
        if (correct_) {
            date_ = DateCorrection::ForDate(observer.dynamicalJulianDate);
            const double meridian = siderealTime_ - date_.z;
            sinMeridian_ = std::sin(meridian);
            cosMeridian_ = std::cos(meridian);
            sinZeta_ = std::sin(date_.zeta);
            cosZeta_ = std::cos(date_.zeta);
        }
    }

    using ComputedStar = StarCatalogue::ComputedStar;

    // Stars of a catalogue, the first of them at index first, whose places'
    // sines and cosines are in trig. Each star computed gets the next entry
    // of out, in star order. Returns how many did.
    std::size_t Run(std::span<Star> stars, std::size_t first, const StarCatalogue::PlaceTrig* trig,
                    ComputedStar* out) const {
        return correct_ ? RunCorrected(stars, first, trig, out) : RunCatalogue(stars, first, out);
    }

private:
    // The star's new place, and the same as the star holds it (its angles
    // keep their radians reduced), for the painters.
    static void Place(Star& s, std::size_t index, HorizontalPlace place, ComputedStar& kept) {
        s.azimuth.SetRadians(place.azimuth);
        s.altitude.SetRadians(place.altitude);
        s.belowHorizon = s.altitude.radians < 0;
        s.isComputed = true;
        place.azimuth = s.azimuth.radians;
        place.altitude = s.altitude.radians;
        kept.place = place;
        kept.index = static_cast<uint32_t>(index);
        kept.magnitude = s.magnitude;
        kept.colourClass = s.colourClass;
        kept.belowHorizon = s.belowHorizon;
    }

    // A star left out is off the screen as well: no frame draws it.
    static void Skip(Star& s) {
        s.isComputed = false;
        s.onScreen = false;
    }

    std::size_t RunCatalogue(std::span<Star> stars, std::size_t first, ComputedStar* out) const {
        std::size_t computed = 0;
        for (std::size_t i = 0; i < stars.size(); ++i) {
            Star& s = stars[i];
            if (s.magnitude > limit_) {
                Skip(s);
                continue;
            }
            const double delta = s.dec.radians;
            const double h = siderealTime_ - s.ra.radians;
            Place(s, first + i, ToHorizontal(std::sin(h), std::cos(h), delta, latitude_), out[computed]);
            ++computed;
        }
        return computed;
    }

    // With (a, b, c) the precessed unit vector, the place of date is
    // ra = atan2(a, b) + z and dec = atan2(c, r), r = sqrt(a^2 + b^2). The
    // hour angle's sine and cosine, times r, follow from a and b directly,
    // and tan dec = c / r; the factor r cancels in the azimuth's atan2 and in
    // the altitude. The sines and cosines of ra + zeta + motion and of
    // dec + motion come from those of the catalogue place by the addition
    // theorems, the motions being small angles. That leaves one atan2 and one
    // asin per star.
    std::size_t RunCorrected(std::span<Star> stars, std::size_t first, const StarCatalogue::PlaceTrig* trig,
                             ComputedStar* out) const {
        std::size_t computed = 0;
        for (std::size_t i = 0; i < stars.size(); ++i) {
            Star& s = stars[i];
            if (s.magnitude > limit_) {
                Skip(s);
                continue;
            }
            const StarCatalogue::PlaceTrig& place = trig[i];
            const double years = date_.YearsOfMotion(s.kind);
            double sinMotion, cosMotion;
            SinCosOfSmall(years * s.pmRa, sinMotion, cosMotion);
            // ra + zeta + motion, then ra itself.
            const double sinShift = sinZeta_ * cosMotion + cosZeta_ * sinMotion;
            const double cosShift = cosZeta_ * cosMotion - sinZeta_ * sinMotion;
            const double sinRa = place.sinRa * cosShift + place.cosRa * sinShift;
            const double cosRa = place.cosRa * cosShift - place.sinRa * sinShift;
            SinCosOfSmall(years * s.pmDec, sinMotion, cosMotion);
            const double sinDec = place.sinDec * cosMotion + place.cosDec * sinMotion;
            const double cosDec = place.cosDec * cosMotion - place.sinDec * sinMotion;

            const double a = cosDec * sinRa;
            const double b = date_.cosTheta * cosDec * cosRa - date_.sinTheta * sinDec;
            const double c = date_.sinTheta * cosDec * cosRa + date_.cosTheta * sinDec;
            const double rSinH = sinMeridian_ * b - cosMeridian_ * a;
            const double rCosH = cosMeridian_ * b + sinMeridian_ * a;
            Place(s, first + i, ToHorizontalFromVector(rSinH, rCosH, c, latitude_), out[computed]);
            ++computed;
        }
        return computed;
    }

    // Sine and cosine of an angle; by their series when it is small enough
    // for the terms left out to be far below rounding (a century of the
    // fastest proper motion is a thousandth of a radian).
    static void SinCosOfSmall(double x, double& sine, double& cosine) {
        if (std::fabs(x) < 1.0 / 64) {
            const double x2 = x * x;
            sine = x * (1 - x2 / 6 * (1 - x2 / 20 * (1 - x2 / 42)));
            cosine = 1 - x2 / 2 * (1 - x2 / 12 * (1 - x2 / 30 * (1 - x2 / 56)));
        } else {
            sine = std::sin(x);
            cosine = std::cos(x);
        }
    }

    float limit_;
    bool correct_;
    double siderealTime_;
    LatitudeTrig latitude_;
    DateCorrection date_;
    double sinMeridian_ = 0.0, cosMeridian_ = 1.0;
    double sinZeta_ = 0.0, cosZeta_ = 1.0;
};

// What the user is told about a load that left something out, or nothing.
std::string LoadProblem(const std::string& path, std::size_t stars, std::size_t skippedLines, std::size_t damaged) {
    const std::string file = "The Star Catalogue file " + path;
    if (skippedLines == 0 && damaged == 0) return stars == 0 ? file + " holds no stars." : std::string();
    std::string text = file + ": ";
    if (skippedLines != 0)
        text += std::to_string(skippedLines) + (skippedLines == 1 ? " line holds" : " lines hold") + " no star record";
    if (skippedLines != 0 && damaged != 0) text += " and ";
    if (damaged != 0)
        text += std::to_string(damaged) + (damaged == 1 ? " record has" : " records have") + " numbers that are none";
    return text + "; they are left out.";
}

}  // namespace

std::string LoadJobText(const std::string& path) { return "Loading: " + path; }

bool StarCatalogue::ReadHeader(TextCursor& text, Header& header) {
    header = Header{};
    text.ReadCount(header.count);
    // Whatever follows the number on its line is a comment, however long:
    // taking part of it for the name would make the name line a record.
    text.SkipLine();
    std::string_view name = text.ReadLine(kNameRead);
    if (name.empty()) return false;
    const bool wholeLine = name.back() == '\n';
    name.remove_suffix(1);
    header.name.assign(name);
    // What a long name line leaves behind is not the first record.
    if (!wholeLine) text.SkipLine();
    return true;
}

std::optional<StarCatalogue::Header> StarCatalogue::ReadHeaderOf(const std::string& path, std::string* problem) {
    // The header is a few dozen characters of a file that may hold many
    // megabytes; more is read only when the header runs past what was read.
    for (std::size_t size = 4096; size <= kMaxHeaderBytes; size *= 16) {
        FileText text;
        if (!text.ReadStart(path, size)) {
            if (problem) *problem = FileProblemText(text.problem());
            return std::nullopt;
        }
        TextCursor cursor(text.view());
        Header header;
        const bool named = ReadHeader(cursor, header);
        if (text.complete() || !cursor.AtEnd()) {
            if (named) return header;
            break;
        }
    }
    if (problem) *problem = "has no name line";
    return std::nullopt;
}

StarCatalogue::StarCatalogue(std::string path_, Header header, bool enabled_)
    : count(header.count),
      name(std::move(header.name)),
      path(std::move(path_)),
      enabled(enabled_),
      loadRequested(enabled_) {}

StarCatalogue::~StarCatalogue() { DestroyStars(); }

void StarCatalogue::DestroyStars() {
    for (std::size_t i = starCount_; i-- > 0;) stars_[i].~Star();
    stars_ = nullptr;
    starCount_ = 0;
    storage_.reset();
    trig_ = nullptr;
    trigStorage_.reset();
    computed_ = nullptr;
    computedCount_ = 0;
    computedStorage_.reset();
    updated_ = false;
}

bool StarCatalogue::Load(LoadProgress* progress) {
    if (loaded_) return true;
    if (progress) progress->SetJob(LoadJobText(path));
    FileText text;
    if (!text.Read(path)) {
        lastProblem_ = "Error opening the Star Catalogue file " + path + ": it " + FileProblemText(text.problem());
        if (progress) progress->ReportProblem(lastProblem_);
        loadRequested = false;
        return false;
    }
    return LoadText(text.view(), progress);
}

bool StarCatalogue::LoadText(std::string_view text, LoadProgress* progress) {
    if (loaded_) return true;
    TextCursor cursor(text);
    Header header;
    if (ReadHeader(cursor, header)) name = std::move(header.name);
    const uint32_t promised = header.count;
    const uint32_t stride = promised / 100;

    // The count line is only a promise. A first pass finds how many records
    // the text really holds, so that memory follows the file and not what
    // it claims; the second reads them into their stars. A line where no
    // record starts is skipped on its own (the next line may start one), a
    // record with a number that is none is skipped whole.
    const TextCursor records = cursor;
    StarRecord record;
    const auto next = [&cursor, &record](std::size_t& skippedLines, std::size_t& damaged) {
        while (!cursor.OnlyBlanksLeft()) {
            TextCursor lineStart = cursor;
            if (!ReadStarRecord(cursor, record)) {
                cursor = lineStart;
                cursor.SkipLine();
                ++skippedLines;
            } else if (!HasOnlyNumbers(record)) {
                ++damaged;
            } else {
                return true;
            }
        }
        return false;
    };
    std::size_t found = 0, skippedLines = 0, damaged = 0;
    while (found < promised && next(skippedLines, damaged)) ++found;

    LargeBlock storage = AllocateLarge(found * sizeof(Star));
    if (!storage) {
        lastProblem_ = "Not enough memory for the stars of " + path;
        if (progress) progress->ReportProblem(lastProblem_);
        loadRequested = false;
        return false;
    }
    DestroyStars();  // what an interrupted earlier load may have left
    storage_ = std::move(storage);
    stars_ = static_cast<Star*>(storage_.get());
    cursor = records;
    std::size_t again = 0;
    for (std::size_t i = 0; i < found; ++i) {
        next(again, again);
        Star* star = new (&stars_[i]) Star;
        starCount_ = i + 1;  // constructed, so destroyed whatever happens next
        SetStarFromRecord(*star, record);
        if (progress && promised >= 100 && i % stride == 0) progress->Step(1);
    }
    trigStorage_ = AllocateLarge(found * sizeof(PlaceTrig));
    computedStorage_ = AllocateLarge(found * sizeof(ComputedStar));
    if (!trigStorage_ || !computedStorage_) {
        DestroyStars();
        lastProblem_ = "Not enough memory for the stars of " + path;
        if (progress) progress->ReportProblem(lastProblem_);
        loadRequested = false;
        return false;
    }
    trig_ = static_cast<PlaceTrig*>(trigStorage_.get());
    computed_ = static_cast<ComputedStar*>(computedStorage_.get());
    std::uninitialized_value_construct_n(computed_, found);
    for (std::size_t i = 0; i < found; ++i) {
        const Star& star = stars_[i];
        trig_[i] = {std::sin(star.ra.radians), std::cos(star.ra.radians), std::sin(star.dec.radians),
                    std::cos(star.dec.radians)};
    }
    count = static_cast<uint32_t>(starCount_);
    loaded_ = true;
    loadRequested = false;
    lastProblem_ = LoadProblem(path, found, skippedLines, damaged);
    if (progress && !lastProblem_.empty()) progress->ReportProblem(lastProblem_);
    return true;
}

void StarCatalogue::Unload() {
    if (!loaded_) return;
    DestroyStars();
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
    const HorizontalUpdate update(*TheObserver, limit, correct);
    const std::span<Star> all = stars();
    // The stars are independent of each other, so a large catalogue is
    // shared out between the processors; the caller sees one finished update.
    const std::size_t workers =
        all.size() < kStarsPerWorker ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMaxWorkers);
    updated_ = true;
    if (workers == 1) return computedCount_ = update.Run(all, 0, trig_, computed_);

    // Each share fills its own stretch of the list from its start; the
    // stretches are closed up afterwards.
    const std::size_t share = (all.size() + workers - 1) / workers;
    std::vector<std::size_t> computed(workers, 0);
    std::vector<std::thread> helpers;
    helpers.reserve(workers - 1);
    for (std::size_t w = 1; w < workers; ++w) {
        const std::size_t begin = std::min(all.size(), w * share);
        const std::span<Star> part = all.subspan(begin, std::min(share, all.size() - begin));
        const PlaceTrig* trig = trig_ + begin;
        ComputedStar* out = computed_ + begin;
        try {
            helpers.emplace_back(
                [&update, &computed, w, part, begin, trig, out] { computed[w] = update.Run(part, begin, trig, out); });
        } catch (const std::exception&) {
            // No thread to be had (no resources, or no memory for its state):
            // this one does that share too. Letting it through would end the
            // program with the helpers already started still joinable.
            computed[w] = update.Run(part, begin, trig, out);
        }
    }
    computed[0] = update.Run(all.first(std::min(share, all.size())), 0, trig_, computed_);
    for (std::thread& t : helpers) t.join();
    std::size_t total = computed[0];
    for (std::size_t w = 1; w < workers; ++w) {
        const ComputedStar* from = computed_ + std::min(all.size(), w * share);
        std::copy(from, from + computed[w], computed_ + total);
        total += computed[w];
    }
    computedCount_ = total;
    return total;
}
