#include <gtest/gtest.h>

#include <QFile>
#include <functional>
#include <memory>

#include "ControllerTestSupport.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "controller/PreferencesDialog.h"
#include "platform/ConfigPaths.h"
#include "settings/SettingsStore.h"
#include "view/SkyView.h"

namespace {

// Plays the user: looks at the form it is shown, edits it, moves
// catalogues, and closes the dialog with a button.
class ScriptedDialog : public PreferencesDialog {
public:
    using Script = std::function<Result(PreferencesForm&, const CatalogueMove&)>;
    Result Execute(PreferencesForm& form, const CatalogueMove& move) override {
        shown = form;
        ++shows;
        return script ? script(form, move) : Cancel;
    }
    Script script;
    PreferencesForm shown;
    int shows = 0;
};

class PreferencesTakeOverTest : public ::testing::Test {
protected:
    std::unique_ptr<Planetarium> Start() {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        WriteSolarSeries(work);
        WriteEmptyCatalogues(work);
        PlanetariumLinks links;
        links.panel = &panel;
        links.messages = &messages;
        links.clock = [] { return FixedMoment(); };
        links.createProgress = [this]() -> std::unique_ptr<LoadProgress> {
            ++progressWindows;
            return std::make_unique<QuietProgress>();
        };
        links.createPreferences = [this]() -> std::unique_ptr<PreferencesDialog> {
            auto dialog = std::make_unique<ScriptedDialog>();
            this->dialog = dialog.get();
            return dialog;
        };
        return std::make_unique<Planetarium>(links);
    }
    bool SettingsSaved() const { return QFile::exists(QString::fromStdString(SettingsFilePath())); }

    // A place, a clock set by hand, a view and intervals unlike the defaults.
    static void EditEverything(PreferencesForm& form) {
        form.useSystemTime = false;
        form.run = false;
        form.time = "120000";
        form.date = "01032000";
        form.timeZone = "2";
        form.dst = true;
        form.longitudeDegrees = "118";
        form.longitudeMinutes = "14";
        form.longitudeSeconds = "37.50";
        form.west = true;
        form.latitudeDegrees = "33";
        form.latitudeMinutes = "59";
        form.latitudeSeconds = "2.25";
        form.south = true;
        form.projection = 6;
        form.direction = "370";
        form.elevation = "45";
        form.starLimit = "6.5";
        form.dsoLimit = "11";
        form.realUpdate = "5";
        form.animUpdate = "3";
        form.stepType = 2;
        form.stepSize = "3";
        form.asteroidCount = "40";
        form.options[DisplayOptions::ShowConLines] = true;
    }

    ScratchWorkDir work;
    NullSkyPanel panel{700, 350};
    RecordingMessages messages;
    ScriptedDialog* dialog = nullptr;
    int progressWindows = 0;
};

TEST_F(PreferencesTakeOverTest, TheFormShowsTheRunningProgram) {
    auto p = Start();
    ASSERT_NE(dialog, nullptr);
    p->ShowPreferences();
    PreferencesForm expected;  // defaults everywhere else
    expected.time = "210409";
    expected.date = "06122000";
    expected.timeZone = "1";
    expected.run = true;
    expected.realUpdate = "  100";
    expected.animUpdate = "   10";
    expected.stepSize = "1";
    expected.longitudeDegrees = "6";
    expected.longitudeMinutes = "53";
    expected.latitudeDegrees = "52";
    expected.latitudeMinutes = "21";
    expected.longitudeSeconds = expected.latitudeSeconds = " 0.00";
    expected.direction = expected.elevation = "0";
    expected.starLimit = " 4.50";
    expected.dsoLimit = " 9.00";
    expected.asteroidCount = "0";  // as many as were loaded
    expected.catalogues = {{0, "foundation", "data/stfound.dat", 2, true}};
    EXPECT_TRUE(dialog->shown == expected);

    // An elevation below the horizon shows as such; whole degrees only.
    p->SetElevation(static_cast<float>(-10.5 * 3.14159265358979 / 180.0), false);
    p->SetDirectionDegrees(275, false);
    p->ShowPreferences();
    EXPECT_EQ(dialog->shown.elevation, "-10");
    EXPECT_EQ(dialog->shown.direction, "275");
}

TEST_F(PreferencesTakeOverTest, ApplyTakesEverythingOverAndStoresNothing) {
    auto p = Start();
    dialog->script = [](PreferencesForm& form, const PreferencesDialog::CatalogueMove&) {
        EditEverything(form);
        return PreferencesDialog::Apply;
    };
    p->ShowPreferences();
    const Observer& o = p->GetObserver();
    EXPECT_FALSE(o.useSystemClock());
    EXPECT_FALSE(o.running());
    EXPECT_EQ(o.civil().TimeText(), "12:00:00");
    EXPECT_EQ(o.civil().DateText(), "01-03-2000");
    EXPECT_EQ(o.zone(), 2);
    EXPECT_TRUE(o.dst());
    EXPECT_NEAR(o.longitude.degrees, -(118 + 14 / 60.0 + 37.5 / 3600.0), 1e-9);
    EXPECT_NEAR(o.latitude.degrees, -(33 + 59 / 60.0 + 2.25 / 3600.0), 1e-9);
    EXPECT_EQ(o.stepType(), 2);
    EXPECT_EQ(o.stepSize(), 3);
    SkyView& view = *p->View();
    EXPECT_EQ(view.GetProjection(), Peters);
    EXPECT_NEAR(view.standardParallel.degrees, 44.138, 1e-9);
    EXPECT_NEAR(view.direction.degrees, 10.0, 1e-9);
    EXPECT_NEAR(view.elevation.degrees, 45.0, 1e-9);
    EXPECT_FLOAT_EQ(view.starLimit, 6.5f);
    EXPECT_FLOAT_EQ(view.dsoLimit, 11.0f);
    EXPECT_TRUE(view.Options()[DisplayOptions::ShowConLines]);
    EXPECT_EQ(p->UpdateIntervalReal(), 5u);
    EXPECT_EQ(p->UpdateIntervalAnim(), 3u);
    // The status bar shows the new clock at once.
    EXPECT_NEAR(p->JulianDate(), 2451604.875, 1e-6);  // 1 March 2000, 09:00 UT
    EXPECT_FALSE(SettingsSaved());
    EXPECT_EQ(progressWindows, 2);  // start-up, then the catalogue requests
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(PreferencesTakeOverTest, SaveStoresWhatTheNextStartReads) {
    {
        auto p = Start();
        dialog->script = [](PreferencesForm& form, const PreferencesDialog::CatalogueMove& move) {
            EditEverything(form);
            move(form.catalogues[0].slot, false);
            return PreferencesDialog::Save;
        };
        p->ShowPreferences();
        EXPECT_FALSE(p->Catalogue(0)->loaded());
    }
    SettingsStore store;
    const Observer::Setup place = store.ReadObserverSetup();
    EXPECT_EQ(place.longitude.deg, 118);
    EXPECT_EQ(place.longitude.arcsec, 37.5f);
    EXPECT_TRUE(place.isWest);
    EXPECT_EQ(place.latitude.arcmin, 59);
    EXPECT_TRUE(place.isSouth);
    EXPECT_EQ(place.stepType, 2);
    EXPECT_EQ(place.stepSize, 3);
    const ViewSettings view = store.ReadView();
    EXPECT_EQ(view.projection, Peters);
    EXPECT_NEAR(view.direction, 10.0 * 3.14159265358979 / 180.0, 1e-9);
    EXPECT_NEAR(view.elevation, 45.0 * 3.14159265358979 / 180.0, 1e-9);
    EXPECT_TRUE(store.ReadDisplayOptions()[DisplayOptions::ShowConLines]);
    EXPECT_FALSE(store.ReadBool("foundation", true));
    EXPECT_EQ(store.ReadAsteroidCount(), 40);
    EXPECT_EQ(store.ReadLimits(), (LimitSettings{6.5, 11.0}));
    EXPECT_EQ(store.ReadIntervals(), (IntervalSettings{5, 3}));

    // The next start stands at the saved place, without the catalogue.
    auto again = Start();
    EXPECT_NEAR(again->GetObserver().longitude.degrees, -(118 + 14 / 60.0 + 37.5 / 3600.0), 1e-6);
    EXPECT_FALSE(again->Catalogue(0)->loaded());
    EXPECT_EQ(again->View()->GetProjection(), Peters);
}

TEST_F(PreferencesTakeOverTest, CancelKeepsCatalogueMovesAndTheStoppedClockOnly) {
    auto p = Start();
    p->ApplyClockControls(true, false);  // animating
    StarCatalogue* foundation = p->Catalogue(0);
    dialog->script = [](PreferencesForm& form, const PreferencesDialog::CatalogueMove& move) {
        EditEverything(form);
        move(form.catalogues[0].slot, false);
        return PreferencesDialog::Cancel;
    };
    p->ShowPreferences();
    const Observer& o = p->GetObserver();
    EXPECT_FALSE(o.running());
    EXPECT_FALSE(o.useSystemClock());
    EXPECT_NEAR(o.longitude.degrees, 6 + 53 / 60.0, 1e-9);
    EXPECT_EQ(p->View()->GetProjection(), EqualArea);
    EXPECT_FALSE(foundation->enabled);
    EXPECT_TRUE(foundation->unloadRequested);
    EXPECT_TRUE(foundation->loaded());
    EXPECT_FALSE(SettingsSaved());

    // Apply with Run ticked starts the clock again and carries out the move.
    dialog->script = [](PreferencesForm& form, const PreferencesDialog::CatalogueMove&) {
        EXPECT_FALSE(form.catalogues[0].load);
        EXPECT_FALSE(form.run);
        form.run = true;
        return PreferencesDialog::Apply;
    };
    p->ShowPreferences();
    EXPECT_TRUE(o.running());
    EXPECT_FALSE(foundation->loaded());
}

TEST_F(PreferencesTakeOverTest, AnAnimationRunsOnFromTheMomentEntered) {
    auto p = Start();
    dialog->script = [](PreferencesForm& form, const PreferencesDialog::CatalogueMove&) {
        EditEverything(form);
        form.run = true;
        form.stepType = 1;  // minutes
        form.stepSize = "1";
        return PreferencesDialog::Apply;
    };
    p->ShowPreferences();
    // One step, by the status update that follows, not two.
    EXPECT_EQ(p->GetObserver().civil().TimeText(), "12:01:00");
    EXPECT_TRUE(p->GetObserver().running());
}

TEST_F(PreferencesTakeOverTest, AFormWithAProblemIsNotTakenOver) {
    auto p = Start();
    const int redraws = static_cast<int>(p->RedrawCount());
    for (const char* latitude : {"91", "90.5"}) {
        dialog->script = [latitude](PreferencesForm& form, const PreferencesDialog::CatalogueMove&) {
            EditEverything(form);
            form.latitudeDegrees = latitude;
            form.latitudeMinutes = "30";
            return PreferencesDialog::Save;
        };
        p->ShowPreferences();
    }
    EXPECT_NEAR(p->GetObserver().latitude.degrees, 52 + 21 / 60.0, 1e-9);
    EXPECT_EQ(p->View()->GetProjection(), EqualArea);
    EXPECT_EQ(static_cast<int>(p->RedrawCount()), redraws);
    EXPECT_FALSE(SettingsSaved());
}

TEST_F(PreferencesTakeOverTest, ASaveThatCannotBeStoredSaysSo) {
    auto p = Start();
    // A file where the settings folder should be.
    ASSERT_TRUE(QDir(work.Path() + QStringLiteral("/config/Korvent")).removeRecursively());
    work.Write(QStringLiteral("config/Korvent"), "in the way");
    dialog->script = [](PreferencesForm& form, const PreferencesDialog::CatalogueMove&) {
        EditEverything(form);
        return PreferencesDialog::Save;
    };
    p->ShowPreferences();
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_NE(messages.warnings[0].find("could not be saved"), std::string::npos);
    // Applied all the same.
    EXPECT_EQ(p->View()->GetProjection(), Peters);
}

}  // namespace
