#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "astro/Observer.h"
#include "settings/CityList.h"

// The moment and place options shared by the commands of velkaris-cli that
// need an observer (time, stars, render):
//   --at YYYY-MM-DDTHH:MM:SS   civil local time; without it, now
//   --zone ±H[:MM]             zone east of Greenwich
//   --dst 0|1                  daylight time in effect
//   --lon D:M:S{E|W}, --lat D:M:S{N|S}
//   --city NAME                a city of the city list: its place, and its
//                              zone and daylight time unless --zone/--dst
// Each may be written "--opt VALUE" or "--opt=VALUE".
struct TimePlaceOptions {
    struct Civil {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    };
    struct Sexagesimal {
        int degrees = 0, minutes = 0;
        double seconds = 0.0;
        bool negative = false;  // West or South
    };
    std::optional<Civil> at;
    std::optional<int> zoneMinutes;  // east of Greenwich
    std::optional<bool> dst;
    std::optional<Sexagesimal> longitude;
    std::optional<Sexagesimal> latitude;
    std::optional<City> city;
    std::optional<DaylightRule> cityRule;  // the city's, when it has one
};

// Takes the recognised options out of args (other arguments stay, in order)
// and fills options. On a malformed or missing value returns false with a
// one-line message naming the option in error; args are then unspecified.
bool ConsumeTimePlaceOptions(std::vector<std::string>& args, TimePlaceOptions& options, std::string& error);

// Each value parser on its own, for callers and tests; nullopt when malformed.
std::optional<TimePlaceOptions::Civil> ParseCivilMoment(const std::string& text);
std::optional<int> ParseZoneMinutes(const std::string& text);
std::optional<TimePlaceOptions::Sexagesimal> ParsePlaceAngle(const std::string& text, bool latitude);
// The one city of the list a name designates ("Aachen", "Springfield,
// Ohio"); on failure a message that says why (no such city, several,
// no city list) and nullopt.
std::optional<City> FindCity(const CityList& cities, const std::string& name, std::string& error);

// The place and step an observer starts from: the options' place where
// given, the user's stored place otherwise.
Observer::Setup ObserverSetupFor(const TimePlaceOptions& options);

// Moves an existing observer to the options' place (where given) and moment,
// then updates it once; same rules as MakeObserver.
void ConfigureObserver(const TimePlaceOptions& options, Observer& observer);

// An observer at the options' place and moment, updated once. Without --at,
// --zone or --dst it follows the system clock; otherwise it is stopped at the
// civil time asked for (or at the present moment seen from the zone asked for).
std::unique_ptr<Observer> MakeObserver(const TimePlaceOptions& options);

// The options' lines for a command's --help text.
const char* TimePlaceUsage();
