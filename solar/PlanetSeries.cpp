#include "solar/PlanetSeries.h"

#include <algorithm>
#include <cmath>

#include "astro/Observer.h"
#include "catalogues/TextCursor.h"
#include "platform/LargeMemory.h"

namespace {

// The shortest a term can be written: "0 0 0" and a line end.
constexpr std::size_t kShortestTerm = 6;

}  // namespace

void PlanetSeries::Clear() {
    terms_.clear();
    terms_.shrink_to_fit();
    begin_.fill(0);
}

SeriesFileStatus PlanetSeries::Load(const std::string& path) {
    FileText text;
    if (!text.Read(path)) return SeriesFileStatus::Missing;
    return LoadText(text.view());
}

SeriesFileStatus PlanetSeries::LoadText(std::string_view text) {
    Clear();
    TextCursor cursor(text);
    std::vector<SeriesTerm> terms;
    std::array<std::size_t, Count + 1> begin{};
    int complete = 0;
    bool damaged = false;
    for (; complete < Count && !damaged; ++complete) {
        uint32_t label = 0, count = 0;
        if (!cursor.ReadUnsigned(label) || !cursor.ReadUnsigned(count) || count > MaxTermsPerSeries) {
            damaged = true;
            break;
        }
        // Room only for as many terms as the rest of the text can hold.
        terms.reserve(terms.size() + std::min<std::size_t>(count, cursor.Remaining() / kShortestTerm));
        for (uint32_t i = 0; i < count; ++i) {
            SeriesTerm t{};
            if (!cursor.ReadDouble(t.a) || !cursor.ReadDouble(t.b) || !cursor.ReadDouble(t.c) || !std::isfinite(t.a) ||
                !std::isfinite(t.b) || !std::isfinite(t.c)) {
                damaged = true;
                break;
            }
            terms.push_back(t);
        }
        if (damaged) break;
        begin[complete + 1] = terms.size();
    }
    // A series that broke off is no series: only the whole ones stay, and
    // every series after them is empty.
    terms.resize(begin[complete]);
    for (int i = complete + 1; i <= Count; ++i) begin[i] = begin[complete];
    terms.shrink_to_fit();
    terms_ = std::move(terms);
    begin_ = begin;
    // A file without a single term places nothing: it is no series file.
    return damaged || terms_.empty() ? SeriesFileStatus::Damaged : SeriesFileStatus::Read;
}

long double PlanetSeries::Sum(int series, double tau) const {
    long double sum = 0.0L;
    const SeriesTerm* t = terms_.data() + begin_[series];
    const SeriesTerm* end = terms_.data() + begin_[series + 1];
    for (; t != end; ++t) sum += t->a * std::cos(t->b + t->c * tau);
    return sum;
}

PlanetSeries::Place PlanetSeries::Evaluate(const std::array<long double, 6>& powers) const {
    const double tau = static_cast<double>(powers[1]);
    long double coordinate[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        for (int k = 0; k < 6; ++k) {
            const int series = c * 6 + k;
            if (begin_[series] == begin_[series + 1]) continue;
            coordinate[c] += Sum(series, tau) * powers[k];
        }
    }
    return Place{coordinate[0], coordinate[1], coordinate[2]};
}

std::array<long double, 6> PlanetSeries::PowersAt(double jde) {
    std::array<long double, 6> p;
    p[0] = 1.0L;
    p[1] = Observer::millenniaSinceJ2000(jde);
    for (int k = 2; k < 6; ++k) p[k] = p[k - 1] * p[1];
    return p;
}

std::string SeriesFileName(const std::string& body, bool highAccuracy) {
    return std::string(highAccuracy ? "data/ha_" : "data/la_") + body + ".dat";
}

std::string SeriesProblemText(const std::string& path, SeriesFileStatus status) {
    switch (status) {
        case SeriesFileStatus::Missing: return "Error opening the VSOP87 Terms file " + path;
        case SeriesFileStatus::Damaged:
            return "Error reading the VSOP87 Terms file " + path + ": it breaks off or is damaged";
        case SeriesFileStatus::Read: break;
    }
    return {};
}
