#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "catalogues/LoadProgress.h"
#include "catalogues/StarCatalogue.h"
#include "catalogues/TextCursor.h"
#include "tests/catalogues/CatalogueTestSupport.h"

namespace {

using catalogue_tests::FixturePath;

std::string Record(int hd) { return "H " + std::to_string(hd) + " 0 1 2 3.0 +4 5 6.0 0 0 5.5 0\nOri\n\nA0 \n\n"; }

std::string Catalogue(const std::string& countLine, int records) {
    std::string text = countLine + "\ntest\n";
    for (int i = 1; i <= records; ++i) text += Record(i);
    return text;
}

TEST(CatalogueHeader, TheNameLineLosesItsLineEndAndALongOneIsCut) {
    TextCursor plain("3 stars follow\nfoundation\nB ...");
    StarCatalogue::Header header;
    ASSERT_TRUE(StarCatalogue::ReadHeader(plain, header));
    EXPECT_EQ(header.count, 3u);
    EXPECT_EQ(header.name, "foundation");

    // 63 characters and more: cut to 63, then the last one goes.
    const std::string text = "5\n" + std::string(70, 'x') + "\nH 1";
    TextCursor cut(text);
    ASSERT_TRUE(StarCatalogue::ReadHeader(cut, header));
    EXPECT_EQ(header.name, std::string(62, 'x'));
    char kind = 0;
    ASSERT_TRUE(cut.ReadChar(kind));
    EXPECT_EQ(kind, 'H');  // the first record starts where it should

    // A comment after the count, however long, is not the name.
    const std::string commented = "5 " + std::string(300, 'c') + "\nfoundation\nH 1";
    TextCursor afterComment(commented);
    ASSERT_TRUE(StarCatalogue::ReadHeader(afterComment, header));
    EXPECT_EQ(header.count, 5u);
    EXPECT_EQ(header.name, "foundation");

    TextCursor nameless("5\n");
    EXPECT_FALSE(StarCatalogue::ReadHeader(nameless, header));
}

TEST(CatalogueHeader, ReadFromAFileWithoutReadingAllOfIt) {
    const auto header = StarCatalogue::ReadHeaderOf(FixturePath("stfixture.dat"));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->count, 23u);
    EXPECT_EQ(header->name, "fixture");
    EXPECT_FALSE(StarCatalogue::ReadHeaderOf(FixturePath("no-such-file.dat")).has_value());
}

TEST(CatalogueLoading, ACountBeyondTheRecordsKeepsTheRecordsThatAreThere) {
    for (const char* promise : {"4294967295", "5", "-1"}) {
        StarCatalogue catalogue("hostile", {}, true);
        QuietProgress progress;
        ASSERT_TRUE(catalogue.LoadText(Catalogue(promise, 3) + "\n\n  \n", &progress)) << promise;
        ASSERT_EQ(catalogue.stars().size(), 3u) << promise;
        EXPECT_EQ(catalogue.count, 3u) << promise;
        EXPECT_EQ(catalogue.stars()[2].hd, 3u);
        EXPECT_TRUE(catalogue.loaded());
    }
}

// A line that holds no record is no star, and a record with a number that is
// none (nan, inf) is damaged: both are left out, counted, and the file is
// reported once. A catalogue that holds no stars at all is reported too.
TEST(CatalogueLoading, JunkAndDamagedRecordsAreLeftOutAndReportedOnce) {
    std::string junk;
    for (int i = 0; i < 1000; ++i) junk += "junk line\n";
    const struct {
        const char* what;
        std::string text;
        std::size_t stars;
        const char* problem;  // the one problem reported, empty for none
    } rows[] = {
        {"clean", Catalogue("3", 3), 3, ""},
        {"junk lines", "4294967295\njunk\n" + junk + Record(7) + junk, 1,
         "The Star Catalogue file junk lines: 2000 lines hold no star record; they are left out."},
        {"damaged numbers",
         "3\ndamaged\nH 1 0 1 2 nan +4 5 6.0 0 0 5.5 0\nOri\n\nA0 \n\n" + Record(2) +
             "H 3 0 1 2 3.0 +4 5 6.0 0 0 -inf 0\nOri\n\nA0 \n\n",
         1, "The Star Catalogue file damaged numbers: 2 records have numbers that are none; they are left out."},
        {"no stars", "0\nempty\n", 0, "The Star Catalogue file no stars holds no stars."},
    };
    for (const auto& r : rows) {
        StarCatalogue catalogue(r.what, {}, true);
        QuietProgress progress;
        ASSERT_TRUE(catalogue.LoadText(r.text, &progress)) << r.what;
        ASSERT_EQ(catalogue.stars().size(), r.stars) << r.what;
        for (const Star& star : catalogue.stars()) {
            EXPECT_NE(star.hd, 0u) << r.what;  // no phantom stars at 0h, 0 degrees
            EXPECT_TRUE(std::isfinite(star.magnitude) && std::isfinite(star.ra.radians)) << r.what;
        }
        if (*r.problem) {
            EXPECT_EQ(progress.problems(), std::vector<std::string>{r.problem}) << r.what;
        } else {
            EXPECT_TRUE(progress.problems().empty()) << r.what;
        }
        EXPECT_EQ(catalogue.lastProblem(), r.problem) << r.what;
    }
}

TEST(CatalogueLoading, ACountBelowTheRecordsReadsOnlyThatMany) {
    StarCatalogue catalogue("short", {}, true);
    ASSERT_TRUE(catalogue.LoadText(Catalogue("2", 5), nullptr));
    EXPECT_EQ(catalogue.stars().size(), 2u);
    StarCatalogue unreadable("unreadable", {}, true);
    ASSERT_TRUE(unreadable.LoadText(Catalogue("many", 5), nullptr));
    EXPECT_EQ(unreadable.stars().size(), 0u);
}

TEST(CatalogueLoading, TheBarStepsOncePerHundredthOfTheCount) {
    QuietProgress small;
    StarCatalogue few("few", {}, true);
    ASSERT_TRUE(few.LoadText(Catalogue("99", 99), &small));
    EXPECT_EQ(small.stepsRequested(), 0);
    ASSERT_EQ(small.jobs().size(), 0u);  // a text in memory has no file to name

    // 250 records: count div 100 = 2, so a step at 0, 2, 4, ... 248; the bar
    // stops at its end.
    // Named for this process: other builds' suites may run at the same time.
    const std::string path =
        (std::filesystem::temp_directory_path() / ("velkaris-st250-" + std::to_string(getpid()) + ".dat")).string();
    std::ofstream(path) << Catalogue("250", 250);
    QuietProgress large;
    StarCatalogue many(path, {}, true);
    ASSERT_TRUE(many.Load(&large));
    std::filesystem::remove(path);
    ASSERT_EQ(large.jobs().size(), 1u);
    EXPECT_EQ(large.jobs()[0], "Loading: " + path);
    EXPECT_EQ(large.stepsRequested(), 125);
    EXPECT_EQ(large.position(), 100);
}

TEST(CatalogueLoading, AFileThatCannotBeOpenedLeavesTheCatalogueUnloadedAndSaysWhich) {
    StarCatalogue catalogue("data/stgone.dat", {42, "gone"}, true);
    ASSERT_TRUE(catalogue.loadRequested);
    QuietProgress progress;
    EXPECT_FALSE(catalogue.Load(&progress));
    EXPECT_FALSE(catalogue.loaded());
    EXPECT_TRUE(catalogue.stars().empty());
    ASSERT_EQ(progress.problems().size(), 1u);
    EXPECT_NE(progress.problems()[0].find("data/stgone.dat"), std::string::npos);
    // The request is dropped, so the next application does not repeat the
    // message; the user's wish stays.
    EXPECT_FALSE(catalogue.loadRequested);
    EXPECT_TRUE(catalogue.enabled);
    EXPECT_EQ(catalogue.count, 42u);
}

TEST(CatalogueLoading, LoadAndUnloadTwiceChangeNothingTheSecondTime) {
    StarCatalogue catalogue(FixturePath("stfixture.dat"), {}, true);
    ASSERT_TRUE(catalogue.Load(nullptr));
    const Star* first = catalogue.stars().data();
    catalogue.stars()[0].altitude.radians = 0.25;
    ASSERT_TRUE(catalogue.Load(nullptr));
    EXPECT_EQ(catalogue.stars().data(), first);
    EXPECT_EQ(catalogue.stars()[0].altitude.radians, 0.25);

    catalogue.Unload();
    EXPECT_FALSE(catalogue.loaded());
    EXPECT_TRUE(catalogue.stars().empty());
    EXPECT_EQ(catalogue.count, 23u);
    catalogue.Unload();
    EXPECT_FALSE(catalogue.loaded());
    EXPECT_EQ(catalogue.count, 23u);
    ASSERT_TRUE(catalogue.Load(nullptr));
    EXPECT_EQ(catalogue.stars().size(), 23u);
}

TEST(CatalogueRequests, ListMovesSetTheFlagsTheNextApplicationActsOn) {
    StarCatalogue catalogue(FixturePath("stfixture.dat"), {}, false);
    EXPECT_FALSE(catalogue.loadRequested);
    catalogue.Enable();
    EXPECT_TRUE(catalogue.enabled);
    EXPECT_TRUE(catalogue.loadRequested);
    EXPECT_FALSE(catalogue.unloadRequested);
    catalogue.Disable();  // not loaded yet: nothing to unload
    EXPECT_FALSE(catalogue.enabled);
    EXPECT_FALSE(catalogue.loadRequested);
    EXPECT_FALSE(catalogue.unloadRequested);

    catalogue.Enable();
    ASSERT_TRUE(catalogue.Load(nullptr));
    EXPECT_FALSE(catalogue.loadRequested);
    catalogue.Disable();
    EXPECT_TRUE(catalogue.unloadRequested);
    catalogue.Enable();  // moved back before the dialog closed: keep it as it is
    EXPECT_FALSE(catalogue.unloadRequested);
    EXPECT_FALSE(catalogue.loadRequested);
    catalogue.Disable();
    catalogue.Unload();
    EXPECT_FALSE(catalogue.unloadRequested);
}

}  // namespace
