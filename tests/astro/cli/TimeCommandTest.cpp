#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "shell/cli/TimePlaceOptions.h"
#include "tests/support/CliRun.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

std::string Value(const std::string& out, const std::string& key) {
    const std::string prefix = key + "=";
    size_t pos = out.rfind("\n" + prefix);
    pos = out.compare(0, prefix.size(), prefix) == 0 ? 0 : (pos == std::string::npos ? pos : pos + 1);
    if (pos == std::string::npos) return "<missing " + key + ">";
    const size_t end = out.find('\n', pos);
    return out.substr(pos + prefix.size(), end - pos - prefix.size());
}

TEST(TimeCommand, JulianDateOfJ2000) {
    const CliRun r = RunCli("time --at 2000-01-01T12:00:00 --zone 0 --dst 0 --lon 0:0:0E --lat 0:0:0N");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\njulian_date=2451545.00000\n"), std::string::npos) << r.out;
    EXPECT_EQ(Value(r.out, "civil_date"), "01-01-2000");
    EXPECT_EQ(Value(r.out, "universal"), "01-01-2000 12:00:00");
    EXPECT_EQ(Value(r.out, "dynamical_julian_date"), "2451545.000752");
    // 18h41m50.548s, with 65 s of TT−UT in the nutation only.
    EXPECT_NEAR(std::stod(Value(r.out, "gmst_hours")), 18.697374558, 2e-8);
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(TimeCommand, EveryKeyOnItsOwnLine) {
    const CliRun r = RunCli("time --at=2024-03-20T03:06:00 --zone=+5:45 --dst=0 --lon=85:19:0E --lat=27:42:0N");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* key : {"civil_date", "civil_time", "universal", "local_mean_time", "julian_date",
                            "dynamical_julian_date", "gmst_hours", "gast_hours", "last_hours", "mean_obliquity_deg",
                            "true_obliquity_deg", "nutation_longitude_arcsec", "nutation_obliquity_arcsec"})
        EXPECT_EQ(Value(r.out, key).rfind("<missing", 0), std::string::npos) << key;
    EXPECT_EQ(Value(r.out, "universal"), "19-03-2024 21:21:00");
    EXPECT_EQ(Value(r.out, "zone"), "+5:45");
    EXPECT_EQ(Value(r.out, "utc_offset"), "+5:45");
    // 85°19' E is 5 h 41 min 16 s ahead of Greenwich.
    EXPECT_EQ(Value(r.out, "local_mean_time"), "03:02:16");
}

// Without --lon and --lat the stored place is used; this test's settings
// folder is empty, so that is the default place, 6°53' E 52°21' N.
TEST(TimeCommand, StoredPlaceWhenNoneIsGiven) {
    const CliRun r = RunCli("time --at 2010-06-15T12:00:00 --zone +1 --dst 1");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Value(r.out, "longitude"), "6°53'00.00\"E");
    EXPECT_EQ(Value(r.out, "latitude"), "52°21'00.00\"N");
    EXPECT_EQ(Value(r.out, "universal"), "15-06-2010 10:00:00");
    EXPECT_EQ(Value(r.out, "local_mean_time"), "10:27:32");
}

// Seconds of a place that print as 60 carry into the minutes and degrees.
TEST(TimeCommand, PlaceSecondsCarry) {
    const CliRun r = RunCli("time --at 2010-06-15T12:00:00 --zone +1 --lon 6:59:59.999E --lat 52:21:59.996S");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Value(r.out, "longitude"), "7°00'00.00\"E");
    EXPECT_EQ(Value(r.out, "latitude"), "52°22'00.00\"S");
}

TEST(TimeCommand, MalformedOptionsExitWithStatus2) {
    const char* bad[] = {
        "--zone +25",      "--zone 5:7", "--dst 2",      "--lon 6:53E", "--lat 52:21:0E", "--at 2001-02-29T00:00:00",
        "--at 2000-01-01", "--at",       "--frobnicate", "extra"};
    for (const char* args : bad) {
        const CliRun r = RunCli(std::string("time ") + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        // One line, naming what was wrong.
        ASSERT_FALSE(r.err.empty()) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        const std::string name = std::string(args).substr(0, std::string(args).find(' '));
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    }
}

TEST(TimeCommand, HelpDescribesEveryOption) {
    const CliRun r = RunCli("time --help");
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--at", "--zone", "--dst", "--lon", "--lat", "--help"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST(TimePlaceOptions, ValueParsers) {
    const auto c = ParseCivilMoment("2000-02-29T23:59:59");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->year * 10000 + c->month * 100 + c->day, 20000229);
    for (const char* bad : {"2001-02-29T00:00:00", "2000-13-01T00:00:00", "2000-01-01T24:00:00", "2000-01-01 00:00:00",
                            "2000-01-01T00:00:00Z", "0000-01-01T00:00:00"})
        EXPECT_FALSE(ParseCivilMoment(bad)) << bad;

    EXPECT_EQ(ParseZoneMinutes("+5:30"), 330);
    EXPECT_EQ(ParseZoneMinutes("5:45"), 345);
    EXPECT_EQ(ParseZoneMinutes("-3:30"), -210);
    EXPECT_EQ(ParseZoneMinutes("-0:30"), -30);
    EXPECT_EQ(ParseZoneMinutes("+14"), 840);
    for (const char* bad : {"+15", "-13", "5:60", "5:3", "", "+", "5.5", "123"})
        EXPECT_FALSE(ParseZoneMinutes(bad)) << bad;

    const auto lon = ParsePlaceAngle("74:0:30.5W", false);
    ASSERT_TRUE(lon);
    EXPECT_DOUBLE_EQ(lon->seconds, 30.5);
    EXPECT_TRUE(lon->negative);
    EXPECT_TRUE(ParsePlaceAngle("90:0:0s", true));
    for (const char* bad : {"180:0:1E", "6:60:0E", "6:53:60E", "6:53:0N", "-6:53:0E", "6:53:0EE"})
        EXPECT_FALSE(ParsePlaceAngle(bad, false)) << bad;
    EXPECT_FALSE(ParsePlaceAngle("52:21:0W", true));
}

TEST(TimePlaceOptions, ConsumeLeavesOtherArgumentsInOrder) {
    std::vector<std::string> args = {"--limit", "6", "--zone", "-3:30", "--lat=47:34:0N", "stars", "--dst", "1"};
    TimePlaceOptions options;
    std::string error;
    ASSERT_TRUE(ConsumeTimePlaceOptions(args, options, error)) << error;
    EXPECT_EQ(args, (std::vector<std::string>{"--limit", "6", "stars"}));
    EXPECT_EQ(options.zoneMinutes, -210);
    EXPECT_EQ(options.dst, true);
    ASSERT_TRUE(options.latitude);
    EXPECT_EQ(options.latitude->degrees, 47);
    EXPECT_FALSE(options.at);
    EXPECT_FALSE(options.longitude);

    std::vector<std::string> missing = {"--lon"};
    EXPECT_FALSE(ConsumeTimePlaceOptions(missing, options, error));
    EXPECT_NE(error.find("--lon"), std::string::npos);
}

// The zone minutes reach Universal Time, and without --zone the system's zone
// of that very moment is used, daylight time included.
TEST(TimePlaceOptions, ObserverAtAMoment) {
    TimePlaceOptions options;
    options.at = ParseCivilMoment("2010-06-15T12:00:00");
    options.zoneMinutes = -210;
    options.longitude = ParsePlaceAngle("52:43:0W", false);
    options.latitude = ParsePlaceAngle("47:34:0N", true);
    auto o = MakeObserver(options);
    EXPECT_FALSE(o->useSystemClock());
    EXPECT_FALSE(o->running());
    EXPECT_FALSE(o->dst());
    EXPECT_EQ(o->universal().TimeText(), "15:30:00");
    EXPECT_TRUE(o->longitudeIsWest());

    ::setenv("TZ", "Australia/Adelaide", 1);
    TimePlaceOptions adelaide;
    adelaide.at = ParseCivilMoment("2010-06-15T12:00:00");
    auto winter = MakeObserver(adelaide);
    EXPECT_EQ(winter->zone(), 9);
    EXPECT_EQ(winter->zoneExtraMinutes(), 30);
    EXPECT_FALSE(winter->dst());
    EXPECT_EQ(winter->universal().TimeText(), "02:30:00");
    adelaide.at = ParseCivilMoment("2010-01-15T12:00:00");
    auto summer = MakeObserver(adelaide);
    EXPECT_TRUE(summer->dst());
    EXPECT_EQ(summer->universal().TimeText(), "01:30:00");
    ::unsetenv("TZ");
}

// In every zone, whatever its daylight time does, the universal time is the
// system's UTC: for a civil time given with --at in the system's zone, and
// for the present moment.
TEST(TimePlaceOptions, UniversalTimeIsTheSystemsInEveryZone) {
    struct Case {
        const char* zone;
        const char* winter;  // civil times of 12:00 UTC on 15 January and 15 July 2024
        const char* summer;
    } cases[] = {
        {"Europe/Dublin", "2024-01-15T12:00:00", "2024-07-15T13:00:00"},
        {"Africa/Casablanca", "2024-03-25T12:00:00", "2024-07-15T13:00:00"},  // Ramadan instead of January
        {"Antarctica/Troll", "2024-01-15T12:00:00", "2024-07-15T14:00:00"},
        {"Australia/Lord_Howe", "2024-01-15T23:00:00", "2024-07-15T22:30:00"},
        {"Europe/Berlin", "2024-01-15T13:00:00", "2024-07-15T14:00:00"},
    };
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    for (const Case& c : cases) {
        ::setenv("TZ", c.zone, 1);
        for (const char* civil : {c.winter, c.summer}) {
            TimePlaceOptions options;
            options.at = ParseCivilMoment(civil);
            const auto o = MakeObserver(options);
            const std::string day = std::string(civil).substr(8, 2) + "-" + std::string(civil).substr(5, 2) + "-2024";
            EXPECT_EQ(o->universal().DateText() + " " + o->universal().TimeText(), day + " 12:00:00")
                << c.zone << " " << civil;
        }
        const std::time_t before = std::time(nullptr);
        const CliRun r = RunCli("time");
        const std::time_t after = std::time(nullptr);
        ASSERT_EQ(r.status, 0) << r.err;
        bool matched = false;
        for (std::time_t t = before; t <= after && !matched; ++t) {
            std::tm utc{};
            gmtime_r(&t, &utc);
            char text[64];
            std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", utc.tm_mday, utc.tm_mon + 1,
                          utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
            matched = Value(r.out, "universal") == text;
        }
        EXPECT_TRUE(matched) << c.zone << ": " << Value(r.out, "universal");
    }
    if (previous)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
}

// A city of the list brings its place, its zone and its rule's daylight
// time; the system's own zone data, which for Aachen starts summer time an
// hour later than the list's rule, has no say in it.
TEST(TimeCommand, ACityGivesPlaceZoneAndDaylightTime) {
    if (!std::filesystem::exists(CityDatabasePath())) GTEST_SKIP() << "no city database";
    struct Case {
        const char* args;
        const char* universal;
        const char* zone;
        const char* dst;
    } cases[] = {
        {"--city Aachen --at 2024-07-01T22:00:00", "01-07-2024 20:00:00", "+1:00", "1"},
        {"--city=aachen --at 2024-01-15T22:00:00", "15-01-2024 21:00:00", "+1:00", "0"},
        {"--city Aachen --at 2024-03-31T01:30:00", "30-03-2024 23:30:00", "+1:00", "1"},
        {"--city 'Sydney, Australia' --at 2024-01-15T22:00:00", "15-01-2024 11:00:00", "+10:00", "1"},
        {"--city Mumbai --at 2024-07-01T22:00:00", "01-07-2024 16:30:00", "+5:30", "0"},
        {"--city Mumbai --zone +4 --dst 1 --at 2024-07-01T22:00:00", "01-07-2024 17:00:00", "+4:00", "1"},
    };
    for (const char* system : {"Europe/Berlin", "America/New_York"}) {
        const ScopedEnvironment zone("TZ", system);
        for (const Case& c : cases) {
            const CliRun r = RunCli(std::string("time ") + c.args);
            ASSERT_EQ(r.status, 0) << c.args << ": " << r.err;
            EXPECT_EQ(Value(r.out, "universal"), c.universal) << c.args << " in " << system;
            EXPECT_EQ(Value(r.out, "zone"), c.zone) << c.args;
            EXPECT_EQ(Value(r.out, "dst"), c.dst) << c.args;
        }
    }
    const CliRun aachen = RunCli("time --city Aachen");
    EXPECT_EQ(Value(aachen.out, "longitude"), "6°06'00.00\"E");
    EXPECT_EQ(Value(aachen.out, "latitude"), "50°46'00.00\"N");
}

TEST(TimeCommand, ACityThatIsNotOneIsRefused) {
    if (std::filesystem::exists(CityDatabasePath())) {
        for (const char* args : {"--city Springfield", "--city Atlantis", "--city Aachen --lat 1:0:0N"}) {
            const CliRun r = RunCli(std::string("time ") + args);
            EXPECT_EQ(r.status, 2) << args;
            EXPECT_TRUE(r.out.empty()) << args;
        }
        EXPECT_NE(RunCli("time --city Springfield").err.find("names 6 places"), std::string::npos);
    }
    // Without the package the option says what is missing.
    const ScopedEnvironment nowhere("XDG_DATA_DIRS", "/nonexistent");
    const CliRun absent = RunCli("time --city Aachen");
    EXPECT_EQ(absent.status, 2);
    EXPECT_NE(absent.err.find("/nonexistent/kstars/citydb.sqlite does not exist"), std::string::npos) << absent.err;
    EXPECT_NE(absent.err.find("kstars-data"), std::string::npos) << absent.err;
}

}  // namespace
