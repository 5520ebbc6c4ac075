#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/DataText.h"
#include "tools/StarRecords.h"

namespace velkaris::tools {

// Names and designations by Hipparcos number (d3-celestial starnames.json).
struct StarName {
    uint32_t hip = 0;
    uint32_t hd = 0;
    std::string name;   // proper name, may be empty
    std::string bayer;  // abbreviation form ("Alp1"), may be empty
    uint16_t flamsteed = 0;
    std::string constellation;  // may be empty
};

struct StarNames {
    std::unordered_map<uint32_t, StarName> byHip;
    std::unordered_map<uint32_t, uint32_t> hipByHd;  // only stars that have an HD number
    const StarName* ByHd(uint32_t hd) const;
};

StarNames ParseStarNames(const std::string& json, const std::string& fileName, Diagnostics& diag);

// A Hipparcos star with its J2000 place (d3-celestial stars.14.json).
struct HipparcosPlace {
    uint32_t hip = 0;
    double raDegrees = 0.0;  // J2000, epoch J2000
    double decDegrees = 0.0;
    double magnitude = 0.0;
};

std::vector<HipparcosPlace> ParseHipparcosPlaces(const std::string& json, const std::string& fileName,
                                                 Diagnostics& diag);

struct ProperMotion {
    double pmRaCosDec = 0.0;  // arcseconds per year, along the sky
    double pmDec = 0.0;
};

// Stellarium's hip_pm.dat: "HIP pmRA pmDE" in milliarcseconds per year.
std::unordered_map<uint32_t, ProperMotion> ParseHipparcosProperMotions(const std::string& text,
                                                                       const std::string& fileName, Diagnostics& diag);

// Stellarium's cross-id.dat: "HIP component SAO HD HR", tab separated; HIP to HD.
std::unordered_map<uint32_t, uint32_t> ParseCrossIdentifications(const std::string& text, const std::string& fileName,
                                                                 Diagnostics& diag);

// Spectral classes from KStars' stars.dat (J2000 places, two-character
// types), looked up by place and magnitude since that file carries no numbers.
class SpectralIndex {
public:
    void Parse(const std::string& text, const std::string& fileName, Diagnostics& diag);
    // The type of the nearest entry within 3 arcseconds whose magnitude is
    // within 1 of the given one; empty when there is none.
    std::string Find(double raDegrees, double decDegrees, double magnitude) const;
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        double ra, dec, mag;
        char type[3];
    };
    static long long Cell(double decDegrees);
    std::vector<Entry> entries_;
    std::unordered_map<long long, std::vector<std::size_t>> cells_;
};

struct HipparcosSources {
    std::vector<HipparcosPlace> places;
    std::unordered_map<uint32_t, ProperMotion> motions;
    std::unordered_map<uint32_t, uint32_t> hdByHip;
    const StarNames* names = nullptr;
    const SpectralIndex* spectra = nullptr;
};

// Epoch of the Hipparcos places, and the years from it to J2000.
constexpr double HipparcosEpochJD = 2448349.0625;
constexpr double YearsHipparcosToJ2000 = (2451545.0 - HipparcosEpochJD) / 365.25;

// One star in the catalogue form, kind 'H', with its place carried back from
// J2000 to the Hipparcos epoch along the same straight line the reader uses.
StarRecord MakeHipparcosRecord(const HipparcosPlace& place, const HipparcosSources& sources);

std::vector<StarRecord> BuildHipparcosCatalogue(const HipparcosSources& sources);

}  // namespace velkaris::tools
