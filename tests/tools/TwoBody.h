#pragma once

// Two-body places of minor planets, for checking converted elements: once
// straight from a source's elements, once by the steps the application's
// reader takes with the converted file.

#include <cmath>

#include "LiteralReaders.h"

namespace twobody {

constexpr double Deg = 3.14159265358979323846 / 180.0;

struct Vector {
    double x = 0, y = 0, z = 0;
    double Length() const { return std::sqrt(x * x + y * y + z * z); }
};

struct Elements {
    double nodeDeg, perihelionDeg, inclinationDeg, e, a, meanAnomalyDeg;
};

inline double SolveKeplerExactly(double e, double m) {
    double E = m;
    for (int i = 0; i < 100; ++i) {
        double next = E - (E - e * std::sin(E) - m) / (1 - e * std::cos(E));
        if (std::fabs(next - E) < 1e-15) return next;
        E = next;
    }
    return E;
}

inline Vector FromOrbit(double a, double e, double E, double node, double perihelion, double inclination) {
    double xp = a * (std::cos(E) - e);
    double yp = a * std::sqrt(1 - e * e) * std::sin(E);
    double r = std::sqrt(xp * xp + yp * yp);
    double u = std::atan2(yp, xp) + perihelion;
    return {r * (std::cos(node) * std::cos(u) - std::sin(node) * std::sin(u) * std::cos(inclination)),
            r * (std::sin(node) * std::cos(u) + std::cos(node) * std::sin(u) * std::cos(inclination)),
            r * std::sin(u) * std::sin(inclination)};
}

// Heliocentric ecliptic (J2000) place from a source's osculating elements.
inline Vector Heliocentric(const Elements& el) {
    double E = SolveKeplerExactly(el.e, el.meanAnomalyDeg * Deg);
    return FromOrbit(el.a, el.e, E, el.nodeDeg * Deg, el.perihelionDeg * Deg, el.inclinationDeg * Deg);
}

// The reader's steps at Julian date jd (UT, the program's clock): the node
// carried by the precession, the mean anomaly run on from the common epoch,
// its Kepler iteration with its tolerance, the axis from the mean motion. The
// node's precession is then taken off again to compare in the J2000 frame.
inline Vector ReaderPlace(const literal::MinorPlanet& p, double jd) {
    double d = jd - 2451545.0;
    double precession = 0.0000382394 * d;
    double node = (p.node + precession) * Deg;
    double m = (p.n * (d + 544.5) + p.meanAnomaly) * Deg;
    double a = p.n != 0 ? std::pow(360.0 / (p.n * 365.2568984), 2.0 / 3.0) : 2.7666668;
    double e = p.e;
    double E = m + e * std::sin(m) * (1 + e * std::cos(m));
    double result = 0;
    for (int i = 0; i < 10; ++i) {
        double denominator = 1 - e * std::cos(E);
        if (denominator == 0) break;
        double next = E - (E - e * std::sin(E) - m) / denominator;
        result = next;
        if (std::fabs(next - E) < 8.73e-05) break;
        E = next;
    }
    Vector v = FromOrbit(a, e, result, node, p.perihelion * Deg, p.inclination * Deg);
    double c = std::cos(-precession * Deg), s = std::sin(-precession * Deg);
    return {v.x * c - v.y * s, v.x * s + v.y * c, v.z};
}

// Angle between two directions, in arcseconds.
inline double AngleBetween(const Vector& a, const Vector& b) {
    double cx = a.y * b.z - a.z * b.y, cy = a.z * b.x - a.x * b.z, cz = a.x * b.y - a.y * b.x;
    double cross = std::sqrt(cx * cx + cy * cy + cz * cz);
    double dot = a.x * b.x + a.y * b.y + a.z * b.z;
    return std::atan2(cross, dot) / Deg * 3600.0;
}

}  // namespace twobody
