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
#include "tests/tools/TwoBody.h"

namespace {

using catalogue_tests::ScratchFile;
using catalogue_tests::StoppedObserver;

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;
constexpr double kArcsecond = kDegree / 3600.0;

// ---- an independent two-body place ---------------------------------------------
//
// The same elements on their Keplerian orbit, written separately: the axis
// from the mean motion by the Gaussian constant, the mean anomaly run on
// from the epoch, Kepler's equation solved to the last bit
// (tests/tools/TwoBody.h).

constexpr double kGauss = 0.01720209895;  // AU^(3/2) per day
constexpr double kEpochJd = 2451000.5;

using Vec = std::array<double, 3>;

double Norm(const Vec& a) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }

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

// Heliocentric place at a Julian date, J2000 ecliptic, AU.
Vec Propagate(const Elements& el, double jd) {
    // The file's elements, as the 32-bit values the program keeps.
    auto f = [](double x) { return static_cast<double>(static_cast<float>(x)); };
    const double n = f(el.meanMotionDeg) * kDegree;
    const double meanAnomaly = std::fmod(f(el.meanAnomalyDeg) + f(el.meanMotionDeg) * (jd - kEpochJd), 360.0);
    const twobody::Vector v = twobody::Heliocentric({f(el.nodeDeg), f(el.perihelionDeg), f(el.inclinationDeg), f(el.e),
                                                     std::cbrt(kGauss * kGauss / (n * n)), meanAnomaly});
    return {v.x, v.y, v.z};
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
    const double s =
        std::hypot(std::cos(dec2) * std::sin(ra1 - ra2),
                   std::cos(dec1) * std::sin(dec2) - std::sin(dec1) * std::cos(dec2) * std::cos(ra1 - ra2));
    return std::atan2(s, c);
}

// Orbits like those of the first minor planets, of Eros, of a near-circular
// one and of two very eccentric ones.
const Elements kOrbits[] = {
    {EntryLine(1, "Ceres", "80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12"), 80.3, 73.5, 249.5, 10.59, 0.0786, 0.21418,
     3.33, 0.12},
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
            EXPECT_NEAR(planet.magnitude, ExpectedMagnitude(geo, sun, el.h, el.g), 2e-3) << el.line << " in " << m.year;
        }
    }
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
        {EntryLine(1, "Ceres", "80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12"), 1, "Ceres", "1 Ceres", 80.3f, 0.0786f,
         0.21418f, 0.12f},
        // All blanks after the number go; then 18 characters of which 10 are
        // trailing blanks: an 8-character name.
        {"12345   Vesuvius" + std::string(10, ' ') + " 1 2 3 4 0.1 0.2 5 0.3", 12345, "Vesuvius", "12345 Vesuvius",
         1.0f, 0.1f, 0.2f, 0.3f},
        {EntryLine(0, "2022 AB1", "1 2 3 4 0.5 0.3 17 0.15"), 0, "2022 AB1", "0 2022 AB1", 1.0f, 0.5f, 0.3f, 0.15f},
        // A name that fills its field runs straight into the elements.
        {"7 Averyveryveryveryl5 6 7 8 0.2 0.4 9 0.1", 7, "Averyveryveryveryl", "7 Averyveryveryveryl", 5.0f, 0.2f, 0.4f,
         0.1f},
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

TEST(MinorPlanetLoading, OrbitsThatAreNoEllipsesAreLeftOutWithTheirLinesNamed) {
    QuietProgress progress;
    MinorPlanetList list;
    list.LoadText(std::string("6\n") + EntryLine(1, "Ceres", "80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12") +
                      "\n\n" + EntryLine(2, "Open", "80.3 73.5 249.5 10.59 1.0 0.21418 3.33 0.12") + "\n" +
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

TEST(MinorPlanetLoading, CountsProgressLineEndsAndAMissingFile) {
    const struct {
        const char* countLine;
        int lines;
        std::size_t expected;
        int steps;
    } cases[] = {{"4294967295", 3, 3, 1}, {"2", 5, 2, 0}, {"99", 99, 99, 0}, {"250", 250, 250, 125}, {"x", 3, 0, 0}};
    for (const auto& c : cases) {
        std::string text = std::string(c.countLine) + "\r\n";
        for (int i = 1; i <= c.lines; ++i) text += EntryLine(i, "Rock", "1 2 3 4 0.1 0.2 5 0.15") + "\r\n";
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
    MinorPlanetList list;
    EXPECT_FALSE(list.Load("data/no-such-asteroids.dat", nullptr));
    EXPECT_EQ(list.size(), 0u);
}

}  // namespace
