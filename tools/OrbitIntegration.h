#pragma once

// Heliocentric orbits of minor planets under the pull of the Sun and the
// major planets, for bringing osculating elements from one epoch to another.
//
// Frame and units throughout: heliocentric, ecliptic and equinox J2000.0;
// astronomical units, days and au per day; times are Julian dates in TT
// (TDB, to the 2 ms that separate them, which no place here can show).

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace velkaris::tools {

struct Vector3 {
    double x = 0, y = 0, z = 0;

    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator*(double s) const { return {x * s, y * s, z * s}; }
    Vector3& operator+=(const Vector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    double Dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 Cross(const Vector3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double Length() const { return std::sqrt(Dot(*this)); }
};

// Position (au) and velocity (au/day).
struct OrbitState {
    Vector3 r, v;
};

// The Gaussian gravitational constant squared: GM of the Sun in au³/day².
// Heliocentric osculating elements (JPL's among them) are referred to it.
constexpr double SunGM = 0.01720209895 * 0.01720209895;

// Keplerian elements of an ellipse; angles in radians.
struct KeplerOrbit {
    double a = 0;            // semi-major axis, au
    double e = 0;            // eccentricity, 0 <= e < 1
    double inclination = 0;  // i, 0..π
    double node = 0;         // longitude of the ascending node Ω, 0..2π (0 when i = 0 or π)
    double perihelion = 0;   // argument of perihelion ω, 0..2π (0 when e = 0)
    double meanAnomaly = 0;  // M at the epoch, 0..2π
};

// Eccentric anomaly E of an ellipse from M and e (E − e sin E = M), to the
// last bit for every e below 1.
double EccentricAnomaly(double e, double meanAnomaly);

// State on the ellipse at the elements' epoch, for the central mass gm.
OrbitState StateFromOrbit(const KeplerOrbit& orbit, double gm = SunGM);

// Osculating elements of a state. False when the state is not on an ellipse
// about gm (parabolic or hyperbolic, or a degenerate state through the Sun).
bool OrbitFromState(const OrbitState& state, KeplerOrbit& orbit, double gm = SunGM);

// Position after `days` of two-body motion about gm from a state on an
// ellipse (the state's own position when it is on none).
Vector3 TwoBodyPosition(const OrbitState& state, double days, double gm = SunGM);

// Replaces the state's velocity by the one whose two-body ellipse about gm
// reaches `target` after `days` (either sign), keeping the position: the
// ellipse through two places of a perturbed path. Newton's method from the
// state's own velocity, which must be close (the osculating velocity of the
// path is). False, leaving the state as it was, when it does not converge
// or would change the velocity by more than a hundredth.
bool AimVelocity(OrbitState& state, const Vector3& target, double days, double gm = SunGM);

// A planet that pulls on the minor planets. `place` gives its heliocentric
// position (au, J2000 ecliptic) at a Julian date (TT); it is called from
// several threads at once when the table is built, so it must not change
// shared state.
struct PerturbingBody {
    std::string name;
    double gm = 0;          // au³/day²
    double sampleDays = 1;  // spacing of the tabulated places
    std::function<Vector3(double jdTT)> place;
};

// GM of the major planets in au³/day², from their reciprocal masses in
// solar units (IAU 2009 system; the Earth carries the Moon's mass).
double PlanetGM(const std::string& planet);
// The spacing of tabulated places, in days, that keeps the interpolated
// place of the planet within 3e-7 au.
double PlanetSampleDays(const std::string& planet);
// The planet's mean distance from the Sun in au (0 for another name).
double PlanetSemiMajorAxis(const std::string& planet);

// The planets' places tabulated once over a span of dates, and read back at
// any moment of it by eighth-point Lagrange interpolation. Building the table
// costs one evaluation of each planet per sample; reading it costs a few
// dozen multiplications, which is what lets thousands of orbits share one
// set of planetary places. Read-only once built, so threads may share it.
class PerturberTable {
public:
    static constexpr std::size_t MostBodies = 16;
    // Tabulates the bodies (the first MostBodies of them) over [firstJD,
    // lastJD] (either order), using up to `threads` threads.
    PerturberTable(std::vector<PerturbingBody> bodies, double firstJD, double lastJD, unsigned threads = 1);

    std::size_t BodyCount() const { return bodies_.size(); }
    const PerturbingBody& Body(std::size_t i) const { return bodies_[i]; }
    // Interpolated heliocentric places of every body at jd into places[0..BodyCount()).
    // Outside the tabulated span the nearest eight samples are used.
    void Places(double jdTT, Vector3* places) const;

private:
    struct Samples {
        double step = 1;
        std::vector<Vector3> at;  // at[j]: place at firstJD_ + (j - 3) * step
    };
    std::vector<PerturbingBody> bodies_;
    std::vector<Samples> samples_;
    double firstJD_ = 0, lastJD_ = 0;
};

struct IntegrationSettings {
    // Largest error per step, relative to the distance from the Sun (for the
    // position) and to the speed (for the velocity).
    double tolerance = 1e-12;
    // Steps allowed before the integration gives up (a close encounter that
    // the steps cannot follow, or a state that is not an orbit at all).
    long maximumSteps = 100000;
};

// Acceleration (au/day²) of a massless body at heliocentric r at jd: the
// Sun's pull, each table body's direct pull and the pull of that body on the
// Sun (the heliocentric frame is not inertial). No table: the Sun alone.
Vector3 HeliocentricAcceleration(const Vector3& r, double jdTT, const PerturberTable* table);

// Carries a state from jd0 to jd1 (forwards or backwards) by Gragg–Bulirsch–
// Stoer extrapolation of Störmer's rule with adaptive steps. Returns false,
// leaving the state as it was, when the steps run out or the body falls into
// the Sun. `steps` receives the number of steps taken.
bool Integrate(OrbitState& state, double jd0, double jd1, const PerturberTable* table,
               const IntegrationSettings& settings = {}, long* steps = nullptr);

// Calls job(0) .. job(count − 1), each index once, spread over up to
// `threads` threads (the caller's among them). Indices are handed out in
// order from one counter; jobs that write only their own results make the
// outcome independent of the number of threads.
void ParallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& job);

}  // namespace velkaris::tools
