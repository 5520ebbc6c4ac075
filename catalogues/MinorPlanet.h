#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "catalogues/SkyObject.h"

class LoadProgress;
class Observer;
class TextCursor;

// The Sun as the Earth sees it, which turns a heliocentric place into a
// geocentric one: rectangular ecliptic coordinates (AU, ecliptic and equinox
// of date, no nutation, no aberration) and the distance r (AU). The
// controller takes them from its Sun, computed first in every update.
struct SunPosition {
    double x = 0.0, y = 0.0, z = 0.0;
    double r = 0.0;
};

// Kepler's equation E - e sin E = m (radians) by Newton's method from the
// starting value m + e sin m (1 + e cos m): at most 10 steps, stopping when
// a step is below tolerance or the derivative 1 - e cos E vanishes. Returns
// the last step's E, or 0 when the first step met a vanishing derivative.
double SolveKepler(double e, double m, double tolerance);

// The tolerance a minor planet's place is solved to, radians (18").
inline constexpr double KeplerTolerance = 8.73e-05;

// Days from J2000.0 to the common epoch of the elements, JD 2451000.5.
inline constexpr double ElementsEpochOffset = 544.5;

// What the place of every minor planet at one moment shares: the time, the
// precession of the equinox since J2000.0, the obliquity and the Sun.
struct MinorPlanetMoment {
    double daysSinceJ2000 = 0.0;  // Julian date (UT) - 2451545.0
    double precessionDegrees = 0.0;
    double sinObliquity = 0.0, cosObliquity = 1.0;  // mean obliquity of date
    SunPosition sun;

    static MinorPlanetMoment Of(const Observer& observer, const SunPosition& sun);
};

// A minor planet on its osculating two-body orbit. The angles are J2000.0
// ecliptic elements for the common epoch JD 2451000.5; the node is carried
// forward by the general precession in longitude, so that the place comes
// out in the ecliptic and equator of date. No light time, aberration or
// nutation is applied.
class MinorPlanet : public SkyObject {
public:
    // "number name", e.g. "1 Ceres".
    std::string GetName() const override;

    // ra, dec and magnitude for the observer's current moment.
    void ComputePosition(const SunPosition& sun);
    void ComputePosition(const MinorPlanetMoment& moment);

    RadianAngle meanAnomaly;  // at the epoch
    RadianAngle perihelion;   // argument of perihelion
    RadianAngle node;         // longitude of the ascending node, equinox J2000.0
    RadianAngle inclination;
    double eccentricity = 0.0;
    double semiMajorAxis = 0.0;  // AU, from the mean motion
    RadianAngle meanMotion;      // per day
    int32_t number = 0;
    float absoluteMagnitude = 0.0f;  // H
    float slope = 0.0f;              // G

    // Distances of the last computed place, AU.
    double distance = 0.0;     // from the Earth, AU
    double sunDistance = 0.0;  // from the Sun, AU
};

// One line of the minor-planet file before conversion; the name points into
// the file's text.
struct MinorPlanetRecord {
    int32_t number = 0;
    std::string_view name;     // trailing blanks removed
    float node = 0.0f;         // degrees
    float perihelion = 0.0f;   // degrees
    float meanAnomaly = 0.0f;  // degrees
    float inclination = 0.0f;  // degrees
    float eccentricity = 0.0f;
    float meanMotion = 0.0f;  // degrees per day
    float absoluteMagnitude = 0.0f;
    float slope = 0.0f;
};

// Reads one entry from one line (its line end not included): the number,
// the 18-character name field after the blanks that follow the number, and
// the eight elements node, perihelion, mean anomaly, inclination,
// eccentricity, mean motion, H and G. Fields that do not convert stay zero.
void ReadMinorPlanetLine(std::string_view line, MinorPlanetRecord& record);

// Why an entry's orbit cannot be placed by the elliptic equation (an
// eccentricity outside 0 to below 1, a negative mean motion, an element that
// is no number), or empty when it can.
std::string OrbitProblem(const MinorPlanetRecord& record);

// Fills a minor planet from its record; the semi-major axis follows from the
// mean motion by Kepler's third law (2.7666668 AU when the motion is 0).
void SetMinorPlanetFromRecord(MinorPlanet& planet, const MinorPlanetRecord& record);

// The minor planets of the elements file, in file order.
class MinorPlanetList {
public:
    // Reads the file. False when it cannot be read; the list is then empty.
    // Entries whose orbit cannot be placed are left out, and the progress is
    // told which lines they stand on.
    bool Load(const std::string& path, LoadProgress* progress);
    // The same from a text already in memory; path names the file in what is
    // reported.
    void LoadText(std::string_view text, const std::string& path, LoadProgress* progress);

    // Places the first count planets for the observer's moment and brings
    // their altitude and azimuth up to date (every one counts as computed).
    void PlaceFirst(std::size_t count, const SunPosition& sun);

    std::span<MinorPlanet> planets() { return {planets_.get(), count_}; }
    std::span<const MinorPlanet> planets() const { return {planets_.get(), count_}; }
    std::size_t size() const { return count_; }

private:
    std::unique_ptr<MinorPlanet[]> planets_;
    std::size_t count_ = 0;
};

inline constexpr const char* MinorPlanetJobText = "Loading Asteroids";
