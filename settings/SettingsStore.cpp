#include "settings/SettingsStore.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <limits>

#include "astro/Projection.h"
#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/SettingsFile.h"

namespace {

// The value names are kept as the program has always spelled them, so that
// stored preferences stay valid ("Longtitude" included).
constexpr const char* LongitudeDegreesName = "LongtitudeDegrees";
constexpr const char* LongitudeMinutesName = "LongtitudeMinutes";
constexpr const char* LongitudeSecondsName = "LongtitudeSeconds";
constexpr const char* LongitudeIsWestName = "LongtitudeIsWest";
constexpr const char* LatitudeDegreesName = "LatitudeDegrees";
constexpr const char* LatitudeMinutesName = "LatitudeMinutes";
constexpr const char* LatitudeSecondsName = "LatitudeSeconds";
constexpr const char* LatitudeIsSouthName = "LatitudeIsSouth";

constexpr int32_t DefaultLongitudeDegrees = 6;
constexpr int32_t DefaultLongitudeMinutes = 53;
constexpr int32_t DefaultLatitudeDegrees = 52;
constexpr int32_t DefaultLatitudeMinutes = 21;

// Step units beyond the last one (months) mean "no step".
constexpr int32_t LastStepType = 5;

// The switches are read with the Moon before the Sun, but written in the
// record's own order; both orders name the same 27 values.
constexpr std::array<std::size_t, DisplayOptions::Count> DisplayOptionsReadOrder = {
    DisplayOptions::ShowStars,
    DisplayOptions::ShowStarNames,
    DisplayOptions::ShowBayerId,
    DisplayOptions::ShowFlamsteedId,
    DisplayOptions::ShowPlanets,
    DisplayOptions::ShowPlanetNames,
    DisplayOptions::ShowHorizon,
    DisplayOptions::ShowEquator,
    DisplayOptions::ShowHorizontalGrid,
    DisplayOptions::ShowEquatorialGrid,
    DisplayOptions::ShowDSOs,
    DisplayOptions::ShowDSONames,
    DisplayOptions::ShowConLines,
    DisplayOptions::ShowMessierOnly,
    DisplayOptions::ShowGalaxies,
    DisplayOptions::ShowClusters,
    DisplayOptions::ShowOtherDSOs,
    DisplayOptions::ShowMoon,
    DisplayOptions::ShowSun,
    DisplayOptions::ShowMoonName,
    DisplayOptions::ShowSunName,
    DisplayOptions::ShowUmbra,
    DisplayOptions::ShowHD,
    DisplayOptions::ShowMinorPlanets,
    DisplayOptions::ShowMPNames,
    DisplayOptions::ShowMPNumbers,
    DisplayOptions::HighAccuracy,
};

int16_t StepField(int32_t stored, int16_t def) {
    if (stored < std::numeric_limits<int16_t>::min() || stored > std::numeric_limits<int16_t>::max()) return def;
    return static_cast<int16_t>(stored);
}

}  // namespace

SettingsStore::SettingsStore() {
    const std::string folder = ProductSettingsFolder();
    if (folder.empty() || !MakeFolders(folder)) return;
    auto file = std::make_unique<SettingsFile>(SettingsFilePath());
    if (file->load()) file_ = std::move(file);
}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::opened() const { return file_ != nullptr; }

std::string SettingsStore::Problem() const { return file_ ? file_->problem() : std::string(); }

bool SettingsStore::ReadBool(const std::string& name, bool def) const {
    if (!file_) return def;
    const auto v = file_->intValue(name);
    return v ? *v != 0 : def;
}

int32_t SettingsStore::ReadInt(const std::string& name, int32_t def) const {
    if (!file_) return def;
    return file_->intValue(name).value_or(def);
}

double SettingsStore::ReadFloat(const std::string& name, double def) const {
    if (!file_) return def;
    return file_->floatValue(name).value_or(def);
}

bool SettingsStore::WriteBool(const std::string& name, bool v) { return file_ && file_->setInt(name, v ? 1 : 0); }

bool SettingsStore::WriteInt(const std::string& name, int32_t v) { return file_ && file_->setInt(name, v); }

bool SettingsStore::WriteFloat(const std::string& name, double v) { return file_ && file_->setFloat(name, v); }

void SettingsStore::BeginTransaction() {
    if (file_) file_->beginBatch();
}

bool SettingsStore::Commit() { return file_ && file_->commitBatch(); }

bool SettingsStore::Clean() {
    file_.reset();
    const std::string folder = ProductSettingsFolder();
    return !folder.empty() && RemoveFolderTree(folder);
}

Observer::Setup SettingsStore::ReadPlace() const {
    const int32_t lonDeg = ReadInt(LongitudeDegreesName, DefaultLongitudeDegrees);
    const int32_t lonMin = ReadInt(LongitudeMinutesName, DefaultLongitudeMinutes);
    const double lonSec = ReadFloat(LongitudeSecondsName, 0.0);
    const bool isWest = ReadBool(LongitudeIsWestName, false);
    const int32_t latDeg = ReadInt(LatitudeDegreesName, DefaultLatitudeDegrees);
    const int32_t latMin = ReadInt(LatitudeMinutesName, DefaultLatitudeMinutes);
    const double latSec = ReadFloat(LatitudeSecondsName, 0.0);
    const bool isSouth = ReadBool(LatitudeIsSouthName, false);

    Observer::Setup place;
    // Half a stored place is no place: one value off the globe discards the
    // others too, rather than mixing them with defaults.
    if (!PlaceInRange(lonDeg, lonMin, lonSec, 180.0) || !PlaceInRange(latDeg, latMin, latSec, 90.0)) {
        std::fprintf(stderr,
                     "Velkaris: the stored place (longitude %d\u00b0 %d' %g\", latitude %d\u00b0 %d' %g\") "
                     "is not on the globe; using the default place, %d\u00b0 %d' East, %d\u00b0 %d' North.\n",
                     lonDeg, lonMin, lonSec, latDeg, latMin, latSec, DefaultLongitudeDegrees, DefaultLongitudeMinutes,
                     DefaultLatitudeDegrees, DefaultLatitudeMinutes);
        place.longitude.SetSexagesimal(DefaultLongitudeDegrees, DefaultLongitudeMinutes, 0.0f, false);
        place.latitude.SetSexagesimal(DefaultLatitudeDegrees, DefaultLatitudeMinutes, 0.0f, false);
        return place;
    }
    place.isWest = isWest;
    place.isSouth = isSouth;
    place.longitude.SetSexagesimal(static_cast<uint16_t>(lonDeg), static_cast<uint16_t>(lonMin),
                                   static_cast<float>(lonSec), isWest);
    place.latitude.SetSexagesimal(static_cast<uint16_t>(latDeg), static_cast<uint16_t>(latMin),
                                  static_cast<float>(latSec), isSouth);
    return place;
}

StepSettings SettingsStore::ReadStep() const {
    StepSettings step;
    step.type = StepField(ReadInt("StepType", 0), 0);
    step.size = StepField(ReadInt("StepSize", 1), 1);
    // An unknown unit steps nothing; this also covers negative units, which
    // are as meaningless as those above the last one.
    if (step.type < 0 || step.type > LastStepType) step.size = 0;
    return step;
}

Observer::Setup SettingsStore::ReadObserverSetup() const {
    Observer::Setup setup = ReadPlace();
    const StepSettings step = ReadStep();
    setup.stepType = step.type;
    setup.stepSize = step.size;
    return setup;
}

ViewSettings SettingsStore::ReadView() const {
    ViewSettings view;
    const int32_t projection = ReadInt("Projection", view.projection);
    if (IsProjection(projection)) view.projection = projection;
    view.elevation = ReadFloat("Elevation", view.elevation);
    view.direction = ReadFloat("Direction", view.direction);
    return view;
}

int32_t SettingsStore::ReadAsteroidCount() const {
    const int32_t count = ReadInt("AsteroidsToShow", 250);
    return count < 0 ? 250 : count;
}

DisplayOptions SettingsStore::ReadDisplayOptions() const {
    DisplayOptions options;
    for (const std::size_t i : DisplayOptionsReadOrder)
        options[i] = ReadBool(DisplayOptions::Names[i], DisplayOptions::Defaults[i]);
    return options;
}

LimitSettings SettingsStore::ReadLimits() const {
    LimitSettings limits;
    limits.stars = ReadFloat("StarMagnitude", limits.stars);
    limits.deepSky = ReadFloat("DSOMagnitude", limits.deepSky);
    return limits;
}

IntervalSettings SettingsStore::ReadIntervals() const {
    // The update cycle redraws every interval + 1 ticks: a negative interval
    // would divide by zero and the largest integer would overflow.
    IntervalSettings intervals;
    const int32_t real = ReadInt("UpdateIntervalReal", intervals.real);
    const int32_t anim = ReadInt("UpdateIntervalAnim", intervals.anim);
    constexpr int32_t Largest = std::numeric_limits<int32_t>::max() - 1;
    if (real >= 0 && real <= Largest) intervals.real = real;
    if (anim >= 0 && anim <= Largest) intervals.anim = anim;
    return intervals;
}

namespace {
std::string RecentPlaceName(int i) { return "RecentPlace" + std::to_string(i + 1); }
}  // namespace

std::vector<std::string> SettingsStore::ReadRecentPlaces() const {
    std::vector<std::string> places;
    if (!file_) return places;
    for (int i = 0; i < RecentPlaceCount; ++i) {
        const auto place = file_->textValue(RecentPlaceName(i));
        if (place && !place->empty()) places.push_back(*place);
    }
    return places;
}

bool SettingsStore::WriteRecentPlaces(const std::vector<std::string>& places) {
    if (!file_) return false;
    for (int i = 0; i < RecentPlaceCount; ++i) {
        const std::size_t n = static_cast<std::size_t>(i);
        if (!file_->setText(RecentPlaceName(i), n < places.size() ? places[n] : std::string())) return false;
    }
    return true;
}

bool SettingsStore::WritePlace(const Observer::Setup& place) {
    return WriteInt(LongitudeDegreesName, place.longitude.deg) &&
           WriteInt(LongitudeMinutesName, place.longitude.arcmin) &&
           WriteFloat(LongitudeSecondsName, static_cast<double>(place.longitude.arcsec)) &&
           WriteBool(LongitudeIsWestName, place.isWest) && WriteInt(LatitudeDegreesName, place.latitude.deg) &&
           WriteInt(LatitudeMinutesName, place.latitude.arcmin) &&
           WriteFloat(LatitudeSecondsName, static_cast<double>(place.latitude.arcsec)) &&
           WriteBool(LatitudeIsSouthName, place.isSouth);
}

bool SettingsStore::WriteStep(const StepSettings& step) {
    return WriteInt("StepType", step.type) && WriteInt("StepSize", step.size);
}

bool SettingsStore::WriteView(const ViewSettings& view) {
    return WriteInt("Projection", view.projection) && WriteFloat("Elevation", view.elevation) &&
           WriteFloat("Direction", view.direction);
}

bool SettingsStore::WriteAsteroidCount(int32_t count) { return WriteInt("AsteroidsToShow", count); }

bool SettingsStore::WriteDisplayOptions(const DisplayOptions& options) {
    for (std::size_t i = 0; i < DisplayOptions::Count; ++i)
        if (!WriteBool(DisplayOptions::Names[i], options[i])) return false;
    return true;
}

bool SettingsStore::WriteLimits(const LimitSettings& limits) {
    return WriteFloat("StarMagnitude", limits.stars) && WriteFloat("DSOMagnitude", limits.deepSky);
}

bool SettingsStore::WriteIntervals(const IntervalSettings& intervals) {
    return WriteInt("UpdateIntervalReal", intervals.real) && WriteInt("UpdateIntervalAnim", intervals.anim);
}

int SettingsStore::WriteCatalogueFlags(const std::vector<std::pair<std::string, bool>>& flags) {
    int saved = 0;
    for (const auto& [name, enabled] : flags)
        if (WriteBool(name, enabled)) ++saved;
    return saved;
}

bool PlaceInRange(double degrees, double minutes, double seconds, double maxDegrees) {
    // Written so that a NaN fails every test. The seconds are also checked as
    // the angle record keeps them, where 59.99999999 would round to 60.
    if (!(degrees >= 0.0 && minutes >= 0.0 && minutes < 60.0 && seconds >= 0.0 && seconds < 60.0 &&
          static_cast<float>(seconds) < 60.0f))
        return false;
    return degrees + minutes / 60.0 + seconds / 3600.0 <= maxDegrees;
}
