#include "shell/cli/TimePlaceOptions.h"

#include <QDateTime>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "platform/LocalClock.h"
#include "settings/SettingsStore.h"
#include "shell/cli/CommandOptions.h"

namespace {

// Reads exactly `width` digits (or 1..`width` when width is negative) at pos.
bool Digits(const std::string& s, size_t& pos, int width, int& value) {
    const size_t most = static_cast<size_t>(std::abs(width));
    size_t n = 0;
    value = 0;
    while (pos + n < s.size() && n < most && std::isdigit(static_cast<unsigned char>(s[pos + n]))) {
        value = value * 10 + (s[pos + n] - '0');
        ++n;
    }
    if (n == 0 || (width > 0 && n != most)) return false;
    pos += n;
    return true;
}

bool Literal(const std::string& s, size_t& pos, char c) {
    if (pos >= s.size() || s[pos] != c) return false;
    ++pos;
    return true;
}

// Seconds of arc: digits with an optional decimal fraction.
bool DecimalSeconds(const std::string& s, size_t& pos, double& value) {
    const size_t start = pos;
    while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) ++pos;
    if (pos == start) return false;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        const size_t fraction = pos;
        while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) ++pos;
        if (pos == fraction) return false;
    }
    if (pos - start > 12) return false;
    value = std::strtod(s.substr(start, pos - start).c_str(), nullptr);
    return true;
}

struct OptionForm {
    const char* name;
    const char* expected;
};

constexpr OptionForm kAt{"--at", "YYYY-MM-DDTHH:MM:SS"};
constexpr OptionForm kZone{"--zone", "\302\261H[:MM], e.g. +1 or +5:30"};
constexpr OptionForm kDst{"--dst", "0 or 1"};
constexpr OptionForm kLon{"--lon", "D:M:S followed by E or W, e.g. 6:53:0E"};
constexpr OptionForm kLat{"--lat", "D:M:S followed by N or S, e.g. 52:21:0N"};
constexpr OptionForm kCity{"--city", "a city of the city list, e.g. Aachen or 'Springfield, Ohio'"};

std::string Malformed(const OptionForm& form, const std::string& value) {
    return std::string("malformed ") + form.name + " value '" + value + "' (expected " + form.expected + ")";
}

}  // namespace

std::optional<TimePlaceOptions::Civil> ParseCivilMoment(const std::string& text) {
    TimePlaceOptions::Civil c;
    size_t pos = 0;
    if (!Digits(text, pos, 4, c.year) || !Literal(text, pos, '-') || !Digits(text, pos, 2, c.month) ||
        !Literal(text, pos, '-') || !Digits(text, pos, 2, c.day) || !Literal(text, pos, 'T') ||
        !Digits(text, pos, 2, c.hour) || !Literal(text, pos, ':') || !Digits(text, pos, 2, c.minute) ||
        !Literal(text, pos, ':') || !Digits(text, pos, 2, c.second) || pos != text.size())
        return std::nullopt;
    if (c.year < 1 || c.month < 1 || c.month > 12 || c.day < 1 || c.day > Observer::daysInMonth(c.month, c.year) ||
        c.hour > 23 || c.minute > 59 || c.second > 59)
        return std::nullopt;
    return c;
}

std::optional<int> ParseZoneMinutes(const std::string& text) {
    size_t pos = 0;
    int sign = 1;
    if (Literal(text, pos, '-'))
        sign = -1;
    else
        Literal(text, pos, '+');
    int hours = 0, minutes = 0;
    if (!Digits(text, pos, -2, hours)) return std::nullopt;
    if (Literal(text, pos, ':') && !Digits(text, pos, 2, minutes)) return std::nullopt;
    if (pos != text.size() || minutes > 59) return std::nullopt;
    const int total = hours * 60 + minutes;
    // Real zones run from -12:00 to +14:00.
    if ((sign > 0 && total > 14 * 60) || (sign < 0 && total > 12 * 60)) return std::nullopt;
    return sign * total;
}

std::optional<TimePlaceOptions::Sexagesimal> ParsePlaceAngle(const std::string& text, bool latitude) {
    TimePlaceOptions::Sexagesimal a;
    size_t pos = 0;
    if (!Digits(text, pos, -3, a.degrees) || !Literal(text, pos, ':') || !Digits(text, pos, -2, a.minutes) ||
        !Literal(text, pos, ':') || !DecimalSeconds(text, pos, a.seconds) || pos + 1 != text.size())
        return std::nullopt;
    const char hemisphere = static_cast<char>(std::toupper(static_cast<unsigned char>(text[pos])));
    if (latitude ? (hemisphere != 'N' && hemisphere != 'S') : (hemisphere != 'E' && hemisphere != 'W'))
        return std::nullopt;
    a.negative = hemisphere == 'W' || hemisphere == 'S';
    const double limit = latitude ? 90.0 : 180.0;
    if (a.minutes > 59 || a.seconds >= 60.0 || a.degrees + a.minutes / 60.0 + a.seconds / 3600.0 > limit)
        return std::nullopt;
    return a;
}

bool ConsumeTimePlaceOptions(std::vector<std::string>& args, TimePlaceOptions& options, std::string& error) {
    std::vector<std::string> rest;
    std::unique_ptr<CityList> cities;
    CommandOptions reader("");
    // Each option's value, checked as it comes.
    auto value = [&reader](const OptionForm& form, std::function<bool(const std::string&)> take) {
        reader.Value(
            form.name, [&form, take](const std::string& v) { return take(v) ? std::string() : Malformed(form, v); },
            std::string("a value (") + form.expected + ")");
    };
    value(kAt, [&](const std::string& v) { return (options.at = ParseCivilMoment(v)).has_value(); });
    value(kZone, [&](const std::string& v) { return (options.zoneMinutes = ParseZoneMinutes(v)).has_value(); });
    value(kDst, [&](const std::string& v) {
        if (v != "0" && v != "1") return false;
        options.dst = v == "1";
        return true;
    });
    value(kLon, [&](const std::string& v) { return (options.longitude = ParsePlaceAngle(v, false)).has_value(); });
    value(kLat, [&](const std::string& v) { return (options.latitude = ParsePlaceAngle(v, true)).has_value(); });
    reader.Value(
        kCity.name,
        [&](const std::string& v) -> std::string {
            if (!cities) {
                cities = std::make_unique<CityList>();
                const std::string path = CityDatabasePath();
                cities->Load(path, CityRulesPath(path));
            }
            std::string problem;
            options.city = FindCity(*cities, v, problem);
            if (options.city) {
                const DaylightRule* rule = cities->RuleOf(*options.city);
                options.cityRule = rule ? std::optional<DaylightRule>(*rule) : std::nullopt;
            }
            return problem;
        },
        std::string("a value (") + kCity.expected + ")");
    reader.Others([&](const std::string& argument) { rest.push_back(argument); });
    if (!reader.Parse(args, error)) return false;
    if (options.city && (options.longitude || options.latitude)) {
        error = "--city gives the place: it cannot be combined with --lon or --lat";
        return false;
    }
    args = std::move(rest);
    return true;
}

std::optional<City> FindCity(const CityList& cities, const std::string& name, std::string& error) {
    if (!cities.Available()) {
        error = "--city needs the city list, which is missing: " + cities.Problem() +
                " It comes with the Debian package kstars-data.";
        return std::nullopt;
    }
    const std::vector<std::size_t> found = cities.Named(name);
    auto describe = [&](const std::vector<std::size_t>& which, bool withPlace) {
        std::string text;
        for (std::size_t k = 0; k < which.size() && k < 8; ++k) {
            const City& c = cities.Cities()[which[k]];
            text += (k ? "; " : "") + c.Label() + (withPlace ? " " + c.PlaceText() : "");
        }
        if (which.size() > 8) text += "; ...";
        return text;
    };
    if (found.empty()) {
        const std::vector<std::size_t> like = cities.Matching(name);
        error = "no city '" + name + "' in the city list";
        if (!like.empty()) error += " (cities whose names hold it: " + describe(like, false) + ")";
        return std::nullopt;
    }
    const City& first = cities.Cities()[found.front()];
    for (std::size_t i : found) {
        const City& c = cities.Cities()[i];
        if (c.Label() != first.Label() || c.PlaceText() != first.PlaceText()) {
            error = "'" + name + "' names " + std::to_string(found.size()) + " places: " + describe(found, true) +
                    " (name the province or country after a comma, or give --lon and --lat)";
            return std::nullopt;
        }
    }
    return first;
}

Observer::Setup ObserverSetupFor(const TimePlaceOptions& options) {
    Observer::Setup setup;
    {
        SettingsStore store;
        setup = store.ReadObserverSetup();
    }
    if (options.longitude) {
        const auto& a = *options.longitude;
        setup.longitude.SetSexagesimal(static_cast<uint16_t>(a.degrees), static_cast<uint16_t>(a.minutes),
                                       static_cast<float>(a.seconds), a.negative);
        setup.isWest = a.negative;
    }
    if (options.latitude) {
        const auto& a = *options.latitude;
        setup.latitude.SetSexagesimal(static_cast<uint16_t>(a.degrees), static_cast<uint16_t>(a.minutes),
                                      static_cast<float>(a.seconds), a.negative);
        setup.isSouth = a.negative;
    }
    if (options.city) {
        setup.longitude = options.city->longitude;
        setup.latitude = options.city->latitude;
        setup.isWest = options.city->longitude.negative;
        setup.isSouth = options.city->latitude.negative;
    }
    return setup;
}

std::unique_ptr<Observer> MakeObserver(const TimePlaceOptions& options) {
    auto observer = std::make_unique<Observer>(ObserverSetupFor(options));
    ConfigureObserver(options, *observer);
    return observer;
}

void ConfigureObserver(const TimePlaceOptions& given, Observer& observer) {
    // A city brings its zone, and its rule's daylight time at the moment
    // asked for (now, without --at), where they are not given.
    TimePlaceOptions options = given;
    if (options.city) {
        const int zone = options.zoneMinutes.value_or(options.city->zoneMinutes);
        if (!options.dst) {
            TimePlaceOptions::Civil t;
            if (options.at) {
                t = *options.at;
            } else {
                const QDateTime standard = QDateTime::currentDateTimeUtc().addSecs(60LL * zone);
                t = {standard.date().year(), standard.date().month(),  standard.date().day(),
                     standard.time().hour(), standard.time().minute(), 0};
            }
            options.dst = options.cityRule && options.cityRule->InEffect(t.year, t.month, t.day, t.hour, t.minute);
        }
        options.zoneMinutes = zone;
    }
    if (options.longitude || options.latitude || options.city) {
        const Observer::Setup place = ObserverSetupFor(options);
        observer.setPlace(place.longitude, place.latitude, place.isWest, place.isSouth);
    }
    if (!options.at && !options.zoneMinutes && !options.dst) {
        observer.setUseSystemClock(true);
        observer.update();
        return;
    }

    // Without a zone the system's zone counts, as it stands at the moment
    // asked for; without --dst too, its offset in effect is kept exactly.
    std::optional<LocalClockReading> system;
    TimePlaceOptions::Civil civil;
    if (options.at) {
        civil = *options.at;
        if (!options.zoneMinutes)
            system = ReadLocalZoneAt(civil.year, civil.month, civil.day, civil.hour, civil.minute, civil.second);
    } else {
        // The present moment as a clock in the zone asked for shows it.
        const LocalClockReading now = ReadLocalClock();
        if (!options.zoneMinutes) system = now;
        const int offset = system && !options.dst ? now.utcOffsetMinutes.value_or(now.standardOffsetMinutes)
                                                  : options.zoneMinutes.value_or(now.standardOffsetMinutes) +
                                                        (options.dst.value_or(false) ? 60 : 0);
        const QDateTime local = QDateTime::currentDateTimeUtc().addSecs(60LL * offset);
        civil = {local.date().year(), local.date().month(),  local.date().day(),
                 local.time().hour(), local.time().minute(), local.time().second()};
    }

    observer.setUseSystemClock(false);
    observer.stop();
    if (system && !options.dst) {
        observer.followSystemZone(*system);
    } else {
        // A zone given by hand has no daylight time unless asked for.
        observer.setDst(options.dst.value_or(false));
        observer.setZoneMinutes(options.zoneMinutes.value_or(system ? system->standardOffsetMinutes : 0));
    }
    observer.setCivil(static_cast<int16_t>(civil.hour), static_cast<int16_t>(civil.minute),
                      static_cast<int16_t>(civil.second), static_cast<int16_t>(civil.day),
                      static_cast<int16_t>(civil.month), static_cast<int16_t>(civil.year));
    observer.update();
}

const char* TimePlaceUsage() {
    return "Moment and place:\n"
           "  --at YYYY-MM-DDTHH:MM:SS  civil (local) date and time; the clock is stopped there.\n"
           "                            Without it: the present moment.\n"
           "  --zone \302\261H[:MM]             time zone east of Greenwich, standard time, e.g. +1,\n"
           "                            +5:30, -3:30. Without it: the system's zone at that moment.\n"
           "  --dst 0|1                 daylight time in effect (one hour ahead of the zone).\n"
           "                            Without it: the system's state when the zone is the\n"
           "                            system's, otherwise 0.\n"
           "  --lon D:M:S{E|W}          longitude, e.g. 6:53:0E (seconds may have decimals).\n"
           "  --lat D:M:S{N|S}          latitude, e.g. 52:21:0N.\n"
           "                            Without them: the place in the preferences.\n"
           "  --city NAME               a city of the city list (Debian package kstars-data),\n"
           "                            e.g. Aachen, 'Springfield, Ohio': its place, and its zone\n"
           "                            and daylight time at that moment unless --zone or --dst\n"
           "                            are given. Not with --lon or --lat.\n"
           "  Each option may also be written --option=VALUE.\n";
}
