#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CliRun.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::vector<std::string>> Rows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) rows.push_back(SplitCsv(line));
    return rows;
}

// Runs in the source folder, whose data/ holds the real series and elements.
CliRun Ephemeris(const std::string& arguments) {
    return RunCli(
        "ephemeris " + arguments + " --at 2026-12-08T22:00:00 --zone 1 --dst 0 --lon 6:53:00E --lat 52:21:00N",
        VELKARIS_SOURCE_DIR);
}

TEST(MinorPlanetEphemeris, TheFirstMinorPlanetsByNumberAndNameAfterTheBodiesAsked) {
    const struct {
        const char* arguments;
        std::vector<std::string> bodies;
    } cases[] = {
        {"--minor 4",
         {"sun", "moon", "mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto", "1 Ceres",
          "2 Pallas", "3 Juno", "4 Vesta"}},
        {"--minor=2 --bodies sun", {"sun", "1 Ceres", "2 Pallas"}},
        {"--bodies mars,moon --minor 1", {"mars", "moon", "1 Ceres"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun r = Ephemeris(c.arguments);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto rows = Rows(r.out);
        ASSERT_EQ(rows.size(), c.bodies.size() + 1) << r.out;
        for (std::size_t i = 0; i < c.bodies.size(); ++i) {
            EXPECT_EQ(rows[i + 1][0], c.bodies[i]);
            ASSERT_EQ(rows[i + 1].size(), 13u);
        }
    }
}

TEST(MinorPlanetEphemeris, CeresWhereAPerturbedOrbitPutsItWithinItsTwoBodyDrift) {
    const CliRun r = Ephemeris("--minor 1 --bodies sun");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 3u);
    const auto& ceres = rows[2];
    // Mean place of date at 21:00 UT from JPL's osculating elements of
    // 9 August 2022 integrated with the planets' attraction (light time
    // included): RA 115.79 degrees, Dec +26.72 degrees, 1.766 au. The
    // two-body orbit drifts from it by 4 arcminutes by then; leaving out the
    // precession would put it 0.37 degrees off.
    EXPECT_NEAR(std::stod(ceres[1]), 115.79, 0.2 / std::cos(26.7 * 3.14159265358979 / 180));
    EXPECT_NEAR(std::stod(ceres[2]), 26.72, 0.2);
    EXPECT_NEAR(std::stod(ceres[3]), 1.766, 0.01);
    // Opposition is a month away: bright, no phase, elongation or size.
    EXPECT_NEAR(std::stod(ceres[4]), 7.4, 0.3);
    EXPECT_EQ(ceres[5], "-");
    EXPECT_EQ(ceres[6], "-");
    EXPECT_EQ(ceres[7], "-");
    EXPECT_EQ(ceres[10].size(), 8u) << ceres[10];
}

TEST(MinorPlanetEphemeris, MalformedCountsAndMissingElements) {
    for (const char* bad : {"--minor", "--minor 0", "--minor x", "--minor -3", "--minor 99999999", "--minor=1.5"}) {
        const CliRun r = Ephemeris(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
        EXPECT_NE(r.err.find("velkaris-cli ephemeris: "), std::string::npos) << bad;
    }
    const fs::path dir = fs::path(testing::TempDir()) / ScratchDirName("velkaris-minor-test");
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    fs::copy_file(fs::path(VELKARIS_SOURCE_DIR) / "data" / "la_earth.dat", dir / "data" / "la_earth.dat");
    const CliRun r = RunCli("ephemeris --minor 3 --bodies sun", dir.string());
    fs::remove_all(dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Rows(r.out).size(), 2u) << r.out;  // the header and the Sun
    EXPECT_NE(r.err.find("Error opening the Asteroid Catalogue file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("holds 0 minor planets, not 3"), std::string::npos) << r.err;
}

}  // namespace
