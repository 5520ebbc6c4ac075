#include "astro/Observer.h"

#include <algorithm>
#include <cmath>

#include "astro/Constants.h"

Observer* TheObserver = nullptr;

namespace {

// A fixed difference between dynamical and universal time of 65 seconds, in days.
constexpr double kDeltaTDays = 0.0007523148148148148;
constexpr double kJ2000 = 2451545.0;
constexpr double k2000Jan0 = 2451543.5;
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;
constexpr double kMillenniaPerDay = 2.737850787132101e-06;
// Ratio of a solar to a sidereal day.
constexpr double kSiderealRate = 1.00273790935;
// One turn of the sky, in seconds of solar time: 86400 / kSiderealRate.
constexpr double kSiderealDaySeconds = 86164.0905;

double DegreesToRadians(double d) { return static_cast<double>(Pi * d / 180.0L); }

// Integer division truncating toward zero with the remainder taken into
// [0, base): the carry rule of every clock field.
void Carry(int& value, int& carry, int base) {
    carry += value / base;
    value %= base;
    if (value < 0) {
        value += base;
        carry -= 1;
    }
}

int PreviousMonth(int month) { return month == 1 ? 12 : month - 1; }
int NextMonth(int month) { return month == 12 ? 1 : month + 1; }

}  // namespace

Observer::Observer(const Setup& setup, ClockSource clock) : clock_(std::move(clock)) {
    dst_ = true;
    zone_ = 1;
    zoneExtraMinutes_ = 0;
    useSystemClock_ = true;
    running_ = true;
    setCivil(10, 0, 0, 11, 8, 1999);
    setStep(setup.stepType, setup.stepSize);
    setPlace(setup.longitude, setup.latitude, setup.isWest, setup.isSouth);
    epoch2000Jan0 = julianDayOf(2000, 1, 0, 0, 0, 0);
    epochJ2000 = julianDayOf(2000, 1, 1, 12, 0, 0);
}

void Observer::setUseSystemClock(bool use) {
    useSystemClock_ = use;
    if (use) running_ = true;
}

void Observer::setZone(int32_t hours) {
    zone_ = hours;
    zoneExtraMinutes_ = 0;
    daylightMinutes_ = 60;
    recomputeOffsets();
}

void Observer::setZoneMinutes(int32_t minutesEast) {
    // Whole hours toward zero, the rest (with the same sign) kept apart:
    // +330 is +5 h and +30 min, -210 is -3 h and -30 min.
    zone_ = minutesEast / 60;
    zoneExtraMinutes_ = minutesEast % 60;
    daylightMinutes_ = 60;
    recomputeOffsets();
}

void Observer::followSystemZone(const LocalClockReading& r) {
    using Daylight = LocalClockReading::Daylight;
    // A source that cannot tell standard from daylight time leaves dst as it was.
    const bool daylight = r.daylight == Daylight::Daylight || (r.daylight == Daylight::Unknown && dst_);
    const int32_t standard = r.standardOffsetMinutes;
    const int32_t inEffect = r.utcOffsetMinutes.value_or(standard + (daylight ? 60 : 0));
    dst_ = daylight && inEffect > standard;
    const int32_t zoneMinutes = dst_ ? standard : inEffect;
    zone_ = zoneMinutes / 60;
    zoneExtraMinutes_ = zoneMinutes % 60;
    daylightMinutes_ = dst_ ? inEffect - standard : 60;
    recomputeOffsets();
}

void Observer::setCivil(int16_t hour, int16_t minute, int16_t second, int16_t day, int16_t month, int16_t year) {
    civil_.hour = hour;
    civil_.minute = minute;
    civil_.second = second;
    civil_.day = day;
    civil_.month = month;
    civil_.year = year;
    civilFraction_ = 0.0;
    stepDay_ = 0;
    dateChanged = true;
}

void Observer::setStep(int16_t type, int16_t size) {
    stepType_ = type;
    stepSize_ = size;
    step_ = DateTime{};
    stepFraction_ = 0.0;
    stepDay_ = 0;
    switch (type) {
        case 0: step_.second = size; break;
        case 1: step_.minute = size; break;
        case 2: step_.hour = size; break;
        case 3: step_.day = size; break;
        case 4: {
            // Whole seconds go into the clock's fields; the fraction is carried
            // apart, or a year of steps would leave the stars 9 minutes of time
            // (over 2 degrees) from where they stood.
            const double x = size * kSiderealDaySeconds;
            const double days = std::trunc(x / 86400.0);
            double rest = x - days * 86400.0;
            const double hours = std::trunc(rest / 3600.0);
            rest -= hours * 3600.0;
            const double minutes = std::trunc(rest / 60.0);
            rest -= minutes * 60.0;
            const double seconds = std::trunc(rest);
            step_.day = static_cast<int16_t>(days);
            step_.hour = static_cast<int16_t>(hours);
            step_.minute = static_cast<int16_t>(minutes);
            step_.second = static_cast<int16_t>(seconds);
            stepFraction_ = rest - seconds;
            break;
        }
        case 5: step_.month = size; break;
        default: break;
    }
}

void Observer::setPlace(const Angle& lon, const Angle& lat, bool isWest, bool isSouth) {
    // The flags are the sign: the angles arrive as entered, magnitudes only.
    longitude = lon;
    latitude = lat;
    longitude.negative = isWest;
    latitude.negative = isSouth;
    longitudeIsWest_ = isWest;
    latitudeIsSouth_ = isSouth;
    longitude.ApplySexagesimal();
    latitude.ApplySexagesimal();
    recomputeOffsets();
}

void Observer::recomputeOffsets() {
    utcOffsetMinutes_ = zone_ * 60 + zoneExtraMinutes_ + (dst_ ? daylightMinutes_ : 0);
    // Local mean time differs from civil time by the longitude's distance
    // from the meridian the civil clock keeps (the zone's, moved by daylight
    // time), four minutes of time per degree.
    const float x = static_cast<float>(longitude.degrees * 240.0 - utcOffsetMinutes_ * 60.0);
    meanTimeOffset_ = DateTime{};
    meanTimeOffset_.second = static_cast<int16_t>(std::trunc(std::fmod(x, 60.0f)));
    meanTimeOffset_.minute = static_cast<int16_t>(std::trunc(std::fmod(x / 60.0f, 60.0f)));
    meanTimeOffset_.hour = static_cast<int16_t>(std::trunc(std::fmod(x / 3600.0f, 24.0f)));
    meanTimeOffset_.day = static_cast<int16_t>(std::trunc(x / 86400.0f));

    universalOffset_ = DateTime{};
    universalOffset_.hour = static_cast<int16_t>(-(utcOffsetMinutes_ / 60));
    universalOffset_.minute = static_cast<int16_t>(-(utcOffsetMinutes_ % 60));
}

int16_t Observer::daysInMonth(int month, int year) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12: return 31;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        case 2: return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
        default: return 0;
    }
}

DateTime Observer::addOffset(const DateTime& t, const DateTime& offset) {
    int dMinute = offset.minute, dHour = offset.hour, dDay = offset.day;
    int dMonth = offset.month, dYear = offset.year;

    int second = t.second + offset.second;
    Carry(second, dMinute, 60);
    int minute = t.minute + dMinute;
    Carry(minute, dHour, 60);
    int hour = t.hour + dHour;
    Carry(hour, dDay, 24);

    // The day is carried month by month, starting from the month of t, until
    // it lies in its month: a step of many days (or many hours) must not leave
    // a date such as the 84th of February behind. An offset of less than a
    // month carries exactly once.
    int day = t.day + dDay;
    if (daysInMonth(t.month, t.year) > 0) {
        int month = t.month, year = t.year;
        while (day > daysInMonth(month, year)) {
            day -= daysInMonth(month, year);
            dMonth += 1;
            month = NextMonth(month);
            if (month == 1) ++year;
        }
        while (day < 1) {
            month = PreviousMonth(month);
            if (month == 12) --year;
            day += daysInMonth(month, year);
            dMonth -= 1;
        }
    } else if (day > 0) {
        // A month number that names no month has no days: one carry, as for
        // a month of zero days; such a date was never valid to begin with.
        dMonth += 1;
    } else {
        day += daysInMonth(t.month - 1, t.year);
        dMonth -= 1;
    }

    int month = t.month + dMonth;
    dYear += month / 12;
    month %= 12;
    if (month < 1) {
        month += 12;
        dYear -= 1;
    }

    // Whole months move the date to the same day of another month; where that
    // month is shorter, to its last day (31 January + 1 month = 28 or 29
    // February), rather than to a date that does not exist.
    const int year = t.year + dYear;
    const int lastDay = daysInMonth(month, year);
    if ((offset.month != 0 || offset.year != 0) && day > lastDay && lastDay > 0) day = lastDay;

    DateTime r;
    r.second = static_cast<int16_t>(second);
    r.minute = static_cast<int16_t>(minute);
    r.hour = static_cast<int16_t>(hour);
    r.day = static_cast<int16_t>(day);
    r.month = static_cast<int16_t>(month);
    r.year = static_cast<int16_t>(year);
    return r;
}

double Observer::julianDayOf(int year, int month, int day, int hour, int minute, int second) {
    // Gregorian calendar throughout; January and February count as months
    // 13 and 14 of the year before.
    int y = year, n = month;
    if (month < 3) {
        y = year - 1;
        n = month + 12;
    }
    const int b = 2 - y / 100 + y / 400;
    const double k = std::trunc(y * 365.25);
    const double e = std::trunc((n + 1) * 30.6001);
    return b + k + e + day + 1720994.5 + hour / 24.0 + minute / 1440.0 + second / 86400.0;
}

double Observer::centuriesSinceJ2000(double jd) { return (jd - kJ2000) * kCenturiesPerDay; }

double Observer::millenniaSinceJ2000(double jd) { return (jd - kJ2000) * kMillenniaPerDay; }

void Observer::computeNutation(double jde) {
    double t = T, t2 = T2, t3 = T3;
    if (jde != 0.0) {
        t = centuriesSinceJ2000(jde);
        t2 = t * t;
        t3 = t2 * t;
    }
    // Mean obliquity in degrees, and the four largest terms of the nutation
    // (good to about half an arcsecond in longitude, a tenth in obliquity).
    const double eps0 = (84381.448 - 46.815 * t - 0.00059 * t2 + 0.001813 * t3) / 3600.0;
    RadianAngle omega, sun, moon;
    omega.SetDegrees(125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000.0);
    sun.SetDegrees(280.4665 + 36000.7698 * t);
    moon.SetDegrees(218.3165 + 481267.8813 * t);
    const long double o = omega.Radians(), l = sun.Radians(), lp = moon.Radians();
    nutationInLongitude =
        (-17.2L * sinl(o) - 1.32L * sinl(2 * l) - 0.23L * sinl(2 * lp) + 0.21L * sinl(2 * o)) / 3600.0L;
    nutationInObliquity = (9.2L * cosl(o) + 0.57L * cosl(2 * l) + 0.1L * cosl(2 * lp) - 0.09L * cosl(2 * o)) / 3600.0L;
    meanObliquity = DegreesToRadians(eps0);
    trueObliquity = static_cast<double>(fmodl(Pi * (eps0 + nutationInObliquity) / 180.0L, 2.0L * Pi));
}

void Observer::update() {
    const DateTime before = civil_;

    if (useSystemClock_) {
        const LocalClockReading r = clock_();
        followSystemZone(r);
        civil_.year = static_cast<int16_t>(r.year);
        civil_.month = static_cast<int16_t>(r.month);
        civil_.day = static_cast<int16_t>(r.day);
        civil_.hour = static_cast<int16_t>(r.hour);
        civil_.minute = static_cast<int16_t>(r.minute);
        civil_.second = static_cast<int16_t>(r.second);
        civilFraction_ = 0.0;
        stepDay_ = 0;
    } else if (running_) {
        // Month steps remember the day they started from: 31 January goes to
        // 28 February and then to 31 March, not on along the 28th.
        if (step_.month != 0 && stepDay_ == 0) stepDay_ = civil_.day;
        civil_ = addOffset(civil_, step_);
        if (stepDay_ != 0) civil_.day = std::min<int16_t>(stepDay_, daysInMonth(civil_.month, civil_.year));
        civilFraction_ += stepFraction_;
        const double carry = std::floor(civilFraction_);
        if (carry != 0.0) {
            civilFraction_ -= carry;
            DateTime second;
            second.second = static_cast<int16_t>(carry);
            civil_ = addOffset(civil_, second);
        }
    }

    universal_ = addOffset(civil_, universalOffset_);
    localMeanTime_ = addOffset(civil_, meanTimeOffset_);

    // The whole date, not the day number alone: a step of whole months keeps
    // the day number but is a new date for rise and set times all the same.
    if (civil_.day != before.day || civil_.month != before.month || civil_.year != before.year) dateChanged = true;

    julianDate = julianDayOf(universal_.year, universal_.month, universal_.day, universal_.hour, universal_.minute,
                             universal_.second) +
                 civilFraction_ / 86400.0;
    dynamicalJulianDate = julianDate + kDeltaTDays;
    daysSinceJ2000 = julianDate - kJ2000;
    daysSince2000Jan0 = julianDate - k2000Jan0;
    T = centuriesSinceJ2000(dynamicalJulianDate);
    T2 = T * T;
    T3 = T2 * T;
    T4 = T3 * T;
    tau = millenniaSinceJ2000(dynamicalJulianDate);
    tau2 = tau * tau;
    tau3 = tau2 * tau;
    tau4 = tau3 * tau;
    tau5 = tau4 * tau;

    computeNutation(0.0);

    // Sidereal times: Greenwich at 0h UT of the universal date, advanced at the
    // sidereal rate through the universal clock time, then corrected by the
    // equation of the equinoxes and moved to the observer's meridian.
    const double t = centuriesSinceJ2000(julianDayOf(universal_.year, universal_.month, universal_.day, 0, 0, 0));
    const double theta0 = 100.46061837 + 36000.770053608 * t + 0.000387933 * t * t - t * t * t / 38710000.0;
    greenwichSiderealAtZeroUT.SetDegrees(theta0);
    const double theta0Radians = greenwichSiderealAtZeroUT.radians;
    HmsAngle u;
    u.SetHms(static_cast<uint16_t>(universal_.hour), static_cast<uint16_t>(universal_.minute),
             universal_.second + civilFraction_);
    greenwichMeanSidereal.SetRadians(u.radians * kSiderealRate + theta0Radians);
    const double equationOfEquinoxes = static_cast<double>(cosl(trueObliquity) * nutationInLongitude * Pi / 180.0L);
    greenwichApparentSidereal.SetRadians(greenwichMeanSidereal.radians + equationOfEquinoxes);
    greenwichSiderealAtZeroUT.SetRadians(theta0Radians + equationOfEquinoxes);
    localApparentSidereal.SetRadians(greenwichApparentSidereal.radians + longitude.radians);
    greenwichMeanSidereal.DegreesToHours();
    greenwichApparentSidereal.DegreesToHours();
    localApparentSidereal.DegreesToHours();
}
