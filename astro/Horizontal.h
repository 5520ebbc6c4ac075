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
};

// The sine and cosine of the observer's latitude, worked out once for all the
// places converted at one moment.
struct LatitudeTrig {
    explicit LatitudeTrig(double latitude) : sin(std::sin(latitude)), cos(std::cos(latitude)) {}
    double sin, cos;
};

namespace horizontal_detail {

inline double ClampedAsin(double x) { return std::asin(std::clamp(x, -1.0, 1.0)); }

}  // namespace horizontal_detail

// From the hour angle's sine and cosine and the declination.
inline HorizontalPlace ToHorizontal(double sinHourAngle, double cosHourAngle, double declination,
                                    const LatitudeTrig& latitude) {
    // Rounding can carry the sine of an altitude a hair past 1 at the zenith.
    return {horizontal_detail::ClampedAsin(latitude.sin * std::sin(declination) +
                                           latitude.cos * std::cos(declination) * cosHourAngle),
            std::atan2(sinHourAngle, cosHourAngle * latitude.sin - std::tan(declination) * latitude.cos) +
                3.14159265358979323846};
}

// From the direction's components in the hour-angle frame, scaled alike by
// any positive factor r: x = r cos(dec) sin(H), y = r cos(dec) cos(H),
// z = r sin(dec) with r = 1 for the altitude to be right. Used where the
// place comes as a vector, so that no angle need be taken out of it first.
inline HorizontalPlace ToHorizontalFromVector(double x, double y, double z, const LatitudeTrig& latitude) {
    return {horizontal_detail::ClampedAsin(latitude.sin * z + latitude.cos * y),
            std::atan2(x, y * latitude.sin - z * latitude.cos) + 3.14159265358979323846};
}

// The pure form: one place, nothing worked out beforehand.
inline HorizontalPlace ToHorizontal(double hourAngle, double declination, double latitude) {
    return ToHorizontal(std::sin(hourAngle), std::cos(hourAngle), declination, LatitudeTrig(latitude));
}
