#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkaris::tools {

// One star as the star catalogue files hold it. Places are in degrees, for
// the epoch that the kind implies (J2000 for 'B', J1991.25 for 'H').
struct StarRecord {
    char kind = 'B';
    uint32_t hd = 0;
    uint32_t hip = 0;
    double raDegrees = 0.0;
    double decDegrees = 0.0;
    // Preformatted sexagesimal place; when set it is written as it stands, so
    // that a source's own digits survive unchanged.
    std::string raText;
    std::string decText;
    // Proper motion as the reader applies it: the right-ascension part is an
    // angle added to the right ascension, i.e. already divided by cos(dec).
    double pmRa = 0.0;   // arcseconds per year
    double pmDec = 0.0;  // arcseconds per year
    double magnitude = 0.0;
    uint16_t flamsteed = 0;
    std::string constellation;  // three letters or empty
    std::string bayer;          // "Alp", "Mu ", "Alp1", "Mu 1" or empty
    std::string spectral;       // at most 19 characters are kept
    std::string name;           // proper name, at most 62 bytes are kept
};

constexpr std::size_t MaxSpectralLength = 19;
constexpr std::size_t MaxStarNameLength = 62;

// The whole file: count line, catalogue name line, then the records.
std::string FormatStarCatalogue(const std::string& catalogueName, const std::vector<StarRecord>& stars);
std::string FormatStarRecord(const StarRecord& star);

// Converts a Bayer designation such as "α", "α1", "μ2" into the catalogue's
// abbreviation form ("Alp", "Alp1", "Mu 2"); empty when it is not one.
std::string BayerFromGreek(const std::string& greekUtf8);

// Turns a proper motion in right ascension measured on the sky (mu_alpha * cos
// dec) into the angle the reader adds to the right ascension.
double RightAscensionMotionAsAngle(double pmRaCosDec, double decDegrees);

}  // namespace velkaris::tools
