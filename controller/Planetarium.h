#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "astro/Angles.h"
#include "astro/Observer.h"
#include "catalogues/SkyObject.h"
#include "reports/ReportText.h"

class ConstellationFigures;
class DeepSkyCatalogue;
class EarthShadow;
class LoadProgress;
class QPaintDevice;
struct ObjectRef;
class PreferencesDialog;
class MinorPlanetList;
class Moon;
class Planet;
class ReportDisplay;
class SkyPanel;
class SkyView;
class StarCatalogue;
class Sun;
class UserMessages;
struct PreferencesForm;
struct SkyScene;

// What the planetarium needs of the window that shows it. Every member may be
// left empty: without a panel nothing is shown, without messages a warning is
// dropped, without a progress factory loading shows no progress.
struct PlanetariumLinks {
    SkyPanel* panel = nullptr;
    UserMessages* messages = nullptr;
    // Creates a visible progress window; destroying it removes it again.
    std::function<std::unique_ptr<LoadProgress>()> createProgress;
    // Creates the preferences dialog, once, at start-up; without it
    // Preferences does nothing.
    std::function<std::unique_ptr<PreferencesDialog>()> createPreferences;
    // Where the observer reads the clock; empty means the system clock.
    Observer::ClockSource clock;
    // Called once the observer exists, before anything is computed: puts it
    // at another moment and place than the system clock's and the settings'
    // (the command-line tool's options).
    std::function<void(Observer&)> placeObserver;
    // Creates the hidden report window, once, at start-up.
    std::function<std::unique_ptr<ReportDisplay>()> createReport;
};

// The scroll commands: the side panel's buttons carry them as tags, the
// arrow keys and Home give them too.
enum ScrollCode : int {
    ScrollReset = 0,  // back to the centre
    ScrollUp = 1,
    ScrollRight = 2,
    ScrollDown = 3,
    ScrollLeft = 4,
};

// The one object that owns everything the sky is made of and everything that
// shows it, loads it at start, runs the update cycle and keeps the selection
// and the lock.
class Planetarium {
public:
    static constexpr int MaxStarCatalogues = 32;
    static constexpr int PlanetCount = 8;

    explicit Planetarium(const PlanetariumLinks& links);
    ~Planetarium();
    Planetarium(const Planetarium&) = delete;
    Planetarium& operator=(const Planetarium&) = delete;

    SkyView* View() const { return view_.get(); }
    Observer& GetObserver() const { return *observer_; }

    // Unloads, then loads, the star catalogues that ask for it.
    void ApplyCatalogueRequests(LoadProgress* progress);

    // --- update cycle -----------------------------------------------------------
    void Tick(bool force);
    void UpdateStatus();
    void Recompute();
    void Redraw();
    // Shows the last frame again without drawing anything.
    void Paint();

    // --- charts -------------------------------------------------------------------
    // The view as it stands, written as a PNG, SVG or PDF file by the name's
    // extension, in the ink-saving palette when asked. Empty when written;
    // otherwise why not, to follow "cannot write 'FILE': ".
    std::string ExportChart(const std::string& path, bool inkSaving);
    // The view painted onto a device (a printer), fitted into its page. False
    // when the device could not be painted on.
    bool PrintChart(QPaintDevice& device, bool inkSaving);
    void UpdateRiseTransitSet();

    // --- selection and lock -------------------------------------------------------
    void SelectAt(int32_t px, int32_t py);
    void ToggleLock();
    void LookAtSelected();
    void FollowLocked();
    // Selects an object the name finder found, turns the view to it
    // (releasing a lock on another object) and redraws; an open report
    // window shows it. Returns what the status bar says of it: how high it
    // stands, or, below the horizon, when it rises next. Empty when the
    // object no longer exists.
    std::string GoTo(const ObjectRef& object);
    // Closes the report window if it is open; otherwise fills it for the
    // selection and opens it (nothing without a selection).
    void ToggleReport();
    void ShowPreferences();

    // --- view and display -----------------------------------------------------------
    float SetStarLimit(float magnitude);
    float ShiftStarLimit(float delta);
    float ShiftDsoLimit(float delta);
    void ChangeProjection(int projection);
    void SetDirectionRadians(float radians, bool redraw);
    void SetDirectionDegrees(int degrees, bool redraw);
    void SetElevation(float radians, bool redraw);
    void Rotate(float delta);
    void Scroll(int code);
    void Zoom(float factor);
    void Relayout();
    void ToggleRed();
    void Brighten();
    void Dim();
    // Flips one display option and redraws; returns the new value.
    bool ToggleOption(std::size_t index);

    // The clock check boxes as the user left them: run, then system time.
    void ApplyClockControls(bool runTicked, bool systemTimeTicked);
    void SyncClockControls();
    bool SyncingClockControls() const { return syncingClockControls_; }

    // --- state read by the window and by tests ------------------------------------------
    uint16_t SelectedKind() const { return selectedKind_; }
    uint16_t SelectedCatalogue() const { return selectedCatalogue_; }
    uint32_t SelectedIndex() const { return selectedIndex_; }
    SkyObject* Selected() const { return selected_; }
    uint16_t LockedKind() const { return lockedKind_; }
    uint16_t LockedCatalogue() const { return lockedCatalogue_; }
    int32_t LockedIndex() const { return lockedIndex_; }
    SkyObject* Locked() const { return locked_; }
    uint16_t StarCatalogueCount() const { return starCatalogueCount_; }
    StarCatalogue* Catalogue(int slot) const;
    // The bodies of the solar system, or null for one whose series could not
    // be read (it is then nowhere on the sky). Planets 0 Mercury ... 7 Pluto.
    Sun* SunBody() const;
    Moon* MoonBody() const;
    Planet* PlanetBody(int index) const;
    EarthShadow* Shadow() const;
    // The object that a kind, catalogue and index designate, or null when it
    // no longer exists (for instance a star of an unloaded catalogue). The
    // Sun and the Moon are index 1, the planets 0 Mercury ... 7 Pluto.
    SkyObject* ObjectOf(uint16_t kind, uint16_t catalogue, int64_t index) const;
    // The report on that object as it stands at the current moment; empty
    // when it does not exist.
    ReportText ReportOn(uint16_t kind, uint16_t catalogue, int64_t index);
    ReportDisplay* ReportWindow() const { return report_.get(); }
    ConstellationFigures& Figures() const { return *figures_; }
    DeepSkyCatalogue& DeepSky() const { return *deepSky_; }
    MinorPlanetList& MinorPlanets() const { return *minorPlanets_; }
    uint32_t TickCount() const { return tickCount_; }
    uint32_t UpdateIntervalReal() const { return updateIntervalReal_; }
    uint32_t UpdateIntervalAnim() const { return updateIntervalAnim_; }
    void SetUpdateIntervals(uint32_t real, uint32_t anim);
    double JulianDate() const { return julianDate_; }
    uint32_t RedrawCount() const { return redrawCount_; }
    uint32_t RecomputeCount() const { return recomputeCount_; }

    // The text a rise, transit or set time is shown with: the minutes are
    // rounded at 30 seconds, carrying into the hour.
    static std::string TimeOfEventText(const char* label, bool found, const HmsAngle& time);
    // "hh:mm" of such a time, rounded the same way.
    static std::string EventClockText(const HmsAngle& time);

    bool readSlewFile = false;
    bool writeSlewFile = false;

private:
    void LoadSolarSystem(LoadProgress* progress);
    void LoadConstellationFigures(LoadProgress* progress);
    void LoadStarCatalogues(LoadProgress* progress);
    void LoadDeepSkyCatalogue(LoadProgress* progress);
    void LoadMinorPlanets(LoadProgress* progress);
    void Warn(const std::string& text);
    // Brings the parts of the scene that change between frames up to date.
    const SkyScene& Scene();
    // How many minor planets are computed, drawn and selectable: the view's
    // asteroidsToShow within 0 and the number loaded.
    std::size_t ShownMinorPlanets() const;
    // Places the minor planets shown from the Sun's place of the moment,
    // which the update computes first.
    void PlaceMinorPlanets();
    void ComputeRiseTransitSetTexts();
    void ClearSelection();
    void ClearLock();
    void ForgetStarsOf(int slot);
    // The preferences form filled from the running program; stops a running
    // clock, which taking the form over starts again when asked.
    PreferencesForm FillPreferences();
    // Takes an edited form over in the dialog's order and, for a save,
    // stores it in one transaction. False when a save could not be stored.
    bool TakeOverPreferences(const PreferencesForm& form, bool save);
    // One move between the preferences' catalogue lists.
    void MoveCatalogue(std::size_t slot, bool load);
    // The telescope slew files: turning to the incoming position, writing
    // the locked object's.
    void FollowSlewFile();
    void WriteLockedPosition();
    // Fills the report window for the selection.
    void FillReport();
    // Where an object stands, for the status bar after it was found.
    std::string WhereIs(const std::string& name, SkyObject& object);
    // Brings an object's altitude and azimuth to the current moment when
    // the update left it out (too faint, a minor planet not shown), without
    // letting it into the frame.
    void PlaceForReport(uint16_t kind, int64_t index, SkyObject& object);

    PlanetariumLinks links_;

    std::array<std::unique_ptr<StarCatalogue>, MaxStarCatalogues> starCatalogues_;
    std::array<std::unique_ptr<Planet>, PlanetCount> planets_;
    std::unique_ptr<Sun> sun_;
    std::unique_ptr<Moon> moon_;
    std::unique_ptr<EarthShadow> earthShadow_;
    std::unique_ptr<DeepSkyCatalogue> deepSky_;
    // Figures point at stars of the foundation catalogue: they go first.
    std::unique_ptr<ConstellationFigures> figures_;
    std::unique_ptr<MinorPlanetList> minorPlanets_;
    uint16_t starCatalogueCount_ = 0;

    uint16_t selectedKind_ = KindNone;
    uint16_t selectedCatalogue_ = 0;
    uint32_t selectedIndex_ = 0;
    SkyObject* selected_ = nullptr;
    uint16_t lockedKind_ = KindNone;
    uint16_t lockedCatalogue_ = 0;
    int32_t lockedIndex_ = 0;
    SkyObject* locked_ = nullptr;

    std::unique_ptr<SkyView> view_;
    std::unique_ptr<Observer> observer_;
    std::unique_ptr<PreferencesDialog> prefsDialog_;
    // The places last chosen from the preferences' city list, latest first.
    std::vector<std::string> recentPlaces_;
    // What a frame shows; the deep-sky objects and minor planets in it are
    // set once they are loaded, as their lists never change afterwards.
    std::unique_ptr<SkyScene> scene_;
    std::unique_ptr<ReportDisplay> report_;
    // What the report window was last filled with.
    uint16_t reportKind_ = KindNone;
    uint16_t reportCatalogue_ = 0;

    double julianDate_ = 0.0;
    uint32_t updateIntervalReal_ = 100;
    uint32_t updateIntervalAnim_ = 10;
    uint32_t tickCount_ = 0;
    bool syncingClockControls_ = false;
    bool loading_ = false;  // star catalogues are being loaded or unloaded
    uint32_t redrawCount_ = 0;
    uint32_t recomputeCount_ = 0;
};
