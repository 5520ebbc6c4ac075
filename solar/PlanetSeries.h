#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A body's heliocentric series in the VSOP87 form: six series in powers of
// the time for each of the ecliptic longitude L, latitude B and radius
// vector R. Each term is A cos(B + C tau): A in radians (L, B) or
// astronomical units (R), B in radians, C in radians per Julian millennium;
// tau is in Julian millennia of dynamical time from J2000.0. The data files
// hold VSOP87D: heliocentric, mean ecliptic and equinox of date.
struct SeriesTerm {
    double a, b, c;
};

// How reading a series file went.
enum class SeriesFileStatus {
    Read,     // every series read whole
    Missing,  // the file could not be opened or read; the series are as they were
    Damaged,  // the file broke off or held something else than numbers; the
              // series read whole before that point are kept, the rest emptied
};

class PlanetSeries {
public:
    // L0..L5, B0..B5, R0..R5.
    static constexpr int Count = 18;
    // No real series comes near this many terms; a count above it is damage.
    static constexpr uint32_t MaxTermsPerSeries = 65535;

    // Reads a series file: for each of the 18 series in order, a label
    // number (not kept), the number of terms N, then N terms "A B C"; any
    // blanks and line ends between numbers. What follows the last series is
    // not looked at. A file that cannot be read leaves the series as they
    // were; a damaged one keeps the series read whole before the damage.
    SeriesFileStatus Load(const std::string& path);
    // The same from a text in memory.
    SeriesFileStatus LoadText(std::string_view text);

    std::size_t TermCount(int series) const { return begin_[series + 1] - begin_[series]; }
    std::size_t TermCount() const { return terms_.size(); }
    bool Empty() const { return terms_.empty(); }

    // The sum of one series at tau, accumulated in extended precision.
    long double Sum(int series, double tau) const;

    // Heliocentric L, B (radians) and R (au) at tau, with its powers given.
    struct Place {
        long double L = 0, B = 0, R = 0;
    };
    Place Evaluate(const std::array<long double, 6>& powers) const;
    // The powers 1, tau, ..., tau^5 of a dynamical Julian date.
    static std::array<long double, 6> PowersAt(double jde);

private:
    void Clear();

    // All terms side by side, series after series; series i is
    // terms_[begin_[i], begin_[i + 1]).
    std::vector<SeriesTerm> terms_;
    std::array<std::size_t, Count + 1> begin_{};
};

// "data/la_earth.dat" or "data/la_" + the body's name + ".dat"; "ha_" for
// the high-accuracy twins.
std::string SeriesFileName(const std::string& body, bool highAccuracy);

// What the user is told about a series file that did not read whole.
std::string SeriesProblemText(const std::string& path, SeriesFileStatus status);
