#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "astro/Observer.h"
#include "settings/DisplayOptions.h"

class SettingsFile;

// How many places chosen from the city list are remembered.
inline constexpr int RecentPlaceCount = 5;

// The view's stored geometry: projection index and the centre of the view.
struct ViewSettings {
    int32_t projection = 2;  // equal area
    double elevation = 0.0;  // radians
    double direction = 0.0;  // radians, 0 = North
    bool operator==(const ViewSettings&) const = default;
};

// The animation step: unit (seconds, minutes, hours, days, sidereal days,
// months) and count.
struct StepSettings {
    int16_t type = 0;
    int16_t size = 1;
    bool operator==(const StepSettings&) const = default;
};

struct LimitSettings {
    double stars = 4.5;    // limiting magnitude of stars
    double deepSky = 9.0;  // limiting magnitude of deep-sky objects
    bool operator==(const LimitSettings&) const = default;
};

// Redraw intervals in timer ticks of 0.1 s.
struct IntervalSettings {
    int32_t real = 100;  // following the system clock
    int32_t anim = 10;   // animating
    bool operator==(const IntervalSettings&) const = default;
};

// The user's persistent preferences. A store is short-lived: create one, read
// or write a group of values, let it go. Creating it opens (and creates when
// missing) the user's settings file, see platform/ConfigPaths.h.
//
// Reads never fail: a missing value, a value stored with another type, or a
// store that could not be opened gives the caller's default. Every write
// replaces the file at once and atomically; it returns false when it could not
// be saved, and then nothing already saved is lost. Releasing the store makes
// its writes safe from a power cut too (once for all of them: a Save of every
// value would otherwise wait for the disk after each one).
//
// The group readers also turn stored values the program cannot use (a
// projection outside 0-8, a place off the globe, a negative interval) into
// their defaults, so that a damaged or hand-edited file cannot make the view
// or the clock misbehave.
//
// A save of many values (the preferences' Save) opens a transaction first:
// its writes are then only checked, and Commit stores them all in one
// replacement of the file, so that an interrupted save never leaves some of
// its values saved and others not.
class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool opened() const;
    // Why the values, although readable, cannot be saved (the settings file
    // is too large to read whole), for the message of a save; empty
    // otherwise.
    std::string Problem() const;

    // A switch is stored as an integer; any value but 0 reads as on.
    bool ReadBool(const std::string& name, bool def) const;
    int32_t ReadInt(const std::string& name, int32_t def) const;
    double ReadFloat(const std::string& name, double def) const;

    bool WriteBool(const std::string& name, bool v);
    bool WriteInt(const std::string& name, int32_t v);
    bool WriteFloat(const std::string& name, double v);

    // Holds every following write until Commit, which saves them together;
    // false from Commit when they could not be saved (none of them then is).
    // A store released with a transaction still open saves none of it.
    void BeginTransaction();
    bool Commit();

    // Deletes the product's whole settings folder (every version) and closes
    // the store; the next store starts from the defaults. False when the
    // folder could not be removed, which then stays as it was.
    bool Clean();

    // Group readers.
    // The place: longitude and latitude with their sexagesimal fields and
    // West/South flags set; the step fields keep their defaults. A stored
    // place off the globe (see PlaceInRange) gives the default place as a
    // whole, with a line on standard error.
    Observer::Setup ReadPlace() const;
    StepSettings ReadStep() const;
    // Place and step together, as the observer is built from them.
    Observer::Setup ReadObserverSetup() const;
    ViewSettings ReadView() const;
    int32_t ReadAsteroidCount() const;
    DisplayOptions ReadDisplayOptions() const;
    LimitSettings ReadLimits() const;
    IntervalSettings ReadIntervals() const;
    // The labels of the last places chosen from the city list, the latest
    // first; at most RecentPlaceCount, none empty.
    std::vector<std::string> ReadRecentPlaces() const;

    // Group writers: each writes its values in order and stops at the first
    // value that cannot be saved (the ones before it stay saved). True when
    // the whole group was saved. Only the longitude and latitude records'
    // deg, arcmin and arcsec fields and the isWest/isSouth flags of a place
    // are stored.
    bool WritePlace(const Observer::Setup& place);
    bool WriteStep(const StepSettings& step);
    bool WriteView(const ViewSettings& view);
    bool WriteAsteroidCount(int32_t count);
    bool WriteDisplayOptions(const DisplayOptions& options);
    bool WriteLimits(const LimitSettings& limits);
    bool WriteIntervals(const IntervalSettings& intervals);
    // Fills all RecentPlaceCount values, the unused ones empty.
    bool WriteRecentPlaces(const std::vector<std::string>& places);

    // Each catalogue's enabled flag under the catalogue's name, in order; a
    // flag that cannot be saved is skipped. Returns how many were saved.
    int WriteCatalogueFlags(const std::vector<std::pair<std::string, bool>>& flags);

private:
    std::unique_ptr<SettingsFile> file_;
};

// Whether degrees, minutes and seconds of arc make a coordinate of at most
// maxDegrees (180 for a longitude, 90 for a latitude) with whole minutes
// and seconds below 60 and nothing negative.
bool PlaceInRange(double degrees, double minutes, double seconds, double maxDegrees);
