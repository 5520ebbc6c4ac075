#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "catalogues/LoadProgress.h"
#include "catalogues/MinorPlanet.h"
#include "tests/catalogues/CatalogueTestSupport.h"
#include "tests/catalogues/ScratchFile.h"

namespace {

using catalogue_tests::ScratchFile;
using catalogue_tests::StoppedObserver;

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;
constexpr double kArcsecond = kDegree / 3600.0;

// ---- an independent two-body propagation --------------------------------------
//
// The elements give a place and a velocity at their epoch; from there the
// orbit is followed by integrating r'' = -k^2 r / |r|^3 numerically (fourth-
// order Runge-Kutta, steps a small fraction of the local orbital time scale),
// so that neither Kepler's equation nor the program's way from mean motion
// to axis enters the expectation.

constexpr double kGauss = 0.01720209895;  // AU^(3/2) per day
constexpr double kEpochJd = 2451000.5;

using Vec = std::array<double, 3>;

Vec Add(const Vec& a, const Vec& b, double f = 1.0) { return {a[0] + f * b[0], a[1] + f * b[1], a[2] + f * b[2]}; }
double Norm(const Vec& a) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }
Vec Gravity(const Vec& r) {
    const double d = Norm(r);
    return {-kGauss * kGauss * r[0] / (d * d * d), -kGauss * kGauss * r[1] / (d * d * d),
            -kGauss * kGauss * r[2] / (d * d * d)};
}

// A line of the elements file: the number, the name padded to its
// 18-character field, then the elements.
std::string EntryLine(int number, const char* name, const char* elements) {
    char field[19];
    std::snprintf(field, sizeof field, "%-18s", name);
    return std::to_string(number) + " " + field + " " + elements;
}

struct Elements {
    std::string line;  // as the file has it
    double nodeDeg, perihelionDeg, meanAnomalyDeg, inclinationDeg, e, meanMotionDeg, h, g;
};

// Heliocentric place and velocity at the epoch, J2000 ecliptic, AU and AU/day.
void StateAtEpoch(const Elements& given, Vec& r, Vec& v) {
    // The file's elements, as the 32-bit values the program keeps.
    auto f = [](double x) { return static_cast<double>(static_cast<float>(x)); };
    const Elements el{"", f(given.nodeDeg), f(given.perihelionDeg), f(given.meanAnomalyDeg),
                      f(given.inclinationDeg), f(given.e), f(given.meanMotionDeg), given.h, given.g};
    const double n = el.meanMotionDeg * kDegree;
    const double a = std::cbrt(kGauss * kGauss / (n * n));
    const double m = el.meanAnomalyDeg * kDegree;
    double E = m;
    for (int i = 0; i < 60; ++i) E -= (E - el.e * std::sin(E) - m) / (1 - el.e * std::cos(E));
    const double b = a * std::sqrt(1 - el.e * el.e);
    const double rate = n / (1 - el.e * std::cos(E));  // dE/dt
    const double p[2] = {a * (std::cos(E) - el.e), b * std::sin(E)};
    const double q[2] = {-a * std::sin(E) * rate, b * std::cos(E) * rate};
    const double O = el.nodeDeg * kDegree, w = el.perihelionDeg * kDegree, inc = el.inclinationDeg * kDegree;
    // Columns of the rotation from the orbit's plane to the ecliptic.
    const Vec P = {std::cos(O) * std::cos(w) - std::sin(O) * std::sin(w) * std::cos(inc),
                   std::sin(O) * std::cos(w) + std::cos(O) * std::sin(w) * std::cos(inc), std::sin(w) * std::sin(inc)};
    const Vec Q = {-std::cos(O) * std::sin(w) - std::sin(O) * std::cos(w) * std::cos(inc),
                   -std::sin(O) * std::sin(w) + std::cos(O) * std::cos(w) * std::cos(inc), std::cos(w) * std::sin(inc)};
    r = Add(Vec{P[0] * p[0], P[1] * p[0], P[2] * p[0]}, Q, p[1]);
    v = Add(Vec{P[0] * q[0], P[1] * q[0], P[2] * q[0]}, Q, q[1]);
}

Vec Propagate(const Elements& el, double jd) {
    Vec r, v;
    StateAtEpoch(el, r, v);
    double t = kEpochJd;
    while (t != jd) {
        const double scale = std::pow(Norm(r), 1.5) / kGauss;
        double h = std::copysign(std::min(0.002 * scale, std::fabs(jd - t)), jd - t);
        const Vec k1r = v, k1v = Gravity(r);
        const Vec k2r = Add(v, k1v, h / 2), k2v = Gravity(Add(r, k1r, h / 2));
        const Vec k3r = Add(v, k2v, h / 2), k3v = Gravity(Add(r, k2r, h / 2));
        const Vec k4r = Add(v, k3v, h), k4v = Gravity(Add(r, k3r, h));
        for (int i = 0; i < 3; ++i) {
            r[i] += h / 6 * (k1r[i] + 2 * k2r[i] + 2 * k3r[i] + k4r[i]);
            v[i] += h / 6 * (k1v[i] + 2 * k2v[i] + 2 * k3v[i] + k4v[i]);
        }
        t = std::fabs(jd - t) <= std::fabs(h) ? jd : t + h;
    }
    return r;
}

// The geocentric place of date the program is to show (ecliptic of date,
// AU): the heliocentric place turned by the precession in longitude since
// J2000, seen from the Earth.
Vec Geocentric(const Vec& helio, double jd, const SunPosition& sun) {
    const double p = 0.0000382394 * (jd - 2451545.0) * kDegree;
    return {helio[0] * std::cos(p) - helio[1] * std::sin(p) + sun.x,
            helio[0] * std::sin(p) + helio[1] * std::cos(p) + sun.y, helio[2] + sun.z};
}

void EquatorialDirection(const Vec& ecl, double obliquity, double& ra, double& dec) {
    const Vec equ = {ecl[0], ecl[1] * std::cos(obliquity) - ecl[2] * std::sin(obliquity),
                     ecl[1] * std::sin(obliquity) + ecl[2] * std::cos(obliquity)};
    ra = std::atan2(equ[1], equ[0]);
    dec = std::asin(equ[2] / Norm(equ));
}

// The H, G magnitude, the phase angle taken as the angle at the planet
// between the directions to the Sun and to the Earth (both vectors in the
// ecliptic of date).
double ExpectedMagnitude(const Vec& geo, const SunPosition& sun, double h, double g) {
    const Vec helio = {geo[0] - sun.x, geo[1] - sun.y, geo[2] - sun.z};
    const double r = Norm(helio), delta = Norm(geo);
    const double cosPhase = (helio[0] * geo[0] + helio[1] * geo[1] + helio[2] * geo[2]) / (r * delta);
    const double t = std::tan(std::acos(std::clamp(cosPhase, -1.0, 1.0)) / 2);
    const double phi1 = std::exp(-3.33 * std::pow(t, 0.63)), phi2 = std::exp(-1.87 * std::pow(t, 1.22));
    return h + 5 * std::log10(r * delta) - 2.5 * std::log10((1 - g) * phi1 + g * phi2);
}

double Separation(double ra1, double dec1, double ra2, double dec2) {
    const double c = std::sin(dec1) * std::sin(dec2) + std::cos(dec1) * std::cos(dec2) * std::cos(ra1 - ra2);
    const double s = std::hypot(std::cos(dec2) * std::sin(ra1 - ra2),
                                std::cos(dec1) * std::sin(dec2) - std::sin(dec1) * std::cos(dec2) * std::cos(ra1 - ra2));
    return std::atan2(s, c);
}

// Orbits like those of the first minor planets, of Eros, of a near-circular
// one and of two very eccentric ones.
const Elements kOrbits[] = {
    {EntryLine(1, "Ceres", "80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12"), 80.3, 73.5, 249.5, 10.59, 0.0786,
     0.21418, 3.33, 0.12},
    {EntryLine(2, "Pallas", "172.9 310.8 233.2 34.93 0.2300 0.21385 4.12 0.11"), 172.9, 310.8, 233.2, 34.93, 0.2300,
     0.21385, 4.12, 0.11},
    {EntryLine(3, "Juno", "169.8 247.8 119.1 12.99 0.2568 0.22586 5.12 0.32"), 169.8, 247.8, 119.1, 12.99, 0.2568,
     0.22586, 5.12, 0.32},
    {EntryLine(4, "Vesta", "103.8 151.3 191.9 7.14 0.0884 0.27151 3.20 0.32"), 103.8, 151.3, 191.9, 7.14, 0.0884,
     0.27151, 3.20, 0.32},
    {EntryLine(433, "Eros", "304.3 178.8 340.0 10.83 0.2229 0.55986 10.31 0.46"), 304.3, 178.8, 340.0, 10.83, 0.2229,
     0.55986, 10.31, 0.46},
    {EntryLine(9999, "Round", "10.0 20.0 30.0 1.0 0.0 0.25 12.0 0.15"), 10.0, 20.0, 30.0, 1.0, 0.0, 0.25, 12.0, 0.15},
    {EntryLine(944, "Hidalgo", "21.4 56.5 12.0 42.5 0.6614 0.07 10.77 0.15"), 21.4, 56.5, 12.0, 42.5, 0.6614, 0.07,
     10.77, 0.15},
    {EntryLine(1566, "Icarus", "88.0 31.3 5.0 22.8 0.8270 0.8785 15.95 0.15"), 88.0, 31.3, 5.0, 22.8, 0.8270, 0.8785,
     15.95, 0.15},
};

void SetFromLine(MinorPlanet& planet, const std::string& line) {
    MinorPlanetRecord record;
    ReadMinorPlanetLine(line, record);
    EXPECT_TRUE(OrbitProblem(record).empty()) << line;
    SetMinorPlanetFromRecord(planet, record);
}

TEST(MinorPlanetPlaces, AgreeWithAnIndependentTwoBodyOrbitAtTheEpochAndThirtyYearsAway) {
    struct Moment {
        int year;
        double toleranceArcsec;
    };
    const Moment moments[] = {{1998, 1.0}, {2028, 5.0}, {1968, 5.0}};
    const SunPosition sun{0.25, -0.95, 0.00002, std::sqrt(0.25 * 0.25 + 0.95 * 0.95 + 0.00002 * 0.00002)};
    for (const Elements& el : kOrbits) {
        MinorPlanet planet;
        SetFromLine(planet, el.line);
        for (const Moment& m : moments) {
            // 6 July, 0h UT: the epoch itself in 1998.
            StoppedObserver observer(0.0, 50.0, 0, false, m.year, 7, 6, 0, 0, 0);
            const double jd = observer->julianDate;
            planet.ComputePosition(sun);
            const Vec helio = Propagate(el, jd);
            const Vec geo = Geocentric(helio, jd, sun);
            double ra = 0, dec = 0;
            EquatorialDirection(geo, observer->meanObliquity, ra, dec);
            EXPECT_LT(Separation(planet.ra.radians, planet.dec.radians, ra, dec) / kArcsecond, m.toleranceArcsec)
                << el.line << " in " << m.year;
            EXPECT_NEAR(planet.magnitude, ExpectedMagnitude(geo, sun, el.h, el.g), 2e-3)
                << el.line << " in " << m.year;
        }
    }
}

TEST(MinorPlanetPlaces, AtTheEpochTheMeanAnomalyIsTheFilesAndACircleKeepsItsRadius) {
    // Seen from the Sun itself (no offset), the distance of a circular orbit
    // is its axis, and its magnitude at zero phase H + 5 log10(a * a).
    StoppedObserver observer(0.0, 50.0, 0, false, 1998, 7, 6, 0, 0, 0);
    ASSERT_NEAR(observer->daysSinceJ2000, -544.5, 1e-9);
    MinorPlanet planet;
    SetFromLine(planet, EntryLine(9999, "Round", "0 0 90 0 0 0.25 12.0 0.15"));
    planet.ComputePosition(SunPosition{0, 0, 0, 0});
    // Mean anomaly 90 degrees of a circle with node and perihelion at 0 in
    // the ecliptic: ecliptic longitude 90 degrees, carried by the precession.
    const double p = 0.0000382394 * -544.5 * kDegree;
    const double eps = observer->meanObliquity;
    EXPECT_NEAR(planet.ra.radians, std::atan2(std::cos(p) * std::cos(eps), -std::sin(p)), 1e-9);
    EXPECT_NEAR(planet.dec.radians, std::asin(std::cos(p) * std::sin(eps)), 1e-9);
    const double a = std::cbrt(kGauss * kGauss / std::pow(0.25 * kDegree, 2));
    EXPECT_NEAR(planet.magnitude, 12.0 + 5.0 * std::log10(a * a), 1e-4);
}

TEST(MinorPlanetPlaces, APhaseCosinePastOneCountsAsFullPhaseNotAsNoNumber) {
    // A Sun distance that disagrees with the Sun's place (0 here) puts the
    // cosine of the phase angle past 1: both phase functions are then 1 and
    // only the distances count.
    StoppedObserver observer(0.0, 50.0, 0, false, 2025, 3, 1, 0, 0, 0);
    MinorPlanet planet;
    SetFromLine(planet, kOrbits[0].line);
    const SunPosition inconsistent{0.6, -0.8, 0.0, 0.0};
    planet.ComputePosition(inconsistent);
    const double jd = observer->julianDate;
    const Vec helio = Propagate(kOrbits[0], jd);
    const Vec geo = Geocentric(helio, jd, inconsistent);
    ASSERT_TRUE(std::isfinite(planet.magnitude));
    EXPECT_NEAR(planet.magnitude, 3.33 + 5 * std::log10(Norm(helio) * Norm(geo)), 1e-4);
}

TEST(KeplersEquation, SolvedToItsToleranceAndStoppedWhereItHasNoDerivative) {
    const struct {
        double e, m;
    } cases[] = {{0.0, 1.0}, {0.0786, 4.35}, {0.25, -2.0}, {0.66, 0.2}, {0.827, 0.05}, {0.95, 6.0}, {0.3, 12.0}};
    for (const auto& c : cases) {
        const double E = SolveKepler(c.e, c.m, KeplerTolerance);
        EXPECT_LT(std::fabs(E - c.e * std::sin(E) - c.m), 1e-8) << c.e << " " << c.m;
    }
    EXPECT_EQ(SolveKepler(0.0, 1.25, KeplerTolerance), 1.25);  // a circle: E = M after one step
    EXPECT_EQ(SolveKepler(1.0, 0.0, KeplerTolerance), 0.0);    // 1 - e cos E = 0 at the start
}

TEST(MinorPlanetLines, NameFieldNumberAndElements) {
    const struct {
        std::string line;
        int number;
        const char* name;
        const char* shown;
        float node, e, n, g;
    } cases[] = {
        {EntryLine(1, "Ceres", "80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12"), 1, "Ceres", "1 Ceres", 80.3f,
         0.0786f, 0.21418f, 0.12f},
        // All blanks after the number go; then 18 characters of which 10 are
        // trailing blanks: an 8-character name.
        {"12345   Vesuvius" + std::string(10, ' ') + " 1 2 3 4 0.1 0.2 5 0.3", 12345, "Vesuvius", "12345 Vesuvius",
         1.0f, 0.1f, 0.2f, 0.3f},
        {EntryLine(0, "2022 AB1", "1 2 3 4 0.5 0.3 17 0.15"), 0, "2022 AB1", "0 2022 AB1", 1.0f, 0.5f, 0.3f, 0.15f},
        // A name that fills its field runs straight into the elements.
        {"7 Averyveryveryveryl5 6 7 8 0.2 0.4 9 0.1", 7, "Averyveryveryveryl", "7 Averyveryveryveryl", 5.0f, 0.2f,
         0.4f, 0.1f},
        {"8 Short", 8, "Short", "8 Short", 0.0f, 0.0f, 0.0f, 0.0f},
        {EntryLine(9, "Broken", "1 2 x 4 0.1 0.2 5 0.3"), 9, "Broken", "9 Broken", 1.0f, 0.0f, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        MinorPlanetRecord r;
        ReadMinorPlanetLine(c.line, r);
        EXPECT_EQ(r.number, c.number);
        EXPECT_EQ(r.name, c.name);
        EXPECT_FLOAT_EQ(r.node, c.node);
        EXPECT_FLOAT_EQ(r.eccentricity, c.e);
        EXPECT_FLOAT_EQ(r.meanMotion, c.n);
        EXPECT_FLOAT_EQ(r.slope, c.g);
        MinorPlanet p;
        SetMinorPlanetFromRecord(p, r);
        EXPECT_EQ(p.GetName(), c.shown);
    }
}

TEST(MinorPlanetLines, TheAxisFollowsFromTheMeanMotionByKeplersThirdLaw) {
    const struct {
        float n;
        double axis;
    } cases[] = {
        {0.21418f, std::cbrt(kGauss * kGauss / std::pow(0.21418 * kDegree, 2))},
        {0.9856076686f, 1.0},  // the Earth's mean motion
        {0.0f, 2.7666668},     // no motion: a fixed axis, and a mean anomaly that stays
    };
    for (const auto& c : cases) {
        MinorPlanetRecord r;
        r.meanMotion = c.n;
        MinorPlanet p;
        SetMinorPlanetFromRecord(p, r);
        EXPECT_NEAR(p.semiMajorAxis, c.axis, 2e-6) << c.n;
    }
}

TEST(MinorPlanetLoading, OrbitsThatAreNoEllipsesAreLeftOutWithTheirLinesNamed) {
    QuietProgress progress;
    MinorPlanetList list;
    list.LoadText(std::string("6\n")
                      + EntryLine(1, "Ceres", "80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12") + "\n\n" +
                      EntryLine(2, "Open", "80.3 73.5 249.5 10.59 1.0 0.21418 3.33 0.12") + "\n" +
                      EntryLine(3, "Hyperbolic", "80.3 73.5 249.5 10.59 1.5 0.21418 3.33 0.12") + "\n" +
                      EntryLine(4, "Backwards", "80.3 73.5 249.5 10.59 0.1 -0.2 3.33 0.12") + "\n" +
                      EntryLine(5, "Almost", "80.3 73.5 249.5 10.59 0.9999 0.01 3.33 0.12") + "\n" +
                      EntryLine(6, "Nan", "nan 73.5 249.5 10.59 0.1 0.2 3.33 0.12") + "\n",
                  "data/asteroids.dat", &progress);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.planets()[0].GetName(), "1 Ceres");
    EXPECT_EQ(list.planets()[1].GetName(), "5 Almost");
    ASSERT_EQ(progress.problems().size(), 1u);
    const std::string& message = progress.problems()[0];
    EXPECT_NE(message.find("data/asteroids.dat"), std::string::npos);
    for (const char* named : {"line 4 (2 Open)", "line 5 (3 Hyperbolic)", "line 6 (4 Backwards)", "line 8 (6 Nan)"})
        EXPECT_NE(message.find(named), std::string::npos) << named << " in\n" << message;
    EXPECT_EQ(message.find("Ceres"), std::string::npos);
    EXPECT_EQ(message.find("Almost"), std::string::npos);

    // The kept ones are placed; the very eccentric one too.
    StoppedObserver observer(0.0, 50.0, 0, false, 2025, 3, 1, 0, 0, 0);
    list.PlaceFirst(100, SunPosition{0.9, 0.4, 0.0, std::hypot(0.9, 0.4)});
    for (const MinorPlanet& p : list.planets()) {
        EXPECT_TRUE(std::isfinite(p.ra.radians)) << p.GetName();
        EXPECT_TRUE(p.isComputed);
    }
}

TEST(MinorPlanetLoading, CountsProgressLineEndsAndFilesThatAreNoFiles) {
    const struct {
        const char* countLine;
        int lines;
        std::size_t expected;
        int steps;
    } cases[] = {{"4294967295", 3, 3, 1}, {"2", 5, 2, 0}, {"99", 99, 99, 0}, {"250", 250, 250, 125}, {"x", 3, 0, 0}};
    for (const auto& c : cases) {
        std::string text = std::string(c.countLine) + "\r\n";
        for (int i = 1; i <= c.lines; ++i)
            text += EntryLine(i, "Rock", "1 2 3 4 0.1 0.2 5 0.15") + "\r\n";
        ScratchFile file("asteroids.dat");
        file.Write(text);
        QuietProgress progress;
        MinorPlanetList list;
        ASSERT_TRUE(list.Load(file.path(), &progress));
        ASSERT_EQ(list.size(), c.expected) << c.countLine;
        EXPECT_EQ(progress.stepsRequested(), c.steps) << c.countLine;
        ASSERT_EQ(progress.jobs().size(), 1u);
        EXPECT_EQ(progress.jobs()[0], "Loading Asteroids");
        if (c.expected > 0) {
            EXPECT_EQ(list.planets()[c.expected - 1].GetName(), std::to_string(c.expected) + " Rock");
            EXPECT_FLOAT_EQ(list.planets()[0].slope, 0.15f);  // not "0.15\r"
        }
    }
    ScratchFile pipe("asteroidspipe.dat");
    ASSERT_TRUE(pipe.MakePipe());
    MinorPlanetList list;
    EXPECT_FALSE(list.Load(pipe.path(), nullptr));
    EXPECT_FALSE(list.Load(pipe.path() + "-missing", nullptr));
}

}  // namespace
