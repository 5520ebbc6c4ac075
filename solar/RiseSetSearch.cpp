#include "solar/RiseSetSearch.h"

#include <algorithm>
#include <cmath>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "catalogues/SkyObject.h"

namespace {

// Sidereal turns per solar day.
constexpr double kSiderealRate = 1.00273790935;
// A refinement stops when its last step is below this (days, under 0.1 s)
// and gives up after kMaxSteps steps: no body may make it run on.
constexpr double kConverged = 1e-6;
constexpr int kMaxSteps = 20;
// A Newton step longer than this (days) is cut to it, so that a body near
// the limit of rising never throws the search days away from its date.
constexpr double kMaxStep = 0.25;

double TwoPi() { return 2.0 * static_cast<double>(Pi); }

double WrapPi(double a) {
    a = std::fmod(a, TwoPi());
    if (a > static_cast<double>(Pi)) a -= TwoPi();
    if (a < -static_cast<double>(Pi)) a += TwoPi();
    return a;
}

double TimeOfDayFraction(const DateTime& t) { return (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0; }

enum Event { Rise = 0, Transit = 1, Set = 2 };

struct SearchDay {
    double j0 = 0;      // Julian date (UT) of 0h UT of the universal date
    double theta0 = 0;  // Greenwich apparent sidereal time then, radians
    double lambda = 0;  // East longitude, radians
    double sinPhi = 0, cosPhi = 0;
    double localMidnight = 0;  // start of the civil date, days after j0
    double deltaT = 0;         // dynamical minus universal time, days
};

double HourAngle(const SearchDay& d, double m, double ra) {
    return WrapPi(d.theta0 + TwoPi() * kSiderealRate * m + d.lambda - ra);
}

BodyPlace PlaceAtMoment(const SearchDay& d, const PlaceAt& place, NutationKeeper& keeper, double m) {
    const double jde = d.j0 + m + d.deltaT;
    keeper.MoveTo(jde);
    return place(jde);
}

// Newton's method on the hour angle (transit) or on the altitude (rise and
// set), the body's place taken anew at every step. True when it settled on
// an event of the kind asked for.
bool Refine(const SearchDay& d, const PlaceAt& place, NutationKeeper& keeper, Event event, double& m) {
    for (int step = 0; step < kMaxSteps; ++step) {
        const BodyPlace p = PlaceAtMoment(d, place, keeper, m);
        const double h = HourAngle(d, m, p.ra);
        double dm;
        if (event == Transit) {
            dm = -h / (TwoPi() * kSiderealRate);
        } else {
            const double cosDec = std::cos(p.dec);
            const double sinAlt = std::clamp(d.sinPhi * std::sin(p.dec) + d.cosPhi * cosDec * std::cos(h), -1.0, 1.0);
            const double slope = TwoPi() * kSiderealRate * cosDec * d.cosPhi * std::sin(h);
            if (!(std::fabs(slope) > 1e-12)) return false;
            dm = (std::asin(sinAlt) - p.riseAltitude) / slope;
        }
        if (!std::isfinite(dm)) return false;
        dm = std::clamp(dm, -kMaxStep, kMaxStep);
        m += dm;
        if (std::fabs(dm) < kConverged) {
            // A rise lies east of the meridian, a set west of it; Newton's
            // method may have slid to the other one.
            if (event == Rise) return h < 0;
            if (event == Set) return h > 0;
            return true;
        }
    }
    return false;
}

}  // namespace

double SunRiseAltitude() { return -0.8333 * static_cast<double>(Pi) / 180.0; }

double PlanetRiseAltitude() { return -0.5667 * static_cast<double>(Pi) / 180.0; }

NutationKeeper::NutationKeeper(Observer& observer)
    : observer_(observer),
      dpsi_(observer.nutationInLongitude),
      deps_(observer.nutationInObliquity),
      meanObliquity_(observer.meanObliquity),
      trueObliquity_(observer.trueObliquity) {}

NutationKeeper::~NutationKeeper() {
    observer_.nutationInLongitude = dpsi_;
    observer_.nutationInObliquity = deps_;
    observer_.meanObliquity = meanObliquity_;
    observer_.trueObliquity = trueObliquity_;
}

void NutationKeeper::MoveTo(double jde) { observer_.computeNutation(jde); }

uint32_t SearchRiseTransitSet(Observer& observer, const PlaceAt& place, HmsAngle& rise, HmsAngle& transit,
                              HmsAngle& set) {
    const DateTime ut = observer.universal();
    SearchDay d;
    d.j0 = Observer::julianDayOf(ut.year, ut.month, ut.day, 0, 0, 0);
    d.theta0 = observer.greenwichSiderealAtZeroUT.radians;
    d.lambda = observer.longitude.radians;
    d.sinPhi = std::sin(observer.latitude.radians);
    d.cosPhi = std::cos(observer.latitude.radians);
    d.localMidnight = TimeOfDayFraction(ut) - TimeOfDayFraction(observer.civil());
    d.deltaT = observer.dynamicalJulianDate - observer.julianDate;

    NutationKeeper keeper(observer);
    double found[3] = {0, 0, 0};
    uint32_t bits = 0;
    bool neverRises = false, neverSets = false;
    // The events of the day before and the day after can fall on the civil
    // date too (a transit near midnight, a Moon that rises later every day):
    // each day's events are refined from that day's noon, and a later day's
    // event replaces an earlier one on the date.
    for (int day = -1; day <= 1; ++day) {
        const double noon = d.localMidnight + day + 0.5;
        const BodyPlace p = PlaceAtMoment(d, place, keeper, noon);
        const double transitStart = noon - HourAngle(d, noon, p.ra) / (TwoPi() * kSiderealRate);
        const double cosH0 = (std::sin(p.riseAltitude) - d.sinPhi * std::sin(p.dec)) / (d.cosPhi * std::cos(p.dec));
        if (day == 0) {
            // A pole of the sky at the observer's zenith (or a place that is
            // no number) makes the quotient no number: nothing rises there.
            neverRises = !(cosH0 <= 1.0);
            neverSets = cosH0 < -1.0;
        }
        double start[3] = {transitStart, transitStart, transitStart};
        const bool crosses = cosH0 >= -1.0 && cosH0 <= 1.0;
        if (crosses) {
            const double halfArc = std::acos(cosH0) / (TwoPi() * kSiderealRate);
            start[Rise] -= halfArc;
            start[Set] += halfArc;
        }
        for (Event e : {Rise, Transit, Set}) {
            if (e != Transit && !crosses) continue;
            double m = start[e];
            if (!Refine(d, place, keeper, e, m)) continue;
            if (m < d.localMidnight || m >= d.localMidnight + 1.0) continue;
            found[e] = m;
            bits |= e == Rise ? RtsRise : e == Transit ? RtsTransit : RtsSet;
        }
    }

    if (!(bits & (RtsRise | RtsSet))) {
        if (neverRises) return RtsNeverRises;
        if (neverSets) bits = RtsNeverSets | (bits & RtsTransit);
    }
    const auto clock = [&](double m) { return TwoPi() * (m - d.localMidnight); };
    if (bits & RtsRise) rise.SetRadians(clock(found[Rise]));
    if (bits & RtsTransit) transit.SetRadians(clock(found[Transit]));
    if (bits & RtsSet) set.SetRadians(clock(found[Set]));
    return bits;
}
