#include <QDir>
#include <algorithm>

#include "TestSupport.h"

using namespace velkaris::tools;

namespace {

bool Contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

}  // namespace

TEST(DataBuilder, MissingPackageIsNamedOnceAndTheOtherFilesAreStillBuilt) {
    QTemporaryDir dir;
    std::string out = dir.path().toStdString();
    SourcePaths sources = FixtureSources();
    sources.yale = out + "/no-such-folder";
    Diagnostics diag;
    BuildResult result;
    EXPECT_FALSE(BuildGroup("foundation", sources, out, result, diag));
    EXPECT_FALSE(BuildGroup("notes", sources, out, result, diag));
    EXPECT_TRUE(BuildGroup("hipparcos", sources, out, result, diag));

    EXPECT_TRUE(Contains(result.notBuilt, "stfound.dat"));
    EXPECT_TRUE(Contains(result.notBuilt, "constellations.dat"));
    EXPECT_TRUE(Contains(result.notBuilt, "bnotes.dat"));
    EXPECT_FALSE(FileExists(out + "/stfound.dat"));
    EXPECT_TRUE(FileExists(out + "/sthip.dat"));
    EXPECT_EQ(diag.MissingCount(), 2u);  // two outputs needed the package...
    std::size_t naming = 0;
    for (const std::string& m : diag.Messages()) naming += m.find("install the package yale") != std::string::npos;
    EXPECT_EQ(naming, 1u);  // ...and one message names it
}

TEST(DataBuilder, WritingReplacesWholeFilesAndLeavesNoTemporaries) {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/x.dat";
    Diagnostics diag;
    ASSERT_TRUE(WriteFileAtomically(path, "old content that is longer\n", diag));
    ASSERT_TRUE(WriteFileAtomically(path, "new\n", diag));
    EXPECT_EQ(ReadText(path), "new\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // A folder that does not exist: reported, nothing half-written.
    EXPECT_FALSE(WriteFileAtomically(dir.path().toStdString() + "/missing/x.dat", "data\n", diag));
    EXPECT_FALSE(diag.Messages().empty());
}

TEST(DataBuilder, ConversionIsDeterministic) {
    QTemporaryDir first, second;
    for (const std::string& group : BuildGroups()) {
        Diagnostics d1, d2;
        BuildResult r1, r2;
        BuildGroup(group, FixtureSources(), first.path().toStdString(), r1, d1);
        BuildGroup(group, FixtureSources(), second.path().toStdString(), r2, d2);
        EXPECT_EQ(r1.records, r2.records) << group;
    }
    QStringList files = QDir(first.path()).entryList(QDir::Files);
    EXPECT_GE(files.size(), 5);
    for (const QString& f : files) {
        EXPECT_EQ(ReadText(first.path().toStdString() + "/" + f.toStdString()),
                  ReadText(second.path().toStdString() + "/" + f.toStdString()))
            << f.toStdString();
    }
}

TEST(TextHelpers, SexagesimalRoundingAndColumns) {
    Sexagesimal s = ToSexagesimal(-0.5, 1);
    EXPECT_TRUE(s.negative);
    EXPECT_EQ(s.whole, 0u);
    EXPECT_EQ(s.minutes, 30u);
    s = ToSexagesimal(10.999999, 2);  // 10 59 59.9964 rounds up to 11 00 00.00
    EXPECT_EQ(s.whole, 11u);
    EXPECT_EQ(s.minutes, 0u);
    EXPECT_DOUBLE_EQ(s.seconds, 0.0);
    EXPECT_EQ(FormatDeclination(-0.0001, 2), "-0 0 0.36");
    EXPECT_EQ(FormatRightAscension(-15.0, 1), "23 0 0.0");

    EXPECT_EQ(Columns("abcdef", 2, 4), "bcd");
    EXPECT_EQ(Columns("abc", 2, 10), "bc");
    EXPECT_EQ(Columns("abc", 5, 10), "");
    // Cutting never splits a multi-byte character.
    EXPECT_EQ(CutUtf8("abé", 3), "ab");
    long long v = 0;
    EXPECT_FALSE(ParseInt("12x", v));
    EXPECT_TRUE(ParseInt(" +12 ", v));
    EXPECT_EQ(v, 12);
}

TEST(DataBuilder, MinorPlanetsFeelOnlyThePlanetsWhoseSeriesHold) {
    QTemporaryDir dir;
    std::string out = dir.path().toStdString();
    Diagnostics diag;
    BuildResult result;
    BuildGroup("series", FixtureSources(), out, result, diag);  // only the Earth's series is whole
    ASSERT_TRUE(FileExists(out + "/la_earth.dat"));
    // Jupiter's file holding the Earth's series would put it at 1 au; Saturn's breaks off.
    ASSERT_TRUE(WriteFileAtomically(out + "/la_Jupiter.dat", ReadText(out + "/la_earth.dat"), diag));
    ASSERT_TRUE(WriteFileAtomically(out + "/la_Saturn.dat", "0\n5\n1.0 2.0\n", diag));
    Diagnostics minor;
    ASSERT_TRUE(BuildGroup("asteroids", FixtureSources(), out, result, minor));
    EXPECT_EQ(result.records.at("asteroids.dat"), 4u);
    std::string messages;
    for (const std::string& m : minor.Messages()) messages += m + "\n";
    EXPECT_NE(messages.find("la_Jupiter.dat places Jupiter 0.98"), std::string::npos) << messages;
    EXPECT_NE(messages.find("la_Saturn.dat cannot be read whole"), std::string::npos) << messages;
    EXPECT_NE(messages.find("la_Uranus.dat cannot be read whole"), std::string::npos) << messages;
    EXPECT_NE(messages.find("elements for 2022-08-09 0h TT (JD 2459800.5)"), std::string::npos) << messages;
    EXPECT_NE(messages.find("under the pull of the Sun and Earth: 4 of 4 objects"), std::string::npos) << messages;
}
