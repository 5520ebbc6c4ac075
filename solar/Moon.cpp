#include "solar/Moon.h"

#include <cmath>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "solar/Planet.h"
#include "solar/RiseSetSearch.h"
#include "solar/Sun.h"

namespace {

constexpr double kRadiansPerArcsecond = 4.848132257047972e-06;
constexpr double kEarthRadiiPerKm = 0.00015678552054360675;
constexpr double kEarthRadiiPerAu = 23455.0;
constexpr double kSiderealRate = 1.00273790935;

// Multiples of D, M, M', F and the coefficients of the sine for the longitude
// (1e-6 degree) and of the cosine for the distance (1e-3 km).
struct LongitudeTerm {
    int16_t d, m, mp, f;
    double sinL, cosR;
};
constexpr LongitudeTerm kLongitude[60] = {
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
};

// Multiples of D, M, M', F and the coefficient of the sine for the latitude
// (1e-6 degree).
struct LatitudeTerm {
    int16_t d, m, mp, f;
    double sinB;
};
constexpr LatitudeTerm kLatitude[60] = {
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602},  {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237}, {2, 0, -1, 1, 55413},
    {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},   {2, 0, 1, -1, 9266},   {0, 0, 2, -1, 8822},
    {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},  {2, 0, 1, 1, 4200},    {2, 1, 0, -1, -3359},  {2, -1, -1, 1, 2463},
    {2, -1, 0, 1, 2211},   {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828},  {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},   {0, 1, -1, 1, -1565},  {1, 0, 0, 1, -1491},   {0, 1, 1, 1, -1475},   {0, 1, 1, -1, -1410},
    {0, 1, 0, -1, -1344},  {1, 0, 0, -1, -1335},  {0, 0, 3, 1, 1107},    {4, 0, 0, -1, 1021},   {4, 0, -1, 1, 833},
    {0, 0, 1, -3, 777},    {4, 0, -2, 1, 671},    {2, 0, 0, -3, 607},    {2, 0, 2, -1, 596},    {2, -1, 1, -1, 491},
    {2, 0, -2, 1, -451},   {0, 0, 3, -1, 439},    {2, 0, 2, 1, 422},     {2, 0, -3, -1, 421},   {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},    {4, 0, 0, 1, 331},     {2, -1, 1, 1, 315},    {2, -2, 0, -1, 302},   {0, 0, 1, 3, -283},
    {2, 1, 1, -1, -229},   {1, 1, 0, -1, 223},    {1, 1, 0, 1, 223},     {0, 1, -2, -1, -220},  {2, 1, -1, -1, -220},
    {1, 0, 1, 1, -185},    {2, -1, -2, -1, 181},  {0, 1, 2, 1, -177},    {4, 0, -2, -1, 176},   {4, -1, -1, -1, 166},
    {1, 0, 1, -1, -164},   {4, 0, 1, -1, 132},    {1, 0, -1, -1, -119},  {4, -1, 0, -1, 115},   {2, -2, 0, 1, 107},
};

// A fundamental argument given in degrees, reduced into a turn, in radians.
double Argument(double degrees) {
    Angle a;
    return a.SetDegrees(degrees);
}

double EccentricityFactor(int m, double e) { return m == 0 ? 1.0 : (m == 1 || m == -1) ? e : e * e; }

}  // namespace

double MoonRiseAltitude(double parallax) {
    // The semi-diameter is 0.2725 of the parallax; refraction lifts by 34'.
    return 0.7275 * parallax - 0.5667 * static_cast<double>(Pi) / 180.0;
}

Moon::Moon(Sun* theSun) : sun(theSun) { SetName("Moon"); }

Moon::Geocentric Moon::GeocentricAt(double jde) const {
    const Observer& o = *TheObserver;
    double t = o.T, t2 = o.T2, t3 = o.T3, t4 = o.T4;
    if (jde != 0.0) {
        t = Observer::centuriesSinceJ2000(jde);
        t2 = t * t;
        t3 = t2 * t;
        t4 = t3 * t;
    }
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double lp = Argument(218.3164477 + 481267.88123421 * t - 0.0015786 * t2 + t3 / 538841 - t4 / 65194000);
    const double d = Argument(297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868 - t4 / 113065000);
    const double m = Argument(357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000);
    const double mp = Argument(134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699 - t4 / 14712000);
    const double f = Argument(93.272095 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000 + t4 / 863310000);

    double sumL = 0, sumR = 0, sumB = 0;
    for (const LongitudeTerm& r : kLongitude) {
        const double a = r.d * d + r.m * m + r.mp * mp + r.f * f;
        const double k = EccentricityFactor(r.m, e);
        sumL += r.sinL * k * std::sin(a);
        sumR += r.cosR * k * std::cos(a);
    }
    for (const LatitudeTerm& r : kLatitude) {
        sumB += r.sinB * EccentricityFactor(r.m, e) * std::sin(r.d * d + r.m * m + r.mp * mp + r.f * f);
    }
    const double a1 = Argument(119.75 + 131.849 * t);
    const double a2 = Argument(53.09 + 479264.29 * t);
    const double a3 = Argument(313.45 + 481266.484 * t);
    sumL += 3958 * std::sin(a1) + 1962 * std::sin(lp - f) + 318 * std::sin(a2);
    sumB += -2235 * std::sin(lp) + 382 * std::sin(a3) + 175 * std::sin(a1 - f) + 175 * std::sin(a1 + f) +
            127 * std::sin(lp - mp) - 115 * std::sin(lp + mp);

    Geocentric g;
    const double lpDegrees = lp * 180.0 / static_cast<double>(Pi);
    g.latitude = Argument(sumB * 1e-6);
    g.distanceKm = 385000.56 + sumR * 0.001;
    g.parallax = std::asin(EarthRadiusKm / g.distanceKm);
    // Apparent: nutation in longitude added; the Moon moves with the Earth,
    // so there is no annual aberration to apply.
    g.longitude = Argument(lpDegrees + sumL * 1e-6 + static_cast<double>(o.nutationInLongitude));
    const double eps = o.trueObliquity;
    g.ra =
        std::atan2(std::sin(g.longitude) * std::cos(eps) - std::tan(g.latitude) * std::sin(eps), std::cos(g.longitude));
    g.dec =
        std::asin(std::sin(g.latitude) * std::cos(eps) + std::cos(g.latitude) * std::sin(eps) * std::sin(g.longitude));
    return g;
}

void Moon::Topocentric(const Geocentric& g, double hourAngle, double& topoRa, double& topoDec) const {
    const double phi = TheObserver->latitude.radians;
    // The observer's geocentric latitude and distance from the Earth's centre
    // (Earth radii) on the reference ellipsoid.
    const double phiPrime = phi - 0.003358 * std::sin(2 * phi);
    const double rho = 0.9983271 + 0.0016764 * std::cos(2 * phi) - 0.0000035 * std::cos(4 * phi);
    const double sinPi = std::sin(g.parallax);
    const double q = std::cos(g.dec) - rho * std::cos(phiPrime) * sinPi * std::cos(hourAngle);
    const double dAlpha = std::atan2(-rho * std::cos(phiPrime) * sinPi * std::sin(hourAngle), q);
    topoRa = g.ra + dAlpha;
    topoDec = std::atan2((std::sin(g.dec) - rho * std::sin(phiPrime) * sinPi) * std::cos(dAlpha), q);
}

void Moon::Position(double jde) {
    const Observer& o = *TheObserver;
    const Geocentric g = GeocentricAt(jde);
    distanceKm = g.distanceKm;
    distanceEarthRadii = distanceKm * kEarthRadiiPerKm;
    apparentDiameter.SetRadians(
        distanceEarthRadii != 0 ? DiameterAtUnitDistance / distanceEarthRadii * kRadiansPerArcsecond : 0.1);
    apparentDiameter.DegreesToSexagesimal();
    x = distanceEarthRadii * std::cos(g.longitude) * std::cos(g.latitude);
    y = distanceEarthRadii * std::sin(g.longitude) * std::cos(g.latitude);
    z = distanceEarthRadii * std::sin(g.latitude);

    const Sun::Place s = sun->PlaceFor(jde);
    const double sx = s.X - x / kEarthRadiiPerAu, sy = s.Y - y / kEarthRadiiPerAu, sz = s.Z - z / kEarthRadiiPerAu;
    distanceFromSun = std::sqrt(sx * sx + sy * sy + sz * sz);
    elongation.SetRadians(ClampedAcos(std::cos(s.longitude - g.longitude) * std::cos(g.latitude)));
    phaseAngle = static_cast<double>(Pi) - elongation.radians;
    illuminatedFraction = (1 + std::cos(phaseAngle)) / 2;
    magnitude = MagnitudeOf(MagnitudeAtUnitDistance, distanceFromSun, distanceEarthRadii / kEarthRadiiPerAu,
                            illuminatedFraction);

    // The local hour angle now, or at the other moment from the sidereal time
    // of 0h UT and the time of day.
    double localSidereal = o.localApparentSidereal.radians;
    if (jde != 0.0) {
        const DateTime ut = o.universal();
        const double j0 = Observer::julianDayOf(ut.year, ut.month, ut.day, 0, 0, 0);
        const double jd = jde - (o.dynamicalJulianDate - o.julianDate);
        localSidereal = o.greenwichSiderealAtZeroUT.radians +
                        2.0 * static_cast<double>(Pi) * kSiderealRate * (jd - j0) + o.longitude.radians;
    }
    double topoRa, topoDec;
    Topocentric(g, localSidereal - g.ra, topoRa, topoDec);
    ra.SetRadians(topoRa);
    dec.SetRadians(topoDec);
}

uint32_t Moon::RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) {
    // Rising and setting are searched on the geocentric place against the
    // altitude that allows for the parallax: the topocentric place already
    // holds the parallax, and counting it twice would put moonrise minutes
    // late.
    return SearchRiseTransitSet(
        *TheObserver,
        [this](double jde) {
            const Geocentric g = GeocentricAt(jde);
            return BodyPlace{g.ra, g.dec, MoonRiseAltitude(g.parallax)};
        },
        rise, transit, set);
}
