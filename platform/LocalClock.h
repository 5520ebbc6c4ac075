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
