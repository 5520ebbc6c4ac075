#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "astro/Observer.h"

namespace {

DateTime Make(int day, int month, int year, int hour = 0, int minute = 0, int second = 0) {
    DateTime t;
    t.day = static_cast<int16_t>(day);
    t.month = static_cast<int16_t>(month);
    t.year = static_cast<int16_t>(year);
    t.hour = static_cast<int16_t>(hour);
    t.minute = static_cast<int16_t>(minute);
    t.second = static_cast<int16_t>(second);
    return t;
}

DateTime Offset(int days, int hours, int minutes, int seconds, int months = 0, int years = 0) {
    return Make(days, months, years, hours, minutes, seconds);
}

std::string Text(const DateTime& t) { return t.DateText() + " " + t.TimeText(); }

Observer::Setup PlaceSetup(int lonD, int lonM, bool west, int latD, int latM, bool south) {
    Observer::Setup s;
    s.longitude.SetSexagesimal(static_cast<uint16_t>(lonD), static_cast<uint16_t>(lonM), 0.0f, west);
    s.latitude.SetSexagesimal(static_cast<uint16_t>(latD), static_cast<uint16_t>(latM), 0.0f, south);
    s.isWest = west;
    s.isSouth = south;
    return s;
}

Observer::Setup HomeSetup() { return PlaceSetup(6, 53, false, 52, 21, false); }

// A system clock that reads whatever the test puts in it.
struct FakeClock {
    LocalClockReading reading;
    Observer::ClockSource source() {
        return [this] { return reading; };
    }
};

// An observer stopped at a civil time in a whole-hour zone.
Observer Stopped(const Observer::Setup& setup, int zone, bool dst, const DateTime& civil) {
    Observer o(setup, [] { return LocalClockReading{}; });
    o.setUseSystemClock(false);
    o.stop();
    o.setDst(dst);
    o.setZone(zone);
    o.setCivil(civil.hour, civil.minute, civil.second, civil.day, civil.month, civil.year);
    o.update();
    return o;
}

TEST(JulianDate, KnownDates) {
    EXPECT_DOUBLE_EQ(Observer::julianDayOf(2000, 1, 1, 12, 0, 0), 2451545.0);
    EXPECT_NEAR(Observer::julianDayOf(1999, 8, 11, 10, 0, 0), 2451401.9166666665, 1e-9);
    EXPECT_DOUBLE_EQ(Observer::julianDayOf(2000, 1, 0, 0, 0, 0), 2451543.5);
    EXPECT_NEAR(Observer::julianDayOf(1957, 10, 4, 19, 26, 24), 2436116.31, 1e-8);
    EXPECT_DOUBLE_EQ(Observer::julianDayOf(1900, 1, 1, 0, 0, 0), 2415020.5);
    EXPECT_DOUBLE_EQ(Observer::julianDayOf(2000, 3, 1, 0, 0, 0) - Observer::julianDayOf(2000, 2, 28, 0, 0, 0), 2.0);
    EXPECT_DOUBLE_EQ(Observer::julianDayOf(2100, 3, 1, 0, 0, 0) - Observer::julianDayOf(2100, 2, 28, 0, 0, 0), 1.0);
}

TEST(Calendar, DaysInMonth) {
    const int expected[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(Observer::daysInMonth(m, 2001), expected[m - 1]) << m;
    EXPECT_EQ(Observer::daysInMonth(2, 2000) + Observer::daysInMonth(2, 2004), 58);
    EXPECT_EQ(Observer::daysInMonth(2, 1900) + Observer::daysInMonth(2, 2100), 56);
    EXPECT_EQ(Observer::daysInMonth(0, 2000) + Observer::daysInMonth(13, 2000), 0);
}

// Worked by hand, one row per carry rule.
TEST(Calendar, AddOffsetTable) {
    struct Row {
        DateTime from, offset;
        const char* expected;
    } rows[] = {
        {Make(1, 3, 2000, 0, 30, 0), Offset(0, -1, 0, 0), "29-02-2000 23:30:00"},
        {Make(1, 3, 2001, 0, 30, 0), Offset(0, -1, 0, 0), "28-02-2001 23:30:00"},
        {Make(1, 3, 1900, 0, 30, 0), Offset(0, -1, 0, 0), "28-02-1900 23:30:00"},
        {Make(31, 12, 1999), Offset(1, 0, 0, 0), "01-01-2000 00:00:00"},
        {Make(31, 12, 1999, 23, 59, 59), Offset(0, 0, 0, 1), "01-01-2000 00:00:00"},
        {Make(1, 1, 2000, 0, 0, 0), Offset(0, 0, 0, -1), "31-12-1999 23:59:59"},
        {Make(28, 2, 2000, 23, 0, 0), Offset(0, 2, 0, 0), "29-02-2000 01:00:00"},
        {Make(28, 2, 2001, 23, 0, 0), Offset(0, 2, 0, 0), "01-03-2001 01:00:00"},
        {Make(15, 6, 2010, 12, 0, 0), Offset(0, -14, -32, -28), "14-06-2010 21:27:32"},
        {Make(15, 6, 2010, 12, 0, 0), Offset(0, 0, 0, 0, 7), "15-01-2011 12:00:00"},
        {Make(15, 6, 2010, 12, 0, 0), Offset(0, 0, 0, 0, -6), "15-12-2009 12:00:00"},
        {Make(15, 6, 2010, 12, 0, 0), Offset(0, 0, 0, 0, -18), "15-12-2008 12:00:00"},
        {Make(15, 12, 2010), Offset(0, 0, 0, 0, 12), "15-12-2011 00:00:00"},
        {Make(30, 1, 2000), Offset(0, 0, 0, 0, 1, 1), "28-02-2001 00:00:00"},  // no 30 February
        {Make(31, 3, 2000), Offset(0, 0, 0, 0, -1), "29-02-2000 00:00:00"},
        {Make(29, 2, 2000), Offset(0, 0, 0, 0, 12), "28-02-2001 00:00:00"},
        {Make(31, 1, 2000), Offset(1, 0, 0, 0, 1), "01-03-2000 00:00:00"},  // day carried against January
        {Make(10, 5, 2000, 12), Offset(0, 0, 0, 125), "10-05-2000 12:02:05"},
        {Make(10, 5, 2000, 12), Offset(0, 0, -150, 0), "10-05-2000 09:30:00"},
        {Make(10, 5, 2000, 12), Offset(0, 48, 0, 0), "12-05-2000 12:00:00"},
    };
    for (const Row& r : rows) EXPECT_EQ(Text(Observer::addOffset(r.from, r.offset)), r.expected) << Text(r.from);
}

// A step of more than a month of days must still give a real date.
TEST(Calendar, LongOffsetsCarryEveryMonth) {
    EXPECT_EQ(Text(Observer::addOffset(Make(15, 1, 2000), Offset(100, 0, 0, 0))), "24-04-2000 00:00:00");
    EXPECT_EQ(Text(Observer::addOffset(Make(15, 1, 2000), Offset(-100, 0, 0, 0))), "07-10-1999 00:00:00");
    EXPECT_EQ(Text(Observer::addOffset(Make(1, 1, 2000), Offset(366, 0, 0, 0))), "01-01-2001 00:00:00");
    EXPECT_EQ(Text(Observer::addOffset(Make(1, 1, 2000), Offset(0, 32767, 0, 0))), "27-09-2003 07:00:00");
    // Repeated steps: the Julian date advances by exactly the step every time.
    DateTime t = Make(15, 1, 2000, 6);
    for (int i = 0; i < 200; ++i) {
        const double before = Observer::julianDayOf(t.year, t.month, t.day, t.hour, t.minute, t.second);
        t = Observer::addOffset(t, Offset(45, 0, 0, 0));
        ASSERT_GE(t.day, 1);
        ASSERT_LE(t.day, Observer::daysInMonth(t.month, t.year));
        ASSERT_DOUBLE_EQ(Observer::julianDayOf(t.year, t.month, t.day, t.hour, t.minute, t.second) - before, 45.0);
    }
}

TEST(Observer, UniversalAndLocalMeanTimeInSummer) {
    const Observer o = Stopped(HomeSetup(), 1, true, Make(15, 6, 2010, 12, 0, 0));
    EXPECT_EQ(o.universal().TimeText(), "10:00:00");
    EXPECT_EQ(o.localMeanTimeText(), "10:27:32");
    const Observer winter = Stopped(HomeSetup(), 1, false, Make(15, 1, 2010, 12, 0, 0));
    EXPECT_EQ(winter.universal().TimeText(), "11:00:00");
    EXPECT_EQ(winter.localMeanTimeText(), "11:27:32");
}

// Zones of a fractional hour: the whole hours stay the zone, the minutes
// still move Universal Time.
TEST(Observer, ZoneMinutesGiveExactUniversalTime) {
    struct Case {
        int minutesEast;
        int wholeHours;
        const char* universal;
        const char* localMean;
    } cases[] = {
        {330, 5, "15-06-2010 06:30:00", "06:57:32"},    // India
        {345, 5, "15-06-2010 06:15:00", "06:42:32"},    // Nepal
        {-210, -3, "15-06-2010 15:30:00", "15:57:32"},  // Newfoundland
        {570, 9, "15-06-2010 02:30:00", "02:57:32"},    // central Australia
    };
    for (const Case& c : cases) {
        Observer o(HomeSetup(), [] { return LocalClockReading{}; });
        o.setUseSystemClock(false);
        o.stop();
        o.setDst(false);
        o.setZoneMinutes(c.minutesEast);
        o.setCivil(12, 0, 0, 15, 6, 2010);
        o.update();
        EXPECT_EQ(o.zone(), c.wholeHours) << c.minutesEast;
        EXPECT_EQ(o.zone() * 60 + o.zoneExtraMinutes(), c.minutesEast);
        EXPECT_EQ(Text(o.universal()), c.universal) << c.minutesEast;
        // Local mean time at 6°53' E runs 27 min 32 s ahead of Universal Time, whatever the zone.
        EXPECT_EQ(o.localMeanTimeText(), c.localMean) << c.minutesEast;
        // A zone set in whole hours afterwards drops the old minutes.
        o.setZone(2);
        o.update();
        EXPECT_EQ(o.universal().TimeText(), "10:00:00") << c.minutesEast;
    }
}

TEST(Observer, SystemClockBringsZoneDaylightAndTime) {
    FakeClock clock;
    clock.reading = {2010, 6, 15, 12, 0, 0, 330, LocalClockReading::Daylight::Standard, std::nullopt};
    Observer o(HomeSetup(), clock.source());
    o.update();
    EXPECT_FALSE(o.dst());
    EXPECT_EQ(o.zone(), 5);
    EXPECT_EQ(o.civilDateText(), "15-06-2010");
    EXPECT_EQ(o.civilTimeText(), "12:00:00");
    EXPECT_EQ(o.universal().TimeText(), "06:30:00");

    clock.reading = {2010, 6, 15, 12, 0, 0, -210, LocalClockReading::Daylight::Daylight, std::nullopt};
    o.update();
    EXPECT_TRUE(o.dst());
    EXPECT_EQ(o.universal().TimeText(), "14:30:00");

    // A clock that cannot tell standard from daylight time leaves dst as it was.
    clock.reading.daylight = LocalClockReading::Daylight::Unknown;
    o.update();
    EXPECT_TRUE(o.dst());
}

// Without a usable zone database only the offset in effect is known; the
// observer must not keep its starting daylight flag on top of it.
TEST(Observer, SystemClockWithoutAZoneDatabaseKeepsUniversalTimeRight) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    ::setenv("TZ", "No/Such_Zone", 1);
    ::tzset();
    Observer o(HomeSetup());
    o.update();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (previous)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    const double expected = Observer::julianDayOf(now.date().year(), now.date().month(), now.date().day(),
                                                  now.time().hour(), now.time().minute(), now.time().second());
    EXPECT_FALSE(o.dst());
    EXPECT_NEAR((o.julianDate - expected) * 86400.0, 0.0, 2.0);
}

// The process's time zone for as long as it lives.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* previous = std::getenv("TZ")) saved_ = previous;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        if (saved_)
            ::setenv("TZ", saved_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> saved_;
};

std::string CLibraryText(const std::tm& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

// Whatever the zone makes of daylight time, the civil clock minus the zone
// and its daylight time is the system's own UTC. The zone and the daylight
// flag are what the clock's offset splits into, with the daylight flag set
// only where the clock runs ahead of the zone's standard time.
TEST(Observer, SystemClockKeepsUniversalTimeInEveryZone) {
    struct Case {
        const char* zone;
        int month, day;  // of 2024, at 12:00 UTC
        int zoneHours;
        bool dst;
    } cases[] = {
        {"Europe/Dublin", 1, 15, 0, false},  // winter time is the zone's "daylight" time, an hour behind
        {"Europe/Dublin", 7, 15, 1, false},
        {"Africa/Casablanca", 3, 25, 0, false},  // Ramadan: an hour behind the standard +1
        {"Africa/Casablanca", 7, 15, 1, false},
        {"Antarctica/Troll", 1, 15, 0, false},
        {"Antarctica/Troll", 7, 15, 0, true},      // two hours of daylight time
        {"Australia/Lord_Howe", 1, 15, 10, true},  // +10:30 and half an hour of daylight time
        {"Australia/Lord_Howe", 7, 15, 10, false},
        {"Europe/Berlin", 1, 15, 1, false},
        {"Europe/Berlin", 7, 15, 1, true},
    };
    for (const Case& c : cases) {
        const ScopedTimeZone zone(c.zone);
        std::tm utc{};
        utc.tm_year = 2024 - 1900;
        utc.tm_mon = c.month - 1;
        utc.tm_mday = c.day;
        utc.tm_hour = 12;
        const std::time_t moment = timegm(&utc);
        std::tm civil{};
        localtime_r(&moment, &civil);

        const LocalClockReading reading = ReadLocalClockAt(moment);
        Observer o(HomeSetup(), [reading] { return reading; });
        o.update();
        const std::string where = std::string(c.zone) + " " + CLibraryText(utc);
        EXPECT_EQ(Text(o.civil()), CLibraryText(civil)) << where;
        EXPECT_EQ(Text(o.universal()), CLibraryText(utc)) << where;
        EXPECT_DOUBLE_EQ(o.julianDate, Observer::julianDayOf(2024, c.month, c.day, 12, 0, 0)) << where;
        // Local mean time at 6°53' E runs 27 min 32 s ahead of Universal Time.
        EXPECT_EQ(o.localMeanTimeText(), "12:27:32") << where;
        EXPECT_EQ(o.zone(), c.zoneHours) << where;
        EXPECT_EQ(o.dst(), c.dst) << where;
    }
}

TEST(Observer, StoppedClockStandsAndReportsNoNewDate) {
    Observer o = Stopped(HomeSetup(), 1, false, Make(15, 6, 2010, 23, 59, 59));
    o.dateChanged = false;
    const double jd = o.julianDate;
    for (int i = 0; i < 3; ++i) o.update();
    EXPECT_EQ(Text(o.civil()), "15-06-2010 23:59:59");
    EXPECT_DOUBLE_EQ(o.julianDate, jd);
    EXPECT_FALSE(o.dateChanged);
}

TEST(Observer, AnimationStepsAndDateChange) {
    Observer o = Stopped(HomeSetup(), 1, false, Make(15, 6, 2010, 23, 59, 58));
    o.setStep(0, 1);
    o.start();
    o.dateChanged = false;
    o.update();
    EXPECT_EQ(o.civilTimeText(), "23:59:59");
    EXPECT_FALSE(o.dateChanged);
    o.update();
    EXPECT_EQ(Text(o.civil()), "16-06-2010 00:00:00");
    EXPECT_TRUE(o.dateChanged);

    // A month step keeps the day number, and is a new date all the same.
    o.setStep(5, 1);
    o.dateChanged = false;
    o.update();
    EXPECT_EQ(o.civilDateText(), "16-07-2010");
    EXPECT_TRUE(o.dateChanged);
}

// Month steps keep the day the stepping started from, going to the last day
// of a month too short for it and back to that day where the month has it.
TEST(Observer, MonthStepsKeepTheDayTheyStartedFrom) {
    struct Row {
        DateTime start;
        int16_t months;
        std::vector<const char*> dates;
    } rows[] = {
        {Make(31, 1, 2010), 1, {"28-02-2010", "31-03-2010", "30-04-2010", "31-05-2010"}},
        {Make(31, 5, 2010), -1, {"30-04-2010", "31-03-2010", "28-02-2010", "31-01-2010"}},
        {Make(29, 2, 2000), 12, {"28-02-2001", "28-02-2002", "28-02-2003", "29-02-2004"}},
        {Make(30, 1, 2001), 1, {"28-02-2001", "30-03-2001"}},
    };
    for (const Row& r : rows) {
        Observer o = Stopped(HomeSetup(), 1, false, r.start);
        o.setStep(5, r.months);
        o.start();
        for (const char* date : r.dates) {
            o.update();
            EXPECT_EQ(o.civilDateText(), date) << Text(r.start) << " by " << r.months;
        }
    }
    // A clock set anew starts a new stepping from its own day.
    Observer o = Stopped(HomeSetup(), 1, false, Make(31, 1, 2010));
    o.setStep(5, 1);
    o.start();
    o.update();
    o.setCivil(0, 0, 0, 28, 2, 2010);
    o.update();
    EXPECT_EQ(o.civilDateText(), "28-03-2010");
}

TEST(Observer, StepTypes) {
    Observer o(HomeSetup(), [] { return LocalClockReading{}; });
    struct Case {
        int16_t type, size;
        DateTime expected;
    } cases[] = {
        {1, -5, Offset(0, 0, -5, 0)},   {4, 1, Offset(0, 23, 56, 4)},  // and 0.0905 s carried apart
        {4, 10, Offset(9, 23, 20, 40)}, {4, -1, Offset(0, -23, -56, -4)}, {5, 2, Offset(0, 0, 0, 0, 2)},
        {6, 9, Offset(0, 0, 0, 0)},     {-1, 9, Offset(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        o.setStep(c.type, c.size);
        EXPECT_EQ(o.stepType(), c.type);
        EXPECT_EQ(o.stepSize(), c.size);
        const DateTime s = o.stepOffset();
        EXPECT_EQ(Text(s), Text(c.expected)) << "type " << c.type << " size " << c.size;
    }
}

// The point of a sidereal-day step is that the stars stand still: a year of
// steps leaves the local mean sidereal time where it was to within an
// arcsecond. (The apparent sidereal time moves with the nutation, by several
// arcseconds a year, as the stars' apparent places do.)
TEST(Observer, SiderealDayStepKeepsTheStarsInPlace) {
    Observer o = Stopped(HomeSetup(), 0, false, Make(1, 3, 2005, 21, 0, 0));
    const auto localMeanSidereal = [&o] { return o.greenwichMeanSidereal.degrees + o.longitude.degrees; };
    const double before = localMeanSidereal();
    o.setStep(4, 1);
    o.start();
    o.update();
    EXPECT_EQ(Text(o.civil()), "02-03-2005 20:56:04");
    for (int i = 1; i < 365; ++i) o.update();
    EXPECT_EQ(Text(o.civil()), "28-02-2006 21:04:53");  // 365 x 86164.0905 s later
    const double arcseconds = std::remainder(localMeanSidereal() - before, 360.0) * 3600.0;
    EXPECT_LT(std::fabs(arcseconds), 1.0);
}

TEST(Observer, SiderealTimeOfAKnownMoment) {
    // 1987 April 10, 19h21m00s UT: mean sidereal time at Greenwich
    // 8h34m57.0896s, apparent 8h34m56.853s (nutation -3.788").
    const Observer o = Stopped(PlaceSetup(0, 0, false, 0, 0, false), 0, false, Make(10, 4, 1987, 19, 21, 0));
    EXPECT_EQ(o.greenwichMeanSidereal.hours, 8);
    EXPECT_EQ(o.greenwichMeanSidereal.minutes, 34);
    EXPECT_NEAR(o.greenwichMeanSidereal.seconds, 57.09, 0.01);
    EXPECT_EQ(o.greenwichApparentSidereal.minutes, 34);
    EXPECT_NEAR(o.greenwichApparentSidereal.seconds, 56.85, 0.03);
    EXPECT_NEAR(static_cast<double>(o.nutationInLongitude) * 3600.0, -3.788, 0.5);
    // At longitude 0 local and Greenwich apparent sidereal time agree.
    EXPECT_NEAR(o.localApparentSidereal.degrees, o.greenwichApparentSidereal.degrees, 1e-9);
}

TEST(Observer, NutationAtAnotherMomentOverwritesUntilNextUpdate) {
    Observer o = Stopped(HomeSetup(), 0, false, Make(15, 6, 2010, 12, 0, 0));
    const long double now = o.nutationInLongitude;
    const double meanNow = o.meanObliquity;
    // 1987 April 10, 0h TD: Δψ = -3.788", Δε = +9.443", ε0 = 23°26'27.407".
    o.computeNutation(2446895.5);
    EXPECT_NEAR(static_cast<double>(o.nutationInLongitude) * 3600.0, -3.788, 0.5);
    EXPECT_NEAR(static_cast<double>(o.nutationInObliquity) * 3600.0, 9.443, 0.1);
    EXPECT_NEAR(o.meanObliquity * 180.0 / M_PI * 3600.0, 23 * 3600 + 26 * 60 + 27.407, 0.01);
    EXPECT_NEAR(o.trueObliquity * 180.0 / M_PI * 3600.0, 23 * 3600 + 26 * 60 + 36.850, 0.15);
    o.update();
    EXPECT_EQ(o.nutationInLongitude, now);
    EXPECT_EQ(o.meanObliquity, meanNow);
}

}  // namespace
