// The converters on the installed catalogue packages, read back the way the
// program reads its data files.
#include <cmath>
#include <set>

#include "LiteralReaders.h"
#include "TestSupport.h"
#include "TwoBody.h"
#include "tools/MinorPlanets.h"
#include "tools/PerturbingPlanets.h"

using namespace velkaris::tools;

namespace {

SourcePaths Installed() {
    SourcePaths s;  // the packages' own folders
    s.npm = std::string(VELKARIS_SOURCE_DIR) + "/tools/npm/node_modules";
    std::string ngc = std::string(VELKARIS_SOURCE_DIR) + "/../shared/catalogues/ngc2000";
    if (FileExists(ngc + "/ngc2000.dat")) s.ngc2000 = ngc;
    return s;
}

class RealPackages : public ::testing::Test {
protected:
    std::string Build(const std::string& group) {
        Diagnostics diag;
        BuildResult result;
        bool ok = BuildGroup(group, sources_, dir_.path().toStdString(), result, diag);
        messages_.clear();
        for (const auto& m : diag.Messages()) messages_ += m + "\n";
        EXPECT_TRUE(ok) << messages_;
        results_ = result;
        return dir_.path().toStdString();
    }
    QTemporaryDir dir_;
    SourcePaths sources_ = Installed();
    BuildResult results_;
    std::string messages_;
};

// Julian date of a Gregorian calendar moment (UT).
double JulianDate(int year, int month, double day) {
    if (month <= 2) {
        --year;
        month += 12;
    }
    int a = year / 100;
    int b = 2 - a + a / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5;
}

}  // namespace

TEST_F(RealPackages, FoundationCatalogueHoldsTheBrightStarsWithTheirData) {
    REQUIRE_PACKAGE_FILE(Installed().yale + "/catalog.dat", "yale");
    REQUIRE_PACKAGE_FILE(Installed().npm + "/d3-celestial/data/starnames.json", "d3-celestial (npm)");
    std::string out = Build("foundation");
    literal::StarFile f;
    ASSERT_TRUE(literal::ReadStarFile(out + "/stfound.dat", f));
    EXPECT_EQ(f.name, "foundation");
    // 9,110 records less the 14 without a place, plus any figure stars added.
    EXPECT_GE(f.stars.size(), 9096u);
    EXPECT_LE(f.stars.size(), 9096u + 46u);
    EXPECT_EQ(f.count, f.stars.size());

    const literal::Star* sirius = literal::FindHd(f, 48915);
    ASSERT_NE(sirius, nullptr);
    EXPECT_EQ(sirius->kind, 'B');
    EXPECT_EQ(sirius->hip, 32349u);
    EXPECT_EQ(sirius->raH, 6);
    EXPECT_EQ(sirius->raM, 45);
    EXPECT_NEAR(sirius->raS, 8.9, 1e-4);
    EXPECT_EQ(sirius->decSign, '-');
    EXPECT_EQ(sirius->decD, 16);
    EXPECT_EQ(sirius->decM, 42);
    EXPECT_NEAR(sirius->decS, 58, 1e-4);
    // -0.553"/yr along the sky is -0.577"/yr of right ascension at -16.7 degrees.
    EXPECT_NEAR(sirius->pmRa, -0.553 / std::cos(16.7161 * twobody::Deg), 1e-4);
    EXPECT_NEAR(sirius->pmDec, -1.205, 1e-6);
    EXPECT_NEAR(sirius->mag, -1.46, 1e-6);
    EXPECT_EQ(sirius->spectral, "A1Vm");
    EXPECT_EQ(sirius->bayer, "a");
    EXPECT_EQ(sirius->constellation, "CMa");
    EXPECT_EQ(sirius->flamsteed, 9);
    EXPECT_EQ(sirius->name, "Sirius");

    const literal::Star* alpha1 = literal::FindHd(f, 128620);
    const literal::Star* alpha2 = literal::FindHd(f, 128621);
    ASSERT_NE(alpha1, nullptr);
    ASSERT_NE(alpha2, nullptr);
    EXPECT_EQ(alpha1->bayer, "a1");
    EXPECT_EQ(alpha2->bayer, "a2");
    EXPECT_EQ(alpha1->constellation, "Cen");

    // Every figure resolves against the foundation catalogue.
    std::vector<literal::Figure> figures;
    ASSERT_TRUE(literal::ReadFigureFile(out + "/constellations.dat", figures));
    EXPECT_EQ(figures.size(), 88u);
    std::set<unsigned> hd;
    for (const auto& s : f.stars) hd.insert(s.hd);
    std::size_t complete = 0;
    for (const auto& fig : figures) {
        ASSERT_EQ(fig.hd.size(), fig.n) << fig.nameLine;
        std::set<unsigned> distinct(fig.hd.begin(), fig.hd.end());
        bool all = distinct.size() == fig.hd.size();  // a repeated number never resolves
        for (unsigned n : fig.hd) all = all && hd.count(n);
        EXPECT_TRUE(all) << fig.nameLine;
        complete += all;
        for (const auto& line : fig.lines)
            for (unsigned short index : line) EXPECT_TRUE(index >= 1 && index <= fig.n) << fig.nameLine;
    }
    EXPECT_EQ(complete, 88u);
}

TEST_F(RealPackages, NotesOfSiriusComeWithTheirContinuationLines) {
    REQUIRE_PACKAGE_FILE(Installed().yale + "/notes.dat", "yale");
    std::string out = Build("notes");
    EXPECT_GT(results_.records.at("bnotes.dat"), 4000u);
    std::vector<std::string> notes = literal::NotesFor(out + "/bnotes.dat", 48915);
    ASSERT_GE(notes.size(), 10u);
    bool names = false, continuation = false;
    for (const auto& line : notes) {
        names = names || line.rfind("N:  SIRIUS", 0) == 0;
        continuation = continuation || line.rfind("    suspected but not confirmed", 0) == 0;
    }
    EXPECT_TRUE(names);
    EXPECT_TRUE(continuation);
}

TEST_F(RealPackages, SeriesAreReferredToTheEquinoxOfDate) {
    REQUIRE_PACKAGE_FILE(Installed().npm + "/astronomia/data/vsop87Dearth.js", "astronomia (npm)");
    std::string out = Build("series");
    literal::Series earth;
    ASSERT_TRUE(literal::ReadSeriesFile(out + "/la_earth.dat", earth));
    // The March equinox of 2026 fell at 14:46 UT: the geometric longitude of
    // the Sun is then within aberration and nutation (some 30") of zero. In
    // the J2000 frame it would be 0.36 degrees off.
    double jde = JulianDate(2026, 3, 20 + (14 + 46 / 60.0) / 24.0) + 65.0 / 86400.0;
    auto lbr = literal::EvaluateSeries(earth, (jde - 2451545.0) / 365250.0);
    double sun = std::remainder(static_cast<double>(lbr[0]) + 3.14159265358979323846, 2 * 3.14159265358979323846);
    EXPECT_LT(std::fabs(sun / twobody::Deg * 3600.0), 30.0);
    EXPECT_NEAR(static_cast<double>(lbr[2]), 0.996, 0.001);  // AU, near the equinox

    for (const char* planet : {"Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"}) {
        literal::Series s;
        ASSERT_TRUE(literal::ReadSeriesFile(out + "/la_" + planet + ".dat", s)) << planet;
        EXPECT_GT(s[0].size(), 50u) << planet;
        EXPECT_GT(results_.records.at(std::string("la_") + planet + ".dat"), 500u) << planet;
    }
    literal::Series pluto;
    EXPECT_TRUE(literal::ReadSeriesFile(out + "/la_Pluto.dat", pluto));
}

TEST_F(RealPackages, HipparcosCatalogueAtTheHipparcosEpoch) {
    REQUIRE_PACKAGE_FILE(Installed().npm + "/d3-celestial/data/stars.14.json", "d3-celestial (npm)");
    REQUIRE_PACKAGE_FILE(Installed().stellarium + "/hip_pm.dat", "stellarium-data");
    REQUIRE_PACKAGE_FILE(Installed().kstars + "/stars.dat", "kstars-data");
    std::string out = Build("hipparcos");
    literal::StarFile f;
    ASSERT_TRUE(literal::ReadStarFile(out + "/sthip.dat", f));
    EXPECT_EQ(f.name, "hipparcos");
    EXPECT_GT(f.stars.size(), 117000u);
    EXPECT_LT(f.stars.size(), 118300u);
    const literal::Star* sirius = literal::FindHd(f, 48915);
    ASSERT_NE(sirius, nullptr);
    EXPECT_EQ(sirius->kind, 'H');
    EXPECT_EQ(sirius->hip, 32349u);
    // The Hipparcos catalogue's own place for 1991.25: 101.28854, -16.71314.
    EXPECT_NEAR(sirius->RaDegrees(), 101.28854, 1.0 / 3600);
    EXPECT_NEAR(sirius->DecDegrees(), -16.71314, 1.0 / 3600);
    EXPECT_EQ(sirius->name, "Sirius");
    EXPECT_EQ(sirius->spectral.substr(0, 1), "A");
    std::size_t withHd = 0, withType = 0;
    for (const auto& s : f.stars) {
        withHd += s.hd != 0;
        withType += s.hasSpectral;
    }
    EXPECT_GT(withHd, 90000u);
    EXPECT_GT(withType, 60000u);
}

TEST_F(RealPackages, DeepSkyCatalogueKnowsTheAndromedaGalaxy) {
    REQUIRE_PACKAGE_FILE(Installed().kstars + "/OpenNGC.kscat", "kstars-data");
    std::string out = Build("deepsky");
    std::vector<literal::DeepSky> objects;
    unsigned long count = 0;
    ASSERT_TRUE(literal::ReadDeepSkyFile(out + "/dsocat.dat", objects, count));
    EXPECT_EQ(objects.size(), count);
    EXPECT_GT(count, 13000u);
    std::set<unsigned short> messier;
    const literal::DeepSky* m31 = nullptr;
    for (const auto& o : objects) {
        if (o.messier) messier.insert(o.messier);
        if (o.messier == 31) m31 = &o;
    }
    EXPECT_EQ(messier.size(), 110u);
    ASSERT_NE(m31, nullptr);
    EXPECT_EQ(m31->designation, "224");
    EXPECT_EQ(m31->type, 1);
    EXPECT_EQ(m31->name, "Andromeda Galaxy");
    EXPECT_EQ(m31->raH, 0);
    EXPECT_EQ(m31->raM, 42);
    EXPECT_EQ(m31->decD, 41);
    if (!Installed().ngc2000.empty()) {
        EXPECT_FALSE(m31->notes.empty());
    }
}

TEST_F(RealPackages, CeresElementsReproduceItsJplPlace) {
    REQUIRE_PACKAGE_FILE(Installed().kstars + "/asteroids.dat", "kstars-data");
    REQUIRE_PACKAGE_FILE(Installed().npm + "/astronomia/data/vsop87Djupiter.js", "astronomia (npm)");
    // Built for the source's own epoch, every object of that epoch keeps its
    // source place there.
    sources_.minorEpochJD = 2459800.5;
    Build("series");
    std::string out = Build("asteroids");
    EXPECT_NE(messages_.find("elements for 2022-08-09"), std::string::npos) << messages_;
    std::vector<literal::MinorPlanet> read;
    ASSERT_TRUE(literal::ReadMinorPlanetFile(out + "/asteroids.dat", read));
    EXPECT_GT(read.size(), 7000u);
    ASSERT_FALSE(read.empty());
    EXPECT_EQ(read[0].number, 1);
    EXPECT_EQ(read[0].name, "Ceres");
    int last = 0;
    for (const auto& p : read) {
        if (p.number == 0) break;
        EXPECT_GT(p.number, last);
        last = p.number;
    }
    // The JPL elements of the source at its epoch MJD 59800.
    twobody::Elements jpl{80.2664361119415,    73.53162522557164, 10.58679512153367,
                          0.07863575691875528, 2.766619044655007, 334.3271698971151};
    twobody::Vector expected = twobody::Heliocentric(jpl);
    twobody::Vector got = twobody::ReaderPlace(read[0], 59800 + 2400000.5 - TerrestrialMinusUniversalDays);
    EXPECT_LT(twobody::AngleBetween(expected, got), 0.5);
    EXPECT_NEAR(got.Length(), expected.Length(), 1e-5);

    // Every object of that epoch, whatever its speed, comes back to its
    // source place: only the file's float digits stand between them.
    // Eccentric orbits are left out: near perihelion the 32-bit eccentricity
    // alone moves their place by arcseconds.
    Diagnostics diag;
    std::vector<MinorPlanetElements> source =
        ParseMinorPlanets(ReadText(Installed().kstars + "/asteroids.dat"), "asteroids.dat", diag);
    ASSERT_EQ(source.size(), read.size());
    double worst = 0;
    std::string worstName;
    std::size_t compared = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const MinorPlanetElements& p = source[i];
        if (p.eccentricity > 0.5 || p.sourceEpochJD != sources_.minorEpochJD) continue;
        ++compared;
        twobody::Elements el{p.node, p.perihelion, p.inclination, p.eccentricity, p.semiMajorAxis, p.sourceMeanAnomaly};
        twobody::Vector got = twobody::ReaderPlace(read[i], p.sourceEpochJD - TerrestrialMinusUniversalDays);
        double off = twobody::AngleBetween(twobody::Heliocentric(el), got);
        if (off > worst) {
            worst = off;
            worstName = p.name;
        }
    }
    EXPECT_LT(worst, 0.5) << worstName;
    EXPECT_GT(compared, 5000u);
}

// Built for 2016 January 13.0, the file must put Ceres, Pallas and Juno where
// Stellarium's elements of that epoch do (an independent fit, six and a half
// years before the source's), and where the integrator puts them on that date
// and a year later, through the reader's own steps.
TEST_F(RealPackages, MinorPlanetsIntegratedBackMeetAnotherCataloguesElements) {
    REQUIRE_PACKAGE_FILE(Installed().kstars + "/asteroids.dat", "kstars-data");
    REQUIRE_PACKAGE_FILE(Installed().npm + "/astronomia/data/vsop87Djupiter.js", "astronomia (npm)");
    const double epoch = 2457400.5;
    sources_.minorEpochJD = epoch;
    Build("series");
    std::string out = Build("asteroids");
    EXPECT_NE(messages_.find("elements for 2016-01-13"), std::string::npos) << messages_;
    EXPECT_NE(messages_.find("Jupiter, Saturn"), std::string::npos) << messages_;
    std::vector<literal::MinorPlanet> read;
    ASSERT_TRUE(literal::ReadMinorPlanetFile(out + "/asteroids.dat", read));
    ASSERT_GT(read.size(), 3u);

    Diagnostics diag;
    std::vector<MinorPlanetElements> source =
        ParseMinorPlanets(ReadText(Installed().kstars + "/asteroids.dat"), "asteroids.dat", diag);
    PerturberTable planets(PerturbingPlanets(out, diag), epoch, source[0].sourceEpochJD + MinorPlanetFitDays);
    ASSERT_EQ(planets.BodyCount(), 8u);

    struct Check {
        const char* name;
        twobody::Elements stellarium;  // node, perihelion, inclination, e, a, M at the epoch
    };
    const Check checks[] = {
        {"Ceres", {80.3218, 72.73324, 10.59166, 0.0757544, 2.7681117, 181.38133}},
        {"Pallas", {173.08828, 309.98943, 34.84095, 0.2310236, 2.7723622, 163.60442}},
        {"Juno", {169.86255, 248.29396, 12.98987, 0.2562656, 2.6697633, 123.4668}},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const MinorPlanetElements& p = source[i];
        ASSERT_EQ(read[i].name, checks[i].name);
        twobody::Vector file = twobody::ReaderPlace(read[i], epoch - TerrestrialMinusUniversalDays);
        twobody::Vector other = twobody::Heliocentric(checks[i].stellarium);
        EXPECT_LT(twobody::AngleBetween(file, other), 1.0) << checks[i].name;  // arcseconds

        OrbitState state =
            StateFromOrbit({p.semiMajorAxis, p.eccentricity, p.inclination * twobody::Deg, p.node * twobody::Deg,
                            p.perihelion * twobody::Deg, p.sourceMeanAnomaly * twobody::Deg});
        ASSERT_TRUE(Integrate(state, p.sourceEpochJD, epoch, &planets));
        twobody::Vector integrated{state.r.x, state.r.y, state.r.z};
        EXPECT_LT(twobody::AngleBetween(file, integrated), 1.0) << checks[i].name;
        EXPECT_NEAR(file.Length(), integrated.Length(), 1e-5) << checks[i].name;
        // ...and meets the integrated path again a year later.
        ASSERT_TRUE(Integrate(state, epoch, epoch + MinorPlanetFitDays, &planets));
        twobody::Vector yearLater{state.r.x, state.r.y, state.r.z};
        double clock = epoch + MinorPlanetFitDays - TerrestrialMinusUniversalDays;
        EXPECT_LT(twobody::AngleBetween(twobody::ReaderPlace(read[i], clock), yearLater), 1.0) << checks[i].name;
        // Two-body motion from the source's epoch would have missed by arcminutes.
        twobody::Elements unperturbed{
            p.node,          p.perihelion,
            p.inclination,   p.eccentricity,
            p.semiMajorAxis, p.sourceMeanAnomaly + MeanMotionForAxis(p.semiMajorAxis) * (epoch - p.sourceEpochJD)};
        EXPECT_GT(twobody::AngleBetween(twobody::Heliocentric(unperturbed), other), 60.0) << checks[i].name;
    }
}
