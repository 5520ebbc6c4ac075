// The controller's side of the preferences dialog: filling its form from the
// running program and taking the edited form over.

#include <cmath>
#include <cstdio>
#include <optional>
#include <span>

#include "catalogues/LoadProgress.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "controller/PreferencesDialog.h"
#include "platform/ConfigPaths.h"
#include "settings/CatalogueDiscovery.h"
#include "settings/Preferences.h"
#include "settings/SettingsStore.h"
#include "view/SkyView.h"

namespace {

std::string IntegerText(const char* format, long value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Whole degrees of an angle held in radians, as the dialog's boxes show them.
int WholeDegrees(double radians, bool signedAngle) {
    Angle angle;
    angle.SetRadians(radians);
    double degrees = angle.degrees;
    // An elevation below the horizon reads better as -10 than as 350; both
    // set the same view.
    if (signedAngle && degrees > 180.0) degrees -= 360.0;
    return static_cast<int>(std::trunc(degrees));
}

}  // namespace

PreferencesForm Planetarium::FillPreferences() {
    PreferencesForm form;
    for (int c = 0; c < starCatalogueCount_; ++c) {
        const StarCatalogue* catalogue = starCatalogues_[c].get();
        if (catalogue)
            form.catalogues.push_back(
                {static_cast<std::size_t>(c), catalogue->name, catalogue->path, catalogue->count, catalogue->enabled});
    }
    form.options = view_->GetOptions();
    form.stepType = observer_->stepType();
    form.stepSize = IntegerText("%ld", observer_->stepSize());
    form.direction = IntegerText("%ld", WholeDegrees(view_->direction.radians, false));
    form.elevation = IntegerText("%ld", WholeDegrees(view_->elevation.radians, true));
    form.realUpdate = IntegerText("%5ld", static_cast<long>(updateIntervalReal_));
    form.animUpdate = IntegerText("%5ld", static_cast<long>(updateIntervalAnim_));
    form.starLimit = FixedText(view_->starLimit, 5, 2);
    form.dsoLimit = FixedText(view_->dsoLimit, 5, 2);
    form.projection = view_->GetProjection();

    form.dst = observer_->dst();
    form.useSystemTime = observer_->useSystemClock();
    form.run = observer_->running();
    // The clock stands while the dialog is open; taking the form over starts
    // it again when Run stays ticked.
    if (form.run) observer_->stop();

    const DateTime clock = observer_->civil();
    form.time = IntegerText("%06ld", clock.hour * 10000L + clock.minute * 100L + clock.second);
    form.date = IntegerText("%08ld", clock.day * 1000000L + clock.month * 10000L + clock.year);

    const Angle& longitude = observer_->longitude;
    const Angle& latitude = observer_->latitude;
    form.longitudeDegrees = IntegerText("%ld", longitude.deg);
    form.longitudeMinutes = IntegerText("%ld", longitude.arcmin);
    form.longitudeSeconds = FixedText(longitude.arcsec, 5, 2);
    form.west = observer_->longitudeIsWest();
    form.latitudeDegrees = IntegerText("%ld", latitude.deg);
    form.latitudeMinutes = IntegerText("%ld", latitude.arcmin);
    form.latitudeSeconds = FixedText(latitude.arcsec, 5, 2);
    form.south = observer_->latitudeIsSouth();
    form.recentPlaces = recentPlaces_;

    form.asteroidCount = IntegerText("%ld", view_->asteroidsToShow);
    form.timeZone = ZoneText(observer_->zone() * 60 + observer_->zoneExtraMinutes());
    return form;
}

bool Planetarium::TakeOverPreferences(const PreferencesForm& form, bool save) {
    const PreferencesValues v = ReadPreferencesForm(form);
    std::optional<SettingsStore> store;
    if (save) {
        store.emplace();
        store->BeginTransaction();
    }

    observer_->setPlace(v.place.longitude, v.place.latitude, v.place.isWest, v.place.isSouth);
    recentPlaces_ = form.recentPlaces;
    updateIntervalReal_ = static_cast<uint32_t>(v.intervals.real);
    updateIntervalAnim_ = static_cast<uint32_t>(v.intervals.anim);
    observer_->setStep(v.step.type, v.step.size);
    view_->asteroidsToShow = v.asteroidCount;
    view_->SetProjection(static_cast<uint16_t>(v.projection));
    view_->direction.SetDegrees(v.direction);
    view_->elevation.SetDegrees(v.elevation);
    view_->starLimit = static_cast<float>(v.limits.stars);
    view_->dsoLimit = static_cast<float>(v.limits.deepSky);

    bool saved = true;
    if (store) {
        // One transaction: the file holds either all of this save or none of
        // it, never a place half old and half new.
        store->WritePlace(v.place);
        store->WriteView({view_->GetProjection(), view_->elevation.radians, view_->direction.radians});
        store->WriteStep(v.step);
        store->WriteDisplayOptions(v.options);
        store->WriteCatalogueFlags(CatalogueFlags(
            std::span<const std::unique_ptr<StarCatalogue>>(starCatalogues_.data(), starCatalogueCount_)));
        store->WriteAsteroidCount(v.asteroidCount);
        store->WriteLimits(v.limits);
        store->WriteIntervals(v.intervals);
        store->WriteRecentPlaces(recentPlaces_);
        saved = store->Commit();
    }
    view_->SetOptions(v.options);

    if (v.useSystemTime) {
        observer_->setUseSystemClock(true);
    } else {
        observer_->setUseSystemClock(false);
        observer_->setCivil(v.clock.hour, v.clock.minute, v.clock.second, v.clock.day, v.clock.month, v.clock.year);
        observer_->setDst(v.dst);
        observer_->setZoneMinutes(v.zoneMinutes);
    }
    // Derived times first, then the clock runs: the update cycle that
    // follows advances an animation from the moment entered by one step,
    // not by two.
    observer_->update();
    if (v.run) observer_->start();

    if (!saved)
        Warn("Your preferences could not be saved to " + SettingsFilePath() +
             ". They stay in use until Velkaris is closed.");
    return saved;
}

void Planetarium::MoveCatalogue(std::size_t slot, bool load) {
    StarCatalogue* catalogue = Catalogue(static_cast<int>(slot));
    if (!catalogue) return;
    if (load) {
        catalogue->Enable();
    } else {
        catalogue->Disable();
    }
}

void Planetarium::ShowPreferences() {
    if (!prefsDialog_) return;
    PreferencesForm form = FillPreferences();
    const PreferencesDialog::Result result =
        prefsDialog_->Execute(form, [this](std::size_t slot, bool load) { MoveCatalogue(slot, load); });
    // A form with a problem is refused as a whole, like a cancelled one.
    if (result == PreferencesDialog::Cancel || !PreferencesProblem(form).empty()) {
        // The clock may have been stopped for the dialog: the side panel
        // shows it as it is.
        SyncClockControls();
        return;
    }
    TakeOverPreferences(form, result == PreferencesDialog::Save);
    {
        std::unique_ptr<LoadProgress> progress;
        if (links_.createProgress) progress = links_.createProgress();
        ApplyCatalogueRequests(progress.get());
    }
    SyncClockControls();
    UpdateStatus();
    Recompute();
    Redraw();
}
