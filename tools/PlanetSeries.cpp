#include "tools/PlanetSeries.h"

#include <cctype>

namespace velkaris::tools {

namespace {

bool IsNumberStart(char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.'; }

std::size_t LineOf(const std::string& text, std::size_t pos) {
    std::size_t n = 1;
    for (std::size_t i = 0; i < pos && i < text.size(); ++i) n += text[i] == '\n';
    return n;
}

}  // namespace

bool ParseAstronomiaSeries(const std::string& text, const std::string& fileName, SeriesSet& set, Diagnostics& diag) {
    set = SeriesSet{};
    int coordinate = -1;  // 0 L, 1 B, 2 R
    int power = -1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&](std::size_t p) {
        while (p < n && std::isspace(static_cast<unsigned char>(text[p]))) ++p;
        return p;
    };
    while (i < n) {
        char c = text[i];
        bool wordStart = i == 0 || !(std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '_');
        if (wordStart && (c == 'L' || c == 'B' || c == 'R') &&
            (i + 1 >= n || !(std::isalnum(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '_'))) {
            std::size_t p = skipBlanks(i + 1);
            if (p < n && text[p] == ':') {
                coordinate = c == 'L' ? 0 : c == 'B' ? 1 : 2;
                power = -1;
                i = p + 1;
                continue;
            }
        }
        if (c == '"' && i + 2 < n && std::isdigit(static_cast<unsigned char>(text[i + 1])) && text[i + 2] == '"') {
            std::size_t p = skipBlanks(i + 3);
            if (p < n && text[p] == ':') {
                power = text[i + 1] - '0';
                if (power > 5 || coordinate < 0) {
                    diag.Malformed(fileName, LineOf(text, i), "series outside L0..R5");
                    return false;
                }
                i = p + 1;
                continue;
            }
        }
        if (wordStart && text.compare(i, 4, "type") == 0) {
            std::size_t p = skipBlanks(i + 4);
            if (p < n && text[p] == ':') {
                p = skipBlanks(p + 1);
                if (p + 2 < n && (text[p] == '"' || text[p] == '\'')) set.version = std::string(1, text[p + 1]);
                i = p + 1;
                continue;
            }
        }
        if (c == '[') {
            std::size_t p = skipBlanks(i + 1);
            if (p < n && IsNumberStart(text[p])) {
                std::string parts[3];
                bool ok = true;
                for (int k = 0; k < 3 && ok; ++k) {
                    p = skipBlanks(p);
                    std::size_t start = p;
                    while (p < n && (IsNumberStart(text[p]) || text[p] == 'e' || text[p] == 'E')) ++p;
                    parts[k] = text.substr(start, p - start);
                    double value = 0;
                    ok = ParseDouble(parts[k], value);
                    p = skipBlanks(p);
                    if (ok) ok = p < n && text[p] == (k < 2 ? ',' : ']');
                    ++p;
                }
                if (!ok || coordinate < 0 || power < 0) {
                    diag.Malformed(fileName, LineOf(text, i), "expected a term [A, B, C] inside a series");
                    return false;
                }
                set.series[static_cast<std::size_t>(coordinate * 6 + power)].push_back({parts[0], parts[1], parts[2]});
                i = p;
                continue;
            }
        }
        ++i;
    }
    if (TermCount(set) == 0) {
        diag.Malformed(fileName, 1, "no series terms found");
        return false;
    }
    return true;
}

std::string FormatSeries(const SeriesSet& set) {
    std::string out;
    for (std::size_t i = 0; i < set.series.size(); ++i) {
        // The first number of each series is only a label; the reader skips it.
        out += Format("%zu\n%zu\n", i, set.series[i].size());
        for (const SeriesTerm& t : set.series[i]) out += t.a + " " + t.b + " " + t.c + "\n";
    }
    return out;
}

std::size_t TermCount(const SeriesSet& set) {
    std::size_t total = 0;
    for (const auto& s : set.series) total += s.size();
    return total;
}

}  // namespace velkaris::tools
