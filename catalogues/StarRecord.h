#pragma once

#include <cstdint>
#include <string_view>

class Star;
class TextCursor;

// One star as it stands in a catalogue file, before conversion. The text
// fields point into the file's text.
struct StarRecord {
    char kind = 0;
    uint32_t hd = 0;
    uint32_t hip = 0;
    uint16_t raHours = 0;
    uint16_t raMinutes = 0;
    float raSeconds = 0.0f;
    char decSign = 0;
    uint16_t decDegrees = 0;
    uint16_t decMinutes = 0;
    float decSeconds = 0.0f;
    float pmRa = 0.0f;   // arcseconds per year
    float pmDec = 0.0f;  // arcseconds per year
    float magnitude = 0.0f;
    uint16_t flamsteed = 0;
    std::string_view constellation;  // at most 3 characters, empty when none
    std::string_view bayer;          // abbreviation read as is, empty when none
    std::string_view spectral;       // empty when none
    std::string_view name;           // empty when none
};

// Reads the next record. The numbers come first, on one line, in the order
// kind, HD, HIP, RA h m s, Dec sign d m s, proper motions, magnitude,
// Flamsteed; then one separator; then four bounded reads: constellation (4
// characters), Bayer letter (5), spectral type (21) and proper name (63).
// A number that does not convert leaves it and the ones after it at zero and
// the reads go on from where the text stands. True when every number up to
// the magnitude converted: only then does the text hold a record there.
bool ReadStarRecord(TextCursor& text, StarRecord& record);

// False when a number of the record is none (nan, inf): a damaged record.
bool HasOnlyNumbers(const StarRecord& record);

// The symbol-font letter of a Bayer abbreviation ("Alp" 'a', "Eta" 'h',
// "The" 'q', "Phi" 'j', "Psi" 'y', "Ome" 'w', ...).
char BayerLetter(std::string_view abbreviation);

// 'M' 0, 'O' 1, 'B' 2, 'A' 3, 'F' 4, 'G' 5, 'K' 6; anything else, or no
// spectral type, 7.
int16_t ColourClassOf(std::string_view spectral);

// Fills a star from its record: place, motions in radians per year, the
// identifiers, the Bayer letter with its superscript, spectral type and
// colour class, and the proper name.
void SetStarFromRecord(Star& star, const StarRecord& record);
