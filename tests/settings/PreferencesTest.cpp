#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "settings/Preferences.h"
#include "settings/SettingsStore.h"

namespace {

using PreferencesStore = SettingsTest;

TEST(ClockEntry, OnlyMomentsThatExistPass) {
    struct Case {
        const char* time;
        const char* date;
        ClockProblem expected;
    };
    const Case cases[] = {
        {"210409", "06122000", ClockProblem::None},
        {"000000", "01010000", ClockProblem::None},
        {"235959", "31121999", ClockProblem::None},
        {"240000", "06122000", ClockProblem::Time},
        {"236000", "06122000", ClockProblem::Time},
        {"235960", "06122000", ClockProblem::Time},
        {"-10000", "06122000", ClockProblem::Time},
        // The time is checked first.
        {"250000", "00000000", ClockProblem::Time},
        {"120000", "00012000", ClockProblem::Date},  // day 0
        {"120000", "01002000", ClockProblem::Date},  // month 0
        {"120000", "31132000", ClockProblem::Date},
        {"120000", "31042000", ClockProblem::Date},
        {"120000", "30022000", ClockProblem::Date},
        {"120000", "29022000", ClockProblem::None},
        {"120000", "29021900", ClockProblem::Date},
        {"120000", "29022004", ClockProblem::None},
        // What a half-filled mask leaves: too few digits for a date.
        {"120000", "0612", ClockProblem::Date},
        {"", "", ClockProblem::Date},
    };
    for (const Case& c : cases) {
        DateTime clock;
        EXPECT_EQ(CheckClockEntry(c.time, c.date, clock), c.expected) << c.time << " " << c.date;
    }
    DateTime clock;
    ASSERT_EQ(CheckClockEntry("093005", "29022004", clock), ClockProblem::None);
    EXPECT_EQ(clock.TimeText(), "09:30:05");
    EXPECT_EQ(clock.DateText(), "29-02-2004");
}

TEST(FormTexts, ReadAsTheLeadingNumberWhateverTheLocale) {
    struct IntCase {
        const char* text;
        int64_t expected;
    };
    const IntCase ints[] = {
        {"  100", 100},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-5", -5},
        {"+7", 7},
        {"\t3 4", 3},
        {"99999999999999999999999", INT64_MAX},
        {"-99999999999999999999999", -INT64_MAX},
    };
    for (const IntCase& c : ints) EXPECT_EQ(LeadingInteger(c.text), c.expected) << c.text;

    struct NumberCase {
        const char* text;
        double expected;
    };
    const NumberCase numbers[] = {
        {" 4.50", 4.5}, {"4,5", 4.5},    {"-0.25x", -0.25}, {".5", 0.5},  {"-.5", -0.5},
        {".", 0.0},     {"1e3", 1000.0}, {"2e", 2.0},       {"abc", 0.0}, {"1e999", 0.0},
    };
    for (const NumberCase& c : numbers) EXPECT_EQ(LeadingNumber(c.text), c.expected) << c.text;

    EXPECT_EQ(FixedText(4.5, 5, 2), " 4.50");
    EXPECT_EQ(FixedText(83.633083, 9, 5), " 83.63308");
    EXPECT_EQ(FixedText(-28.647889, 9, 5), "-28.64789");
    EXPECT_EQ(FixedText(12345.0, 3, 1), "12345.0");
}

PreferencesForm PlaceForm(const char* lonD, const char* lonM, const char* lonS, const char* latD, const char* latM,
                          const char* latS) {
    PreferencesForm form;
    form.longitudeDegrees = lonD;
    form.longitudeMinutes = lonM;
    form.longitudeSeconds = lonS;
    form.latitudeDegrees = latD;
    form.latitudeMinutes = latM;
    form.latitudeSeconds = latS;
    return form;
}

TEST(FormProblems, PlacesOffTheGlobeAndImpossibleClocksAreRefused) {
    struct Case {
        PreferencesForm form;
        const char* expected;
    };
    const Case cases[] = {
        {PlaceForm("6", "53", " 0.00", "52", "21", " 0.00"), ""},
        {PlaceForm("180", "0", "0", "90", "0", "0"), ""},
        {PlaceForm("", "", "", "abc", "", ""), ""},  // no number reads as 0
        {PlaceForm("180", "0", "0.5", "0", "0", "0"), PlaceProblemMessage},
        {PlaceForm("0", "0", "0", "90", "0", "1"), PlaceProblemMessage},
        {PlaceForm("0", "0", "0", "91", "0", "0"), PlaceProblemMessage},
        {PlaceForm("0", "60", "0", "0", "0", "0"), PlaceProblemMessage},
        {PlaceForm("0", "0", "0", "0", "0", "60"), PlaceProblemMessage},
        {PlaceForm("0", "0", "59.999999999", "0", "0", "0"), PlaceProblemMessage},
        {PlaceForm("-5", "0", "0", "0", "0", "0"), PlaceProblemMessage},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreferencesProblem(c.form), c.expected)
            << c.form.longitudeDegrees << " " << c.form.longitudeSeconds << " " << c.form.latitudeDegrees;

    // The typed clock only counts when the clock is set by hand.
    PreferencesForm form = PlaceForm("6", "53", "0", "52", "21", "0");
    form.time = "240000";
    form.date = "00002000";
    EXPECT_EQ(PreferencesProblem(form), "");
    form.useSystemTime = false;
    EXPECT_EQ(PreferencesProblem(form), TimeProblemMessage);
    form.time = "120000";
    EXPECT_EQ(PreferencesProblem(form), DateProblemMessage);
}

TEST(FormValues, NumbersAreKeptWithinWhatTheProgramHolds) {
    PreferencesForm form = PlaceForm("118", "14", "37.50", "33", "59", " 2.25");
    form.west = form.south = true;
    form.realUpdate = "-1";
    form.animUpdate = "99999999999";
    form.stepSize = "70000";
    form.asteroidCount = "-3";
    form.direction = "370";
    form.elevation = "-10";
    form.starLimit = "abc";
    form.timeZone = "+5";
    const PreferencesValues v = ReadPreferencesForm(form);
    EXPECT_EQ(v.place.longitude.deg, 118);
    EXPECT_EQ(v.place.longitude.arcsec, 37.5f);
    EXPECT_TRUE(v.place.longitude.negative);
    EXPECT_EQ(v.place.latitude.arcsec, 2.25f);
    EXPECT_TRUE(v.place.isSouth);
    EXPECT_EQ(v.intervals.real, 0);
    EXPECT_EQ(v.intervals.anim, 2147483646);
    EXPECT_EQ(v.step.size, 32767);
    EXPECT_EQ(v.asteroidCount, 0);
    EXPECT_EQ(v.direction, 370.0);
    EXPECT_EQ(v.elevation, -10.0);
    EXPECT_EQ(v.limits.stars, 0.0);
    EXPECT_EQ(v.zoneMinutes, 300);
}

TEST_F(PreferencesStore, ATransactionSavesAllOrNothingInOneReplacement) {
    ASSERT_TRUE(SettingsStore().WriteInt("LatitudeDegrees", 10));
    const std::string before = readRaw();
    {
        SettingsStore store;
        store.BeginTransaction();
        EXPECT_TRUE(store.WriteInt("LatitudeDegrees", 33));
        EXPECT_TRUE(store.WriteInt("LatitudeMinutes", 59));
        // Nothing reaches the file, nor the values read, before the commit.
        EXPECT_EQ(readRaw(), before);
        EXPECT_EQ(store.ReadInt("LatitudeDegrees", 0), 10);
        EXPECT_TRUE(store.Commit());
    }
    EXPECT_EQ(SettingsStore().ReadInt("LatitudeDegrees", 0), 33);
    EXPECT_EQ(SettingsStore().ReadInt("LatitudeMinutes", 0), 59);

    // A full disk at the commit: neither value is saved.
    const std::string saved = readRaw();
    {
        SettingsStore store;
        store.BeginTransaction();
        store.WriteInt("LatitudeDegrees", 1);
        store.WriteInt("LatitudeMinutes", 2);
        FileSizeLimit full(16);
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(store.Commit());
    }
    EXPECT_EQ(readRaw(), saved);
    EXPECT_EQ(productFolderEntries(), std::vector<std::string>{"1.0.conf"});

    // A store let go without its commit saves nothing of the transaction.
    {
        SettingsStore store;
        store.BeginTransaction();
        store.WriteInt("LatitudeDegrees", 1);
    }
    EXPECT_EQ(readRaw(), saved);
}

TEST_F(PreferencesStore, AStoredPlaceOffTheGlobeGivesTheDefaultPlaceAndSaysSo) {
    const char* damaged[] = {
        "int LatitudeDegrees = 91\n",    "int LatitudeDegrees = 90\nint LatitudeMinutes = 1\n",
        "int LongtitudeDegrees = 181\n", "int LongtitudeMinutes = 60\n",
        "float LatitudeSeconds = 60\n",  "int LongtitudeDegrees = -5\n",
    };
    for (const char* text : damaged) {
        writeRaw(std::string(text) + "int LongtitudeIsWest = 1\nint LatitudeIsSouth = 1\n");
        testing::internal::CaptureStderr();
        const Observer::Setup place = SettingsStore().ReadPlace();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(place.longitude.deg, 6) << text;
        EXPECT_EQ(place.longitude.arcmin, 53) << text;
        EXPECT_EQ(place.latitude.deg, 52) << text;
        EXPECT_EQ(place.latitude.arcmin, 21) << text;
        // The flags belong to the discarded place too.
        EXPECT_FALSE(place.isWest) << text;
        EXPECT_FALSE(place.isSouth) << text;
        EXPECT_NE(said.find("is not on the globe"), std::string::npos) << text;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    }
    // The poles and the date line are places.
    writeRaw(
        "int LatitudeDegrees = 90\nint LatitudeMinutes = 0\nint LongtitudeDegrees = 180\n"
        "int LongtitudeMinutes = 0\nint LatitudeIsSouth = 1\n");
    testing::internal::CaptureStderr();
    const Observer::Setup pole = SettingsStore().ReadPlace();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(pole.latitude.deg, 90);
    EXPECT_EQ(pole.longitude.deg, 180);
    EXPECT_TRUE(pole.isSouth);
}

}  // namespace

namespace {

TEST(ZoneTexts, HoursWithTheirFractionRoundTrip) {
    struct Case {
        const char* text;
        int32_t minutes;
    };
    const Case read[] = {{"1", 60},      {"+1", 60}, {"-5", -300}, {"5.5", 330},    {"5,75", 345},     {"-3.5", -210},
                         {"9.5 h", 570}, {"abc", 0}, {"", 0},      {"99", 36 * 60}, {"-1e9", -36 * 60}};
    for (const Case& c : read) {
        PreferencesForm form;
        form.timeZone = c.text;
        EXPECT_EQ(ReadPreferencesForm(form).zoneMinutes, c.minutes) << c.text;
    }
    // Every zone of the city list shows as it reads back.
    for (int32_t minutes : {-660, -210, 0, 60, 330, 345, 390, 525, 570, 765, 840}) {
        PreferencesForm form;
        form.timeZone = ZoneText(minutes);
        EXPECT_EQ(ReadPreferencesForm(form).zoneMinutes, minutes) << form.timeZone;
    }
    EXPECT_EQ(ZoneText(330), "5.5");
    EXPECT_EQ(ZoneText(-210), "-3.5");
    EXPECT_EQ(ZoneText(345), "5.75");
    EXPECT_EQ(ZoneText(-60), "-1");
}

TEST(RecentPlaces, TheLatestComesFirstOnceAndFiveAreKept) {
    std::vector<std::string> recent;
    for (const char* place : {"A", "B", "C", "B", "D", "E", "F", "G"}) RememberPlace(recent, place);
    EXPECT_EQ(recent, (std::vector<std::string>{"G", "F", "E", "D", "B"}));
    RememberPlace(recent, "E");
    EXPECT_EQ(recent, (std::vector<std::string>{"E", "G", "F", "D", "B"}));
}

TEST_F(PreferencesStore, RecentPlacesAreStoredWithoutLeftovers) {
    ASSERT_TRUE(SettingsStore().WriteRecentPlaces({"Aachen, Germany", "Mumbai, India", "Accra, Ghana"}));
    EXPECT_EQ(SettingsStore().ReadRecentPlaces(),
              (std::vector<std::string>{"Aachen, Germany", "Mumbai, India", "Accra, Ghana"}));
    ASSERT_TRUE(SettingsStore().WriteRecentPlaces({"Lérida, Spain"}));
    EXPECT_EQ(SettingsStore().ReadRecentPlaces(), std::vector<std::string>{"Lérida, Spain"});
    // A value of another type, or an empty one, is no place.
    writeRaw("int RecentPlace1 = 3\ntext RecentPlace2 =\ntext RecentPlace3 = Leeds, United Kingdom\n");
    EXPECT_EQ(SettingsStore().ReadRecentPlaces(), std::vector<std::string>{"Leeds, United Kingdom"});
}

}  // namespace
