#include "astro/Angles.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "astro/Constants.h"

namespace {

// The program's own conversion constants. They differ from the exact values
// in the eighth or ninth digit and decide the seconds the user reads, so they
// stay as they are: 0.0041666 degrees for one second of time and its exact
// reciprocal, 3.14159265/180 and its exact reciprocal.
constexpr double kDegreesPerTimeSecond = 0.0041666;
constexpr double kTimeSecondsPerDegree = 240.00384006144097;
constexpr double kRadiansPerDegree = 0.0174532925;
constexpr double kDegreesPerRadian = 57.295779578552306;

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Printf(const char* format, ...) {
    char small[64];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string text;
    if (needed < 0) {
        va_end(again);
        return text;
    }
    if (static_cast<size_t>(needed) < sizeof small) {
        text.assign(small, static_cast<size_t>(needed));
    } else {
        text.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<size_t>(needed));
    }
    va_end(again);
    return text;
}

// Remainder by a full turn that keeps the sign of r, as the radians fields do.
double ReduceRadians(double r) {
    // Most values are already within a turn, where the remainder is the value
    // itself; the extended-precision remainder is slow enough to be worth
    // skipping for the thousands of stars placed at every update.
    if (std::fabs(static_cast<long double>(r)) < 2.0L * Pi) return r;
    return static_cast<double>(fmodl(r, 2.0L * Pi));
}

// Degrees within one turn brought into [0, 360). A tiny negative value lands
// on exactly 360 after the shift; that is 0h / +0°, not 24h or -0°.
double IntoTurn(double d) {
    if (d < 0) d += 360.0;
    if (d >= 360.0) d -= 360.0;
    return d;
}

// Degrees of a reduced radians value in [0, 360) with the program's constant.
double WrappedDegrees(double radians) { return IntoTurn(radians * kDegreesPerRadian); }

// Whole units are taken by truncation, never rounded up. A value that should
// be whole but comes out of the radian conversions a few units of the last
// place below it (159.99999999999997 for 160) would then show as 159°59'60",
// so values within kSnap of the next whole unit count as reaching it. kSnap is
// far below anything shown: a billionth of a degree is 3.6 microarcseconds.
constexpr double kSnap = 1e-9;

double WholePart(double x, double snap) { return std::floor(x + snap); }

// Whole units into the 16-bit fields. Out-of-range values (a damaged place,
// a NaN from a failed computation) must not be undefined behaviour; they
// only have to show as something.
uint16_t Field(double whole) {
    if (!(whole >= 0.0)) return 0;
    if (whole > 65535.0) return 65535;
    return static_cast<uint16_t>(whole);
}

// The sexagesimal split shared by DmsAngle and Angle: a magnitude in degrees
// into whole degrees, whole minutes and fractional seconds.
struct Sexagesimal {
    uint16_t degrees;
    uint16_t minutes;
    double seconds;
};

Sexagesimal Split(double magnitude) {
    const double whole = WholePart(magnitude, kSnap);
    const double c = std::max(0.0, (magnitude - whole) * 60.0);
    const double minutes = WholePart(c, kSnap * 60.0);
    return {Field(whole), Field(minutes), std::max(0.0, (c - minutes) * 60.0)};
}

// An angle in [0, 360) as a sign and a magnitude: above 180° it is the
// negative angle 360° short of it.
Sexagesimal SplitSigned(double d, bool& negative) {
    negative = d > 180.0;
    return Split(std::fabs(negative ? d - 360.0 : d));
}

// Hours and minutes of an angle in degrees, whole units as above; the seconds
// are left to the caller's own constant. A hair below a full turn is 0h, not
// 24h: degrees then becomes the (tiny negative) remainder.
void SplitHours(double& degrees, double& hours, double& minutes) {
    double x = degrees * (1.0 / 15.0);
    hours = WholePart(x, kSnap / 15.0);
    if (hours >= 24.0) {
        degrees -= 360.0;
        x = degrees * (1.0 / 15.0);
        hours = 0.0;
    }
    minutes = WholePart(std::max(0.0, (x - hours) * 60.0), kSnap * 4.0);
}

std::string FormatSexagesimal(unsigned degrees, unsigned minutes, double seconds, bool negative, bool wrap) {
    if (!negative || !wrap) {
        const DisplayedSexagesimal t = CarryForDisplay(degrees, minutes, seconds, 0);
        return Printf(negative ? "-%u°%02u'%02.0f\"" : "+%u°%02u'%02.0f\"", t.units, t.minutes, t.seconds);
    }
    // Wrapped: the same angle shown as its value in [0°, 360°). Worked in
    // arcseconds so that whole fields come back whole.
    const double magnitude = degrees * 3600.0 + minutes * 60.0 + seconds;
    const double w = 1296000.0 - magnitude;
    const double d = std::floor(w / 3600.0);
    const double m = std::floor((w - d * 3600.0) / 60.0);
    const DisplayedSexagesimal t = CarryForDisplay(Field(d), Field(m), w - d * 3600.0 - m * 60.0, 0, 360);
    return Printf("%u°%02u'%02.0f\"", t.units, t.minutes, t.seconds);
}

}  // namespace

DisplayedSexagesimal CarryForDisplay(unsigned units, unsigned minutes, double seconds, int decimals, unsigned turn) {
    DisplayedSexagesimal t{units, minutes, seconds};
    if (!(seconds < 61.0) || minutes >= 60) return t;
    // The text itself decides: whatever prints as 60 is a minute.
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, seconds);
    if (std::strtod(text, nullptr) < 60.0) return t;
    t.seconds = std::max(0.0, seconds - 60.0);
    if (++t.minutes < 60) return t;
    t.minutes = 0;
    if (++t.units == turn) t.units = 0;
    return t;
}

// ---- HmsAngle --------------------------------------------------------------

void HmsAngle::SetRadians(double r) {
    radians = ReduceRadians(r);
    double d = WrappedDegrees(radians);
    double h, m;
    SplitHours(d, h, m);
    hours = Field(h);
    minutes = Field(m);
    // A whole unit reached by the snap leaves the difference a hair below zero; "-0" is not a second.
    seconds = std::max(0.0, (d - 15.0 * hours - 0.25 * minutes) * kTimeSecondsPerDegree);
}

double HmsAngle::SetHms(uint16_t h, uint16_t m, double s) {
    hours = h;
    minutes = m;
    seconds = s;
    radians = (15.0 * h + 0.25 * m + kDegreesPerTimeSecond * s) * kRadiansPerDegree;
    return radians;
}

std::string HmsAngle::Format() const {
    const DisplayedSexagesimal t = CarryForDisplay(hours, minutes, seconds, 0, 24);
    return Printf("%uh%02u'%02.0f\"", t.units, t.minutes, t.seconds);
}

// ---- DmsAngle --------------------------------------------------------------

void DmsAngle::SetRadians(double r) {
    radians = ReduceRadians(r);
    const Sexagesimal s = SplitSigned(WrappedDegrees(radians), negative);
    degrees = s.degrees;
    minutes = s.minutes;
    seconds = static_cast<float>(s.seconds);
}

double DmsAngle::SetDms(uint16_t d, uint16_t m, double s, bool isNegative) {
    degrees = d;
    minutes = m;
    seconds = static_cast<float>(s);
    negative = isNegative;
    const double magnitude = (d + m / 60.0 + s / 3600.0) * kRadiansPerDegree;
    radians = isNegative ? -magnitude : magnitude;
    return radians;
}

std::string DmsAngle::Format(bool wrap) const { return FormatSexagesimal(degrees, minutes, seconds, negative, wrap); }

// ---- Angle -----------------------------------------------------------------

double Angle::SetDegrees(double d) {
    degrees = IntoTurn(std::fmod(d, 360.0));
    radians = static_cast<double>(Pi * degrees / 180.0L);
    return radians;
}

double Angle::SetRadians(double r) {
    radians = ReduceRadians(r);
    degrees = IntoTurn(static_cast<double>(radians * 180.0L / Pi));
    return radians;
}

void Angle::SetSexagesimal(uint16_t d, uint16_t m, float s, bool isNegative) {
    deg = d;
    arcmin = m;
    arcsec = s;
    negative = isNegative;
}

void Angle::ApplySexagesimal() {
    const double magnitude = deg + arcmin / 60.0 + arcsec / 3600.0;
    degrees = negative ? -magnitude : magnitude;
    radians = static_cast<double>(Pi * degrees / 180.0L);
}

void Angle::DegreesToSexagesimal() {
    const Sexagesimal s = SplitSigned(degrees, negative);
    deg = s.degrees;
    arcmin = s.minutes;
    arcsec = static_cast<float>(s.seconds);
}

void Angle::DegreesToHours() {
    double d = degrees, h, m;
    SplitHours(d, h, m);
    hours = Field(h);
    minutes = Field(m);
    seconds = static_cast<float>(std::max(0.0, (d - 15.0 * hours - 0.25 * minutes) * kTimeSecondsPerDegree));
}

std::string Angle::FormatSigned(bool wrap) {
    degrees = IntoTurn(static_cast<double>(radians * 180.0L / Pi));
    DegreesToSexagesimal();
    return FormatSexagesimal(deg, arcmin, arcsec, negative, wrap);
}

std::string Angle::FormatArcseconds() const {
    return Printf("%5.2f\"", deg * 3600.0 + arcmin * 60.0 + static_cast<double>(arcsec));
}

std::string Angle::FormatTimeOfDay() const {
    const DisplayedSexagesimal t = CarryForDisplay(hours, minutes, std::trunc(seconds), 0, 24);
    return Printf("%02u:%02u:%02.0f", t.units, t.minutes, t.seconds);
}

// ---- RadianAngle -----------------------------------------------------------

double RadianAngle::SetDegrees(double d) {
    radians = static_cast<double>(fmodl(Pi * d / 180.0L, 2.0L * Pi));
    return radians;
}

double RadianAngle::Degrees() const { return static_cast<double>(radians * 180.0L / Pi); }

// ---- DateTime --------------------------------------------------------------

std::string DateTime::TimeText() const { return Printf("%02d:%02d:%02d", hour, minute, second); }

std::string DateTime::DateText() const { return Printf("%02d-%02d-%04d", day, month, year); }
