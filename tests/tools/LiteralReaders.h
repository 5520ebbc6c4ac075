#pragma once

// Readers of the data files written the way the application reads them:
// formatted scans with the same conversions and bounded line reads that take
// at most N characters up to and including the line end. They exist to prove
// that what the converters write is read back field for field.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace literal {

struct Star {
    char kind = 0;
    unsigned hd = 0, hip = 0;
    unsigned short raH = 0, raM = 0;
    float raS = 0;
    char decSign = 0;
    unsigned short decD = 0, decM = 0;
    float decS = 0;
    float pmRa = 0, pmDec = 0, mag = 0;
    unsigned short flamsteed = 0;
    std::string constellation;
    std::string bayer;  // symbol-font letter plus optional superscript
    bool hasSpectral = false;
    std::string spectral;
    std::string name;

    double RaDegrees() const { return (raH + raM / 60.0 + raS / 3600.0) * 15.0; }
    double DecDegrees() const { return (decD + decM / 60.0 + decS / 3600.0) * (decSign == '-' ? -1 : 1); }
};

struct StarFile {
    unsigned long count = 0;
    std::string name;
    std::vector<Star> stars;
};

bool ReadStarFile(const std::string& path, StarFile& out);
// The first star with that HD number, or none.
const Star* FindHd(const StarFile& f, unsigned hd);

struct DeepSky {
    std::string designation;
    int type = 0;
    unsigned short messier = 0, raH = 0, raM = 0;
    float raS = 0;
    char decSign = 0;
    unsigned short decD = 0, decM = 0;
    float mag = 0, size = 0;
    std::string name, notes;
};
bool ReadDeepSkyFile(const std::string& path, std::vector<DeepSky>& out, unsigned long& count);

struct Figure {
    std::string nameLine;
    unsigned short n = 0, m = 0;
    std::vector<unsigned> hd;
    std::vector<std::vector<unsigned short>> lines;
};
bool ReadFigureFile(const std::string& path, std::vector<Figure>& out);

struct MinorPlanet {
    int number = 0;
    std::string name;
    float node = 0, perihelion = 0, meanAnomaly = 0, inclination = 0, e = 0, n = 0, h = 0, g = 0;
};
bool ReadMinorPlanetFile(const std::string& path, std::vector<MinorPlanet>& out);

struct Term {
    double a, b, c;
};
using Series = std::array<std::vector<Term>, 18>;
bool ReadSeriesFile(const std::string& path, Series& out);
// L, B, R at tau Julian millennia from J2000.
std::array<long double, 3> EvaluateSeries(const Series& s, double tau);

// The remark lines of every block whose number is hd, as the report lists them.
std::vector<std::string> NotesFor(const std::string& path, unsigned hd);

// The symbol-font letter of a three-letter Bayer abbreviation.
char BayerLetter(const char* abbreviation);

}  // namespace literal
