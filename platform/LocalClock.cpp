#include "platform/LocalClock.h"

#include <QDateTime>
#include <QTimeZone>

namespace {

LocalClockReading ReadingOf(const QDateTime& local, const QTimeZone& zone) {
    LocalClockReading r;
    const QDate d = local.date();
    const QTime t = local.time();
    r.year = d.year();
    r.month = d.month();
    r.day = d.day();
    r.hour = t.hour();
    r.minute = t.minute();
    r.second = t.second();
    r.utcOffsetMinutes = local.offsetFromUtc() / 60;
    if (!zone.isValid()) {
        // No usable zone database: the offset in effect is all we know, and
        // it cannot be split into standard and daylight parts. Taken whole as
        // standard time it still gives the right Universal Time; left
        // undecided, a daylight flag from before would move it by an hour.
        r.standardOffsetMinutes = local.offsetFromUtc() / 60;
        r.daylight = LocalClockReading::Daylight::Standard;
        return r;
    }
    r.standardOffsetMinutes = zone.standardTimeOffset(local) / 60;
    if (zone.hasDaylightTime())
        r.daylight =
            zone.isDaylightTime(local) ? LocalClockReading::Daylight::Daylight : LocalClockReading::Daylight::Standard;
    else
        r.daylight = LocalClockReading::Daylight::Standard;
    return r;
}

}  // namespace

LocalClockReading ReadLocalClock() { return ReadLocalClockAt(QDateTime::currentSecsSinceEpoch()); }

LocalClockReading ReadLocalClockAt(int64_t utcSeconds) {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    // Seconds only: the clock shown to the user ticks in whole seconds.
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC);
    const QDateTime local = zone.isValid() ? moment.toTimeZone(zone) : moment.toLocalTime();
    return ReadingOf(local, zone);
}

LocalClockReading ReadLocalZoneAt(int year, int month, int day, int hour, int minute, int second) {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    const QDateTime local = zone.isValid() ? QDateTime(date, time, zone) : QDateTime(date, time);
    LocalClockReading r = ReadingOf(local.isValid() ? local : QDateTime(date, QTime(12, 0), zone), zone);
    // Report the civil time asked for, not the one the database moved it to.
    r.year = year;
    r.month = month;
    r.day = day;
    r.hour = hour;
    r.minute = minute;
    r.second = second;
    return r;
}
