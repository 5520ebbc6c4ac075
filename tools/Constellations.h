#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/DataText.h"

namespace velkaris::tools {

struct Figure {
    std::string name;
    std::vector<uint32_t> hd;                  // distinct stars, in order of first use
    std::vector<std::vector<uint16_t>> lines;  // 1-based indices into hd
};

// KStars' clines.dat: "# Name" starts a figure, "M hd" starts a stroke,
// "D hd" draws on to the next star. Only the figures of the given culture
// ("C <culture>" line) are taken.
std::vector<Figure> ParseFigureLines(const std::string& text, const std::string& fileName, Diagnostics& diag,
                                     const std::string& culture = "Western");

// Replaces, in every figure, each HD number for which `replacement` returns
// another number (for example the foundation star at the same place). Two
// slots that end up naming the same star are merged.
void ReplaceFigureStars(std::vector<Figure>& figures,
                        const std::function<std::optional<uint32_t>(uint32_t)>& replacement);

std::string FormatFigures(const std::vector<Figure>& figures);

}  // namespace velkaris::tools
