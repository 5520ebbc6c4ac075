#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/DataText.h"

namespace velkaris::tools {

// One body's VSOP87 series: L0..L5, B0..B5, R0..R5. Each term keeps the
// source's own digits (A, B, C) so that nothing is lost on the way.
struct SeriesTerm {
    std::string a, b, c;
};

struct SeriesSet {
    std::array<std::vector<SeriesTerm>, 18> series;
    std::string version;  // the source's version letter, "D" for the ecliptic of date
};

// Reads astronomia's data/vsop87<V><body>.js modules.
bool ParseAstronomiaSeries(const std::string& text, const std::string& fileName, SeriesSet& set, Diagnostics& diag);

// The series file: for each of the 18 series an index line, a term count
// line and then one "A B C" line per term.
std::string FormatSeries(const SeriesSet& set);

std::size_t TermCount(const SeriesSet& set);

}  // namespace velkaris::tools
