#pragma once

#include <cmath>

// Brings a catalogue place (equinox and epoch J2000.0) to the observer's date:
// proper motion over the years since the catalogue's epoch, then the rigorous
// precession with the angles zeta, z and theta. Everything that depends only
// on the date is worked out once here, so that a whole catalogue can be
// corrected with the same object.
struct DateCorrection {
    // Years of proper motion for Hipparcos stars (epoch J1991.25) and for
    // bright stars (epoch J2000.0); other stars carry no usable motion.
    double yearsSinceHipparcosEpoch = 0.0;
    double yearsSinceJ2000 = 0.0;
    // Precession angles from J2000.0 to the date, radians.
    double zeta = 0.0;
    double z = 0.0;
    double theta = 0.0;
    double sinTheta = 0.0;
    double cosTheta = 1.0;

    // jde: the dynamical Julian date of the moment.
    static DateCorrection ForDate(double jde);

    double YearsOfMotion(char kind) const {
        if (kind == 'H') return yearsSinceHipparcosEpoch;
        if (kind == 'B') return yearsSinceJ2000;
        return 0.0;
    }

    // Proper motion (applied to right ascension as an angle, without cos dec)
    // then precession; ra comes back unreduced.
    void Apply(char kind, float pmRa, float pmDec, double& ra, double& dec) const {
        const double t = YearsOfMotion(kind);
        ra += t * pmRa;
        dec += t * pmDec;
        const double cosDec = std::cos(dec), sinDec = std::sin(dec);
        const double cosRa = std::cos(ra + zeta), sinRa = std::sin(ra + zeta);
        const double a = cosDec * sinRa;
        const double b = cosTheta * cosDec * cosRa - sinTheta * sinDec;
        const double c = sinTheta * cosDec * cosRa + cosTheta * sinDec;
        ra = std::atan2(a, b) + z;
        dec = std::atan2(c, std::sqrt(a * a + b * b));
    }
};
