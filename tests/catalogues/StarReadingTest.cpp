#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/StarCatalogue.h"
#include "catalogues/StarRecord.h"
#include "catalogues/TextCursor.h"
#include "tests/catalogues/CatalogueTestSupport.h"

namespace {

using catalogue_tests::FixturePath;

constexpr double kDegree = 3.14159265358979323846 / 180.0;

class FixtureCatalogue : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalogue.Load(&progress));
        ASSERT_EQ(catalogue.stars().size(), 23u);
    }
    const Star& At(std::size_t i) { return catalogue.stars()[i]; }

    StarCatalogue catalogue{FixturePath("stfixture.dat"), {}, true};
    QuietProgress progress;
};

TEST_F(FixtureCatalogue, EveryFieldOfARecordArrives) {
    const Star& sirius = At(0);
    EXPECT_EQ(sirius.kind, 'B');
    EXPECT_EQ(sirius.hd, 48915u);
    EXPECT_EQ(sirius.hip, 32349u);
    EXPECT_EQ(sirius.ra.hours, 6);
    EXPECT_EQ(sirius.ra.minutes, 45);
    EXPECT_NEAR(sirius.ra.seconds, 8.917, 1e-5);
    // The angle records use the program's own rounded degree constants.
    EXPECT_NEAR(sirius.ra.radians, (6 + 45 / 60.0 + 8.917 / 3600.0) * 15 * kDegree, 5e-8);
    EXPECT_TRUE(sirius.dec.negative);
    EXPECT_EQ(sirius.dec.degrees, 16);
    EXPECT_EQ(sirius.dec.minutes, 42);
    EXPECT_NEAR(sirius.dec.radians, -(16 + 42 / 60.0 + 58.02 / 3600.0) * kDegree, 5e-8);
    // Proper motions come in arcseconds a year and are kept in radians.
    EXPECT_NEAR(sirius.pmRa, -0.54601 * 4.84813681109536e-6, 1e-12);
    EXPECT_NEAR(sirius.pmDec, -1.22307 * 4.84813681109536e-6, 1e-12);
    EXPECT_FLOAT_EQ(sirius.magnitude, -1.44f);
    EXPECT_EQ(sirius.flamsteed, 9);
    EXPECT_STREQ(sirius.constellation, "CMa");
    EXPECT_STREQ(sirius.bayer, "a");
    ASSERT_NE(sirius.Spectral(), nullptr);
    EXPECT_EQ(*sirius.Spectral(), "A0m...");
    EXPECT_EQ(sirius.colourClass, 3);
    EXPECT_EQ(sirius.GetName(), "Sirius");
    // A south declination of less than a degree keeps its sign.
    EXPECT_TRUE(At(15).dec.negative);
    EXPECT_NEAR(At(15).dec.radians, -0.5 * kDegree, 1e-9);
}

TEST_F(FixtureCatalogue, GreekLettersMapToTheSymbolFontWithTheirSuperscripts) {
    const std::vector<std::string> expected = {"a", "a1", "h", "e", "o", "w2", "j", "p", "y", "q", "t", "m", "x2"};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(std::string(At(i).bayer), expected[i]) << i;
    EXPECT_STREQ(At(13).bayer, "");  // an empty Bayer line: no letter
}

TEST_F(FixtureCatalogue, NamesFollowTheFirstRuleThatApplies) {
    const std::vector<std::string> expected = {"Sirius",         "a1 Lib",
                                               "h UMa",          "e Ori",
                                               "o Cet",          "w2 Sco",
                                               "j Her",          "p Pup",
                                               "y Vel",          "q Leo",
                                               "t Sco",          "m Cep",
                                               "x2 Cet",         "61 Cyg",
                                               "HD: 1234",       "HIP: 5678",
                                               "Tycho Star",     "Hipparcos Star",
                                               "Bright Star",    "X-File",
                                               "Hipparcos Star", "A Carbon Star With A Long Name",
                                               "Hipparcos Star"};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(At(i).GetName(), expected[i]) << i;
}

TEST_F(FixtureCatalogue, SpectralTypesLoseTheirPadAndSetTheColourClass) {
    const std::vector<int> classes = {3, 4, 2, 2, 0, 5, 2, 6, 4, 3, 1, 0, 2, 6};
    for (std::size_t i = 0; i < classes.size(); ++i) EXPECT_EQ(At(i).colourClass, classes[i]) << i;
    EXPECT_EQ(*At(1).Spectral(), "F3V");
    // No spectral type, or one letter with no pad after it: none, class 7.
    EXPECT_EQ(At(14).Spectral(), nullptr);
    EXPECT_EQ(At(14).colourClass, 7);
    EXPECT_EQ(At(20).Spectral(), nullptr);
    EXPECT_EQ(At(20).colourClass, 7);
    EXPECT_EQ(*At(21).Spectral(), "C5,4");
    EXPECT_EQ(At(21).colourClass, 7);
    // A type padded to twenty columns keeps its blanks, and the proper-name
    // read then takes only the line end.
    ASSERT_NE(At(22).Spectral(), nullptr);
    EXPECT_EQ(*At(22).Spectral(), "K0III              ");
    EXPECT_EQ(At(22).colourClass, 6);
    EXPECT_EQ(At(22).Name(), nullptr);
    EXPECT_STREQ(At(22).constellation, "And");
}

TEST(StarRecordReading, ADamagedNumberZeroesTheRestAndTheTextReadsOnFromThere) {
    // The HIP field is a word: the numbers after it stay zero, and the text
    // reads continue from the word.
    TextCursor text("H 12 abc 1 2 3\nOri\n");
    StarRecord r;
    ReadStarRecord(text, r);
    EXPECT_EQ(r.kind, 'H');
    EXPECT_EQ(r.hd, 12u);
    EXPECT_EQ(r.hip, 0u);
    EXPECT_EQ(r.raHours, 0);
    EXPECT_FLOAT_EQ(r.magnitude, 0.0f);
    EXPECT_EQ(r.constellation, "bc ");  // one character went as the separator
}

TEST(StarRecordReading, AnOverlongNameIsCutAndDoesNotSpillIntoTheNextRecord) {
    const std::string longName(80, 'N');
    const std::string text =
        "2\nlong names\n"
        "H 1 0 1 0 0 +1 0 0 0 0 5.0 0\nOri\n\nA0 \n" +
        longName +
        "\n"
        "H 2 0 2 0 0 +2 0 0 0 0 6.0 0\nCyg\n\nB5 \nSecond\n";
    StarCatalogue catalogue("long", {}, true);
    ASSERT_TRUE(catalogue.LoadText(text, nullptr));
    ASSERT_EQ(catalogue.stars().size(), 2u);
    EXPECT_EQ(catalogue.stars()[0].GetName(), std::string(63, 'N'));
    EXPECT_EQ(catalogue.stars()[1].hd, 2u);
    EXPECT_EQ(catalogue.stars()[1].GetName(), "Second");
    EXPECT_STREQ(catalogue.stars()[1].constellation, "Cyg");
}

TEST(BayerLetters, EveryAbbreviationOfTheAlphabet) {
    const std::pair<const char*, char> table[] = {
        {"Alp", 'a'}, {"Bet", 'b'}, {"Gam", 'g'}, {"Del", 'd'}, {"Eps", 'e'}, {"Zet", 'z'}, {"Eta", 'h'}, {"The", 'q'},
        {"Iot", 'i'}, {"Kap", 'k'}, {"Lam", 'l'}, {"Mu ", 'm'}, {"Nu ", 'n'}, {"Xi ", 'x'}, {"Omi", 'o'}, {"Pi ", 'p'},
        {"Rho", 'r'}, {"Sig", 's'}, {"Tau", 't'}, {"Ups", 'u'}, {"Phi", 'j'}, {"Chi", 'c'}, {"Psi", 'y'}, {"Ome", 'w'}};
    for (const auto& [abbreviation, letter] : table) EXPECT_EQ(BayerLetter(abbreviation), letter) << abbreviation;
}

}  // namespace
