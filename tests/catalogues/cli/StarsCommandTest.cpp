#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <erfa.h>
#include <erfam.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "tests/support/CliRun.h"

namespace {

namespace fs = std::filesystem;

struct StarsRun {
    int status = -1;
    std::vector<std::vector<std::string>> rows;  // the CSV, header first
    std::string err;
};

// A working directory with the fixture catalogue as the foundation and a
// second catalogue that repeats one of its stars and adds a brighter one.
class StarsCommand : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) / ScratchDirName("velkaris-stars-test");
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data");
        fs::copy_file(fs::path(VELKARIS_TEST_FIXTURES) / "catalogues" / "stfixture.dat", dir_ / "data" / "stfound.dat");
        std::ofstream(dir_ / "data" / "stextra.dat")
            << "2\nextra\n"
               "H 48915 32349 6 45 9.261 -16 42 47.26 -0.57010 -1.22307 -1.44 9\n"
               "CMa\nAlp\nA0 \nSirius\n"
               "H 0 999 1 0 0 +10 0 0 0 0 -3.00 0\n\n\nG2V \nA, \"quoted\" star\n";
    }
    void TearDown() override { fs::remove_all(dir_); }

    StarsRun Run(const std::string& arguments) const {
        const CliRun run =
            RunCli("stars " + arguments + " --at 2026-01-15T22:00:00 --zone +1 --dst 0 --lon 6:53:0E --lat 52:21:0N",
                   dir_.string());
        StarsRun r;
        r.status = run.status;
        r.err = run.err;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) r.rows.push_back(SplitCsv(line));
        return r;
    }

    fs::path dir_;
};

TEST_F(StarsCommand, PrintsSiriusWithItsPlaceOfTheDateAndItsTimes) {
    const StarsRun r = Run("--hd 48915,201091");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.rows.size(), 3u);
    const std::vector<std::string> header = {"name",        "hd",           "hip",     "ra_deg", "dec_deg",
                                             "ra_date_deg", "dec_date_deg", "alt_deg", "az_deg", "magnitude",
                                             "rise",        "transit",      "set"};
    EXPECT_EQ(r.rows[0], header);
    const auto& sirius = r.rows[1];
    ASSERT_EQ(sirius.size(), header.size());
    EXPECT_EQ(sirius[0], "Sirius");
    EXPECT_EQ(sirius[1], "48915");
    EXPECT_EQ(sirius[2], "32349");
    // The place of the date is the catalogue place moved by proper motion
    // and by the 2006 precession to within the models' difference.
    const double years = (2461056.375 - 2451545.0) / 365.25;
    double v[3], w[3], matrix[3][3];
    eraS2c((std::stod(sirius[3]) - 0.54601 / 3600 * years) * ERFA_DD2R,
           (std::stod(sirius[4]) - 1.22307 / 3600 * years) * ERFA_DD2R, v);
    eraPmat06(2461056.375, 0.0, matrix);
    eraRxp(matrix, v, w);
    double ra, dec;
    eraC2s(w, &ra, &dec);
    double date[3];
    eraS2c(std::stod(sirius[5]) * ERFA_DD2R, std::stod(sirius[6]) * ERFA_DD2R, date);
    EXPECT_LT(eraSepp(w, date) * ERFA_DR2AS, 0.2);
    EXPECT_GT(std::stod(sirius[7]), 0.0);  // up at ten in the evening in January
    for (int i = 10; i < 13; ++i) EXPECT_EQ(sirius[i].size(), 8u) << sirius[i];
    EXPECT_EQ(sirius[11].substr(0, 3), "23:");  // it culminates before midnight
    EXPECT_EQ(r.rows[2][0], "61 Cyg");
    // 61 Cygni never sets seen from 52 degrees North, but it transits.
    EXPECT_EQ(r.rows[2][10], "-");
    EXPECT_EQ(r.rows[2][11].size(), 8u) << r.rows[2][11];
    EXPECT_EQ(r.rows[2][12], "-");
}

TEST_F(StarsCommand, TheBrightestComeOnceFromTheCataloguesAsked) {
    // Only the foundation is on by default.
    // A Bayer-named star is printed with its Greek letter, as the window shows it.
    StarsRun r = Run("--brightest 2");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[1][0], "Sirius");
    EXPECT_EQ(r.rows[2][0], "η UMa");
    EXPECT_NE(r.err.find("Loading: data/stfound.dat"), std::string::npos);

    // Both catalogues: the star both hold appears once, a name with a comma
    // and quotes survives.
    r = Run("--brightest 3 --catalogue fixture --catalogue=stextra.dat");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.rows[1][0], "A, \"quoted\" star");
    EXPECT_EQ(r.rows[2][0], "Sirius");
    EXPECT_EQ(r.rows[3][0], "η UMa");

    // A damaged magnitude is no brightness at all.
    std::ofstream(dir_ / "data" / "stdamaged.dat") << "2\ndamaged\n"
                                                      "H 0 7 1 0 0 +10 0 0 0 0 nan 0\n\n\n\nNo Number\n"
                                                      "H 0 8 2 0 0 +10 0 0 0 0 5.00 0\n\n\n\nFive\n";
    r = Run("--brightest 1 --catalogue damaged");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1][0], "Five");
}

TEST_F(StarsCommand, MissingStarsCataloguesAndBadOptionsAreReported) {
    StarsRun r = Run("--hd 48915,7 --catalogue extra --catalogue nonesuch");
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1][1], "48915");
    EXPECT_NE(r.err.find("nonesuch"), std::string::npos);
    EXPECT_NE(r.err.find("HD 7"), std::string::npos);

    fs::permissions(dir_ / "data" / "stextra.dat", fs::perms::none);
    if (!std::ifstream(dir_ / "data" / "stextra.dat").good()) {
        r = Run("--hd 48915 --catalogue extra");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("data/stextra.dat"), std::string::npos);
    }
    fs::permissions(dir_ / "data" / "stextra.dat", fs::perms::owner_all);

    // A catalogue past the 32 the program uses is named as such, and a file
    // that cannot be a catalogue is named with what it is.
    for (int i = 10; i < 42; ++i)
        std::ofstream(dir_ / "data" / ("stx" + std::to_string(i) + ".dat")) << "1\nx" << i << "\n";
    ASSERT_EQ(mkfifo((dir_ / "data" / "stpipe.dat").c_str(), 0600), 0);
    std::ofstream(dir_ / "data" / "stzz.dat") << "1\ntycho\n";
    for (const char* wanted : {"stzz.dat", "tycho"}) {
        r = Run(std::string("--hd 48915 --catalogue ") + wanted);
        EXPECT_EQ(r.status, 1) << wanted;
        EXPECT_NE(r.err.find("data/stzz.dat is past the first 32 star catalogues"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("data/stpipe.dat is not a regular file"), std::string::npos) << r.err;
    }

    for (const char* bad : {"", "--hd", "--hd 12,x", "--brightest 0", "--hd 1 --brightest 2", "--frobnicate 1"}) {
        r = Run(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.rows.empty()) << bad;
    }
}

}  // namespace
