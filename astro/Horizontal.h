#pragma once

#include <algorithm>
#include <cmath>

// The conversion from the equatorial frame of date to the observer's
// horizontal frame. Angles in radians: hour angle westward from the
// meridian, declination north positive, latitude north positive; altitude
// above the horizon, azimuth a compass bearing (0 north, pi/2 east) in
// [0, 2 pi].

struct HorizontalPlace {
    double altitude = 0.0;
    double azimuth = 0.0;
    // Their sines and cosines, which fall out of the conversion almost for
    // free and spare the projections their own trigonometry.
    double sinAltitude = 0.0, cosAltitude = 1.0;
    double sinAzimuth = 0.0, cosAzimuth = 1.0;
};

// The sine and cosine of the observer's latitude, worked out once for all the
// places converted at one moment.
struct LatitudeTrig {
    explicit LatitudeTrig(double latitude) : sin(std::sin(latitude)), cos(std::cos(latitude)) {}
    double sin, cos;
};

namespace horizontal_detail {

// The place from the arguments of its azimuth's atan2 (y, x) and the sine of
// its altitude.
inline HorizontalPlace FromParts(double y, double x, double sinAltitude) {
    // Rounding can carry the sine of an altitude a hair past 1 at the zenith.
    const double s = std::clamp(sinAltitude, -1.0, 1.0);
    HorizontalPlace p;
    p.altitude = std::asin(s);
    p.azimuth = std::atan2(y, x) + 3.14159265358979323846;
    p.sinAltitude = s;
    p.cosAltitude = std::sqrt(1.0 - s * s);
    // The azimuth is the bearing of (y, x) turned by half a circle.
    const double r = std::sqrt(y * y + x * x);
    if (r > 0.0) {
        p.sinAzimuth = -y / r;
        p.cosAzimuth = -x / r;
    } else {
        p.sinAzimuth = std::sin(p.azimuth);
        p.cosAzimuth = std::cos(p.azimuth);
    }
    return p;
}

}  // namespace horizontal_detail

// From the hour angle's sine and cosine and the declination.
inline HorizontalPlace ToHorizontal(double sinHourAngle, double cosHourAngle, double declination,
                                    const LatitudeTrig& latitude) {
    return horizontal_detail::FromParts(
        sinHourAngle, cosHourAngle * latitude.sin - std::tan(declination) * latitude.cos,
        latitude.sin * std::sin(declination) + latitude.cos * std::cos(declination) * cosHourAngle);
}

// From the direction's components in the hour-angle frame, scaled alike by
// any positive factor r: x = r cos(dec) sin(H), y = r cos(dec) cos(H),
// z = r sin(dec) with r = 1 for the altitude to be right. Used where the
// place comes as a vector, so that no angle need be taken out of it first.
inline HorizontalPlace ToHorizontalFromVector(double x, double y, double z, const LatitudeTrig& latitude) {
    return horizontal_detail::FromParts(x, y * latitude.sin - z * latitude.cos, latitude.sin * z + latitude.cos * y);
}

// The pure form: one place, nothing worked out beforehand.
inline HorizontalPlace ToHorizontal(double hourAngle, double declination, double latitude) {
    return ToHorizontal(std::sin(hourAngle), std::cos(hourAngle), declination, LatitudeTrig(latitude));
}
