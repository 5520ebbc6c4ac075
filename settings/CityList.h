#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "astro/Angles.h"

// When a zone keeps daylight time, one hour ahead of its standard time: from
// a day of one month at a time of standard time until a day of another month
// at a time of daylight time. A day is a fixed date, the nth weekday of the
// month or its last weekday. A rule that starts later in the year than it
// ends belongs to the southern hemisphere: its daylight time spans the turn
// of the year.
struct DaylightRule {
    struct Day {
        int month = 0;    // 1-12
        int date = 0;     // a fixed date of the month, or 0
        int weekday = 0;  // 0 Sunday ... 6 Saturday, when date is 0
        int nth = 0;      // the nth such weekday (1-5), 0 for the last one
        int minutes = 0;  // time of day, minutes after midnight
    };
    Day start;
    Day end;

    // Whether daylight time is in effect at a moment of the zone's standard
    // time (year, month 1-12, day, hour, minute).
    bool InEffect(int year, int month, int day, int hour, int minute) const;
};

// Daylight rules by their codes, from a text of lines
//     CODE StartMonth StartDay HH:MM EndMonth EndDay HH:MM
// with months as "Jan" ... "Dec" and days as "21" (a date), "Sun" (the last
// Sunday) or "2Sun" (the second). Comment lines start with '#'. A line
// that does not parse (the "--" line of zones without daylight time among
// them) gives no rule.
std::map<std::string, DaylightRule> ParseDaylightRules(std::string_view text);

// A place of the city list.
struct City {
    std::string name;
    std::string province;  // may be empty
    std::string country;
    Angle latitude;           // sexagesimal fields and degrees set; negative = South
    Angle longitude;          // negative = West
    int32_t zoneMinutes = 0;  // standard time, minutes east of Greenwich
    std::string rule;         // code of its daylight rule

    // "Springfield, Ohio, USA"; "Aachen, Germany" without a province.
    std::string Label() const;
    // "50°46'00"N 6°06'00"E"
    std::string PlaceText() const;
};

// The cities of a city database (an SQLite file with a table "city" of
// Name, Province, Country, Latitude, Longitude, TZ and TZRule) with the
// daylight rules that its TZRule codes name, in the order of their labels.
// Read whole into memory: the database is never opened in place, so a file
// of another kind (a pipe, a folder) or a damaged one is reported, never
// waited for, and nothing is written beside it.
class CityList {
public:
    static constexpr std::size_t MaxCities = 100000;
    static constexpr std::size_t MaxFileBytes = 64u << 20;

    // Reads both files. False when the database cannot be used; Problem()
    // then says why in a sentence. Missing rules only leave every city
    // without daylight time.
    bool Load(const std::string& databasePath, const std::string& rulesPath);

    bool Available() const { return !cities_.empty(); }
    const std::string& Problem() const { return problem_; }
    const std::vector<City>& Cities() const { return cities_; }
    std::size_t RuleCount() const { return rules_.size(); }

    // The cities whose label holds text, letters compared without case or
    // accents: those whose label starts with it first, then those where a
    // later word does, then any others; each group in label order. Empty
    // text gives every city.
    std::vector<std::size_t> Matching(std::string_view text) const;

    // The cities a name designates: the city's name alone, or followed by
    // its province and/or country after commas ("Springfield, Ohio",
    // "Sydney, Australia", "Aachen, Germany"), without case or accents.
    std::vector<std::size_t> Named(std::string_view name) const;

    // Whether the city's rule keeps daylight time at a moment of its
    // standard time; false for a city without a known rule.
    bool DaylightAt(const City& city, const DateTime& standardTime) const;
    // The city's daylight rule; null for a city without one.
    const DaylightRule* RuleOf(const City& city) const;

private:
    std::vector<City> cities_;
    std::vector<std::string> folded_;  // the labels, folded for matching
    std::map<std::string, DaylightRule> rules_;
    std::string problem_;
};

// Lower case without accents, for comparing names as people type them.
std::string FoldForMatching(std::string_view text);

// Where the city database of the kstars-data package lies: the first
// "kstars/citydb.sqlite" under the folders of $XDG_DATA_DIRS (by default
// /usr/local/share and /usr/share), or under the last of them when none
// holds it.
// The rules are "TZrules.dat" beside it.
std::string CityDatabasePath();
std::string CityRulesPath(const std::string& databasePath);
