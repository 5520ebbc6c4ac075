#pragma once

#include <cstdint>
#include <optional>

// The operating system's local clock and time zone.
struct LocalClockReading {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    // Standard (not daylight) offset of the zone from UTC, minutes east.
    int standardOffsetMinutes = 0;
    enum class Daylight { Unknown, Standard, Daylight } daylight = Daylight::Unknown;
    // The offset in effect, minutes east: the clock above minus UTC. This is
    // the one figure that is always right; the daylight part of it is not
    // always one hour (30 minutes on Lord Howe Island, two at Troll) nor
    // always ahead of standard time (Irish winter time, Moroccan Ramadan
    // time). Left empty by a source that does not know it, which then means
    // standard time plus one hour when daylight time is in effect.
    std::optional<int> utcOffsetMinutes;
};

// Reads the system clock and the zone from the time-zone database.
LocalClockReading ReadLocalClock();
// The same for a given moment, in seconds since 1970-01-01 00:00:00 UTC.
LocalClockReading ReadLocalClockAt(int64_t utcSeconds);

// The system zone as it stands at a given local civil time: the returned
// reading holds that civil time, the zone's standard offset then, the offset
// in effect then and whether daylight time is in effect then. A civil time
// that does not exist (skipped by a spring-forward change) or is ambiguous is
// resolved as the time-zone database resolves it.
LocalClockReading ReadLocalZoneAt(int year, int month, int day, int hour, int minute, int second);
