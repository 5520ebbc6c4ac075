#include "controller/Planetarium.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <utility>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/ConstellationFigure.h"
#include "catalogues/DeepSkyObject.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/PreferencesDialog.h"
#include "controller/ReportDisplay.h"
#include "controller/UserMessages.h"
#include "settings/CatalogueDiscovery.h"
#include "settings/SettingsStore.h"
#include "solar/EarthShadow.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"
#include "view/SkyFrame.h"
#include "view/SkyView.h"
#include "view/SkyViewSettings.h"

namespace {

// Farther than anything inside the view: a click finds nothing only when no
// candidate lies within this many plane units.
constexpr double NoCandidate = 999.0;

// The star catalogue that constellation figures are bound to.
constexpr const char* FoundationCatalogue = "foundation";

constexpr const char* ConstellationFile = "data/constellations.dat";
constexpr const char* DeepSkyFile = "data/dsocat.dat";
constexpr const char* MinorPlanetFile = "data/asteroids.dat";

// The planets in the order of the planet index: name, apparent diameter at
// 1 au (arcseconds), magnitude at 1 au from the Sun and the Earth.
struct PlanetConstants {
    const char* name;
    double diameter;
    double magnitude;
};
constexpr PlanetConstants SeriesPlanets[] = {
    {"Mercury", 6.74, -0.42}, {"Venus", 16.92, -4.40}, {"Mars", 9.36, -1.52},    {"Jupiter", 196.94, -9.40},
    {"Saturn", 165.6, -8.80}, {"Uranus", 65.8, -7.19}, {"Neptune", 62.2, -6.87},
};
// The progress bar's steps for each planet while the series load.
constexpr int StepsPerPlanet = 12;

std::string Format(const char* format, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// Passes jobs and steps on to the window's progress (if any) and keeps the
// problems, which are shown as message boxes once the load they belong to is
// done, in the order they arose.
class ProgressRelay : public LoadProgress {
public:
    explicit ProgressRelay(LoadProgress* shown) : shown_(shown) {}
    void SetJob(const std::string& text) override {
        if (shown_) shown_->SetJob(text);
    }
    void Step(int n) override {
        if (shown_) shown_->Step(n);
    }
    void ReportProblem(const std::string& message) override { problems_.push_back(message); }
    std::vector<std::string> TakeProblems() { return std::exchange(problems_, {}); }

private:
    LoadProgress* shown_;
    std::vector<std::string> problems_;
};

}  // namespace

Planetarium::Planetarium(const PlanetariumLinks& links)
    : links_(links),
      deepSky_(std::make_unique<DeepSkyCatalogue>()),
      figures_(std::make_unique<ConstellationFigures>()),
      minorPlanets_(std::make_unique<MinorPlanetList>()),
      scene_(std::make_unique<SkyScene>()) {
    readSlewFile = writeSlewFile = false;
    syncingClockControls_ = false;
    InitialiseConstants();

    {
        SettingsStore store;
        view_ = std::make_unique<SkyView>(ReadSkyViewSettings(store), links_.panel);
    }

    ClearSelection();
    ClearLock();

    {
        SettingsStore store;
        const Observer::Setup setup = store.ReadObserverSetup();
        observer_ = links_.clock ? std::make_unique<Observer>(setup, links_.clock) : std::make_unique<Observer>(setup);
    }
    TheObserver = observer_.get();
    observer_->setUseSystemClock(true);
    observer_->update();
    if (links_.placeObserver) links_.placeObserver(*observer_);
    UpdateStatus();

    if (links_.createPreferences) prefsDialog_ = links_.createPreferences();
    if (links_.createReport) report_ = links_.createReport();

    std::unique_ptr<LoadProgress> progress;
    if (links_.createProgress) progress = links_.createProgress();

    LoadSolarSystem(progress.get());
    starCatalogueCount_ = 0;
    // Figures come before the stars: loading the foundation catalogue
    // resolves them.
    LoadConstellationFigures(progress.get());
    LoadStarCatalogues(progress.get());
    LoadDeepSkyCatalogue(progress.get());
    LoadMinorPlanets(progress.get());
    progress.reset();

    Recompute();
    tickCount_ = 0;
    {
        SettingsStore store;
        const IntervalSettings intervals = store.ReadIntervals();
        updateIntervalReal_ = static_cast<uint32_t>(intervals.real);
        updateIntervalAnim_ = static_cast<uint32_t>(intervals.anim);
        recentPlaces_ = store.ReadRecentPlaces();
    }
    SyncClockControls();
    tickCount_ = 0;
    Redraw();
}

Planetarium::~Planetarium() {
    // Nothing a frame shows may outlive what it points at.
    selected_ = locked_ = nullptr;
    scene_.reset();
    // Constellation figures first, as they point at stars.
    figures_.reset();
    for (auto& catalogue : starCatalogues_) catalogue.reset();
    deepSky_.reset();
    minorPlanets_.reset();
    // Then the planets, the Earth's shadow, the Moon and the Sun (which the
    // others point at).
    for (auto& planet : planets_) planet.reset();
    earthShadow_.reset();
    moon_.reset();
    sun_.reset();
    report_.reset();
    if (TheObserver == observer_.get()) TheObserver = nullptr;
    observer_.reset();
    prefsDialog_.reset();
    view_.reset();
}

void Planetarium::Warn(const std::string& text) {
    if (links_.messages) links_.messages->Warning(text);
}

// --- loading -------------------------------------------------------------------

void Planetarium::LoadSolarSystem(LoadProgress* shown) {
    ProgressRelay relay(shown);
    relay.SetJob("Loading VSOP87 Terms");
    sun_ = std::make_unique<Sun>();
    if (sun_->SeriesStatus() != SeriesFileStatus::Read)
        relay.ReportProblem(SeriesProblemText(sun_->SeriesPath(), sun_->SeriesStatus()));
    moon_ = std::make_unique<Moon>(sun_.get());
    earthShadow_ = std::make_unique<EarthShadow>(sun_.get(), moon_.get());
    for (int i = 0; i < PlanetCount; ++i) {
        relay.Step(StepsPerPlanet);
        if (i == PlanetCount - 1) {
            planets_[i] = std::make_unique<Pluto>(sun_.get());
            continue;
        }
        const PlanetConstants& c = SeriesPlanets[i];
        planets_[i] = std::make_unique<Planet>(c.name, c.diameter, c.magnitude, sun_.get());
        if (planets_[i]->SeriesStatus() != SeriesFileStatus::Read)
            relay.ReportProblem(SeriesProblemText(planets_[i]->SeriesPath(), planets_[i]->SeriesStatus()));
    }
    for (const std::string& problem : relay.TakeProblems()) Warn(problem);
}

void Planetarium::LoadConstellationFigures(LoadProgress* progress) {
    ProgressRelay relay(progress);
    if (!figures_->Load(ConstellationFile, &relay)) Warn("Error opening the Constellation Definition file");
    for (const std::string& problem : relay.TakeProblems()) Warn(problem);
}

void Planetarium::LoadStarCatalogues(LoadProgress* progress) {
    CatalogueDiscoveryReport report;
    {
        SettingsStore store;
        starCatalogueCount_ = static_cast<uint16_t>(
            DiscoverCatalogues(store, std::span(starCatalogues_), MaxStarCatalogues, "data", &report));
    }
    for (const std::string& problem : report.problems) Warn(problem);
    ApplyCatalogueRequests(progress);
}

void Planetarium::LoadDeepSkyCatalogue(LoadProgress* progress) {
    if (!deepSky_->Load(DeepSkyFile, progress)) Warn("Error opening the Deepsky Catalogue file");
    scene_->deepSky.clear();
    scene_->deepSky.reserve(deepSky_->size());
    for (DeepSkyObject& o : deepSky_->objects()) {
        scene_->deepSky.push_back({&o, o.radius, static_cast<int16_t>(std::clamp(o.type, -1, 99)), o.messier != 0});
    }
}

void Planetarium::LoadMinorPlanets(LoadProgress* progress) {
    ProgressRelay relay(progress);
    if (!minorPlanets_->Load(MinorPlanetFile, &relay)) Warn("Error opening the Asteroid Catalogue file");
    for (const std::string& problem : relay.TakeProblems()) Warn(problem);
    scene_->minorPlanets.clear();
    scene_->minorPlanets.reserve(minorPlanets_->size());
    for (MinorPlanet& p : minorPlanets_->planets()) scene_->minorPlanets.push_back({&p, p.number});
}

StarCatalogue* Planetarium::Catalogue(int slot) const {
    return slot >= 0 && slot < starCatalogueCount_ ? starCatalogues_[slot].get() : nullptr;
}

Sun* Planetarium::SunBody() const { return sun_ && sun_->Available() ? sun_.get() : nullptr; }

Moon* Planetarium::MoonBody() const { return moon_.get(); }

Planet* Planetarium::PlanetBody(int index) const {
    if (index < 0 || index >= PlanetCount) return nullptr;
    Planet* planet = planets_[static_cast<std::size_t>(index)].get();
    return planet && planet->Available() ? planet : nullptr;
}

EarthShadow* Planetarium::Shadow() const { return SunBody() ? earthShadow_.get() : nullptr; }

void Planetarium::ForgetStarsOf(int slot) {
    // A selection or lock must never outlive the star it points at.
    if (selectedKind_ == KindStar && selectedCatalogue_ == slot) ClearSelection();
    if (lockedKind_ == KindStar && lockedCatalogue_ == slot) {
        ClearLock();
        if (view_) view_->ShowLockedName(nullptr);
    }
    // Nor may the report window go on describing one.
    if (reportKind_ == KindStar && reportCatalogue_ == slot) {
        if (report_) report_->Close();
        reportKind_ = KindNone;
    }
}

void Planetarium::ApplyCatalogueRequests(LoadProgress* shown) {
    // A progress window lets events through while it shows the load; the
    // timer's among them must not run an update on half-loaded catalogues.
    const bool wasLoading = std::exchange(loading_, true);
    ProgressRelay relay(shown);
    LoadProgress* progress = &relay;
    for (int c = 0; c < starCatalogueCount_; ++c) {
        StarCatalogue* catalogue = starCatalogues_[c].get();
        if (!catalogue || !catalogue->unloadRequested) continue;
        ForgetStarsOf(c);
        catalogue->Unload();
        if (catalogue->name == FoundationCatalogue) figures_->ResetAll();
    }
    for (int c = 0; c < starCatalogueCount_; ++c) {
        StarCatalogue* catalogue = starCatalogues_[c].get();
        if (!catalogue || !catalogue->loadRequested) continue;
        const bool wasLoaded = catalogue->loaded();
        // A catalogue loaded already has its stars in the figures.
        if (catalogue->Load(progress) && !wasLoaded && catalogue->name == FoundationCatalogue) {
            figures_->ResolveAgainst(catalogue->stars());
        }
    }
    loading_ = wasLoading;
    for (const std::string& problem : relay.TakeProblems()) Warn(problem);
}

// --- update cycle -----------------------------------------------------------------

void Planetarium::SetUpdateIntervals(uint32_t real, uint32_t anim) {
    updateIntervalReal_ = real;
    updateIntervalAnim_ = anim;
}

void Planetarium::Tick(bool force) {
    if (loading_) return;
    ++tickCount_;
    if (observer_->useSystemClock()) {
        UpdateStatus();
        if (!force && tickCount_ <= updateIntervalReal_) return;
    } else if (observer_->running() && (tickCount_ > updateIntervalAnim_ || force)) {
        UpdateStatus();
    } else {
        return;
    }
    tickCount_ = 0;
    Recompute();
    Redraw();
}

void Planetarium::UpdateStatus() {
    observer_->update();
    julianDate_ = observer_->julianDate;
    if (!view_) return;
    view_->SetStatusText(StatusCivilTime,
                         Format("%s %s", observer_->civilTimeText().c_str(), observer_->civilDateText().c_str()));
    view_->SetStatusText(StatusLocalTime, Format("Local: %s", observer_->localMeanTimeText().c_str()));
    view_->SetStatusText(StatusJulianDate, Format("Julian: %13.5f", julianDate_));
    view_->SetStatusText(StatusSidereal, "Sidereal: " + observer_->localApparentSidereal.FormatTimeOfDay());
    if (selected_) UpdateRiseTransitSet();
}

const SkyScene& Planetarium::Scene() {
    SkyScene& scene = *scene_;
    scene.starCatalogues.clear();
    for (int c = 0; c < starCatalogueCount_; ++c) {
        StarCatalogue* catalogue = starCatalogues_[c].get();
        if (catalogue && catalogue->loaded()) scene.starCatalogues.push_back(catalogue);
    }
    scene.figures.clear();
    for (const ConstellationFigure& f : figures_->figures())
        scene.figures.push_back({f.stars(), f.lines(), f.complete()});
    scene.planets.clear();
    for (int i = 0; i < PlanetCount; ++i) {
        if (Planet* planet = PlanetBody(i)) scene.planets.push_back(planet);
    }
    scene.sun = nullptr;
    if (Sun* sun = SunBody()) {
        scene.sun = sun;
        scene.sunRadius = sun->apparentDiameter.radians / 2;
    }
    scene.moon = nullptr;
    if (moon_) {
        scene.moon = moon_.get();
        scene.moonRadius = moon_->apparentDiameter.radians / 2;
    }
    scene.earthShadow = nullptr;
    if (EarthShadow* shadow = Shadow()) {
        scene.earthShadow = shadow;
        scene.penumbraRadius = shadow->penumbraDiameter / 2;
        scene.umbraRadius = shadow->umbraDiameter / 2;
    }
    scene.selected = selected_;
    return scene;
}

std::size_t Planetarium::ShownMinorPlanets() const {
    return ShownMinorPlanetCount(view_->asteroidsToShow, minorPlanets_->size());
}

void Planetarium::PlaceMinorPlanets() {
    const std::size_t shown = ShownMinorPlanets();
    const Sun* sun = SunBody();
    if (!sun) {
        // Without the Sun's place no minor planet can be seen from the Earth.
        for (MinorPlanet& p : minorPlanets_->planets().first(shown)) p.isComputed = false;
        return;
    }
    minorPlanets_->PlaceFirst(shown, SunPosition{sun->X, sun->Y, sun->Z, sun->R});
}

void Planetarium::Recompute() {
    tickCount_ = 0;
    ++recomputeCount_;
    // The Sun, the Moon and the Earth's shadow come first, since the other
    // bodies use the Sun's place.
    if (Sun* sun = SunBody()) {
        sun->Position(0);
        sun->UpdateHorizontal(99.0f, false);
    }
    if (moon_) {
        moon_->Position(0);
        moon_->UpdateHorizontal(99.0f, false);
    }
    if (EarthShadow* shadow = Shadow()) {
        shadow->ComputeShadow();
        shadow->UpdateHorizontal(99.0f, false);
    }
    if (observer_->dateChanged) observer_->dateChanged = false;
    const SkyScene& scene = Scene();
    UpdateStarPositions(*view_, scene);
    for (SkyObject* object : scene.planets) {
        static_cast<Planet*>(object)->ComputePosition(0);
        object->UpdateHorizontal(99.0f, false);
    }
    const std::size_t minorPlanetCount = minorPlanets_->size();
    if (view_->asteroidsToShow > 0 && static_cast<std::size_t>(view_->asteroidsToShow) > minorPlanetCount)
        view_->asteroidsToShow = static_cast<int32_t>(minorPlanetCount);
    PlaceMinorPlanets();
    for (DeepSkyObject& o : deepSky_->objects()) o.UpdateHorizontal(view_->dsoLimit, false);
}

SkyObject* Planetarium::ObjectOf(uint16_t kind, uint16_t catalogue, int64_t index) const {
    switch (kind) {
        case KindStar: {
            StarCatalogue* c = Catalogue(catalogue);
            if (!c || !c->loaded() || index < 0) return nullptr;
            const auto stars = c->stars();
            return static_cast<std::size_t>(index) < stars.size() ? &stars[static_cast<std::size_t>(index)] : nullptr;
        }
        case KindDeepSky: {
            const auto objects = deepSky_->objects();
            return index >= 0 && static_cast<std::size_t>(index) < objects.size()
                       ? &objects[static_cast<std::size_t>(index)]
                       : nullptr;
        }
        case KindMinorPlanet: {
            const auto planets = minorPlanets_->planets();
            return index >= 0 && static_cast<std::size_t>(index) < planets.size()
                       ? &planets[static_cast<std::size_t>(index)]
                       : nullptr;
        }
        case KindSun: return SunBody();
        case KindMoon: return MoonBody();
        case KindPlanet: return index >= 0 && index < PlanetCount ? PlanetBody(static_cast<int>(index)) : nullptr;
        default: return nullptr;
    }
}

void Planetarium::Redraw() {
    ++redrawCount_;
    // The telescope's position takes the place of the lock while it is
    // followed; nothing is written back then.
    if (readSlewFile) {
        FollowSlewFile();
    } else if (locked_) {
        FollowLocked();
        view_->CentreOn(ObjectOf(lockedKind_, lockedCatalogue_, lockedIndex_));
        if (writeSlewFile) WriteLockedPosition();
    }
    ComputeRiseTransitSetTexts();
    DrawFrame(*view_, Scene());
}

void Planetarium::Paint() { view_->Present(); }

std::string Planetarium::TimeOfEventText(const char* label, bool found, const HmsAngle& time) {
    if (!found) return Format("%s\t: - -:- -", label);
    return Format("%s\t: %s", label, EventClockText(time).c_str());
}

std::string Planetarium::EventClockText(const HmsAngle& time) {
    int hours = time.hours;
    int minutes = time.minutes + (time.seconds >= 30.0 ? 1 : 0);
    // 05:59:45 is shown as 06:00, not as 05:60.
    if (minutes >= 60) {
        minutes -= 60;
        hours = (hours + 1) % 24;
    }
    return Format("%02d:%02d", hours, minutes);
}

void Planetarium::ComputeRiseTransitSetTexts() {
    if (!selected_) return;
    HmsAngle rise, transit, set;
    const uint32_t status = selected_->RiseTransitSet(rise, transit, set);
    view_->riseText = TimeOfEventText("Rise", status & RtsRise, rise);
    view_->transitText = TimeOfEventText("Transit", status & RtsTransit, transit);
    view_->setText = TimeOfEventText("Set", status & RtsSet, set);
}

void Planetarium::UpdateRiseTransitSet() {
    ComputeRiseTransitSetTexts();
    view_->ShowReadout(selected_);
}

// --- selection and lock -------------------------------------------------------------

void Planetarium::ClearSelection() {
    selectedKind_ = KindNone;
    selectedCatalogue_ = 0;
    selectedIndex_ = 0;
    selected_ = nullptr;
}

void Planetarium::ClearLock() {
    lockedKind_ = KindNone;
    lockedCatalogue_ = 0;
    lockedIndex_ = 0;
    locked_ = nullptr;
}

void Planetarium::SelectAt(int32_t px, int32_t py) {
    const double x = view_->FromPixelX(px);
    const double y = view_->FromPixelY(py);
    double best = NoCandidate;
    auto consider = [&](SkyObject* object, uint16_t kind, uint16_t catalogue, uint32_t index) {
        const double d = std::fabs(object->screenX - x) + std::fabs(object->screenY - y);
        // Strictly nearer only: of two at the same distance the first wins.
        if (d < best) {
            best = d;
            selectedKind_ = kind;
            if (kind == KindStar) selectedCatalogue_ = catalogue;
            selectedIndex_ = index;
            selected_ = object;
        }
    };
    const DisplayOptions& options = view_->Options();
    if (options[DisplayOptions::ShowMinorPlanets]) {
        const auto planets = minorPlanets_->planets().first(ShownMinorPlanets());
        for (std::size_t i = 0; i < planets.size(); ++i) {
            if (planets[i].onScreen) consider(&planets[i], KindMinorPlanet, 0, static_cast<uint32_t>(i));
        }
    }
    if (options[DisplayOptions::ShowStars]) {
        for (int c = 0; c < starCatalogueCount_; ++c) {
            StarCatalogue* catalogue = starCatalogues_[c].get();
            if (!catalogue || !catalogue->loaded()) continue;
            const auto stars = catalogue->stars();
            for (std::size_t i = 0; i < stars.size(); ++i) {
                if (stars[i].onScreen)
                    consider(&stars[i], KindStar, static_cast<uint16_t>(c), static_cast<uint32_t>(i));
            }
        }
    }
    if (options[DisplayOptions::ShowDSOs]) {
        const auto objects = deepSky_->objects();
        for (std::size_t i = 0; i < objects.size(); ++i) {
            if (objects[i].onScreen) consider(&objects[i], KindDeepSky, 0, static_cast<uint32_t>(i));
        }
    }
    // The Sun and the Moon are candidates always, wherever they were last
    // projected; the planets whenever they are shown, in view or not.
    if (Sun* sun = SunBody()) consider(sun, KindSun, 0, 1);
    if (moon_) consider(moon_.get(), KindMoon, 0, 1);
    if (options[DisplayOptions::ShowPlanets]) {
        for (int i = 0; i < PlanetCount; ++i) {
            if (Planet* planet = PlanetBody(i)) consider(planet, KindPlanet, 0, static_cast<uint32_t>(i));
        }
    }
    if (report_ && report_->IsOpen()) FillReport();
    UpdateRiseTransitSet();
}

void Planetarium::ToggleLock() {
    if (locked_ == selected_) {
        ClearLock();
    } else {
        lockedKind_ = selectedKind_;
        lockedCatalogue_ = selectedCatalogue_;
        lockedIndex_ = static_cast<int32_t>(selectedIndex_);
        locked_ = selected_;
    }
    if (locked_) Redraw();
    view_->ShowLockedName(locked_);
}

void Planetarium::LookAtSelected() {
    if (!selected_) return;
    SetElevation(static_cast<float>(selected_->altitude.radians), false);
    SetDirectionRadians(static_cast<float>(selected_->azimuth.radians), true);
}

void Planetarium::FollowLocked() {
    if (!locked_) return;
    SetElevation(static_cast<float>(locked_->altitude.radians), false);
    SetDirectionRadians(static_cast<float>(locked_->azimuth.radians), false);
}

// --- view and display ------------------------------------------------------------------

float Planetarium::SetStarLimit(float magnitude) {
    view_->starLimit = magnitude;
    Recompute();
    Redraw();
    return view_->starLimit;
}

float Planetarium::ShiftStarLimit(float delta) {
    view_->starLimit += delta;
    Recompute();
    Redraw();
    return view_->starLimit;
}

float Planetarium::ShiftDsoLimit(float delta) {
    view_->dsoLimit += delta;
    Recompute();
    Redraw();
    return view_->dsoLimit;
}

void Planetarium::ChangeProjection(int projection) {
    view_->SetProjection(static_cast<uint16_t>(projection));
    Redraw();
}

void Planetarium::SetDirectionRadians(float radians, bool redraw) {
    view_->direction.SetRadians(radians);
    view_->ShowDirection();
    if (redraw) Redraw();
}

void Planetarium::SetDirectionDegrees(int degrees, bool redraw) {
    view_->direction.SetDegrees(degrees);
    view_->ShowDirection();
    if (redraw) Redraw();
}

void Planetarium::SetElevation(float radians, bool redraw) {
    view_->elevation.radians = radians;
    if (redraw) Redraw();
}

void Planetarium::Rotate(float delta) {
    double degrees = view_->direction.radians * 180.0 / static_cast<double>(Pi);
    if (degrees < 0) degrees += 360.0;
    const int n = static_cast<int>(std::trunc(degrees + delta));
    SetDirectionDegrees(n % 360, true);
}

void Planetarium::Scroll(int code) {
    switch (code) {
        case ScrollReset: view_->SetCentre(0.0, 0.0); break;
        case ScrollUp: view_->ScrollVertical(8.0f); break;
        case ScrollRight: view_->ScrollHorizontal(8.0f); break;
        case ScrollDown: view_->ScrollVertical(-8.0f); break;
        case ScrollLeft: view_->ScrollHorizontal(-8.0f); break;
        default: break;
    }
    Redraw();
}

void Planetarium::Zoom(float factor) {
    if (factor > 0) {
        view_->ZoomIn(factor);
    } else if (factor < 0) {
        view_->ZoomOut(-factor);
    } else {
        return;
    }
    Redraw();
}

void Planetarium::Relayout() {
    view_->FitToSurface();
    Redraw();
}

void Planetarium::ToggleRed() {
    view_->ToggleRedMode();
    Redraw();
}

void Planetarium::Brighten() {
    view_->Brighter();
    Redraw();
}

void Planetarium::Dim() {
    view_->Dimmer();
    Redraw();
}

bool Planetarium::ToggleOption(std::size_t index) {
    bool& flag = view_->Options()[index];
    flag = !flag;
    Redraw();
    return flag;
}

void Planetarium::ApplyClockControls(bool runTicked, bool systemTimeTicked) {
    if (syncingClockControls_) return;
    if (runTicked) {
        observer_->start();
    } else {
        observer_->stop();
    }
    observer_->setUseSystemClock(systemTimeTicked);
    SyncClockControls();
}

void Planetarium::SyncClockControls() {
    syncingClockControls_ = true;
    view_->ShowClockMode(observer_->running(), observer_->useSystemClock());
    syncingClockControls_ = false;
}
