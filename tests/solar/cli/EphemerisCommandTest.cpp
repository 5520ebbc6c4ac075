#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CliRun.h"

namespace {

namespace fs = std::filesystem;

const char* kHeader =
    "body,ra_deg,dec_deg,distance,magnitude,illuminated,elongation_deg,diameter_arcsec,alt_deg,az_deg,rise,transit,"
    "set";

std::vector<std::vector<std::string>> Rows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) rows.push_back(SplitCsv(line));
    return rows;
}

// Runs in the source folder, whose data/ holds the real series.
CliRun Ephemeris(const std::string& arguments) { return RunCli("ephemeris " + arguments, VELKARIS_SOURCE_DIR); }

TEST(EphemerisCommand, EveryBodyOnceInOrderWithItsValuesAndTimes) {
    const CliRun r = Ephemeris("--at 2026-12-08T21:00:00 --zone 1 --dst 0 --lon 6:53:00E --lat 52:21:00N");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 11u) << r.out;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), kHeader);
    const char* names[] = {"sun",     "moon",   "mercury", "venus",   "mars",
                           "jupiter", "saturn", "uranus",  "neptune", "pluto"};
    const std::regex number("-?\\d+\\.\\d+"), clock("\\d\\d:\\d\\d:\\d\\d|-");
    for (int i = 0; i < 10; ++i) {
        const auto& row = rows[static_cast<std::size_t>(i) + 1];
        SCOPED_TRACE(names[i]);
        ASSERT_EQ(row.size(), 13u);
        EXPECT_EQ(row[0], names[i]);
        for (int f = 1; f <= 9; ++f) EXPECT_TRUE(std::regex_match(row[f], number)) << f << ": " << row[f];
        for (int f = 10; f <= 12; ++f) EXPECT_TRUE(std::regex_match(row[f], clock)) << f << ": " << row[f];
    }
    // The Sun in Ophiuchus a fortnight before the solstice, set since 16:20;
    // the Moon a day before new, 404,000 km away, in kilometres.
    EXPECT_NEAR(std::stod(rows[1][1]), 255.6, 0.1);
    EXPECT_NEAR(std::stod(rows[1][2]), -22.78, 0.01);
    EXPECT_LT(std::stod(rows[1][8]), -40);
    EXPECT_EQ(rows[1][12].substr(0, 5), "16:19");
    EXPECT_NEAR(std::stod(rows[2][3]), 404378, 100);
    EXPECT_LT(std::stod(rows[2][5]), 0.01);
}

TEST(EphemerisCommand, ChosenBodiesCircumpolarMoonsAndMalformedOptions) {
    struct Case {
        const char* arguments;
        int status;
        std::vector<std::string> rows;  // "body,rise column" of every row
    };
    const Case cases[] = {
        {"--bodies moon,mars --at 2026-12-08T21:00:00 --zone 1 --lon 6:53:00E --lat 52:21:00N",
         0,
         {"moon,08:28:21", "mars,22:42:55"}},
        // The Moon at its northern and southern standstill, seen from 65 degrees North.
        {"--bodies=moon --at 2025-01-12T12:00:00 --zone 0 --lon 18:00:00W --lat 65:00:00N", 0, {"moon,never-sets"}},
        {"--bodies moon --at 2025-01-26T12:00:00 --zone 0 --lon 18:00:00W --lat 65:00:00N", 0, {"moon,never-rises"}},
        {"--bodies Moon", 2, {}},
        {"--bodies moon,,sun", 2, {}},
        {"--bodies", 2, {}},
        {"--minor-planets 3", 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun r = Ephemeris(c.arguments);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.status != 0) {
            EXPECT_TRUE(r.out.empty());
            EXPECT_NE(r.err.find("velkaris-cli ephemeris: "), std::string::npos);
            continue;
        }
        const auto rows = Rows(r.out);
        ASSERT_EQ(rows.size(), c.rows.size() + 1);
        for (std::size_t i = 0; i < c.rows.size(); ++i) EXPECT_EQ(rows[i + 1][0] + "," + rows[i + 1][10], c.rows[i]);
    }
}

TEST(EphemerisCommand, BodiesWithoutSeriesAreLeftOutAndTheFilesNamedOnce) {
    const fs::path dir = fs::path(testing::TempDir()) / ScratchDirName("velkaris-ephemeris-test");
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    const CliRun r =
        RunCli("ephemeris --at 2025-03-14T01:58:00 --zone -5 --lon 75:00:00W --lat 40:00:00N", dir.string());
    fs::remove_all(dir);
    EXPECT_EQ(r.status, 1);
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 2u) << r.out;
    EXPECT_EQ(rows[1][0], "moon");
    EXPECT_EQ(rows[1][5], "-");  // no Sun to light it
    for (const char* file : {"la_earth.dat", "la_Mercury.dat", "la_Neptune.dat"}) {
        const std::size_t first = r.err.find(file);
        EXPECT_NE(first, std::string::npos) << file;
        EXPECT_EQ(r.err.find(file, first + 1), std::string::npos) << file;
    }
    EXPECT_NE(r.err.find("sun cannot be placed"), std::string::npos) << r.err;
}

}  // namespace
