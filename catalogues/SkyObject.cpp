#include "catalogues/SkyObject.h"

#include <algorithm>
#include <cmath>

#include "astro/Constants.h"
#include "astro/Horizontal.h"
#include "astro/Observer.h"

namespace {

// Altitude of the centre of a star or small object at the moment it rises or
// sets: refraction at the horizon lifts it by about 34'.
constexpr double kRiseAltitudeDegrees = -0.5667;
// Solar days in one sidereal day: how long the sky takes to turn once.
constexpr double kSiderealDayInDays = 0.9972695663298751;

double TimeOfDayFraction(const DateTime& t) { return (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0; }

// The first moment (days after 0h UT of the universal date) at or after
// localMidnight that differs from m by whole sidereal days.
double OnLocalDate(double m, double localMidnight) {
    double offset = std::fmod(m - localMidnight, kSiderealDayInDays);
    if (offset < 0) offset += kSiderealDayInDays;
    return localMidnight + offset;
}

}  // namespace

void SkyObject::CorrectToDate(double&, double&) const {}

std::string SkyObject::GetName() const { return name_ ? *name_ : std::string(); }

const std::string& SkyObject::SetName(const std::string& text) {
    name_ = std::make_unique<std::string>(text);
    return *name_;
}

bool SkyObject::UpdateHorizontal(float limit, bool correct) {
    const Observer& observer = *TheObserver;
    double alpha = ra.radians;
    double delta = dec.radians;
    if (correct) CorrectToDate(alpha, delta);
    const double h = observer.localApparentSidereal.radians - alpha;
    // Too faint for the view: the last place stays, so that whatever was
    // drawn from it is not disturbed, but the object counts as not computed.
    if (magnitude > limit) {
        isComputed = false;
        return false;
    }
    const HorizontalPlace place = ToHorizontal(h, delta, observer.latitude.radians);
    azimuth.SetRadians(place.azimuth);
    altitude.SetRadians(place.altitude);
    belowHorizon = altitude.radians < 0;
    isComputed = true;
    return true;
}

uint32_t SkyObject::RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) {
    const Observer& observer = *TheObserver;
    // The place of the date: a catalogue place is decades of precession away
    // from the sky the sidereal time describes.
    double alpha = ra.radians;
    double delta = dec.radians;
    CorrectToDate(alpha, delta);
    // A place that is no number (a damaged record) has no times; claiming
    // three would hand NaN to every clock text shown.
    if (!std::isfinite(alpha) || !std::isfinite(delta)) return RtsNeverRises;

    const double phi = observer.latitude.radians;
    const double lambda = observer.longitude.radians;  // East positive
    const double theta0 = observer.greenwichSiderealAtZeroUT.radians;
    const double twoPi = 2.0 * static_cast<double>(Pi);

    const double h0 = kRiseAltitudeDegrees * static_cast<double>(Pi) / 180.0;
    const double cosH0 = (std::sin(h0) - std::sin(phi) * std::sin(delta)) / (std::cos(phi) * std::cos(delta));
    if (cosH0 > 1 || std::isnan(cosH0)) return RtsNeverRises;

    // Moments in days after 0h UT of the universal date. The sky turns once
    // per sidereal day, so angles of the sphere become fractions of a
    // sidereal day, not of a solar day.
    double m0 = std::fmod((alpha - lambda - theta0) / twoPi, 1.0);
    if (m0 < 0) m0 += 1.0;
    m0 *= kSiderealDayInDays;

    // The events of the observer's civil date: local midnight of that date,
    // in the same days after 0h UT.
    const double localMidnight = TimeOfDayFraction(observer.universal()) - TimeOfDayFraction(observer.civil());
    transit.SetRadians(twoPi * (OnLocalDate(m0, localMidnight) - localMidnight));
    // A star that never sets still crosses the meridian every day.
    if (cosH0 < -1) return RtsNeverSets | RtsTransit;

    const double halfArc = std::acos(cosH0) / twoPi * kSiderealDayInDays;
    rise.SetRadians(twoPi * (OnLocalDate(m0 - halfArc, localMidnight) - localMidnight));
    set.SetRadians(twoPi * (OnLocalDate(m0 + halfArc, localMidnight) - localMidnight));
    return RtsAll;
}
