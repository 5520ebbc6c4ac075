#pragma once

#include <cstdint>
#include <functional>

#include "astro/Angles.h"

class Observer;

// Rise, transit and set of a body that moves among the stars (the Sun, the
// Moon, the planets), for the observer's civil date, found by refining each
// event against the body's place at that very moment.
//
// Moments are counted in days of Universal Time after 0h UT of the
// observer's universal date.

// Where a body stands at a moment: apparent right ascension and declination
// (radians, true equator and equinox of date, geocentric) and the altitude of
// its centre (radians) at which it rises or sets.
struct BodyPlace {
    double ra = 0.0;
    double dec = 0.0;
    double riseAltitude = 0.0;
};
using PlaceAt = std::function<BodyPlace(double jde)>;

// Altitudes of the centre at rising and setting, radians: the Sun's upper limb
// (refraction 34', semi-diameter 16'), a planet's centre (refraction only).
// The Moon's depends on its parallax (Moon.h).
double SunRiseAltitude();
double PlanetRiseAltitude();

// Searches the events of the observer's civil date. The status is that of
// every rise/transit/set search: bits RtsRise, RtsTransit, RtsSet for the
// events found inside the civil date (their times written as local civil
// clock times); RtsNeverRises alone when the body stays below the horizon all
// day; RtsNeverSets, with RtsTransit when the transit falls on the date, when
// it stays above. Times not found are left as they were.
//
// place is asked for moments around the date; it may move the observer's
// nutation to them, which is restored to the current moment before this
// returns. Each refinement is bounded, so that no body can make it run on.
uint32_t SearchRiseTransitSet(Observer& observer, const PlaceAt& place, HmsAngle& rise, HmsAngle& transit,
                              HmsAngle& set);

// Keeps the observer's nutation and obliquity of the current moment across
// computations at other moments, and puts them back when it goes.
class NutationKeeper {
public:
    explicit NutationKeeper(Observer& observer);
    ~NutationKeeper();
    NutationKeeper(const NutationKeeper&) = delete;
    NutationKeeper& operator=(const NutationKeeper&) = delete;
    // Nutation and obliquity for a dynamical Julian date.
    void MoveTo(double jde);

private:
    Observer& observer_;
    long double dpsi_, deps_;
    double meanObliquity_, trueObliquity_;
};
