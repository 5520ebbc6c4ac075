#include <algorithm>
#include <cmath>

#include "LiteralReaders.h"
#include "TestSupport.h"
#include "tools/BrightStarCatalogue.h"
#include "tools/PlanetSeries.h"

using namespace velkaris::tools;

TEST(BrightStarNotes, BlocksByHdWithContinuationLinesAndNoLeadingDigits) {
    QTemporaryDir dir;
    std::string out = dir.path().toStdString();
    Diagnostics diag;
    BuildResult result;
    ASSERT_TRUE(BuildGroup("notes", FixtureSources(), out, result, diag));
    // HR 101, 102, 104 (removed from the catalogue but with an HD) and 106;
    // HR 999 is not in the catalogue and the "10x" line is malformed.
    EXPECT_EQ(result.records.at("bnotes.dat"), 4u);
    EXPECT_EQ(diag.MalformedCount(), 1u);

    std::vector<std::string> notes = literal::NotesFor(out + "/bnotes.dat", 100001);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0], "D:  First remark of a double star that goes on\n");
    EXPECT_EQ(notes[1], "    over a second line.\n");  // a continuation: no second heading
    EXPECT_EQ(notes[2], "N:  Test name.\n");

    ASSERT_EQ(literal::NotesFor(out + "/bnotes.dat", 100002).size(), 1u);
    EXPECT_EQ(literal::NotesFor(out + "/bnotes.dat", 100002)[0], "VAR:Amp. 0.1V.\n");
    // A remark whose text starts with a digit must not start a block.
    ASSERT_EQ(literal::NotesFor(out + "/bnotes.dat", 100006).size(), 1u);
    EXPECT_TRUE(literal::NotesFor(out + "/bnotes.dat", 1234).empty());

    std::string text = ReadText(out + "/bnotes.dat");
    for (std::string_view line : SplitLines(text)) {
        ASSERT_FALSE(line.empty());
        if (std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        ASSERT_GE(line.size(), 4u);
        std::string code(line.substr(0, 4));
        static const char* codes[] = {
            "C:  ", "D:  ", "DYN:", "G:  ", "M:  ", "N:  ", "P:  ", "R:  ", "RV: ", "S:  ", "SB: ", "VAR:", "    "};
        EXPECT_TRUE(std::any_of(std::begin(codes), std::end(codes), [&](const char* c) { return code == c; })) << line;
    }
}

TEST(PlanetSeries, SourceDigitsAreKeptAndReadBackInOrder) {
    Diagnostics diag;
    SeriesSet set;
    ASSERT_TRUE(
        ParseAstronomiaSeries(ReadText(Fixtures() + "/npm/astronomia/data/vsop87Dearth.js"), "earth.js", set, diag));
    EXPECT_EQ(set.version, "D");
    EXPECT_EQ(TermCount(set), 7u);
    EXPECT_EQ(set.series[0].size(), 2u);   // L0
    EXPECT_EQ(set.series[1].size(), 1u);   // L1
    EXPECT_EQ(set.series[6].size(), 1u);   // B0
    EXPECT_EQ(set.series[12].size(), 2u);  // R0
    EXPECT_EQ(set.series[14].size(), 1u);  // R2
    EXPECT_EQ(set.series[14][0].a, "4.359e-05");

    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/la_earth.dat";
    ASSERT_TRUE(WriteFileAtomically(path, FormatSeries(set), diag));
    literal::Series read;
    ASSERT_TRUE(literal::ReadSeriesFile(path, read));
    EXPECT_EQ(read[5].size(), 0u);
    ASSERT_EQ(read[14].size(), 1u);
    EXPECT_DOUBLE_EQ(read[14][0].a, 4.359e-05);
    EXPECT_DOUBLE_EQ(read[14][0].c, 6283.0758499914);
    // At J2000 the sum is the plain sum of A cos B.
    auto lbr = literal::EvaluateSeries(read, 0.0);
    EXPECT_NEAR(static_cast<double>(lbr[0]), 1.75347045673 + 0.03341656456 * std::cos(4.66925680417), 1e-12);
}

TEST(PlanetSeries, OtherVersionsAndBrokenTermsAreRefusedAndTheRestBuilt) {
    QTemporaryDir dir;
    std::string out = dir.path().toStdString();
    Diagnostics diag;
    BuildResult result;
    EXPECT_FALSE(BuildGroup("series", FixtureSources(), out, result, diag));
    EXPECT_TRUE(result.records.count("la_earth.dat"));
    EXPECT_TRUE(result.records.count("la_Pluto.dat"));
    // Mercury's module claims version B (another frame); Venus's has a term of two numbers.
    for (const char* file : {"la_Mercury.dat", "la_Venus.dat", "la_Mars.dat", "la_Neptune.dat"}) {
        EXPECT_NE(std::find(result.notBuilt.begin(), result.notBuilt.end(), file), result.notBuilt.end()) << file;
        EXPECT_FALSE(FileExists(out + "/" + file)) << file;
    }
    bool namesPackage = false;
    for (const std::string& m : diag.Messages())
        namesPackage = namesPackage || m.find("astronomia") != std::string::npos;
    EXPECT_TRUE(namesPackage);

    literal::Series pluto;
    ASSERT_TRUE(literal::ReadSeriesFile(out + "/la_Pluto.dat", pluto));
    for (const auto& s : pluto) EXPECT_TRUE(s.empty());
}
