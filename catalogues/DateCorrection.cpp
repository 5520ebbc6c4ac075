#include "catalogues/DateCorrection.h"

#include "astro/Constants.h"

namespace {
constexpr double kJ2000 = 2451545.0;
constexpr double kHipparcosEpoch = 2448349.0625;  // J1991.25
constexpr double kDaysPerYear = 365.25;
constexpr double kDaysPerCentury = 36525.0;
}  // namespace

DateCorrection DateCorrection::ForDate(double jde) {
    DateCorrection c;
    c.yearsSinceHipparcosEpoch = (jde - kHipparcosEpoch) / kDaysPerYear;
    c.yearsSinceJ2000 = (jde - kJ2000) / kDaysPerYear;

    // The catalogues are all of equinox J2000.0, so the starting epoch's
    // terms vanish and the rates are their J2000 values.
    const double t = (jde - kJ2000) / kDaysPerCentury;
    const double t2 = t * t, t3 = t2 * t;
    const double a = 2306.2181, b = 2004.3109;
    c.zeta = static_cast<double>((a * t + 0.30188 * t2 + 0.017998 * t3) * ArcsecondInRadians);
    c.z = static_cast<double>((a * t + 1.09468 * t2 + 0.018203 * t3) * ArcsecondInRadians);
    c.theta = static_cast<double>((b * t - 0.42665 * t2 - 0.041833 * t3) * ArcsecondInRadians);
    c.sinTheta = std::sin(c.theta);
    c.cosTheta = std::cos(c.theta);
    return c;
}
