#include <gtest/gtest.h>

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CliRun.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDeepSky =
    "5\n"
    "224 1 31 0 42 44.3 +41 16 3.44 177.8 Andromeda Galaxy\neB, vL\n"
    "1976 4 42 5 35 17.3 -5 23 4.0 85.0 Great Orion Nebula, Orion Nebula\n!!!, vB, vL\n"
    "7000 4 0 20 59 17.1 +44 20 4.0 120.0 North America Nebula\npB, vL\n"
    "IC434 4 0 5 40 59.0 -2 27 7.3 60.0\nF, vL\n"
    "6543 5 0 17 58 33.4 +66 38 8.1 0.3\n!!, B, S\n";

struct DsoRun {
    int status = -1;
    std::vector<std::vector<std::string>> rows;  // the CSV, header first
    std::string err;
};

class DsoCommand : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) / ScratchDirName("velkaris-dso-test");
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data");
        std::ofstream(dir_ / "data" / "dsocat.dat") << kDeepSky;
        std::ofstream(dir_ / "data" / "constellations.dat") << "0\n";
        std::ofstream(dir_ / "data" / "asteroids.dat") << "0\n";
    }
    void TearDown() override { fs::remove_all(dir_); }

    DsoRun Run(const std::string& arguments) const {
        const CliRun run =
            RunCli("dso " + arguments + " --at 2026-01-15T22:00:00 --zone +1 --dst 0 --lon 6:53:0E --lat 52:21:0N",
                   dir_.string());
        DsoRun r;
        r.status = run.status;
        r.err = run.err;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) r.rows.push_back(SplitCsv(line));
        return r;
    }

    std::vector<std::string> Names(const DsoRun& r) const {
        std::vector<std::string> names;
        for (std::size_t i = 1; i < r.rows.size(); ++i) names.push_back(r.rows[i][0]);
        return names;
    }

    fs::path dir_;
};

TEST_F(DsoCommand, AnObjectByNameWithItsCataloguePlaceAndItsPlaceOnTheSky) {
    const DsoRun r = Run("M 31");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.rows.size(), 2u);
    const std::vector<std::string> header = {"name",    "type",   "ra_deg", "dec_deg", "magnitude", "size_arcmin",
                                             "alt_deg", "az_deg", "rise",   "transit", "set"};
    EXPECT_EQ(r.rows[0], header);
    const auto& m31 = r.rows[1];
    ASSERT_EQ(m31.size(), header.size());
    EXPECT_EQ(m31[0], "Andromeda Galaxy");
    EXPECT_EQ(m31[1], "galaxy");
    const double ra = std::stod(m31[2]), dec = std::stod(m31[3]);
    EXPECT_NEAR(ra, (42 + 44.3 / 60) / 4, 1e-4);  // the catalogue place, not one of the date
    EXPECT_NEAR(dec, 41 + 16 / 60.0, 1e-6);
    EXPECT_EQ(m31[4], "3.44");
    EXPECT_EQ(m31[5], "177.80");
    // Altitude and azimuth of that place under the apparent sidereal time of
    // 21:00 UT, from ERFA.
    const double ut = 2461056.375, tt = ut + 69.2 / 86400;
    const double last = eraGst06a(ut, 0, tt, 0) + (6 + 53 / 60.0) * ERFA_DD2R;
    const double h = last - ra * ERFA_DD2R, phi = (52 + 21 / 60.0) * ERFA_DD2R, d = dec * ERFA_DD2R;
    const double alt = std::asin(std::sin(phi) * std::sin(d) + std::cos(phi) * std::cos(d) * std::cos(h));
    const double az = std::atan2(std::sin(h), std::cos(h) * std::sin(phi) - std::tan(d) * std::cos(phi)) + ERFA_DPI;
    EXPECT_NEAR(std::stod(m31[6]), alt * ERFA_DR2D, 0.01);
    EXPECT_NEAR(std::stod(m31[7]), az * ERFA_DR2D, 0.01);
    EXPECT_EQ(m31[8], "-");  // never sets seen from 52 degrees North
    EXPECT_EQ(m31[10], "-");
}

TEST_F(DsoCommand, NamesAsMessierNgcAndIcNumbersOrCommonNamesInTheOrderGiven) {
    const struct {
        const char* args;
        int status;
        std::vector<std::string> names;
    } cases[] = {
        {"m31 M42", 0, {"Andromeda Galaxy", "Great Orion Nebula, Orion Nebula"}},
        {"NGC 224 ngc7000 224", 0, {"Andromeda Galaxy", "North America Nebula", "Andromeda Galaxy"}},
        {"IC 434 ic434", 0, {"IC434", "IC434"}},
        {"orion nebula", 0, {"Great Orion Nebula, Orion Nebula"}},  // two words as the shell splits them
        {"'north america nebula' 6543", 0, {"North America Nebula", "6543"}},
        {"M 99 M31 Nowhere", 1, {"Andromeda Galaxy"}},
    };
    for (const auto& c : cases) {
        const DsoRun r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(Names(r), c.names) << c.args;
    }
    const DsoRun missing = Run("M31 Nowhere");
    EXPECT_NE(missing.err.find("no deep-sky object 'Nowhere'"), std::string::npos) << missing.err;
}

TEST_F(DsoCommand, WithoutNamesTheObjectsTheDeepSkyLayerShows) {
    const struct {
        const char* args;
        std::vector<std::string> names;
    } cases[] = {
        {"--limit 9",
         {"Andromeda Galaxy", "Great Orion Nebula, Orion Nebula", "North America Nebula", "IC434", "6543"}},
        {"--limit=7.5", {"Andromeda Galaxy", "Great Orion Nebula, Orion Nebula", "North America Nebula", "IC434"}},
        {"--messier --limit 9", {"Andromeda Galaxy", "Great Orion Nebula, Orion Nebula"}},
        {"--limit 3.5", {"Andromeda Galaxy"}},
    };
    for (const auto& c : cases) {
        const DsoRun listed = Run(c.args);
        ASSERT_EQ(listed.status, 0) << c.args << "\n" << listed.err;
        EXPECT_EQ(Names(listed), c.names) << c.args;
        for (std::size_t i = 1; i < listed.rows.size(); ++i) EXPECT_EQ(listed.rows[i].size(), 11u);
    }
}

TEST_F(DsoCommand, MalformedOptionsAndAMissingCatalogue) {
    for (const char* bad : {"--limit", "--limit x", "--limit=", "--limit nan", "--frobnicate"}) {
        const DsoRun r = Run(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.rows.empty()) << bad;
    }
    fs::remove(dir_ / "data" / "dsocat.dat");
    const DsoRun r = Run("M 31");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error opening the Deepsky Catalogue file"), std::string::npos) << r.err;
}

}  // namespace
