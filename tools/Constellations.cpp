#include "tools/Constellations.h"

#include <algorithm>

namespace velkaris::tools {

namespace {

uint16_t SlotOf(Figure& figure, uint32_t hd) {
    auto it = std::find(figure.hd.begin(), figure.hd.end(), hd);
    if (it != figure.hd.end()) return static_cast<uint16_t>(it - figure.hd.begin() + 1);
    figure.hd.push_back(hd);
    return static_cast<uint16_t>(figure.hd.size());
}

}  // namespace

std::vector<Figure> ParseFigureLines(const std::string& text, const std::string& fileName, Diagnostics& diag,
                                     const std::string& culture) {
    std::vector<Figure> figures;
    Figure* current = nullptr;
    bool inCulture = false;
    std::size_t lineNo = 0;
    for (std::string_view line : SplitLines(text)) {
        ++lineNo;
        std::string_view t = Trim(line);
        if (t.empty()) continue;
        if (t.front() == '#') {
            // Before the culture line, comments are the file's header; after
            // it, a comment with a name opens the next figure.
            std::string_view name = Trim(t.substr(1));
            if (inCulture && !name.empty()) {
                figures.push_back(Figure{std::string(name), {}, {}});
                current = &figures.back();
            }
            continue;
        }
        if (t.front() == 'C') {
            // The file holds several sky cultures; the western figures come
            // under "C Western" and end where the next culture begins.
            if (inCulture) break;
            inCulture = Trim(t.substr(1)) == culture;
            continue;
        }
        if (!inCulture) continue;
        if ((t.front() == 'M' || t.front() == 'D') && t.size() > 2 && t[1] == ' ') {
            long long hd = 0;
            if (!ParseInt(t.substr(2), hd) || hd <= 0 || hd > 4294967294LL) {
                diag.Malformed(fileName, lineNo, "expected an HD number");
                continue;
            }
            if (!current) {
                diag.Malformed(fileName, lineNo, "stroke before any figure name");
                continue;
            }
            if (t.front() == 'D' && current->lines.empty()) {
                diag.Malformed(fileName, lineNo, "figure starts with a draw instead of a move");
                continue;
            }
            uint16_t slot = SlotOf(*current, static_cast<uint32_t>(hd));
            if (t.front() == 'M') current->lines.push_back({});
            current->lines.back().push_back(slot);
            continue;
        }
        diag.Malformed(fileName, lineNo, "unknown line");
    }
    // Comment headings without strokes (the file's own header) are not figures.
    std::erase_if(figures, [](const Figure& f) { return f.lines.empty(); });
    // Serpens comes as "Serpens Caput" and "Serpens Cauda"; it is one
    // constellation, so one figure with the strokes of both.
    for (std::size_t i = 0; i < figures.size(); ++i) {
        std::string_view name = figures[i].name;
        std::size_t blank = name.find(' ');
        if (blank == std::string_view::npos) continue;
        std::string_view part = name.substr(blank + 1);
        if (part != "Caput" && part != "Cauda") continue;
        std::string whole(name.substr(0, blank));
        for (std::size_t j = i + 1; j < figures.size(); ++j) {
            std::string_view other = figures[j].name;
            if (other.substr(0, blank + 1) != whole + " ") continue;
            std::string_view otherPart = other.substr(blank + 1);
            if (otherPart != "Caput" && otherPart != "Cauda") continue;
            for (const auto& stroke : figures[j].lines) {
                std::vector<uint16_t> moved;
                for (uint16_t index : stroke) moved.push_back(SlotOf(figures[i], figures[j].hd[index - 1]));
                figures[i].lines.push_back(std::move(moved));
            }
            figures.erase(figures.begin() + static_cast<std::ptrdiff_t>(j));
            figures[i].name = whole;
            break;
        }
    }
    return figures;
}

void ReplaceFigureStars(std::vector<Figure>& figures,
                        const std::function<std::optional<uint32_t>(uint32_t)>& replacement) {
    for (Figure& f : figures) {
        std::vector<uint32_t> oldHd = f.hd;
        std::vector<std::vector<uint16_t>> oldLines = f.lines;
        f.hd.clear();
        f.lines.clear();
        for (const auto& stroke : oldLines) {
            f.lines.push_back({});
            for (uint16_t index : stroke) {
                uint32_t hd = oldHd[index - 1];
                if (auto r = replacement(hd)) hd = *r;
                f.lines.back().push_back(SlotOf(f, hd));
            }
        }
    }
}

std::string FormatFigures(const std::vector<Figure>& figures) {
    std::string out = Format("%zu\n", figures.size());
    for (const Figure& f : figures) {
        out += CutUtf8(f.name, 38) + "\n";
        out += Format("%zu %zu\n", f.hd.size(), f.lines.size());
        for (std::size_t i = 0; i < f.hd.size(); ++i) out += Format(i + 1 < f.hd.size() ? "%u " : "%u\n", f.hd[i]);
        for (const auto& stroke : f.lines) {
            out += Format("%zu", stroke.size());
            for (uint16_t index : stroke) out += Format(" %u", unsigned{index});
            out += "\n";
        }
    }
    return out;
}

}  // namespace velkaris::tools
