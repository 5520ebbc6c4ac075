#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "settings/CatalogueDiscovery.h"
#include "settings/SettingsStore.h"
#include "tests/settings/SettingsTestSupport.h"
#include "tests/support/Watchdog.h"

namespace {

class CatalogueDiscovery : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        data_ = home_ / "data";
        fs::create_directories(data_);
    }

    void WriteCatalogue(const std::string& file, const std::string& header) const {
        std::ofstream(data_ / file, std::ios::binary) << header << "H 1 0 1 2 3 +4 5 6 0 0 5 0\n\n\n\n\n";
    }

    std::size_t Discover(std::size_t limit = kMaxStarCatalogues) {
        SettingsStore store;
        report_ = {};
        return DiscoverCatalogues(store, slots_, limit, data_.string(), &report_);
    }

    fs::path data_;
    std::array<std::unique_ptr<StarCatalogue>, kMaxStarCatalogues> slots_;
    CatalogueDiscoveryReport report_;
};

TEST_F(CatalogueDiscovery, FindsTheCatalogueFilesInNameOrderWithTheirHeaders) {
    WriteCatalogue("sthip.dat", "118211\nhipparcos\n");
    WriteCatalogue("stfound.dat", "9096 stars\nfoundation\n");
    WriteCatalogue("stars.txt", "1\nnot a catalogue file\n");
    WriteCatalogue("xst1.dat", "1\nnot one either\n");
    fs::create_directories(data_ / "stdir.dat");
    ASSERT_EQ(Discover(), 2u);
    EXPECT_EQ(slots_[0]->name, "foundation");
    EXPECT_EQ(slots_[0]->count, 9096u);
    EXPECT_EQ(slots_[0]->path, data_.string() + "/stfound.dat");
    EXPECT_EQ(slots_[1]->name, "hipparcos");
    EXPECT_FALSE(slots_[0]->loaded());
    EXPECT_FALSE(slots_[0]->unloadRequested);
    EXPECT_EQ(slots_[2], nullptr);
}

TEST_F(CatalogueDiscovery, OnlyTheFoundationFileIsWantedByDefaultAndStoredFlagsWin) {
    WriteCatalogue("stfound.dat", "3\nfoundation\n");
    WriteCatalogue("stfound2.dat", "3\nfoundation copy\n");
    WriteCatalogue("sttycho.dat", "3\ntycho\n");
    ASSERT_EQ(Discover(), 3u);
    EXPECT_TRUE(slots_[0]->enabled);
    EXPECT_TRUE(slots_[0]->loadRequested);
    EXPECT_FALSE(slots_[1]->enabled);
    EXPECT_FALSE(slots_[2]->enabled);
    EXPECT_FALSE(slots_[2]->loadRequested);

    // The user turns the foundation off and Tycho on; the flags are saved
    // under the catalogues' names and come back at the next start.
    slots_[0]->Disable();
    slots_[2]->Enable();
    {
        SettingsStore store;
        EXPECT_EQ(store.WriteCatalogueFlags(CatalogueFlags(slots_)), 3);
    }
    for (auto& slot : slots_) slot.reset();
    ASSERT_EQ(Discover(), 3u);
    EXPECT_FALSE(slots_[0]->enabled);
    EXPECT_FALSE(slots_[0]->loadRequested);
    EXPECT_TRUE(slots_[2]->enabled);
    EXPECT_TRUE(slots_[2]->loadRequested);
}

TEST_F(CatalogueDiscovery, TheNameLosesItsLineEndAndALongNameIsCut) {
    WriteCatalogue("stlong.dat", "3\n" + std::string(70, 'n') + "\n");
    WriteCatalogue("stcrlf.dat", "3\r\nwindows\r\n");
    ASSERT_EQ(Discover(), 2u);
    EXPECT_EQ(slots_[0]->name, "windows");
    EXPECT_EQ(slots_[1]->name, std::string(62, 'n'));
    // The record after a long name line is the first star, not the rest of
    // the name.
    ASSERT_TRUE(slots_[1]->Load(nullptr));
    ASSERT_EQ(slots_[1]->stars().size(), 1u);
    EXPECT_EQ(slots_[1]->stars()[0].hd, 1u);
}

TEST_F(CatalogueDiscovery, AtMostTheLimitAndAlwaysTheSameOnes) {
    for (int i = 0; i < 40; ++i) {
        char file[32];
        std::snprintf(file, sizeof file, "st%02d.dat", 39 - i);
        WriteCatalogue(file, "1\ncatalogue " + std::to_string(39 - i) + "\n");
    }
    ASSERT_EQ(Discover(), 32u);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(slots_[i]->name, "catalogue " + std::to_string(i));
    for (auto& slot : slots_) slot.reset();
    EXPECT_EQ(Discover(5), 5u);
    EXPECT_EQ(slots_[4]->name, "catalogue 4");
    EXPECT_EQ(slots_[5], nullptr);
}

TEST_F(CatalogueDiscovery, UnreadableOrNamelessFilesArePassedOverAndNoFolderMeansNoStars) {
    WriteCatalogue("stgood.dat", "1\ngood\n");
    std::ofstream(data_ / "stempty.dat") << "";
    std::ofstream(data_ / "stnoname.dat") << "12\n";
    WriteCatalogue("stlocked.dat", "1\nlocked\n");
    fs::permissions(data_ / "stlocked.dat", fs::perms::none);
    const bool rootCanRead = std::ifstream(data_ / "stlocked.dat").good();
    const std::size_t found = Discover();
    ASSERT_EQ(found, rootCanRead ? 2u : 1u);
    EXPECT_EQ(slots_[0]->name, "good");

    for (auto& slot : slots_) slot.reset();
    SettingsStore store;
    EXPECT_EQ(DiscoverCatalogues(store, slots_, kMaxStarCatalogues, (home_ / "missing").string()), 0u);
    EXPECT_EQ(slots_[0], nullptr);
}

TEST_F(CatalogueDiscovery, WhatCannotBeACatalogueIsReportedWithWhyAndNothingWaits) {
    WriteCatalogue("stgood.dat", "1\ngood\n");
    ASSERT_EQ(mkfifo((data_ / "stpipe.dat").c_str(), 0600), 0);
    fs::create_directories(data_ / "stdir.dat");
    std::ofstream(data_ / "stnoname.dat") << "12\n";
    const Watchdog watchdog(20);
    ASSERT_EQ(Discover(), 1u);
    const std::string dir = data_.string() + "/";
    const std::vector<std::string> problems = {
        "The Star Catalogue file " + dir + "stdir.dat is not a regular file; it is left out.",
        "The Star Catalogue file " + dir + "stnoname.dat has no name line; it is left out.",
        "The Star Catalogue file " + dir + "stpipe.dat is not a regular file; it is left out.",
    };
    EXPECT_EQ(report_.problems, problems);
    EXPECT_TRUE(report_.beyondLimit.empty());

    // Past the limit nothing is read, and the report names what was left.
    for (auto& slot : slots_) slot.reset();
    ASSERT_EQ(Discover(1), 1u);
    EXPECT_EQ(slots_[0]->name, "good");
    EXPECT_EQ(report_.beyondLimit, (std::vector<std::string>{dir + "stnoname.dat", dir + "stpipe.dat"}));
    EXPECT_EQ(report_.problems.size(), 1u);
}

}  // namespace
