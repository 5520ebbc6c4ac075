// A settings file of any content: what the program reads from it, and what
// a save of those values leaves in the file.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/ConfigPaths.h"
#include "platform/SettingsFile.h"
#include "settings/SettingsStore.h"

namespace {

struct Groups {
    Observer::Setup place;
    StepSettings step;
    ViewSettings view;
    int32_t asteroids = 0;
    DisplayOptions options;
    LimitSettings limits;
    IntervalSettings intervals;
    std::vector<std::string> recent;
};

Groups ReadGroups(const SettingsStore& store) {
    return {store.ReadObserverSetup(),  store.ReadStep(),   store.ReadView(),      store.ReadAsteroidCount(),
            store.ReadDisplayOptions(), store.ReadLimits(), store.ReadIntervals(), store.ReadRecentPlaces()};
}

bool SamePlace(const Angle& a, const Angle& b) {
    return a.deg == b.deg && a.arcmin == b.arcmin && a.arcsec == b.arcsec && a.negative == b.negative;
}

void CheckRanges(const Groups& g) {
    FUZZ_CHECK(PlaceInRange(g.place.longitude.deg, g.place.longitude.arcmin, g.place.longitude.arcsec, 180.0));
    FUZZ_CHECK(PlaceInRange(g.place.latitude.deg, g.place.latitude.arcmin, g.place.latitude.arcsec, 90.0));
    FUZZ_CHECK(g.view.projection >= 0 && g.view.projection <= 8);
    FUZZ_CHECK(std::isfinite(g.view.elevation) && std::isfinite(g.view.direction));
    FUZZ_CHECK(g.asteroids >= 0);
    FUZZ_CHECK(std::isfinite(g.limits.stars) && std::isfinite(g.limits.deepSky));
    FUZZ_CHECK(g.intervals.real >= 0 && g.intervals.real < INT32_MAX);
    FUZZ_CHECK(g.intervals.anim >= 0 && g.intervals.anim < INT32_MAX);
    FUZZ_CHECK(g.recent.size() <= static_cast<std::size_t>(RecentPlaceCount));
    for (const std::string& place : g.recent) FUZZ_CHECK(!place.empty());
}

bool SameEntries(const std::vector<SettingsFile::Entry>& a, const std::vector<SettingsFile::Entry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].value != b[i].value) return false;
    }
    return true;
}

// The names a save of every group writes, found by saving the defaults once.
std::set<std::string>& SavedNames() {
    static std::set<std::string> names;
    return names;
}

void SaveGroups(SettingsStore& store, const Groups& g) {
    store.BeginTransaction();
    store.WritePlace(g.place);
    store.WriteStep(g.step);
    store.WriteView(g.view);
    store.WriteAsteroidCount(g.asteroids);
    store.WriteDisplayOptions(g.options);
    store.WriteLimits(g.limits);
    store.WriteIntervals(g.intervals);
    store.WriteRecentPlaces(g.recent);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::FixedObserver();
    static const std::string defaults = fuzz::ScratchFolder("settings-defaults");
    setenv("XDG_CONFIG_HOME", defaults.c_str(), 1);
    {
        SettingsStore store;
        SaveGroups(store, ReadGroups(store));
        if (!store.Commit()) std::abort();
    }
    SettingsFile file(SettingsFilePath());
    if (!file.load()) std::abort();
    for (const SettingsFile::Entry& e : file.entries()) SavedNames().insert(e.name);
    static const std::string home = fuzz::ScratchFolder("settings");
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    SettingsStore make;  // makes the folder the file is written into
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::Text(data, size);

    // The text form on its own: what is written back reads as what was read.
    const std::vector<SettingsFile::Entry> entries = SettingsFile::Parse(text);
    FUZZ_CHECK(SameEntries(SettingsFile::Parse(SettingsFile::Serialise(entries)), entries));

    // The file as the program meets it at start.
    const std::string path = SettingsFilePath();
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    Groups read;
    {
        SettingsStore store;
        FUZZ_CHECK(store.opened());
        read = ReadGroups(store);
        CheckRanges(read);

        // Saved as the preferences' Save does: everything in one go.
        SaveGroups(store, read);
        FUZZ_CHECK(store.Commit());
    }

    // Read back, the values are the ones saved...
    SettingsStore again;
    const Groups back = ReadGroups(again);
    FUZZ_CHECK(SamePlace(back.place.longitude, read.place.longitude));
    FUZZ_CHECK(SamePlace(back.place.latitude, read.place.latitude));
    FUZZ_CHECK(back.place.isWest == read.place.isWest && back.place.isSouth == read.place.isSouth);
    FUZZ_CHECK(back.step == read.step);
    FUZZ_CHECK(back.view == read.view);
    FUZZ_CHECK(back.asteroids == read.asteroids);
    FUZZ_CHECK(back.options == read.options);
    FUZZ_CHECK(back.limits == read.limits);
    FUZZ_CHECK(back.intervals == read.intervals);
    FUZZ_CHECK(back.recent == read.recent);

    // ...and every other value of the file is kept as it was.
    SettingsFile saved(path);
    FUZZ_CHECK(saved.load());
    for (const SettingsFile::Entry& e : entries) {
        const auto& now = saved.entries();
        const auto it =
            std::find_if(now.begin(), now.end(), [&](const SettingsFile::Entry& n) { return n.name == e.name; });
        FUZZ_CHECK(it != now.end());
        if (!SavedNames().count(e.name)) FUZZ_CHECK(it->type == e.type && it->value == e.value);
    }
    return 0;
}
