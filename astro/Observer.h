#pragma once

#include <cstdint>
#include <functional>

#include "astro/Angles.h"
#include "platform/LocalClock.h"

// The place and clock of the one observer, and everything that follows from
// the moment: Universal Time, local mean time, Julian dates, time arguments,
// nutation, obliquity and sidereal times.
class Observer {
public:
    // Where the clock comes from when following the system; tests inject their own.
    using ClockSource = std::function<LocalClockReading()>;

    // Place and step as they are stored in the settings (degrees, minutes,
    // seconds, West/South flags; step type and size).
    struct Setup {
        Angle longitude;  // sexagesimal fields set, negative = West
        Angle latitude;   // sexagesimal fields set, negative = South
        bool isWest = false;
        bool isSouth = false;
        int16_t stepType = 0;
        int16_t stepSize = 1;
    };

    explicit Observer(const Setup& setup, ClockSource clock = ReadLocalClock);

    void setUseSystemClock(bool use);  // true also sets running
    bool useSystemClock() const { return useSystemClock_; }
    bool running() const { return running_; }
    bool dst() const { return dst_; }
    void start() { running_ = true; }
    void stop() { running_ = false; }
    // Universal and local mean time take it into account at the next
    // setZone, setZoneMinutes or setPlace.
    void setDst(bool dst) { dst_ = dst; }

    // Zone in whole hours east of Greenwich; recomputes both offsets and
    // drops any minutes set by setZoneMinutes.
    void setZone(int32_t hours);
    // A zone given in minutes east (e.g. +330 for India): zone() keeps the
    // whole hours, the offsets carry the minutes so Universal Time is exact.
    void setZoneMinutes(int32_t minutesEast);
    // The zone of a system clock reading. The offset in effect is the truth
    // and Universal Time follows it to the minute; zone and dst are what it
    // splits into. dst is set only where the clock runs ahead of the zone's
    // standard time, and then the zone is that standard time and the
    // daylight shift is whatever the system says (half an hour, two hours).
    // Where the system's "daylight" time runs behind its standard time
    // (Irish winter, Moroccan Ramadan time) dst is off and the zone is the
    // offset in effect.
    void followSystemZone(const LocalClockReading& reading);
    int32_t zone() const { return zone_; }
    int32_t zoneExtraMinutes() const { return zoneExtraMinutes_; }
    // Civil time minus Universal Time, minutes: the zone, its minutes and
    // the daylight shift as they stood at the last setZone, setZoneMinutes,
    // followSystemZone or setPlace.
    int32_t utcOffsetMinutes() const { return utcOffsetMinutes_; }

    void setCivil(int16_t hour, int16_t minute, int16_t second, int16_t day, int16_t month, int16_t year);
    DateTime civil() const { return civil_; }
    DateTime universal() const { return universal_; }
    DateTime localMeanTime() const { return localMeanTime_; }

    void setStep(int16_t type, int16_t size);
    int16_t stepType() const { return stepType_; }
    int16_t stepSize() const { return stepSize_; }
    DateTime stepOffset() const { return step_; }

    // Copies both angles as entered, applies their sexagesimal form and
    // recomputes both offsets. The flags give the sign (the angles' own
    // negative fields are overwritten with them).
    void setPlace(const Angle& lon, const Angle& lat, bool isWest, bool isSouth);
    bool longitudeIsWest() const { return longitudeIsWest_; }
    bool latitudeIsSouth() const { return latitudeIsSouth_; }

    void update();

    static double julianDayOf(int year, int month, int day, int hour, int minute, int second);
    static double centuriesSinceJ2000(double jd);
    static double millenniaSinceJ2000(double jd);
    // jde = 0: the current moment's T; otherwise T from jde. Overwrites the
    // four stored values until the next update.
    void computeNutation(double jde);
    static int16_t daysInMonth(int month, int year);
    static DateTime addOffset(const DateTime& t, const DateTime& offset);

    std::string civilTimeText() const { return civil_.TimeText(); }
    std::string civilDateText() const { return civil_.DateText(); }
    std::string localMeanTimeText() const { return localMeanTime_.TimeText(); }

    // Derived values, read by every sky object.
    Angle greenwichMeanSidereal;
    Angle localApparentSidereal;
    Angle greenwichApparentSidereal;
    Angle greenwichSiderealAtZeroUT;
    double epoch2000Jan0 = 0.0;
    double epochJ2000 = 0.0;
    double daysSinceJ2000 = 0.0;
    double T = 0.0, T2 = 0.0, T3 = 0.0, T4 = 0.0;
    long double tau = 0.0L, tau2 = 0.0L, tau3 = 0.0L, tau4 = 0.0L, tau5 = 0.0L;
    double julianDate = 0.0;
    double dynamicalJulianDate = 0.0;
    double daysSince2000Jan0 = 0.0;
    long double nutationInLongitude = 0.0L;  // degrees
    long double nutationInObliquity = 0.0L;  // degrees
    double meanObliquity = 0.0;              // radians
    double trueObliquity = 0.0;              // radians
    Angle longitude;                         // degrees negative for West
    Angle latitude;                          // degrees negative for South
    bool dateChanged = false;

private:
    void recomputeOffsets();

    ClockSource clock_;
    bool dst_ = true;
    int32_t zone_ = 1;
    int32_t zoneExtraMinutes_ = 0;
    int32_t daylightMinutes_ = 60;  // the shift while dst is set
    int32_t utcOffsetMinutes_ = 0;
    bool useSystemClock_ = true;
    bool running_ = true;
    DateTime step_;
    double stepFraction_ = 0.0;   // of a second, beyond the step's whole seconds
    double civilFraction_ = 0.0;  // of a second, beyond the civil clock's, in [0, 1)
    int16_t stepDay_ = 0;         // the day month steps started from; 0 before the first
    DateTime localMeanTime_;
    DateTime civil_;
    DateTime meanTimeOffset_;
    DateTime universalOffset_;
    DateTime universal_;
    bool longitudeIsWest_ = false;
    bool latitudeIsSouth_ = false;
    int16_t stepType_ = 0;
    int16_t stepSize_ = 0;
};

// The one observer of the running program, published by its owner.
extern Observer* TheObserver;
