#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "SettingsTestSupport.h"
#include "settings/CityList.h"
#include "settings/Preferences.h"

namespace {

// The rules as the kstars-data package writes them, with lines that must
// give no rule.
constexpr const char* RulesText =
    "# daylight-saving rules\n"
    "US  Mar  2Sun  02:00  Nov  1Sun  02:00\n"
    "EU  Mar   Sun  01:00  Oct   Sun  01:00\r\n"
    "IR  Mar    21  00:00  Sep    21  00:00\n"
    "AU  Oct   1Sun  02:00  Apr   1Sun  02:00\n"
    "--    0     0      0    0     0      0\n"
    "XX  Mar  9Sun  01:00  Oct   Sun  01:00\n"
    "YY  Mar   Sun  25:00  Oct   Sun  01:00\n"
    "ZZ  Mar   Sun  01:00\n";

TEST(DaylightRules, TurnAtTheMomentsOfTheirTable) {
    const auto rules = ParseDaylightRules(RulesText);
    EXPECT_EQ(rules.size(), 4u);
    for (const char* none : {"--", "XX", "YY", "ZZ"}) EXPECT_EQ(rules.count(none), 0u) << none;
    struct Case {
        const char* rule;
        int year, month, day, hour, minute;
        bool daylight;
    };
    // Moments in standard time; the rules end in daylight time, an hour
    // ahead.
    const Case cases[] = {
        {"EU", 2024, 3, 31, 0, 59, false},
        {"EU", 2024, 3, 31, 1, 0, true},
        {"EU", 2024, 7, 1, 12, 0, true},
        {"EU", 2024, 10, 26, 23, 59, true},
        {"EU", 2024, 10, 27, 0, 0, false},
        {"EU", 2025, 3, 30, 1, 0, true},
        {"EU", 2025, 3, 29, 12, 0, false},
        {"US", 2024, 3, 10, 1, 59, false},
        {"US", 2024, 3, 10, 2, 0, true},
        {"US", 2024, 11, 3, 0, 59, true},
        {"US", 2024, 11, 3, 1, 0, false},
        {"IR", 2023, 3, 20, 23, 59, false},
        {"IR", 2023, 3, 21, 0, 0, true},
        {"IR", 2023, 9, 20, 22, 59, true},
        {"IR", 2023, 9, 20, 23, 0, false},
        // The southern rule spans the turn of the year.
        {"AU", 2024, 1, 15, 12, 0, true},
        {"AU", 2024, 4, 7, 0, 59, true},
        {"AU", 2024, 4, 7, 1, 0, false},
        {"AU", 2024, 7, 1, 12, 0, false},
        {"AU", 2024, 10, 6, 1, 59, false},
        {"AU", 2024, 10, 6, 2, 0, true},
        {"AU", 2024, 12, 31, 23, 59, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rules.at(c.rule).InEffect(c.year, c.month, c.day, c.hour, c.minute), c.daylight)
            << c.rule << " " << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute;
    }
}

namespace fs = std::filesystem;

struct Row {
    const char* name;
    const char* province;
    const char* country;
    const char* latitude;
    const char* longitude;
    const char* zone;  // a number, or "NULL"
    const char* rule;
};

// A database of the package's shape, with the rows given.
void WriteCityDatabase(const fs::path& path, const std::vector<Row>& rows, const char* extraSql = "") {
    fs::remove(path);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const char* create =
        "CREATE TABLE city (id INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Province TEXT, Country TEXT, "
        "Latitude TEXT, Longitude TEXT, TZ REAL, TZRule TEXT, Elevation REAL NOT NULL DEFAULT -10);";
    EXPECT_EQ(sqlite3_exec(db, create, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "INSERT INTO city (Name, Province, Country, Latitude, Longitude, TZ, TZRule) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?)",
                                 -1, &insert, nullptr),
              SQLITE_OK);
    for (const Row& r : rows) {
        const char* texts[] = {r.name, r.province, r.country, r.latitude, r.longitude};
        for (int i = 0; i < 5; ++i) sqlite3_bind_text(insert, i + 1, texts[i], -1, SQLITE_TRANSIENT);
        if (std::string(r.zone) == "NULL")
            sqlite3_bind_null(insert, 6);
        else
            sqlite3_bind_double(insert, 6, std::stod(r.zone));
        sqlite3_bind_text(insert, 7, r.rule, -1, SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, extraSql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

class CityListFiles : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        database = home_ / "citydb.sqlite";
        rules = home_ / "TZrules.dat";
        std::ofstream(rules) << RulesText;
    }
    fs::path database, rules;
};

TEST_F(CityListFiles, ReadsEveryUsableCityInLabelOrder) {
    WriteCityDatabase(database, {
                                    {"Zürich", "", "Switzerland", " 47° 22' 00\"", " 8° 33' 00\"", "1.0", "EU"},
                                    {"Aachen", "", "Germany", " 50° 46' 00\"", " 6° 06' 00\"", "1.0", "EU"},
                                    {"Accra", "", "Ghana", " 5° 35' 59\"", "-0° 10' 01\"", "0.0", "--"},
                                    {"Mumbai", "", "India", " 18° 58' 00\"", " 72° 49' 59\"", "5.5", "--"},
                                    {"Lérida", "", "Spain", " 41° 37' 03\"", " 0° 37' 35\"", "1.0", "EU"},
                                    {"Leeds", "", "United Kingdom", " 53° 48' 00\"", "-1° 33' 00\"", "0.0", "EU"},
                                    {"Kempten", "Bayern", "Germany", "47.8339", " 10° 19' 00\"", "1.0", "EU"},
                                    // No usable place or zone: left out.
                                    {"Nowhere", "", "X", "north", " 1° 00' 00\"", "1.0", "EU"},
                                    {"Pole", "", "X", " 91° 00' 00\"", " 1° 00' 00\"", "1.0", "EU"},
                                    {"Drift", "", "X", " 1° 00' 00\"", " 1° 60' 00\"", "1.0", "EU"},
                                    {"Timeless", "", "X", " 1° 00' 00\"", " 1° 00' 00\"", "NULL", "EU"},
                                    {"Faraway", "", "X", " 1° 00' 00\"", " 1° 00' 00\"", "20", "EU"},
                                    {"", "", "X", " 1° 00' 00\"", " 1° 00' 00\"", "1.0", "EU"},
                                });
    CityList list;
    ASSERT_TRUE(list.Load(database.string(), rules.string()));
    EXPECT_NE(list.Problem().find("6 entries"), std::string::npos) << list.Problem();
    std::vector<std::string> labels;
    for (const City& c : list.Cities()) labels.push_back(c.Label());
    // Accents do not move a city away from its neighbours.
    EXPECT_EQ(labels, (std::vector<std::string>{"Aachen, Germany", "Accra, Ghana", "Kempten, Bayern, Germany",
                                                "Leeds, United Kingdom", "Lérida, Spain", "Mumbai, India",
                                                "Zürich, Switzerland"}));
    const City& accra = list.Cities()[1];
    EXPECT_EQ(accra.PlaceText(), "5°35'59\"N 0°10'01\"W");
    EXPECT_TRUE(accra.longitude.negative);
    EXPECT_NEAR(accra.longitude.degrees, -(10 + 1 / 60.0) / 60.0, 1e-12);
    // Decimal degrees become degrees, minutes and seconds to a hundredth.
    const City& kempten = list.Cities()[2];
    EXPECT_EQ(kempten.latitude.deg, 47);
    EXPECT_EQ(kempten.latitude.arcmin, 50);
    EXPECT_NEAR(kempten.latitude.arcsec, 2.04f, 1e-4);
    EXPECT_EQ(list.Cities()[5].zoneMinutes, 330);
    EXPECT_EQ(list.RuleCount(), 4u);
}

TEST_F(CityListFiles, AnythingButACityDatabaseIsReportedNotWaitedFor) {
    WriteCityDatabase(database, {{"Aachen", "", "Germany", " 50° 46' 00\"", " 6° 06' 00\"", "1.0", "EU"}});
    std::ifstream in(database, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const fs::path folder = home_ / "folder", fifo = home_ / "fifo", text = home_ / "text";
    fs::create_directory(folder);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path truncated = home_ / "truncated.sqlite", empty = home_ / "empty.sqlite";
    std::ofstream(truncated, std::ios::binary) << whole.substr(0, whole.size() / 2);
    std::ofstream(empty, std::ios::binary) << "";
    std::ofstream(text) << "Aachen 50 46 6 6\n";
    const fs::path endless = home_ / "endless.sqlite", other = home_ / "other.sqlite";
    WriteCityDatabase(other, {}, "DROP TABLE city; CREATE TABLE town (Name TEXT);");
    // A "city" view that never ends: the reader stops at its own bound.
    WriteCityDatabase(endless, {},
                      "DROP TABLE city; CREATE VIEW city AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                      "FROM n) SELECT 'X' AS Name, '' AS Province, 'Y' AS Country, 'north' AS Latitude, "
                      "'east' AS Longitude, 1.0 AS TZ, 'EU' AS TZRule FROM n;");
    const std::pair<fs::path, const char*> cases[] = {
        {home_ / "missing.sqlite", "does not exist"},
        {folder, "is not a regular file"},
        {fifo, "is not a regular file"},
        {text, "is not a city database"},
        {truncated, "city list"},
        {empty, "city"},
        {other, "is not a city database"},
        {endless, "city list"},
    };
    for (const auto& [path, expected] : cases) {
        const auto start = std::chrono::steady_clock::now();
        CityList list;
        EXPECT_FALSE(list.Load(path.string(), rules.string())) << path;
        EXPECT_FALSE(list.Available()) << path;
        EXPECT_NE(list.Problem().find(expected), std::string::npos) << path << ": " << list.Problem();
        // Generous: the point is that nothing waits for a writer or runs on.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << path;
    }
    // Missing rules only cost the daylight time.
    CityList list;
    ASSERT_TRUE(list.Load(database.string(), (home_ / "none.dat").string()));
    EXPECT_NE(list.Problem().find("standard time"), std::string::npos) << list.Problem();
    DateTime july;
    july.year = 2024, july.month = 7, july.day = 1, july.hour = 12;
    EXPECT_FALSE(list.DaylightAt(list.Cities()[0], july));
}

TEST_F(CityListFiles, SearchFindsBeginningsFirstAndNamesMustBeUnambiguous) {
    WriteCityDatabase(database,
                      {
                          {"Springfield", "Illinois", "USA", " 39° 47' 57\"", "-89° 38' 50\"", "-6", "US"},
                          {"Springfield", "Ohio", "USA", " 39° 55' 37\"", "-83° 48' 28\"", "-5", "US"},
                          {"Sydney", "New South Wales", "Australia", "-33° 54' 59\"", " 151° 16' 59\"", "10", "AU"},
                          {"Sydney", "Nova Scotia", "Canada", " 46° 08' 24\"", "-60° 04' 47\"", "-4", "US"},
                          {"North Sydney", "Nova Scotia", "Canada", " 46° 13' 00\"", "-60° 15' 00\"", "-4", "US"},
                          {"Halfsydneyton", "", "Nowhere", " 1° 00' 00\"", " 1° 00' 00\"", "0", "--"},
                          {"Lérida", "", "Spain", " 41° 37' 03\"", " 0° 37' 35\"", "1.0", "EU"},
                      });
    CityList list;
    ASSERT_TRUE(list.Load(database.string(), rules.string()));
    auto labels = [&](const std::vector<std::size_t>& found) {
        std::vector<std::string> l;
        for (std::size_t i : found) l.push_back(list.Cities()[i].Label());
        return l;
    };
    EXPECT_EQ(labels(list.Matching("SYDNEY")),
              (std::vector<std::string>{"Sydney, New South Wales, Australia", "Sydney, Nova Scotia, Canada",
                                        "North Sydney, Nova Scotia, Canada", "Halfsydneyton, Nowhere"}));
    EXPECT_EQ(labels(list.Matching("lerida")), std::vector<std::string>{"Lérida, Spain"});
    EXPECT_EQ(labels(list.Matching("nova scotia")).size(), 2u);
    EXPECT_EQ(list.Matching("").size(), list.Cities().size());
    EXPECT_TRUE(list.Matching("atlantis").empty());

    struct Case {
        const char* name;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"Springfield", {"Springfield, Illinois, USA", "Springfield, Ohio, USA"}},
        {"springfield, ohio", {"Springfield, Ohio, USA"}},
        {"Springfield, Ohio, USA", {"Springfield, Ohio, USA"}},
        {"Springfield, USA", {"Springfield, Illinois, USA", "Springfield, Ohio, USA"}},
        {"Sydney, Australia", {"Sydney, New South Wales, Australia"}},
        {"Sydney , Nova Scotia", {"Sydney, Nova Scotia, Canada"}},
        {"LERIDA", {"Lérida, Spain"}},
        // A part of a name, a wrong province or an empty part names nothing.
        {"Spring", {}},
        {"Springfield, Texas", {}},
        {"Springfield,", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(labels(list.Named(c.name)), c.expected) << c.name;
}

TEST_F(CityListFiles, ChoosingACityFillsThePlaceAndTheClockOfTheFormsMoment) {
    WriteCityDatabase(database,
                      {
                          {"Aachen", "", "Germany", " 50° 46' 00\"", " 6° 06' 00\"", "1.0", "EU"},
                          {"Accra", "", "Ghana", " 5° 35' 59\"", "-0° 10' 01\"", "0.0", "--"},
                          {"Mumbai", "", "India", " 18° 58' 00\"", " 72° 49' 59\"", "5.5", "--"},
                          {"Sydney", "New South Wales", "Australia", "-33° 54' 59\"", " 151° 16' 59\"", "10", "AU"},
                      });
    CityList list;
    ASSERT_TRUE(list.Load(database.string(), rules.string()));
    const City& aachen = list.Cities()[0];
    const City& accra = list.Cities()[1];
    const City& mumbai = list.Cities()[2];
    const City& sydney = list.Cities()[3];
    constexpr int64_t July2024Noon = 1719835200;     // 2024-07-01 12:00 UTC
    constexpr int64_t March31At0030 = 1711845000;    // 2024-03-31 00:30 UTC, 01:30 in Aachen's standard time
    constexpr int64_t January2024Noon = 1705320000;  // 2024-01-15 12:00 UTC
    struct Case {
        const City& city;
        bool systemTime;
        const char* date;  // ddmmyyyy of a clock set by hand
        int64_t now;
        bool daylight;
    };
    const Case cases[] = {
        {aachen, false, "01072024", January2024Noon, true},
        {aachen, false, "15012024", July2024Noon, false},
        // A date that is no date counts as none: the present moment decides.
        {aachen, false, "31022024", July2024Noon, true},
        {aachen, true, "15012024", July2024Noon, true},
        {aachen, true, "01072024", January2024Noon, false},
        {aachen, true, "", March31At0030, true},
        {sydney, false, "01072024", January2024Noon, false},
        {sydney, true, "", January2024Noon, true},
        {mumbai, false, "01072024", July2024Noon, false},
    };
    for (const Case& c : cases) {
        PreferencesForm form;
        form.useSystemTime = c.systemTime;
        form.time = "120000";
        form.date = c.date;
        form.dst = !c.daylight;
        ChooseCity(form, list, c.city, c.now);
        EXPECT_EQ(form.dst, c.daylight) << c.city.Label() << " " << c.date << " " << c.now;
    }

    PreferencesForm form;
    form.recentPlaces = {"Mumbai, India", "Leeds, United Kingdom"};
    ChooseCity(form, list, accra, July2024Noon);
    EXPECT_EQ(form.longitudeDegrees + " " + form.longitudeMinutes + " " + form.longitudeSeconds, "0 10  1.00");
    EXPECT_TRUE(form.west);
    EXPECT_EQ(form.latitudeDegrees + " " + form.latitudeMinutes + " " + form.latitudeSeconds, "5 35 59.00");
    EXPECT_FALSE(form.south);
    EXPECT_EQ(form.timeZone, "0");
    ChooseCity(form, list, mumbai, July2024Noon);
    EXPECT_EQ(form.timeZone, "5.5");
    EXPECT_EQ(form.recentPlaces, (std::vector<std::string>{"Mumbai, India", "Accra, Ghana", "Leeds, United Kingdom"}));

    // Universal Time follows the zone and daylight flag the form now holds,
    // whatever the system's own zone says about that place and moment.
    form.useSystemTime = false;
    form.time = "220000";
    form.date = "01072024";
    ChooseCity(form, list, aachen, January2024Noon);
    const PreferencesValues v = ReadPreferencesForm(form);
    Observer observer(v.place);
    observer.setUseSystemClock(false);
    observer.stop();
    observer.setCivil(v.clock.hour, v.clock.minute, v.clock.second, v.clock.day, v.clock.month, v.clock.year);
    observer.setDst(v.dst);
    observer.setZoneMinutes(v.zoneMinutes);
    observer.update();
    EXPECT_EQ(observer.universal().TimeText(), "20:00:00");
    EXPECT_NEAR(observer.longitude.degrees, 6.1, 1e-9);
}

// The database the kstars-data package installs, where it is installed.
class RealCityList : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = CityDatabasePath();
        if (!fs::exists(path)) GTEST_SKIP() << "no city database at " << path;
        ASSERT_TRUE(list.Load(path, CityRulesPath(path))) << list.Problem();
    }
    CityList list;
};

TEST_F(RealCityList, HoldsTheCitiesOfThePackage) {
    EXPECT_EQ(list.Cities().size(), 3428u);
    EXPECT_TRUE(list.Problem().empty()) << list.Problem();
    EXPECT_GE(list.RuleCount(), 19u);
    const std::vector<std::size_t> aachen = list.Named("Aachen");
    ASSERT_EQ(aachen.size(), 1u);
    const City& city = list.Cities()[aachen[0]];
    EXPECT_EQ(city.Label(), "Aachen, Germany");
    EXPECT_EQ(city.PlaceText(), "50\u00b046'00\"N 6\u00b006'00\"E");
    EXPECT_EQ(city.zoneMinutes, 60);
    EXPECT_EQ(city.rule, "EU");
    EXPECT_EQ(list.Matching("aach").front(), aachen[0]);
    EXPECT_EQ(list.Named("Springfield").size(), 6u);
    EXPECT_EQ(list.Named("Sydney, Australia").size(), 1u);
    EXPECT_EQ(list.Cities()[list.Named("Mumbai").at(0)].zoneMinutes, 330);

    DateTime moment;
    moment.year = 2024, moment.day = 1, moment.hour = 12;
    moment.month = 7;
    EXPECT_TRUE(list.DaylightAt(city, moment));
    moment.month = 1;
    EXPECT_FALSE(list.DaylightAt(city, moment));
    EXPECT_TRUE(list.DaylightAt(list.Cities()[list.Named("Sydney, Australia")[0]], moment));
}

}  // namespace
