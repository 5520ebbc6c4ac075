#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "SettingsTestSupport.h"
#include "platform/SettingsFile.h"
#include "settings/SettingsStore.h"

namespace {

using StoredSettings = SettingsTest;

Observer::Setup SomePlace() {
    Observer::Setup place;
    place.longitude.SetSexagesimal(118, 14, 37.5f, true);
    place.latitude.SetSexagesimal(33, 59, 2.25f, true);
    place.isWest = true;
    place.isSouth = true;
    return place;
}

DisplayOptions AllFlipped() {
    DisplayOptions options;
    for (std::size_t i = 0; i < DisplayOptions::Count; ++i) options[i] = !options[i];
    return options;
}

TEST_F(StoredSettings, FreshUserGetsEveryDefault) {
    SettingsStore store;
    ASSERT_TRUE(store.opened());

    const Observer::Setup place = store.ReadObserverSetup();
    EXPECT_EQ(place.longitude.deg, 6);
    EXPECT_EQ(place.longitude.arcmin, 53);
    EXPECT_EQ(place.longitude.arcsec, 0.0f);
    EXPECT_FALSE(place.longitude.negative);
    EXPECT_FALSE(place.isWest);
    EXPECT_EQ(place.latitude.deg, 52);
    EXPECT_EQ(place.latitude.arcmin, 21);
    EXPECT_EQ(place.latitude.arcsec, 0.0f);
    EXPECT_FALSE(place.latitude.negative);
    EXPECT_FALSE(place.isSouth);
    EXPECT_EQ(place.stepType, 0);
    EXPECT_EQ(place.stepSize, 1);

    const ViewSettings view = store.ReadView();
    EXPECT_EQ(view.projection, 2);
    EXPECT_EQ(view.elevation, 0.0);
    EXPECT_EQ(view.direction, 0.0);
    EXPECT_EQ(store.ReadAsteroidCount(), 250);
    EXPECT_EQ(store.ReadLimits().stars, 4.5);
    EXPECT_EQ(store.ReadLimits().deepSky, 9.0);
    EXPECT_EQ(store.ReadIntervals().real, 100);
    EXPECT_EQ(store.ReadIntervals().anim, 10);

    const DisplayOptions options = store.ReadDisplayOptions();
    EXPECT_EQ(options, DisplayOptions{});
    EXPECT_TRUE(options[DisplayOptions::ShowStars]);
    EXPECT_FALSE(options[DisplayOptions::ShowConLines]);
    EXPECT_FALSE(options[DisplayOptions::ShowMinorPlanets]);
    EXPECT_TRUE(options[DisplayOptions::HighAccuracy]);

    // Catalogue flags take whatever default the caller gives.
    EXPECT_TRUE(store.ReadBool("Foundation catalogue", true));
    EXPECT_FALSE(store.ReadBool("Foundation catalogue", false));
}

TEST_F(StoredSettings, EveryGroupSurvivesARestart) {
    const Observer::Setup place = SomePlace();
    const ViewSettings view{7, -0.25, 4.125};
    const StepSettings step{4, -3};
    const LimitSettings limits{6.75, 12.5};
    const IntervalSettings intervals{0, 37};
    const DisplayOptions options = AllFlipped();
    {
        SettingsStore store;
        ASSERT_TRUE(store.opened());
        EXPECT_TRUE(store.WritePlace(place));
        EXPECT_TRUE(store.WriteView(view));
        EXPECT_TRUE(store.WriteStep(step));
        EXPECT_TRUE(store.WriteDisplayOptions(options));
        EXPECT_EQ(store.WriteCatalogueFlags({{"Foundation", false}, {"Extra", true}}), 2);
        EXPECT_TRUE(store.WriteAsteroidCount(1200));
        EXPECT_TRUE(store.WriteLimits(limits));
        EXPECT_TRUE(store.WriteIntervals(intervals));
    }
    SettingsStore store;
    const Observer::Setup read = store.ReadObserverSetup();
    EXPECT_EQ(read.longitude.deg, 118);
    EXPECT_EQ(read.longitude.arcmin, 14);
    EXPECT_EQ(read.longitude.arcsec, 37.5f);
    EXPECT_TRUE(read.longitude.negative);
    EXPECT_TRUE(read.isWest);
    EXPECT_EQ(read.latitude.deg, 33);
    EXPECT_EQ(read.latitude.arcmin, 59);
    EXPECT_EQ(read.latitude.arcsec, 2.25f);
    EXPECT_TRUE(read.latitude.negative);
    EXPECT_TRUE(read.isSouth);
    EXPECT_EQ(read.stepType, 4);
    EXPECT_EQ(read.stepSize, -3);
    EXPECT_EQ(store.ReadStep(), step);
    EXPECT_EQ(store.ReadView(), view);
    EXPECT_EQ(store.ReadDisplayOptions(), options);
    EXPECT_FALSE(store.ReadBool("Foundation", true));
    EXPECT_TRUE(store.ReadBool("Extra", false));
    EXPECT_EQ(store.ReadAsteroidCount(), 1200);
    EXPECT_EQ(store.ReadLimits(), limits);
    EXPECT_EQ(store.ReadIntervals(), intervals);
}

TEST_F(StoredSettings, SingleValuesKeepFullPrecisionAndExtremes) {
    const double awkward[] = {0.1, -1e-300, 3.141592653589793, 1.7976931348623157e308, 5e-324};
    {
        SettingsStore store;
        for (std::size_t i = 0; i < std::size(awkward); ++i)
            ASSERT_TRUE(store.WriteFloat("f" + std::to_string(i), awkward[i]));
        ASSERT_TRUE(store.WriteInt("min", std::numeric_limits<int32_t>::min()));
        ASSERT_TRUE(store.WriteInt("max", std::numeric_limits<int32_t>::max()));
        ASSERT_TRUE(store.WriteBool("on", true));
        ASSERT_TRUE(store.WriteBool("off", false));
    }
    SettingsStore store;
    for (std::size_t i = 0; i < std::size(awkward); ++i)
        EXPECT_EQ(store.ReadFloat("f" + std::to_string(i), 42.0), awkward[i]) << i;
    EXPECT_EQ(store.ReadInt("min", 0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(store.ReadInt("max", 0), std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(store.ReadBool("on", false));
    EXPECT_FALSE(store.ReadBool("off", true));
    // On/off switches are stored as the integers 1 and 0.
    EXPECT_EQ(store.ReadInt("on", 7), 1);
    EXPECT_EQ(store.ReadInt("off", 7), 0);
}

TEST_F(StoredSettings, AValueStoredWithAnotherTypeReadsAsItsDefault) {
    writeRaw(
        "text ShowStars = no\n"
        "float Projection = 3\n"
        "int StarMagnitude = 6\n"
        "colour ShowUmbra = 1\n"
        "int ShowMoon = 0\n");
    SettingsStore store;
    const DisplayOptions options = store.ReadDisplayOptions();
    EXPECT_TRUE(options[DisplayOptions::ShowStars]);
    EXPECT_FALSE(options[DisplayOptions::ShowUmbra]);
    EXPECT_FALSE(options[DisplayOptions::ShowMoon]);  // the one well-typed value
    EXPECT_EQ(store.ReadView().projection, 2);
    EXPECT_EQ(store.ReadLimits().stars, 4.5);
    EXPECT_EQ(store.ReadFloat("ShowMoon", -1.0), -1.0);
}

TEST_F(StoredSettings, StepUnitsBeyondMonthsStepNothing) {
    {
        SettingsStore store;
        ASSERT_TRUE(store.WriteStep({6, 5}));
    }
    EXPECT_EQ(SettingsStore().ReadStep(), (StepSettings{6, 0}));
    EXPECT_EQ(SettingsStore().ReadObserverSetup().stepSize, 0);
    {
        SettingsStore store;
        ASSERT_TRUE(store.WriteStep({5, 5}));
    }
    EXPECT_EQ(SettingsStore().ReadStep(), (StepSettings{5, 5}));
    {
        SettingsStore store;
        ASSERT_TRUE(store.WriteStep({-1, 5}));
    }
    EXPECT_EQ(SettingsStore().ReadStep().size, 0);
    // A count too large for the clock's 16-bit step reads as the default
    // rather than wrapping round to some other count.
    writeRaw("int StepType = 1\nint StepSize = 70000\n");
    EXPECT_EQ(SettingsStore().ReadStep(), (StepSettings{1, 1}));
}

TEST_F(StoredSettings, StoredValuesTheProgramCannotUseReadAsDefaults) {
    writeRaw(
        "int Projection = 9\n"
        "int LongtitudeDegrees = -5\n"
        "int LatitudeMinutes = 65536\n"
        "int UpdateIntervalReal = -1\n"
        "int UpdateIntervalAnim = 2147483647\n"
        "int AsteroidsToShow = -3\n"
        "float Elevation = nan\n"
        "float Direction = inf\n"
        "float LatitudeSeconds = 1e999\n"
        "float LongtitudeSeconds = 1e300\n");
    SettingsStore store;
    EXPECT_EQ(store.ReadView(), ViewSettings{});
    const Observer::Setup place = store.ReadPlace();
    EXPECT_EQ(place.longitude.deg, 6);
    EXPECT_EQ(place.latitude.arcmin, 21);
    EXPECT_EQ(place.latitude.arcsec, 0.0f);
    EXPECT_EQ(place.longitude.arcsec, 0.0f);
    EXPECT_EQ(store.ReadIntervals(), IntervalSettings{});
    EXPECT_EQ(store.ReadAsteroidCount(), 250);

    writeRaw(
        "int Projection = -1\n"
        "float LatitudeSeconds = -0.5\n");
    EXPECT_EQ(SettingsStore().ReadView().projection, 2);
    EXPECT_EQ(SettingsStore().ReadPlace().latitude.arcsec, 0.0f);
    writeRaw("int Projection = 8\n");
    EXPECT_EQ(SettingsStore().ReadView().projection, 8);
}

TEST_F(StoredSettings, NonFiniteFloatsAreRefusedAndTheOldValueKept) {
    SettingsStore store;
    ASSERT_TRUE(store.WriteFloat("StarMagnitude", 5.5));
    EXPECT_FALSE(store.WriteFloat("StarMagnitude", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(store.WriteFloat("StarMagnitude", -std::numeric_limits<double>::infinity()));
    EXPECT_EQ(store.ReadFloat("StarMagnitude", 0.0), 5.5);
    EXPECT_EQ(SettingsStore().ReadFloat("StarMagnitude", 0.0), 5.5);
}

TEST_F(StoredSettings, DamagedFilesKeepWhatParsesAndDefaultTheRest) {
    writeRaw(
        "garbage without equals\n"
        "int Projection = 4\n"
        "= 3\n"
        "INT AsteroidsToShow = 9\n"
        "int UpdateIntervalAnim = 12 apples\n"
        "int UpdateIntervalReal = 99999999999\n"
        "int ShowStars = 0\r\n"
        "float StarMagnitude = 6,5\n"
        "text Comment = \\q bad escape\n"
        "float DSOMagn");  // cut off in the middle of a line
    SettingsStore store;
    ASSERT_TRUE(store.opened());
    EXPECT_EQ(store.ReadView().projection, 4);
    EXPECT_FALSE(store.ReadDisplayOptions()[DisplayOptions::ShowStars]);
    EXPECT_EQ(store.ReadAsteroidCount(), 250);
    EXPECT_EQ(store.ReadIntervals(), IntervalSettings{});
    EXPECT_EQ(store.ReadLimits(), LimitSettings{});

    // Saving drops the junk but keeps every value that was readable.
    ASSERT_TRUE(store.WriteInt("AsteroidsToShow", 40));
    SettingsStore again;
    EXPECT_EQ(again.ReadView().projection, 4);
    EXPECT_FALSE(again.ReadDisplayOptions()[DisplayOptions::ShowStars]);
    EXPECT_EQ(again.ReadAsteroidCount(), 40);
}

TEST_F(StoredSettings, BinaryAndOversizedFilesGiveDefaults) {
    std::mt19937 random(12345);
    std::string noise(256 * 1024, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xff);
    writeRaw(noise);
    {
        SettingsStore store;
        EXPECT_TRUE(store.opened());
        EXPECT_EQ(store.ReadDisplayOptions(), DisplayOptions{});
        EXPECT_EQ(store.ReadView(), ViewSettings{});
    }

    // One endless line before a good one, then far more than any settings
    // file holds: the good lines survive, the one past the first MiB too.
    std::string big = std::string(200000, 'x') + "\nint Projection = 5\n";
    big += std::string(3 * 1024 * 1024, '#');
    big += "\nint AsteroidsToShow = 7\n";
    writeRaw(big);
    SettingsStore store;
    EXPECT_EQ(store.ReadView().projection, 5);
    EXPECT_EQ(store.ReadAsteroidCount(), 7);
}

// A file is read whole or never written back: a large one keeps every value
// through a save; one too large to read whole is not saved over, and says so.
// A byte-order mark does not hide the first line.
TEST_F(StoredSettings, AFileIsReadWholeOrNeverWrittenBack) {
    const std::string comment = "# " + std::string(1536 * 1024, '#') + "\n";
    const std::string tooLarge = "int Projection = 4\n# " + std::string(SettingsFile::MaxFileBytes, '#') + "\n";
    const struct {
        const char* what;
        std::string contents;
        int projection;  // as read
        bool saves;
    } rows[] = {
        {"a large file", comment + "int Projection = 6\n", 6, true},
        {"a byte-order mark", "\xEF\xBB\xBFint Projection = 5\n", 5, true},
        {"a file too large to read whole", tooLarge, 4, false},
    };
    for (const auto& r : rows) {
        writeRaw(r.contents);
        SettingsStore store;
        EXPECT_EQ(store.ReadView().projection, r.projection) << r.what;
        EXPECT_EQ(store.WriteInt("AsteroidsToShow", 9), r.saves) << r.what;
        EXPECT_EQ(store.Problem().empty(), r.saves) << r.what;
        SettingsStore again;
        EXPECT_EQ(again.ReadView().projection, r.projection) << r.what;
        EXPECT_EQ(again.ReadAsteroidCount(), r.saves ? 9 : 250) << r.what;
        if (!r.saves) {
            EXPECT_EQ(readRaw().size(), r.contents.size()) << r.what;
        }
    }
}

TEST_F(StoredSettings, AFileThatCannotBeReadGivesDefaultsAndIsNeverReplaced) {
    // Something other than a file in its place: a folder, and a pipe that
    // would block a careless reader for ever.
    fs::create_directories(settingsFile());
    {
        SettingsStore store;
        EXPECT_FALSE(store.opened());
        EXPECT_EQ(store.ReadView(), ViewSettings{});
        EXPECT_FALSE(store.WriteInt("Projection", 3));
    }
    EXPECT_TRUE(fs::is_directory(settingsFile()));
    fs::remove(settingsFile());

    ASSERT_EQ(mkfifo(settingsFile().c_str(), 0600), 0);
    {
        SettingsStore store;
        EXPECT_FALSE(store.opened());
        EXPECT_EQ(store.ReadDisplayOptions(), DisplayOptions{});
        EXPECT_FALSE(store.WriteBool("ShowStars", false));
    }
    EXPECT_TRUE(fs::is_fifo(settingsFile()));
    fs::remove(settingsFile());

    writeRaw("int Projection = 6\n");
    chmod(settingsFile().c_str(), 0);
    if (geteuid() == 0) return;  // permissions do not stop the superuser
    SettingsStore store;
    EXPECT_FALSE(store.opened());
    EXPECT_EQ(store.ReadView().projection, 2);
    EXPECT_FALSE(store.WriteInt("AsteroidsToShow", 3));
    chmod(settingsFile().c_str(), 0600);
    EXPECT_EQ(readRaw(), "int Projection = 6\n");
}

TEST_F(StoredSettings, OddNamesRoundTripWithoutMeetingEachOther) {
    const std::vector<std::string> names = {
        "Sky = Survey #2",
        "# not a comment",
        " leading space",
        "trailing space ",
        "tab\tinside",
        "back\\slash \\x41",
        "Ünïcødé ★ catalogue",
        "x=1\n int y = 2",
        "semi;colon",
        "",
        std::string(62, 'N'),
        "=",
        "\\",
    };
    std::vector<std::pair<std::string, bool>> flags;
    for (std::size_t i = 0; i < names.size(); ++i) flags.emplace_back(names[i], i % 2 == 0);
    {
        SettingsStore store;
        EXPECT_EQ(store.WriteCatalogueFlags(flags), static_cast<int>(flags.size()));
    }
    SettingsStore store;
    for (const auto& [name, enabled] : flags) {
        EXPECT_EQ(store.ReadBool(name, !enabled), enabled) << name;
        EXPECT_EQ(store.ReadInt(name, -1), enabled ? 1 : 0) << name;
    }
    // Only the names given were created: nothing leaked into "int y".
    EXPECT_EQ(store.ReadInt(" int y", -1), -1);
    EXPECT_EQ(store.ReadInt("x", -1), -1);
    // The file stays readable by a person.
    EXPECT_NE(readRaw().find("Ünïcødé ★ catalogue"), std::string::npos);
}

TEST_F(StoredSettings, TwoOpenStoresDoNotUndoEachOthersSaves) {
    // Two copies of the program, each saving its own preferences.
    SettingsStore first;
    SettingsStore second;
    ASSERT_TRUE(first.WriteInt("Projection", 5));
    ASSERT_TRUE(second.WriteInt("AsteroidsToShow", 40));
    ASSERT_TRUE(first.WriteFloat("StarMagnitude", 6.0));
    SettingsStore later;
    EXPECT_EQ(later.ReadView().projection, 5);
    EXPECT_EQ(later.ReadAsteroidCount(), 40);
    EXPECT_EQ(later.ReadLimits().stars, 6.0);
}

TEST_F(StoredSettings, AFailedWriteLosesNothingAndLeavesNoTemporaryFile) {
    SettingsStore store;
    ASSERT_TRUE(store.WriteInt("Projection", 4));
    ASSERT_TRUE(store.WriteFloat("StarMagnitude", 5.25));
    const std::string saved = readRaw();

    {
        // The disk fills up: the new contents cannot be written out.
        FileSizeLimit full(saved.size());
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(store.WriteInt("AsteroidsToShow", 1000));
        EXPECT_FALSE(store.WriteFloat("StarMagnitude", 1.0e-5));
    }
    EXPECT_EQ(readRaw(), saved);
    EXPECT_EQ(productFolderEntries(), std::vector<std::string>{"1.0.conf"});
    // The store's own view did not run ahead of the disk either.
    EXPECT_EQ(store.ReadAsteroidCount(), 250);
    EXPECT_EQ(store.ReadFloat("StarMagnitude", 0.0), 5.25);

    if (geteuid() != 0) {
        chmod(productFolder().c_str(), 0555);
        EXPECT_FALSE(store.WriteInt("AsteroidsToShow", 1000));
        chmod(productFolder().c_str(), 0755);
        EXPECT_EQ(readRaw(), saved);
    }

    // Once there is room again, writing works and still leaves one file.
    EXPECT_TRUE(store.WriteInt("AsteroidsToShow", 1000));
    EXPECT_EQ(SettingsStore().ReadAsteroidCount(), 1000);
    EXPECT_EQ(SettingsStore().ReadView().projection, 4);
    EXPECT_EQ(productFolderEntries(), std::vector<std::string>{"1.0.conf"});
}

TEST_F(StoredSettings, LeftoversOfAnInterruptedSaveAreClearedOnceStale) {
    // What a save killed half-way leaves behind: an old one and one that
    // might belong to a save running right now.
    fs::create_directories(productFolder());
    const fs::path old = productFolder() / ".1.0.conf.tmp-99-0-1";
    const fs::path recent = productFolder() / ".1.0.conf.tmp-99-1-2";
    std::ofstream(old) << "int Projection = 1\n";
    std::ofstream(recent) << "int Projection = 1\n";
    fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const fs::path unrelated = productFolder() / "notes.txt";
    std::ofstream(unrelated) << "keep\n";
    fs::last_write_time(unrelated, fs::file_time_type::clock::now() - std::chrono::hours(1));

    SettingsStore store;
    EXPECT_EQ(store.ReadView().projection, 2);
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(recent));
    EXPECT_TRUE(fs::exists(unrelated));
}

TEST_F(StoredSettings, AGroupStopsAtItsFirstFailedWrite) {
    SettingsStore store;
    ASSERT_TRUE(store.WriteInt("Projection", 1));
    const DisplayOptions flipped = AllFlipped();
    {
        // Room for a few more lines, not for all 27.
        FileSizeLimit nearlyFull(readRaw().size() + 120);
        ASSERT_TRUE(nearlyFull.active());
        EXPECT_FALSE(store.WriteDisplayOptions(flipped));
    }
    // What was saved is a leading run of the switches in the record's order,
    // and nothing after the first failure.
    const DisplayOptions read = SettingsStore().ReadDisplayOptions();
    std::size_t written = 0;
    while (written < DisplayOptions::Count && read[written] == flipped[written]) ++written;
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, static_cast<std::size_t>(DisplayOptions::Count));
    for (std::size_t i = written; i < DisplayOptions::Count; ++i)
        EXPECT_EQ(read[i], DisplayOptions::Defaults[i]) << DisplayOptions::Names[i];

    // The next group is independent of the failed one.
    EXPECT_TRUE(store.WriteLimits({3.0, 8.0}));
    EXPECT_EQ(SettingsStore().ReadLimits(), (LimitSettings{3.0, 8.0}));
}

TEST_F(StoredSettings, SwitchesAreSavedInTheRecordsOrder) {
    // Leave room for exactly the switches up to the Sun's: saved in the
    // record's order the Sun gets in and the Moon, next, does not.
    SettingsStore store;
    ASSERT_TRUE(store.WriteInt("Projection", 1));
    std::size_t room = readRaw().size();
    const DisplayOptions flipped = AllFlipped();
    for (std::size_t i = 0; i <= DisplayOptions::ShowSun; ++i)
        room +=
            std::string("int ").size() + std::string(DisplayOptions::Names[i]).size() + std::string(" = 0\n").size();
    {
        FileSizeLimit nearlyFull(room);
        ASSERT_TRUE(nearlyFull.active());
        EXPECT_FALSE(store.WriteDisplayOptions(flipped));
    }
    const DisplayOptions read = SettingsStore().ReadDisplayOptions();
    for (std::size_t i = 0; i < DisplayOptions::Count; ++i) {
        const bool expected = i <= DisplayOptions::ShowSun ? flipped[i] : DisplayOptions::Defaults[i];
        EXPECT_EQ(read[i], expected) << DisplayOptions::Names[i];
    }
}

TEST_F(StoredSettings, CleanRemovesTheProductFolderAndBringsBackDefaults) {
    fs::create_directories(home_ / "Korvent" / "Other");
    {
        SettingsStore store;
        ASSERT_TRUE(store.WriteView({5, 0.5, 1.5}));
        ASSERT_TRUE(store.WriteIntervals({3, 4}));
        std::ofstream(productFolder() / "2.0.conf") << "int Projection = 1\n";
        EXPECT_TRUE(store.Clean());
        EXPECT_FALSE(store.opened());
        EXPECT_EQ(store.ReadView(), ViewSettings{});
        EXPECT_FALSE(store.WriteInt("Projection", 3));
    }
    EXPECT_FALSE(fs::exists(productFolder()));
    EXPECT_TRUE(fs::is_directory(home_ / "Korvent" / "Other"));
    // Nothing half-deleted is left next to it either.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(home_ / "Korvent")) left.push_back(e.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"Other"});

    SettingsStore fresh;
    EXPECT_TRUE(fresh.opened());
    EXPECT_EQ(fresh.ReadView(), ViewSettings{});
    EXPECT_EQ(fresh.ReadIntervals(), IntervalSettings{});
    // Cleaning when there is nothing to clean is not an error.
    EXPECT_TRUE(SettingsStore().Clean());
    EXPECT_TRUE(SettingsStore().Clean());
}

TEST_F(StoredSettings, ALinkedSettingsFileStaysALink) {
    const fs::path elsewhere = home_ / "dotfiles" / "velkaris.conf";
    fs::create_directories(elsewhere.parent_path());
    std::ofstream(elsewhere) << "int Projection = 6\n";
    fs::create_directories(productFolder());
    fs::create_symlink(elsewhere, settingsFile());
    {
        SettingsStore store;
        EXPECT_EQ(store.ReadView().projection, 6);
        ASSERT_TRUE(store.WriteInt("AsteroidsToShow", 12));
    }
    EXPECT_TRUE(fs::is_symlink(settingsFile()));
    EXPECT_EQ(SettingsStore().ReadAsteroidCount(), 12);
    EXPECT_EQ(SettingsStore().ReadView().projection, 6);
}

TEST_F(StoredSettings, ARelativeConfigurationHomeIsIgnored) {
    // A relative XDG_CONFIG_HOME is invalid and must not make settings depend
    // on the working folder: the home folder's .config is used instead.
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home_.c_str(), 1);
    {
        SettingsStore store;
        ASSERT_TRUE(store.opened());
        EXPECT_TRUE(store.WriteInt("Projection", 3));
    }
    EXPECT_TRUE(fs::exists(home_ / ".config" / "Korvent" / "Velkaris" / "1.0.conf"));
    EXPECT_FALSE(fs::exists(fs::path("relative")));
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

}  // namespace
