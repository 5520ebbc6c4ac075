#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/CliRun.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFoundation =
    "3\nfoundation\n"
    "B 48915 32349 6 45 8.917 -16 42 58.02 -0.546 -1.223 -1.46 9 CMa\nAlp\nA1V \nSirius\n"
    "B 128620 71683 14 39 36.494 -60 50 02.37 -3.679 0.474 -0.01 0 Cen\nAlp1\nG2V \n\n"
    "B 128621 71681 14 39 35.063 -60 50 15.10 -3.614 0.802 1.33 0 Cen\nAlp2\nK1V \n\n";

constexpr const char* kOther =
    "1\nother\n"
    "H 128620 71683 14 39 36.494 -60 50 02.37 -3.679 0.474 -0.01 0 Cen\nAlp1\n\nRigil Kentaurus\n";

constexpr const char* kNotes = "48915\nN:  SIRIUS; Canicula.\nD:  White dwarf companion.\n48916\nC:  Other.\n";

constexpr const char* kDeepSky =
    "1\n224 1 31 0 42 44.3 +41 16 3.44 177.8 Andromeda Galaxy\n!!! eeB, eL, vmE (Andromeda); = M31\n";

class ReportCommand : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) / ScratchDirName("velkaris-report-test");
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data");
        std::ofstream(dir_ / "data" / "stfound.dat") << kFoundation;
        std::ofstream(dir_ / "data" / "stother.dat") << kOther;
        std::ofstream(dir_ / "data" / "bnotes.dat") << kNotes;
        std::ofstream(dir_ / "data" / "dsocat.dat") << kDeepSky;
        std::ofstream(dir_ / "data" / "constellations.dat") << "0\n";
        std::ofstream(dir_ / "data" / "asteroids.dat") << "0\n";
        // The other catalogue is loaded too.
        fs::create_directories(dir_ / "config" / "Korvent" / "Velkaris");
        std::ofstream(dir_ / "config" / "Korvent" / "Velkaris" / "1.0.conf") << "int other = 1\n";
    }
    void TearDown() override { fs::remove_all(dir_); }

    CliRun Run(const std::string& arguments) const {
        return RunCli(
            "report " + arguments + " --at 2026-01-15T22:00:00 --zone +1 --dst 0 --lon 6:53:0E --lat 52:21:0N",
            // The working directory, and settings of its own.
            dir_.string() + "' && export XDG_CONFIG_HOME='" + (dir_ / "config").string());
    }

    fs::path dir_;
};

TEST_F(ReportCommand, TheReportOfTheOneObjectOfTheNameOrWhyNot) {
    const struct {
        const char* arguments;
        int status;
        const char* err;  // what stderr ends with
        const char* out;  // what stdout starts with
    } rows[] = {
        {"'alp CMa'", 0, "",
         "Star: Sirius \tHD: 48915 HIP: 32349 \n(source: bright star catalogue)\n\nRA\t\t: 6h45'09\"\tAltitude"},
        // The name in two words; the Bayer letter as a Greek one.
        {"M 31", 0, "", "Galaxy: Andromeda Galaxy\nM31 224\n(source: ngc 2000 catalogue)\n\nRA\t\t: 0h42'44\""},
        {"alp2 Cen", 0, "", "Star: α2 Cen \tHD: 128621 HIP: 71681 \n"},
        {"Vega", 1, "velkaris-cli report: no object is named 'Vega'\n", ""},
        // Each by a name that tells it from the others; Rigil Kentaurus is
        // alp1 Cen of the other catalogue.
        {"alp Cen", 1,
         "velkaris-cli report: 'alp Cen' names 3 objects:\n"
         "  alp1 Cen (star of the catalogue foundation, HD 128620)\n"
         "  alp2 Cen (star of the catalogue foundation, HD 128621)\n"
         "  Rigil Kentaurus (star of the catalogue other, HD 128620)\n",
         ""},
        {"HD 128620", 1,
         "names 2 objects:\n"
         "  alp1 Cen (star of the catalogue foundation, HD 128620)\n"
         "  Rigil Kentaurus (star of the catalogue other, HD 128620)\n",
         ""},
        {"--catalogue other HD 128620", 0, "", "Star: Rigil Kentaurus \tHD: 128620 HIP: 71683 \n(source: hipparcos"},
        {"--catalogue=foundation 'HD 128620'", 0, "", "Star: "},
        {"--catalogue none Sirius", 1, "no object is named 'Sirius'\n", ""},
        {"", 2, "velkaris-cli report: no NAME given (see velkaris-cli report --help)\n", ""},
        {"--brief Sirius", 2, "unknown option '--brief' (see velkaris-cli report --help)\n", ""},
    };
    for (const auto& row : rows) {
        const CliRun r = Run(row.arguments);
        EXPECT_EQ(r.status, row.status) << row.arguments << "\n" << r.err;
        const std::string err = row.err;
        EXPECT_TRUE(r.err.size() >= err.size() && r.err.compare(r.err.size() - err.size(), err.size(), err) == 0)
            << row.arguments << "\n"
            << r.err;
        EXPECT_EQ(r.out.rfind(row.out, 0), 0u) << row.arguments << "\n" << r.out;
        if (row.status != 0) {
            EXPECT_TRUE(r.out.empty()) << row.arguments << "\n" << r.out;
        }
    }
    // The rest of a report: the star's notes, the description translated.
    EXPECT_NE(Run("Sirius").out.find("Spectrum\t: A1V\n\nNotes from Bright Star Catalogue:\n\nStar names:\n"
                                     "SIRIUS; Canicula.\n\nDouble and multiple stars:\nWhite dwarf companion.\n"),
              std::string::npos);
    EXPECT_NE(Run("NGC 224").out.find("\nNotes\t\t: !!! eeB, eL, vmE (Andromeda); = M31\n\nNotes Translation attempt:\n"
                                      "magnificent, extremely extremely bright, extremely large, very much extended, "
                                      "(Andromeda), = M31, \n"),
              std::string::npos);
}

TEST_F(ReportCommand, AMisspeltNameIsToldWhatItMayHaveMeant) {
    const CliRun r = Run("Sirus");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_NE(r.err.find("no object is named 'Sirus'\n  did you mean Sirius: Sirius (star of the catalogue "),
              std::string::npos)
        << r.err;
}

}  // namespace
