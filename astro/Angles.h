#pragma once

#include <cstdint>
#include <string>

// Angle records. Each keeps radians for computation and whole units plus a
// fractional last unit for display. The conversion constants are the
// program's own rounded values (see Angles.cpp); they decide what the user
// sees, so they are not to be "corrected" to exact ones.

// Right ascension, hour angle, time of day as an angle.
struct HmsAngle {
    double radians = 0.0;
    uint16_t hours = 0;
    uint16_t minutes = 0;
    double seconds = 0.0;

    // radians = fmod(r, 2*Pi) (keeps the sign of r), then hours/minutes/seconds.
    void SetRadians(double r);
    // Stores the fields and returns radians = (15h + 0.25m + 0.0041666s) * 0.0174532925.
    double SetHms(uint16_t h, uint16_t m, double s);
    // "%dh%02d'%02.0f\""
    std::string Format() const;
};

// Signed angle: declination, altitude, azimuth.
struct DmsAngle {
    double radians = 0.0;
    uint16_t degrees = 0;  // magnitude
    uint16_t minutes = 0;
    float seconds = 0.0f;
    bool negative = false;

    void SetRadians(double r);
    double SetDms(uint16_t d, uint16_t m, double s, bool isNegative);
    // "+%d°%02d'%02.0f\"", "-%d°...", or with wrap and negative the value in [0, 360).
    std::string Format(bool wrap) const;
};

// Degree-based angle with sexagesimal and hour forms (place, sidereal times,
// elongations, apparent diameters).
struct Angle {
    double degrees = 0.0;  // master value
    double radians = 0.0;
    uint16_t deg = 0;
    uint16_t arcmin = 0;
    float arcsec = 0.0f;
    bool negative = false;  // for a place: West (longitude) or South (latitude)
    uint16_t hours = 0;
    uint16_t minutes = 0;
    float seconds = 0.0f;

    double SetDegrees(double d);
    double SetRadians(double r);
    void SetSexagesimal(uint16_t d, uint16_t m, float s, bool isNegative);
    void ApplySexagesimal();
    void DegreesToSexagesimal();
    void DegreesToHours();
    // Recomputes degrees from radians and the sexagesimal fields, then prints
    // like DmsAngle::Format.
    std::string FormatSigned(bool wrap);
    // "%5.2f\"" of the sexagesimal fields as a total of arcseconds.
    std::string FormatArcseconds() const;
    // "%02d:%02d:%02d" of the hour form, the seconds truncated (the
    // sidereal time of the status bar).
    std::string FormatTimeOfDay() const;
};

// Whole units (degrees or hours), minutes and seconds as a text shows them
// with `decimals` decimals of seconds. Seconds that the text would show as
// 60 carry into the minutes (as do the rounding rests of the program's own
// constants, up to a second past 60), 60 minutes so reached carry into the
// units, and units so reached wrap at `turn` (24 for hours, 360 for
// degrees; 0 for none). Fields further out of their range are left as they
// are.
struct DisplayedSexagesimal {
    unsigned units;
    unsigned minutes;
    double seconds;
};
DisplayedSexagesimal CarryForDisplay(unsigned units, unsigned minutes, double seconds, int decimals, unsigned turn = 0);

struct RadianAngle {
    double radians = 0.0;

    double SetDegrees(double d);
    double Radians() const { return radians; }
    double Degrees() const;
};

// A civil date and clock time, or an offset between two of them.
struct DateTime {
    int16_t hour = 0;
    int16_t minute = 0;
    int16_t second = 0;
    int16_t day = 0;
    int16_t month = 0;
    int16_t year = 0;

    std::string TimeText() const;  // "%02d:%02d:%02d"
    std::string DateText() const;  // "%02d-%02d-%04d"
};
