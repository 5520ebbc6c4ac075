#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogues/ConstellationFigure.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/Star.h"
#include "catalogues/TextCursor.h"
#include "tests/catalogues/ScratchFile.h"

namespace {

using catalogue_tests::ScratchFile;
using Line = ConstellationFigure::Line;

// Stars with the given HD numbers, side by side as a catalogue keeps them.
std::vector<Star> StarsWithHd(std::initializer_list<uint32_t> numbers) {
    std::vector<Star> stars(numbers.size());
    std::size_t i = 0;
    for (uint32_t hd : numbers) stars[i++].hd = hd;
    return stars;
}

TEST(FigureRecords, NumbersMaySpreadOverLinesAndTheNextFigureStartsOnTheNextLine) {
    ConstellationFigures figures;
    figures.LoadText(
        "2\r\n"
        "Andromeda\n"
        "3 2\n358 3627\n 6860\n"
        "3 1 2 3\n"
        "2\n2 1 \n"
        "\n"  // a blank line before a name is no name
        "Lyra\n"
        "2 1 172167 174638 2 1 2\n",
        "figures", nullptr);
    ASSERT_EQ(figures.size(), 2u);
    const ConstellationFigure& andromeda = figures.figures()[0];
    EXPECT_EQ(andromeda.name(), "Andromeda");
    ASSERT_TRUE(andromeda.usable());
    EXPECT_EQ(andromeda.starCount(), 3);
    EXPECT_EQ(andromeda.unresolved(), 3);
    EXPECT_FALSE(andromeda.complete());
    EXPECT_EQ(std::vector<uint32_t>(andromeda.hdNumbers().begin(), andromeda.hdNumbers().end()),
              (std::vector<uint32_t>{358, 3627, 6860}));
    ASSERT_EQ(andromeda.lines().size(), 2u);
    EXPECT_EQ(andromeda.lines()[0], (Line{1, 2, 3}));
    EXPECT_EQ(andromeda.lines()[1], (Line{2, 1}));
    const ConstellationFigure& lyra = figures.figures()[1];
    EXPECT_EQ(lyra.name(), "Lyra");
    EXPECT_TRUE(lyra.usable());
    EXPECT_EQ(lyra.lines()[0], (Line{1, 2}));
}

TEST(FigureRecords, AFigureThatPromisesMoreThanItHoldsOrPointsOutsideItsListIsRejected) {
    const struct {
        const char* what;
        std::string figure;
        bool nextReadable;  // whether the figure after it still comes out whole
    } cases[] = {
        {"index 0", "Bad\n2 1 358 3627 2 0 1\n", true},
        {"index past the list", "Bad\n2 1 358 3627 2 1 3\n", true},
        {"index far past the list", "Bad\n2 1 358 3627 3 1 2 65535\n", true},
        {"more HD numbers than there are", "Bad\n65535 1 358 3627\n", true},
        {"a line longer than its numbers", "Bad\n2 1 358 3627 4294967295 1 2\n", true},
        {"more lines than there are", "Bad\n2 9 358 3627 2 1 2\n", true},
        {"no counts at all", "Bad\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConstellationFigures figures;
        QuietProgress progress;
        figures.LoadText("2\n" + c.figure + "Good\n2 1 1 2 2 1 2\n", "data/constellations.dat", &progress);
        ASSERT_EQ(figures.size(), 2u);
        ConstellationFigure& bad = figures.figures()[0];
        EXPECT_FALSE(bad.usable());
        EXPECT_EQ(bad.name(), "Bad");
        EXPECT_TRUE(bad.lines().empty());
        // Never complete, whatever stars come along.
        std::vector<Star> stars = StarsWithHd({358, 3627, 1, 2});
        figures.ResolveAgainst(stars);
        EXPECT_FALSE(bad.complete());
        EXPECT_EQ(figures.figures()[1].complete(), c.nextReadable);
        ASSERT_EQ(progress.problems().size(), 1u);
        EXPECT_NE(progress.problems()[0].find("data/constellations.dat"), std::string::npos);
        EXPECT_NE(progress.problems()[0].find("\"Bad\""), std::string::npos);
    }
}

TEST(FigureResolution, FillsTheFirstEmptyMatchingSlotAndCompletesWhenAllAreFilled) {
    const struct {
        const char* what;
        std::string figure;
        std::vector<uint32_t> catalogue;
        bool complete;
        int unresolved;
    } cases[] = {
        {"all three found", "F\n3 1 358 3627 6860 3 1 2 3\n", {6860, 1, 358, 3627}, true, 0},
        {"one missing", "F\n3 1 358 3627 6860 3 1 2 3\n", {6860, 358}, false, 1},
        {"one number listed twice, one star", "F\n2 1 358 358 2 1 2\n", {358}, false, 1},
        {"one number listed twice, two stars", "F\n2 1 358 358 2 1 2\n", {358, 358}, true, 0},
        {"a star the figure does not name", "F\n1 0 358\n", {3627}, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConstellationFigures figures;
        figures.LoadText("1\n" + c.figure, "figures", nullptr);
        std::vector<Star> stars(c.catalogue.size());
        for (std::size_t i = 0; i < stars.size(); ++i) stars[i].hd = c.catalogue[i];
        figures.ResolveAgainst(stars);
        const ConstellationFigure& f = figures.figures()[0];
        EXPECT_EQ(f.complete(), c.complete);
        EXPECT_EQ(f.unresolved(), c.unresolved);
        // Every filled slot holds a star with its own HD number, and no
        // star sits in two slots.
        for (std::size_t i = 0; i < f.stars().size(); ++i) {
            if (!f.stars()[i]) continue;
            EXPECT_EQ(f.stars()[i]->hd, f.hdNumbers()[i]);
            for (std::size_t j = 0; j < i; ++j) EXPECT_NE(f.stars()[i], f.stars()[j]);
        }
    }
}

TEST(FigureResolution, IndexOneIsTheFirstNumber) {
    ConstellationFigures figures;
    figures.LoadText("1\nOrion\n3 1 34085 37128 39801 2 3 1\n", "figures", nullptr);
    std::vector<Star> stars = StarsWithHd({39801, 37128, 34085});
    figures.ResolveAgainst(stars);
    ConstellationFigure& orion = figures.figures()[0];
    ASSERT_TRUE(orion.complete());
    const Line& line = orion.lines()[0];
    EXPECT_EQ(orion.stars()[line[0] - 1], &stars[0]);  // index 3: HD 39801
    EXPECT_EQ(orion.stars()[line[1] - 1], &stars[2]);  // index 1: HD 34085
}

TEST(FigureLoading, JobTextCountsAndAMissingFile) {
    ScratchFile file("figures.dat");
    file.Write("4294967295\nLyra\n2 1 172167 174638 2 1 2");  // no line end at all
    QuietProgress progress;
    ConstellationFigures figures;
    ASSERT_TRUE(figures.Load(file.path(), &progress));
    ASSERT_EQ(figures.size(), 1u);
    EXPECT_TRUE(figures.figures()[0].usable());
    ASSERT_EQ(progress.jobs().size(), 1u);
    EXPECT_EQ(progress.jobs()[0], "Loading Constellation Definitions");
    EXPECT_EQ(progress.stepsRequested(), 0);
    EXPECT_TRUE(progress.problems().empty());

    EXPECT_FALSE(figures.Load(file.path() + "-missing", nullptr));
    EXPECT_EQ(figures.size(), 0u);
}

}  // namespace
