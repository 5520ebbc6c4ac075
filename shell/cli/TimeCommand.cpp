// velkaris-cli time: the moment and the place with everything the observer
// derives from them, one key=value line each.
#include <cstdio>
#include <string>
#include <vector>

#include "astro/Observer.h"
#include "shell/cli/CommandOptions.h"
#include "shell/cli/Commands.h"
#include "shell/cli/TimePlaceOptions.h"

namespace {

std::string PlaceText(const Angle& a, char positive, char negative) {
    const DisplayedSexagesimal t = CarryForDisplay(a.deg, a.arcmin, a.arcsec, 2);
    char text[64];
    std::snprintf(text, sizeof text, "%u\302\260%02u'%05.2f\"%c", t.units, t.minutes, t.seconds,
                  a.negative ? negative : positive);
    return text;
}

std::string OffsetText(int total) {
    const int magnitude = total < 0 ? -total : total;
    char text[32];
    std::snprintf(text, sizeof text, "%c%d:%02d", total < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    return text;
}

void PrintReport(const Observer& o) {
    const DateTime ut = o.universal();
    std::printf("civil_date=%s\n", o.civilDateText().c_str());
    std::printf("civil_time=%s\n", o.civilTimeText().c_str());
    std::printf("universal=%s %s\n", ut.DateText().c_str(), ut.TimeText().c_str());
    std::printf("local_mean_time=%s\n", o.localMeanTimeText().c_str());
    std::printf("julian_date=%.5f\n", o.julianDate);
    std::printf("dynamical_julian_date=%.6f\n", o.dynamicalJulianDate);
    std::printf("gmst_hours=%.9f\n", o.greenwichMeanSidereal.degrees / 15.0);
    std::printf("gast_hours=%.9f\n", o.greenwichApparentSidereal.degrees / 15.0);
    std::printf("last_hours=%.9f\n", o.localApparentSidereal.degrees / 15.0);
    std::printf("mean_obliquity_deg=%.9f\n", o.meanObliquity * 180.0 / 3.14159265358979323846);
    std::printf("true_obliquity_deg=%.9f\n", o.trueObliquity * 180.0 / 3.14159265358979323846);
    std::printf("nutation_longitude_arcsec=%.4f\n", static_cast<double>(o.nutationInLongitude * 3600.0L));
    std::printf("nutation_obliquity_arcsec=%.4f\n", static_cast<double>(o.nutationInObliquity * 3600.0L));
    std::printf("zone=%s\n", OffsetText(o.zone() * 60 + o.zoneExtraMinutes()).c_str());
    std::printf("dst=%d\n", o.dst() ? 1 : 0);
    std::printf("utc_offset=%s\n", OffsetText(o.utcOffsetMinutes()).c_str());
    std::printf("longitude=%s\n", PlaceText(o.longitude, 'E', 'W').c_str());
    std::printf("latitude=%s\n", PlaceText(o.latitude, 'N', 'S').c_str());
}

}  // namespace

void PrintTimeHelp() {
    std::printf(
        "Usage: velkaris-cli time [OPTIONS]\n\n"
        "Prints the moment and the place with what follows from them, one key=value\n"
        "line each: civil_date, civil_time, universal (date and time), local_mean_time,\n"
        "julian_date (UT), dynamical_julian_date (TT = UT + 65 s), gmst_hours,\n"
        "gast_hours, last_hours (Greenwich mean, Greenwich apparent and local apparent\n"
        "sidereal time in hours), mean_obliquity_deg, true_obliquity_deg,\n"
        "nutation_longitude_arcsec, nutation_obliquity_arcsec, zone, dst, utc_offset\n"
        "(civil time minus universal time: the zone with its daylight time), longitude,\n"
        "latitude.\n\n%s"
        "  --help                    this text.\n\n"
        "Exit status: 0, or 2 for a malformed or unknown option.\n",
        TimePlaceUsage());
}

int RunTimeCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    TimePlaceOptions options;
    std::string error;
    if (!ConsumeTimePlaceOptions(rest, options, error)) {
        std::fprintf(stderr, "velkaris-cli time: %s\n", error.c_str());
        return 2;
    }
    // The moment and place are all the command takes.
    if (!CommandOptions("time").Parse(rest, error)) {
        std::fprintf(stderr, "velkaris-cli time: %s\n", error.c_str());
        return 2;
    }
    const std::unique_ptr<Observer> observer = MakeObserver(options);
    PrintReport(*observer);
    return 0;
}
