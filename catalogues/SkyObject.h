#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "astro/Angles.h"

// Rise/transit/set status bits. Every RiseTransitSet, of fixed objects and
// of the Sun, the Moon and the planets alike, keeps to these rules:
// - all three events found: RtsAll (7), all three times written;
// - never rises on the date: RtsNeverRises (8), nothing written;
// - never sets on the date: RtsNeverSets | RtsTransit (18), the transit time
//   written (it still crosses the meridian every day), rise and set left
//   as they were.
// Callers show each time whose bit is set and test the bits, not the sum.
enum RiseTransitSetStatus : uint32_t {
    RtsRise = 1,
    RtsTransit = 2,
    RtsSet = 4,
    RtsAll = 7,
    RtsNeverRises = 8,
    RtsNeverSets = 16,
};

// Selection kinds (0 = nothing selected).
enum ObjectKind : uint16_t {
    KindNone = 0,
    KindStar = 1,
    KindDeepSky = 2,
    KindSun = 3,
    KindMoon = 4,
    KindPlanet = 5,
    KindMinorPlanet = 6,
};

// Base of everything placed on the sky.
class SkyObject {
public:
    SkyObject() = default;
    SkyObject(const SkyObject&) = delete;
    SkyObject& operator=(const SkyObject&) = delete;

    virtual ~SkyObject() = default;
    // Works on the caller's copies, never on the stored ra and dec.
    virtual void CorrectToDate(double& ra, double& dec) const;
    virtual uint32_t RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set);
    virtual std::string GetName() const;

    const std::string& SetName(const std::string& text);
    // The stored name, or nullptr when there is none.
    const std::string* Name() const { return name_ ? &*name_ : nullptr; }

    // Recomputes altitude and azimuth for the current observer; an object
    // fainter than limit is left as it was and reports false.
    bool UpdateHorizontal(float limit, bool correct);

    // Equatorial place: the catalogue's (J2000.0 for stars and deep-sky
    // objects, corrected to the date only on the way to the horizon) or, for
    // the bodies of the solar system, the apparent place of date.
    HmsAngle ra;
    DmsAngle dec;
    float magnitude = 0.0f;  // visual
    // Horizontal place at the observer's moment: altitude above the
    // horizon, azimuth a compass bearing (0 north, pi/2 east), radians.
    DmsAngle altitude;
    DmsAngle azimuth;
    // Where the last frame projected it: the view's plane, y upward.
    double screenX = 0.0;
    double screenY = 0.0;
    int16_t colourClass = 0;    // palette entry of a star's spectral class, 0-7
    bool isComputed = false;    // the horizontal place is of the current update
    bool belowHorizon = false;  // altitude < 0
    bool onScreen = false;      // drawn in the last frame

private:
    // Most catalogue stars have no name: one pointer keeps them small.
    std::unique_ptr<std::string> name_;
};
