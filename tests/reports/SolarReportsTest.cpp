// The Sun's, the Moon's and a planet's reports on the data folder's series,
// their values checked against ERFA's own ephemerides (geometric places of
// the same moment), which share no code with the program's theories.
#include <gtest/gtest.h>

#include <cmath>
#include <erfa.h>
#include <regex>
#include <string>

#include "reports/ObjectReports.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"
#include "tests/reports/ReportTestSupport.h"

namespace {

using namespace report_tests;

constexpr double KmPerAu = 149597870.7;

struct Vector {
    double x, y, z;
    Vector operator-(const Vector& o) const { return {x - o.x, y - o.y, z - o.z}; }
    double Length() const { return std::sqrt(x * x + y * y + z * z); }
};
double AngleBetween(const Vector& a, const Vector& b) {
    return std::acos((a.x * b.x + a.y * b.y + a.z * b.z) / (a.Length() * b.Length()));
}
Vector FromPv(const double pv[2][3]) { return {pv[0][0], pv[0][1], pv[0][2]}; }

// A number the report shows after a label, or NaN when the label is missing.
double Shown(const std::string& body, const std::string& pattern) {
    std::smatch m;
    if (!std::regex_search(body, m, std::regex(pattern))) return NAN;
    return std::stod(m[1].str());
}

// Degrees of a signed sexagesimal value the report shows after a label.
double ShownDegrees(const std::string& body, const std::string& label) {
    std::smatch m;
    if (!std::regex_search(body, m, std::regex(label + "\t: ([+-])(\\d+)°(\\d\\d)'(\\d\\d)\""))) return NAN;
    const double v = std::stod(m[2].str()) + std::stod(m[3].str()) / 60 + std::stod(m[4].str()) / 3600;
    return m[1].str() == "-" ? -v : v;
}

// The body of a report of a bold title and one run of 14 points.
std::string BodyAfter(const ReportText& runs, const std::string& title) {
    EXPECT_EQ(runs.size(), 2u);
    if (runs.size() != 2) return {};
    EXPECT_EQ(runs[0], Title(title));
    EXPECT_EQ(runs[1], Body(runs[1].text));
    EXPECT_EQ(runs[1].text.rfind("\nRA\t\t: ", 0), 0u) << runs[1].text;
    return runs[1].text;
}

class SolarReports : public testing::Test {
protected:
    void SetUp() override {
        earthPath_ = DataFile("la_earth.dat");
        marsPath_ = DataFile("la_Mars.dat");
        if (earthPath_.empty() || marsPath_.empty()) GTEST_SKIP() << "no series in data/ (scripts/data.sh builds them)";
        PlanetSeries earth, mars;
        ASSERT_EQ(earth.Load(earthPath_), SeriesFileStatus::Read);
        ASSERT_EQ(mars.Load(marsPath_), SeriesFileStatus::Read);
        sun_ = std::make_unique<Sun>(std::move(earth));
        moon_ = std::make_unique<Moon>(sun_.get());
        mars_ = std::make_unique<Planet>("Mars", 9.36, -1.52, sun_.get(), std::move(mars));
        sun_->Position(0);
        sun_->UpdateHorizontal(99, false);
        moon_->Position(0);
        moon_->UpdateHorizontal(99, false);
        mars_->ComputePosition(0);
        mars_->UpdateHorizontal(99, false);
        jde_ = observer_->dynamicalJulianDate;
        double pvh[2][3], pvb[2][3];
        eraEpv00(jde_, 0.0, pvh, pvb);
        earth_ = FromPv(pvh);
    }

    StoppedObserver observer_{6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0};
    std::string earthPath_, marsPath_;
    std::unique_ptr<Sun> sun_;
    std::unique_ptr<Moon> moon_;
    std::unique_ptr<Planet> mars_;
    double jde_ = 0;
    Vector earth_{};  // heliocentric, au
};

TEST_F(SolarReports, SunShowsItsDistanceInAuAndKilometresAndItsDiameter) {
    const std::string body = BodyAfter(RenderSun(*sun_), "Sun");
    const double r = earth_.Length();
    EXPECT_NEAR(Shown(body, "From Earth\t: +([0-9.]+)au / "), r, 2e-6);
    // Kilometres by the program's own 149598770 km to the au.
    EXPECT_NEAR(Shown(body, "au / ([0-9]+)km\n"), r * Sun::KilometresPerAu, 400.0);
    EXPECT_NEAR(Shown(body, "App. diameter\t: +([0-9.]+)\"\n"), 1919.26 / r, 0.01);
}

TEST_F(SolarReports, PlanetShowsPhaseElongationDistancesAndDiameter) {
    const std::string body = BodyAfter(RenderPlanet(*mars_), "Planet: Mars");

    double pv[2][3];
    ASSERT_EQ(eraPlan94(jde_, 0.0, 4, pv), 0);
    const Vector mars = FromPv(pv);
    const Vector fromEarth = mars - earth_;
    const double delta = fromEarth.Length(), r = mars.Length(), sunDistance = earth_.Length();
    const double phaseAngle = std::acos((r * r + delta * delta - sunDistance * sunDistance) / (2 * r * delta));
    const double elongation = AngleBetween(fromEarth, Vector{} - earth_) * 180 / M_PI;

    EXPECT_NEAR(Shown(body, "Phase\t\t: ([0-9.]+)\t\tMagnitude"), (1 + std::cos(phaseAngle)) / 2, 0.0015);
    EXPECT_NEAR(ShownDegrees(body, "Elongation"), elongation, 0.01);
    EXPECT_NEAR(Shown(body, "From Earth\t: +([0-9.]+) au\n"), delta, 2e-5);
    EXPECT_NEAR(Shown(body, "From Sun\t: +([0-9.]+) au\n"), r, 2e-5);
    EXPECT_NEAR(Shown(body, "App. diameter\t: +([0-9.]+)\"\n"), 9.36 / delta, 0.01);
    EXPECT_FALSE(std::isnan(Shown(body, "Magnitude\t: +([-0-9.]+)\n"))) << body;
}

TEST_F(SolarReports, MoonShowsPhaseElongationDistanceAndDiameter) {
    const std::string body = BodyAfter(RenderMoon(*moon_), "Moon");

    double pv[2][3];
    eraMoon98(jde_, 0.0, pv);
    const Vector moon = FromPv(pv);
    const Vector sun = Vector{} - earth_;
    const double elongation = AngleBetween(moon, sun);
    const double phaseAngle =
        std::atan2(sun.Length() * std::sin(elongation), moon.Length() - sun.Length() * std::cos(elongation));
    const double km = moon.Length() * KmPerAu;

    EXPECT_NEAR(Shown(body, "Phase\t\t: ([0-9.]+)\t\tMagnitude"), (1 + std::cos(phaseAngle)) / 2, 0.005);
    EXPECT_NEAR(ShownDegrees(body, "Elongation"), elongation * 180 / M_PI, 0.05);
    EXPECT_NEAR(Shown(body, "From Earth\t: ([0-9]+)km\n"), km, 20.0);
    EXPECT_NEAR(Shown(body, "App. diameter\t: +([0-9.]+)\"\n"), 112422.0 * 6378.14 / km, 0.5);
}

}  // namespace
