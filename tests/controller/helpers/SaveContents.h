#pragma once

// What the save loop writes at its k-th save, for the loop and for the test
// that kills it: each save's content differs from every other one's, so a
// file made of parts of two saves is told apart from a whole one.

#include <cstdint>
#include <optional>
#include <string>

#include "astro/Constants.h"
#include "controller/SlewFiles.h"

namespace save_loop {

// Settings: this many integers, all holding the save's number, and a long
// text made from it as the first recent place (long enough that a save is
// more than one small write).
inline constexpr int SettingsIntegers = 24;
inline std::string IntegerName(int i) { return "KillTestValue" + std::to_string(i); }
inline std::string TextOf(uint32_t save) {
    std::string text;
    while (text.size() < 3000) text += "save " + std::to_string(save) + ";";
    return text;
}

// Slew: a position that follows from the save's number, in the thousandths
// of a degree the record shows exactly.
inline SlewPosition PositionOf(uint32_t save) {
    const double raDegrees = (save % 360000u) * 0.001;
    const double decDegrees = ((save * 7u) % 180000u) * 0.001 - 90.0;
    return {static_cast<double>(raDegrees * Pi / 180.0L), static_cast<double>(decDegrees * Pi / 180.0L)};
}

// The save whose record the text is, by its right ascension; nothing when no
// save writes exactly these bytes.
inline std::optional<uint32_t> SlewSaveOf(const std::string& text) {
    if (text.size() < 11 || text.compare(0, 2, "R ") != 0) return std::nullopt;
    const double ra = std::stod(text.substr(2, 9));
    const auto save = static_cast<uint32_t>(ra * 1000.0 + 0.5);
    if (SlewRecord(PositionOf(save)) != text) return std::nullopt;
    return save;
}

}  // namespace save_loop
