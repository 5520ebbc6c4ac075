#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/DataText.h"

namespace velkaris::tools {

struct DeepSkyRecord {
    std::string designation;  // one word, at most 7 characters: "224", "IC1396", "5194A", "I4554-1"
    int type = 0;             // 1 galaxy .. 5 planetary nebula, above 5 other kinds, 0 never drawn
    uint16_t messier = 0;
    double raDegrees = 0;  // J2000
    double decDegrees = 0;
    double magnitude = UnknownMagnitude;
    double size = 0;    // arcminutes, 0 unknown
    std::string name;   // common name, at most 62 bytes
    std::string notes;  // abbreviated description, at most 50 characters

    // Sort key: NGC first, then IC, then anything else, by number.
    int catalogue = 2;
    unsigned number = 0;
    std::string suffix;

    static constexpr double UnknownMagnitude = 99.9;
};

// Type codes of the KStars catalogue database mapped to the file's codes.
int DeepSkyTypeFromKStars(int kstarsType);

// The common name out of a "long name" list that mixes names with cross
// identifications ("Andromeda Galaxy, PGC 2557, UGC 454, NGC 224").
std::string CommonNameFrom(const std::string& longName);

// Reads table `cat` of an OpenNGC .kscat database; false when it cannot be opened.
bool ReadOpenNgcDatabase(const std::string& path, std::vector<DeepSkyRecord>& records, Diagnostics& diag);

struct NgcDescription {
    std::string notes;
    double magnitude = DeepSkyRecord::UnknownMagnitude;
};

// NGC 2000.0 descriptions keyed by "NGC 224" / "IC 1396".
std::map<std::string, NgcDescription> ParseNgc2000(const std::string& text, const std::string& fileName,
                                                   Diagnostics& diag);

// Fills notes (and a missing magnitude) from the descriptions; returns how many matched.
std::size_t MergeNgcDescriptions(std::vector<DeepSkyRecord>& records,
                                 const std::map<std::string, NgcDescription>& descriptions);

void SortDeepSky(std::vector<DeepSkyRecord>& records);

std::string FormatDeepSky(const std::vector<DeepSkyRecord>& records);

}  // namespace velkaris::tools
