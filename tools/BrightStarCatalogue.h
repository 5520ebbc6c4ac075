#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/DataText.h"
#include "tools/StarRecords.h"

namespace velkaris::tools {

// A record of the Bright Star Catalogue (fixed-width catalog.dat).
struct BrightStar {
    uint32_t hr = 0;
    StarRecord star;  // kind 'B', J2000 place and proper motion
};

struct BrightStarCatalogue {
    std::vector<BrightStar> stars;        // records with a position, in HR order
    std::map<uint32_t, uint32_t> hdByHr;  // every record with an HD number
    std::size_t withoutPosition = 0;      // removed entries, skipped
};

BrightStarCatalogue ParseBrightStarCatalogue(const std::string& text, const std::string& fileName, Diagnostics& diag);

// Rewrites notes.dat (keyed by HR) as the notes file keyed by HD number:
// each star's block starts with a line holding its HD number; a remark that
// goes on over several source lines continues on lines starting with four
// blanks instead of repeating its category.
std::string ConvertBrightStarNotes(const std::string& notesText, const std::string& fileName,
                                   const std::map<uint32_t, uint32_t>& hdByHr, Diagnostics& diag,
                                   std::size_t* blockCount = nullptr);

}  // namespace velkaris::tools
