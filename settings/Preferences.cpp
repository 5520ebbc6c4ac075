#include "settings/Preferences.h"

#include <QDateTime>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "settings/CityList.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

template <class T>
T Clamped(int64_t value) {
    return static_cast<T>(std::clamp<int64_t>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

// The redraw cycle waits interval + 1 ticks; the largest integer would
// overflow there.
constexpr int64_t LargestInterval = std::numeric_limits<int32_t>::max() - 1;

}  // namespace

int64_t LeadingInteger(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Saturates instead of overflowing; every caller clamps to its own range.
    constexpr int64_t Largest = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (; !text.empty() && IsDigit(text.front()); text.remove_prefix(1)) {
        const int digit = text.front() - '0';
        value = value > (Largest - digit) / 10 ? Largest : value * 10 + digit;
    }
    return negative ? -value : value;
}

double LeadingNumber(std::string_view text) {
    text = SkipBlanks(text);
    std::string number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    const std::size_t digitsStart = number.size();
    while (i < text.size() && IsDigit(text[i])) number += text[i++];
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        number += '.';
        ++i;
        while (i < text.size() && IsDigit(text[i])) number += text[i++];
    }
    if (number.size() == digitsStart || number.substr(digitsStart) == ".") return 0.0;
    // An exponent only counts when digits follow it.
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (text[j] == '+' || text[j] == '-') exponent += text[j++];
        const std::size_t before = exponent.size();
        while (j < text.size() && IsDigit(text[j])) exponent += text[j++];
        if (exponent.size() > before) number += exponent;
    }
    const char* first = number.data() + (number.front() == '+' ? 1 : 0);
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

std::string FixedText(double value, int width, int precision) {
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0");
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

ClockProblem CheckClockEntry(std::string_view time, std::string_view date, DateTime& clock) {
    const int64_t t = LeadingInteger(time);
    const int64_t d = LeadingInteger(date);
    if (t < 0 || t % 100 > 59 || t / 100 % 100 > 59 || t / 10000 > 23) return ClockProblem::Time;
    // A day that the month does not have (0, 31 April, 29 February 2001)
    // and month 0 are no dates either: the clock would run from nowhere.
    if (d < 0 || d > 99999999) return ClockProblem::Date;
    const int day = static_cast<int>(d / 1000000 % 100);
    const int month = static_cast<int>(d / 10000 % 100);
    const int year = static_cast<int>(d % 10000);
    if (month < 1 || month > 12 || day < 1 || day > Observer::daysInMonth(month, year)) return ClockProblem::Date;
    clock.hour = static_cast<int16_t>(t / 10000);
    clock.minute = static_cast<int16_t>(t / 100 % 100);
    clock.second = static_cast<int16_t>(t % 100);
    clock.day = static_cast<int16_t>(day);
    clock.month = static_cast<int16_t>(month);
    clock.year = static_cast<int16_t>(year);
    return ClockProblem::None;
}

std::string PreferencesProblem(const PreferencesForm& form) {
    if (!form.useSystemTime) {
        DateTime clock;
        switch (CheckClockEntry(form.time, form.date, clock)) {
            case ClockProblem::Time: return TimeProblemMessage;
            case ClockProblem::Date: return DateProblemMessage;
            case ClockProblem::None: break;
        }
    }
    auto inRange = [](const std::string& d, const std::string& m, const std::string& s, double max) {
        return PlaceInRange(static_cast<double>(LeadingInteger(d)), static_cast<double>(LeadingInteger(m)),
                            LeadingNumber(s), max);
    };
    if (!inRange(form.longitudeDegrees, form.longitudeMinutes, form.longitudeSeconds, 180.0) ||
        !inRange(form.latitudeDegrees, form.latitudeMinutes, form.latitudeSeconds, 90.0))
        return PlaceProblemMessage;
    return {};
}

PreferencesValues ReadPreferencesForm(const PreferencesForm& form) {
    PreferencesValues v;
    v.place.isWest = form.west;
    v.place.isSouth = form.south;
    v.place.longitude.SetSexagesimal(Clamped<uint16_t>(LeadingInteger(form.longitudeDegrees)),
                                     Clamped<uint16_t>(LeadingInteger(form.longitudeMinutes)),
                                     static_cast<float>(LeadingNumber(form.longitudeSeconds)), form.west);
    v.place.latitude.SetSexagesimal(Clamped<uint16_t>(LeadingInteger(form.latitudeDegrees)),
                                    Clamped<uint16_t>(LeadingInteger(form.latitudeMinutes)),
                                    static_cast<float>(LeadingNumber(form.latitudeSeconds)), form.south);
    v.intervals.real = static_cast<int32_t>(std::clamp<int64_t>(LeadingInteger(form.realUpdate), 0, LargestInterval));
    v.intervals.anim = static_cast<int32_t>(std::clamp<int64_t>(LeadingInteger(form.animUpdate), 0, LargestInterval));
    v.step.type = Clamped<int16_t>(form.stepType);
    v.step.size = Clamped<int16_t>(LeadingInteger(form.stepSize));
    v.asteroidCount = static_cast<int32_t>(
        std::clamp<int64_t>(LeadingInteger(form.asteroidCount), 0, std::numeric_limits<int32_t>::max()));
    v.projection = form.projection;
    v.direction = LeadingNumber(form.direction);
    v.elevation = LeadingNumber(form.elevation);
    v.limits.stars = LeadingNumber(form.starLimit);
    v.limits.deepSky = LeadingNumber(form.dsoLimit);
    v.options = form.options;
    v.useSystemTime = form.useSystemTime;
    v.run = form.run;
    v.dst = form.dst;
    // Hours with a fraction (5.5 for India) keep their minutes; a day and
    // a half either way is more than any zone and more than the clock's
    // offsets can carry.
    v.zoneMinutes = static_cast<int32_t>(std::lround(std::clamp(LeadingNumber(form.timeZone), -36.0, 36.0) * 60.0));
    CheckClockEntry(form.time, form.date, v.clock);
    return v;
}

std::string ZoneText(int32_t minutesEast) {
    if (minutesEast % 60 == 0) return std::to_string(minutesEast / 60);
    std::string text = FixedText(minutesEast / 60.0, 0, 2);
    // 5.50 reads as 5.5; 5.75 stays.
    while (text.back() == '0') text.pop_back();
    return text;
}

void RememberPlace(std::vector<std::string>& recent, const std::string& label) {
    std::erase(recent, label);
    recent.insert(recent.begin(), label);
    if (recent.size() > static_cast<std::size_t>(RecentPlaceCount)) recent.resize(RecentPlaceCount);
}

void ChooseCity(PreferencesForm& form, const CityList& cities, const City& city, int64_t utcNow) {
    auto integer = [](unsigned value) { return std::to_string(value); };
    form.longitudeDegrees = integer(city.longitude.deg);
    form.longitudeMinutes = integer(city.longitude.arcmin);
    form.longitudeSeconds = FixedText(city.longitude.arcsec, 5, 2);
    form.west = city.longitude.negative;
    form.latitudeDegrees = integer(city.latitude.deg);
    form.latitudeMinutes = integer(city.latitude.arcmin);
    form.latitudeSeconds = FixedText(city.latitude.arcsec, 5, 2);
    form.south = city.latitude.negative;
    form.timeZone = ZoneText(city.zoneMinutes);

    DateTime moment;
    if (form.useSystemTime || CheckClockEntry(form.time, form.date, moment) != ClockProblem::None) {
        const QDateTime standard = QDateTime::fromSecsSinceEpoch(utcNow + city.zoneMinutes * 60LL, Qt::UTC);
        moment.year = static_cast<int16_t>(standard.date().year());
        moment.month = static_cast<int16_t>(standard.date().month());
        moment.day = static_cast<int16_t>(standard.date().day());
        moment.hour = static_cast<int16_t>(standard.time().hour());
        moment.minute = static_cast<int16_t>(standard.time().minute());
    }
    form.dst = cities.DaylightAt(city, moment);
    RememberPlace(form.recentPlaces, city.Label());
}
