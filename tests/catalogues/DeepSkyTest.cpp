#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/DeepSkyObject.h"
#include "catalogues/LoadProgress.h"
#include "tests/catalogues/ScratchFile.h"

namespace {

using catalogue_tests::ScratchFile;

constexpr double kDegree = 3.141592653589793 / 180.0;

// One data line and its notes line.
std::string Record(const std::string& data, const std::string& notes = "notes") { return data + "\n" + notes + "\n"; }

std::string Catalogue(const std::string& countLine, int records) {
    std::string text = countLine + "\n";
    for (int i = 1; i <= records; ++i) text += Record(std::to_string(i) + " 1 0 1 2 3.0 +4 5 9.5 2.0");
    return text;
}

struct RecordCase {
    const char* what;
    std::string text;
    const char* shownName;
    const char* designation;
    int type;
    int messier;
    double raDegrees;
    double decDegrees;
    float magnitude;
    double radius;
    const char* notes;
};

TEST(DeepSkyRecords, FieldsNamesAndRadiiAsTheFileGivesThem) {
    const double oneDegree = kDegree;
    const double tenArcminutes = 10.0 / 60.0 * kDegree / 2.0;
    const RecordCase cases[] = {
        {"common name wins", Record("224 1 31 0 42 44.3 +41 16 3.44 10 Andromeda Galaxy", "eB, vL, vmE"),
         "Andromeda Galaxy", "224", 1, 31, 10.6846, 41.2667, 3.44f, tenArcminutes, "eB, vL, vmE"},
        {"then the Messier number", Record("224 1 31 0 42 44.3 +41 16 3.44 10"), "M31", "224", 1, 31, 10.6846, 41.2667,
         3.44f, tenArcminutes, "notes"},
        {"a blank after the size is no name", Record("224 1 31 0 42 44.3 +41 16 3.44 10 "), "M31", "224", 1, 31,
         10.6846, 41.2667, 3.44f, tenArcminutes, "notes"},
        {"then the designation", Record("IC434 4 0 5 40 59.0 -2 27 7.3 0", ""), "IC434", "IC434", 4, 0, 85.2458, -2.45,
         7.3f, oneDegree, ""},
        {"the sign stands apart from the degrees", Record("7000 2 0 0 0 0 -0 30 9 0"), "7000", "7000", 2, 0, 0.0, -0.5,
         9.0f, oneDegree, "notes"},
        {"a long designation is cut", Record("ABCDEFGHIJ -1 0 1 0 0 +1 0 12 0"), "ABCDEFG", "ABCDEFG", -1, 0, 15.0, 1.0,
         12.0f, oneDegree, "notes"},
        {"a broken data line keeps its notes line", Record("500 1 0 12", "vF, S"), "500", "500", 1, 0, 180.0, 0.0, 0.0f,
         oneDegree, "vF, S"},
        {"long notes are cut", Record("9 5 0 0 0 0 +0 0 1 0", std::string(60, 'n')), "9", "9", 5, 0, 0.0, 0.0, 1.0f,
         oneDegree, "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeepSkyCatalogue catalogue;
        // A second record after it must come out whole: nothing of the first
        // may spill into it.
        catalogue.LoadText("2\n" + c.text + Record("6543 5 0 17 58 33.4 +66 38 8.1 0.3 Cat's Eye", "!!, B, S"),
                           nullptr);
        ASSERT_EQ(catalogue.size(), 2u);
        const DeepSkyObject& o = catalogue.objects()[0];
        EXPECT_EQ(o.GetName(), c.shownName);
        EXPECT_STREQ(o.designation, c.designation);
        EXPECT_EQ(o.type, c.type);
        EXPECT_EQ(o.messier, c.messier);
        EXPECT_NEAR(o.ra.radians / kDegree, c.raDegrees, 1e-3);
        EXPECT_NEAR(o.dec.radians / kDegree, c.decDegrees, 1e-3);
        EXPECT_FLOAT_EQ(o.magnitude, c.magnitude);
        EXPECT_NEAR(o.radius, c.radius, 1e-9);
        EXPECT_STREQ(o.notes, c.notes);

        const DeepSkyObject& next = catalogue.objects()[1];
        EXPECT_EQ(next.GetName(), "Cat's Eye");
        EXPECT_EQ(next.type, 5);
        EXPECT_NEAR(next.dec.radians / kDegree, 66.0 + 38.0 / 60.0, 1e-6);
        EXPECT_STREQ(next.notes, "!!, B, S");
    }
}

TEST(DeepSkyRecords, ACommonNameIsCutAt62Characters) {
    DeepSkyCatalogue catalogue;
    catalogue.LoadText("1\n" + Record("1 1 0 0 0 0 +0 0 1 0 " + std::string(600, 'x')), nullptr);
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue.objects()[0].GetName(), std::string(62, 'x'));
}

TEST(DeepSkyLoading, TheCountLineIsAPromiseTheFileMayNotKeep) {
    const struct {
        const char* countLine;
        int records;
        std::size_t expected;
    } cases[] = {
        {"4294967295", 3, 3}, {"-1", 3, 3}, {"2 objects follow", 5, 2}, {"none", 3, 0}, {"0", 3, 0},
    };
    for (const auto& c : cases) {
        DeepSkyCatalogue catalogue;
        catalogue.LoadText(Catalogue(c.countLine, c.records) + "\n \n", nullptr);
        EXPECT_EQ(catalogue.size(), c.expected) << c.countLine;
        if (c.expected > 0) {
            EXPECT_STREQ(catalogue.objects()[c.expected - 1].designation, std::to_string(c.expected).c_str());
        }
    }
}

TEST(DeepSkyLoading, WindowsLineEndsReadAsPlainOnesUnderTheJobText) {
    ScratchFile file("dsocrlf.dat");
    file.Write("1\r\n224 1 31 0 42 44.3 +41 16 3.44 177.8 Andromeda Galaxy\r\neB, vL\r\n");
    DeepSkyCatalogue catalogue;
    QuietProgress progress;
    ASSERT_TRUE(catalogue.Load(file.path(), &progress));
    EXPECT_EQ(progress.jobs(), std::vector<std::string>{"Loading Deepsky Objects"});
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue.objects()[0].GetName(), "Andromeda Galaxy");
    EXPECT_STREQ(catalogue.objects()[0].notes, "eB, vL");
}

TEST(DeepSkyLoading, AMissingFileOrAPipeInItsPlaceLoadsNothingAndNeverWaits) {
    ScratchFile missing("dsomissing.dat");
    ScratchFile pipe("dsopipe.dat");
    ASSERT_TRUE(pipe.MakePipe());
    for (const std::string& path : {missing.path(), pipe.path()}) {
        DeepSkyCatalogue catalogue;
        catalogue.LoadText(Catalogue("3", 3), nullptr);
        EXPECT_FALSE(catalogue.Load(path, nullptr)) << path;
        EXPECT_EQ(catalogue.size(), 0u) << path;
    }
}

}  // namespace
