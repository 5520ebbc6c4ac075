#pragma once

// The operating system's local clock and time zone.
struct LocalClockReading {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    // Standard (not daylight) offset of the zone from UTC, minutes east.
    int standardOffsetMinutes = 0;
    enum class Daylight { Unknown, Standard, Daylight } daylight = Daylight::Unknown;
};

// Reads the system clock and the zone from the time-zone database.
LocalClockReading ReadLocalClock();

// The system zone as it stands at a given local civil time: the returned
// reading holds that civil time, the zone's standard offset then and whether
// daylight time is in effect then. A civil time that does not exist (skipped
// by a spring-forward change) or is ambiguous is resolved as the time-zone
// database resolves it.
LocalClockReading ReadLocalZoneAt(int year, int month, int day, int hour, int minute, int second);
