#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "astro/Angles.h"
#include "astro/Observer.h"
#include "settings/DisplayOptions.h"
#include "settings/SettingsStore.h"

class CityList;
struct City;

// Everything the preferences dialog shows, as it shows it: the texts of its
// edit boxes, the ticks of its check boxes, the items chosen in its lists.
// The controller fills one from the running program, the dialog lets the user
// edit it, and taking it over reads the values back out of the texts, so the
// whole round trip runs and is tested without a window.
struct PreferencesForm {
    // "Time"
    bool useSystemTime = true;  // checkSystem
    std::string time;           // edTime: hhmmss, the separators not part of it
    std::string date;           // edDate: ddmmyyyy
    std::string timeZone;       // edTimeZone: hours east of Greenwich ("1", "5.5")
    bool dst = false;           // checkDST
    std::string realUpdate;     // edRealUpdate: ticks of 0.1 s with the system clock
    bool run = false;           // checkRun
    int stepType = 0;           // comboStepType: Second(s) ... Month(s)
    std::string stepSize;       // edStepSize
    std::string animUpdate;     // edAnimUpdate: ticks of 0.1 s in animation

    // "Location"
    std::string longitudeDegrees, longitudeMinutes, longitudeSeconds;
    bool west = false;
    std::string latitudeDegrees, latitudeMinutes, latitudeSeconds;
    bool south = false;
    // The labels of the last places chosen from the city list, the latest
    // first (at most RecentPlaceCount).
    std::vector<std::string> recentPlaces;

    // "View"
    int projection = 2;     // cbProjection's index, the projection's number
    std::string direction;  // degrees, 0 North, 90 East
    std::string elevation;  // degrees above the horizon

    // "Objects" and "Grids"; High Accuracy of "View" is options[26].
    std::string dsoLimit;
    std::string starLimit;
    std::string asteroidCount;
    DisplayOptions options;

    // "Catalogues": every star catalogue in the controller's order; load
    // tells which of the two lists it is in.
    struct Catalogue {
        std::size_t slot = 0;  // the controller's catalogue slot
        std::string name;
        std::string path;
        uint32_t stars = 0;
        bool load = false;
        bool operator==(const Catalogue&) const = default;
    };
    std::vector<Catalogue> catalogues;

    bool operator==(const PreferencesForm&) const = default;
};

// The units of comboStepType, in the order of the step types.
inline constexpr const char* StepTypeItems[] = {"Second(s)", "Minute(s)",       "Hour(s)",
                                                "Day(s)",    "Sidereal Day(s)", "Month(s)"};

// The messages of the dialog's own checks.
inline constexpr const char* TimeProblemMessage = "There is a problem with the time you entered.";
inline constexpr const char* DateProblemMessage = "There is a problem with the date you entered.";
inline constexpr const char* PlaceProblemMessage =
    "There is a problem with the place you entered. Longitude runs from 0 to 180 degrees East or West and "
    "latitude from 0 to 90 degrees North or South; minutes and seconds are below 60.";

// Numbers as the dialog reads its texts: the leading number after any blanks
// (a decimal comma counts as a point), 0 when there is none. Never depends on
// the user's locale.
int64_t LeadingInteger(std::string_view text);
double LeadingNumber(std::string_view text);
// printf's "%*.*f" without the locale's decimal comma.
std::string FixedText(double value, int width, int precision);

// The date and time of the "Time" page: hhmmss and ddmmyyyy as the masked
// boxes give them. On success the moment is stored in clock.
enum class ClockProblem { None, Time, Date };
ClockProblem CheckClockEntry(std::string_view time, std::string_view date, DateTime& clock);

// The message of the first reason why a form cannot be applied, or empty.
// The date and time only count when the clock is set by hand.
std::string PreferencesProblem(const PreferencesForm& form);

// The values a form stands for, each read from its text as the dialog reads
// it and kept within what the program can hold (a negative interval is 0, a
// step count beyond 16 bits the nearest it can hold).
struct PreferencesValues {
    Observer::Setup place;  // longitude, latitude and their flags
    IntervalSettings intervals;
    StepSettings step;
    int32_t asteroidCount = 0;
    int projection = 0;
    double direction = 0.0;  // degrees
    double elevation = 0.0;  // degrees
    LimitSettings limits;
    DisplayOptions options;
    bool useSystemTime = true;
    bool run = false;
    bool dst = false;
    int32_t zoneMinutes = 0;  // east of Greenwich
    DateTime clock;           // meaningful when the form passes PreferencesProblem
};
PreferencesValues ReadPreferencesForm(const PreferencesForm& form);

// A zone as the "Timezone" box shows it: hours east of Greenwich, with the
// fraction of a zone such as India's (+5:30 is "5.5", -3:30 "-3.5").
std::string ZoneText(int32_t minutesEast);

// Puts a place at the front of the recent places, once, keeping at most
// RecentPlaceCount.
void RememberPlace(std::vector<std::string>& recent, const std::string& label);

// What choosing a city of the list does to the form: its longitude and
// latitude, its zone, and whether its daylight rule is in effect at the
// form's moment: the date and time set by hand, or, while the clock follows
// the system (or the date typed is no date), the present moment utcNow
// (seconds since 1970) in the city's standard time. The city goes to the
// front of the recent places.
void ChooseCity(PreferencesForm& form, const CityList& cities, const City& city, int64_t utcNow);
