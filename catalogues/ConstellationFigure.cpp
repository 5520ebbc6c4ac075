#include "catalogues/ConstellationFigure.h"

#include <algorithm>
#include <unordered_set>

#include "catalogues/CatalogueFile.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/Star.h"
#include "catalogues/TextCursor.h"
#include "platform/LargeMemory.h"

namespace {

// The longest name kept; names are not shown anywhere.
constexpr std::size_t kNameLength = 39;

}  // namespace

bool ConstellationFigure::Read(TextCursor& text) {
    *this = ConstellationFigure{};
    name_.assign(TakeFilledLine(text).substr(0, kNameLength));

    // The lists grow only as far as the numbers in the file go: a count of
    // 65535 stars or of four thousand million indices that the file does not
    // hold costs nothing but the figure.
    const auto reject = [this] {
        hdNumbers_ = {};
        lines_ = {};
        return false;
    };
    uint16_t n = 0, m = 0;
    if (!text.ReadUnsignedShort(n) || !text.ReadUnsignedShort(m)) return reject();
    for (uint16_t i = 0; i < n; ++i) {
        uint32_t hd = 0;
        if (!text.ReadUnsigned(hd)) return reject();
        hdNumbers_.push_back(hd);
    }
    // An index outside the list rejects the figure only once it is read to
    // its end, so that the next figure starts where it should.
    bool indicesInList = true;
    for (uint16_t j = 0; j < m; ++j) {
        uint32_t k = 0;
        if (!text.ReadUnsigned(k)) return reject();
        Line& line = lines_.emplace_back();
        for (uint32_t l = 0; l < k; ++l) {
            uint16_t index = 0;
            if (!text.ReadUnsignedShort(index)) return reject();
            indicesInList = indicesInList && index >= 1 && index <= n;
            line.push_back(index);
        }
    }
    // The last index ends its line; the next figure's name is on the next.
    text.SkipLine();
    if (!indicesInList) return reject();
    stars_.assign(n, nullptr);
    unresolved_ = n;
    usable_ = true;
    return true;
}

void ConstellationFigure::Resolve(Star& star) {
    if (!usable_) return;
    for (std::size_t i = 0; i < hdNumbers_.size(); ++i) {
        if (hdNumbers_[i] == star.hd && !stars_[i]) {
            stars_[i] = &star;
            --unresolved_;
            break;
        }
    }
    if (unresolved_ == 0) complete_ = true;
}

void ConstellationFigure::Reset() {
    std::fill(stars_.begin(), stars_.end(), nullptr);
    unresolved_ = static_cast<uint16_t>(stars_.size());
    complete_ = false;
}

bool ConstellationFigures::Load(const std::string& path, LoadProgress* progress) {
    figures_.clear();
    FileText text;
    if (!text.Read(path)) return false;
    LoadText(text.view(), path, progress);
    return true;
}

void ConstellationFigures::LoadText(std::string_view text, const std::string& path, LoadProgress* progress) {
    figures_.clear();
    if (progress) progress->SetJob(ConstellationJobText);
    TextCursor cursor(text);
    const uint32_t promised = ReadRecordCount(cursor);
    std::string rejected;
    ForEachRecord(cursor, promised, [&](std::size_t) {
        ConstellationFigure& figure = figures_.emplace_back();
        if (figure.Read(cursor)) return;
        rejected += rejected.empty() ? "" : ", ";
        rejected += "\"" + figure.name() + "\"";
    });
    if (progress && !rejected.empty()) {
        progress->ReportProblem(
            "These constellation figures of " + path +
            " are not drawn, as their numbers break off or name a star outside their list: " + rejected);
    }
}

void ConstellationFigures::ResolveAgainst(std::span<Star> stars) {
    // Most stars of a catalogue belong to no figure: they are passed over
    // without looking through every figure.
    std::unordered_set<uint32_t> wanted;
    for (const ConstellationFigure& f : figures_) wanted.insert(f.hdNumbers().begin(), f.hdNumbers().end());
    for (Star& star : stars) {
        if (!wanted.count(star.hd)) continue;
        for (ConstellationFigure& f : figures_) {
            if (!f.complete()) f.Resolve(star);
        }
    }
}

void ConstellationFigures::ResetAll() {
    for (ConstellationFigure& f : figures_) f.Reset();
}
