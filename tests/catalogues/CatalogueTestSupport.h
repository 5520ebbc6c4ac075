#pragma once

#include <string>

#include "astro/Observer.h"

namespace catalogue_tests {

inline std::string FixturePath(const std::string& name) {
    return std::string(VELKARIS_TEST_FIXTURES) + "/catalogues/" + name;
}

// An observer standing still at a civil moment and a place given in degrees
// (East and North positive), published as the program's one observer for as
// long as it lives.
class StoppedObserver {
public:
    StoppedObserver(double longitudeDegrees, double latitudeDegrees, int zone, bool dst, int year, int month, int day,
                    int hour, int minute, int second)
        : observer_(Setup(longitudeDegrees, latitudeDegrees), [] { return LocalClockReading{}; }),
          previous_(TheObserver) {
        observer_.setUseSystemClock(false);
        observer_.stop();
        observer_.setDst(dst);
        observer_.setZone(zone);
        Set(year, month, day, hour, minute, second);
        TheObserver = &observer_;
    }
    ~StoppedObserver() { TheObserver = previous_; }
    StoppedObserver(const StoppedObserver&) = delete;
    StoppedObserver& operator=(const StoppedObserver&) = delete;

    void Set(int year, int month, int day, int hour, int minute, int second) {
        observer_.setCivil(static_cast<int16_t>(hour), static_cast<int16_t>(minute), static_cast<int16_t>(second),
                           static_cast<int16_t>(day), static_cast<int16_t>(month), static_cast<int16_t>(year));
        observer_.update();
    }

    Observer& operator*() { return observer_; }
    Observer* operator->() { return &observer_; }

private:
    static Observer::Setup Setup(double lon, double lat) {
        Observer::Setup s;
        Fill(s.longitude, lon);
        Fill(s.latitude, lat);
        s.isWest = lon < 0;
        s.isSouth = lat < 0;
        return s;
    }
    static void Fill(Angle& a, double degrees) {
        const double m = degrees < 0 ? -degrees : degrees;
        const int d = static_cast<int>(m);
        const int mi = static_cast<int>((m - d) * 60.0);
        const double s = ((m - d) * 60.0 - mi) * 60.0;
        a.SetSexagesimal(static_cast<uint16_t>(d), static_cast<uint16_t>(mi), static_cast<float>(s), degrees < 0);
    }

    Observer observer_;
    Observer* previous_;
};

}  // namespace catalogue_tests
