#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "../controller/ControllerTestSupport.h"
#include "controller/Planetarium.h"
#include "settings/CityList.h"
#include "settings/SettingsStore.h"
#include "shell/HelpViewer.h"
#include "shell/MainWindow.h"
#include "shell/PrefsDialog.h"
#include "view/SkyView.h"

namespace {

// A form as the controller fills it at 21:04:09 on 6 December 2000.
PreferencesForm Filled() {
    PreferencesForm form;
    form.useSystemTime = false;
    form.run = true;
    form.time = "210409";
    form.date = "06122000";
    form.timeZone = "1";
    form.realUpdate = "  100";
    form.animUpdate = "   10";
    form.stepType = 4;
    form.stepSize = "2";
    form.longitudeDegrees = "6";
    form.longitudeMinutes = "53";
    form.longitudeSeconds = " 0.00";
    form.latitudeDegrees = "52";
    form.latitudeMinutes = "21";
    form.latitudeSeconds = "12.50";
    form.south = true;
    form.projection = 5;
    form.direction = "90";
    form.elevation = "-10";
    form.starLimit = " 4.50";
    form.dsoLimit = " 9.00";
    form.asteroidCount = "250";
    form.options[DisplayOptions::ShowUmbra] = true;
    form.options[DisplayOptions::HighAccuracy] = false;
    form.catalogues = {{0, "foundation", "data/stfound.dat", 9110, true},
                       {3, "tycho", "data/sttycho.dat", 1000, false}};
    return form;
}

class PrefsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog = std::make_unique<TPrefs>(nullptr, &messages);
        dialog->Load(Filled(), &move);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    // What leaving a box does: Return, as Tab does, finishes the editing.
    void Leave(QLineEdit* edit) { QTest::keyClick(edit, Qt::Key_Return); }

    RecordingMessages messages;
    std::vector<std::pair<std::size_t, bool>> moves;
    PreferencesDialog::CatalogueMove move = [this](std::size_t slot, bool load) { moves.emplace_back(slot, load); };
    std::unique_ptr<TPrefs> dialog;
};

TEST_F(PrefsDialogTest, ShowsTheFormAndGivesBackTheSame) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Preferences"));
    EXPECT_EQ(dialog->Controller->count(), 6);
    EXPECT_EQ(dialog->edTime->text(), QStringLiteral("21:04:09"));
    EXPECT_EQ(dialog->edDate->text(), QStringLiteral("06/12/2000"));
    EXPECT_EQ(dialog->cbProjection->currentText(), QStringLiteral("Tristan Edwards"));
    EXPECT_TRUE(dialog->latSouth->isChecked());
    EXPECT_EQ(dialog->ListLoad->item(0)->text(), QStringLiteral("foundation"));
    EXPECT_EQ(dialog->ListCatalogues->item(0)->text(), QStringLiteral("tycho"));
    // Every one of the 27 check boxes is there and carries its member.
    for (std::size_t i = 0; i < DisplayOptions::Count; ++i) {
        ASSERT_NE(dialog->optionBoxes[i], nullptr) << i;
        EXPECT_EQ(dialog->optionBoxes[i]->isChecked(), Filled().options[i]) << DisplayOptions::Names[i];
    }
    EXPECT_EQ(dialog->Store(), Filled());
}

TEST_F(PrefsDialogTest, EnabledStatesFollowTheClockBoxes) {
    struct Case {
        bool system, run;
        bool manual, real, stepping;
    };
    const Case cases[] = {
        {true, true, false, true, false},
        {false, true, true, false, true},
        {false, false, true, false, false},
        {true, false, false, true, false},
    };
    for (const Case& c : cases) {
        if (dialog->checkSystem->isChecked() != c.system) dialog->checkSystem->click();
        if (dialog->checkRun->isChecked() != c.run) dialog->checkRun->click();
        for (QWidget* w : std::initializer_list<QWidget*>{
                 dialog->checkRun, dialog->edTime, dialog->edDate, dialog->checkDST, dialog->edTimeZone,
                 dialog->labTime, dialog->labDate, dialog->labTimeZone, dialog->labDateFormat, dialog->labTimeFormat,
                 dialog->labFac2, dialog->edAnimUpdate, dialog->labUI2})
            EXPECT_EQ(w->isEnabled(), c.manual) << w->objectName().toStdString() << c.system << c.run;
        for (QWidget* w : std::initializer_list<QWidget*>{dialog->labFac1, dialog->edRealUpdate, dialog->labUI1})
            EXPECT_EQ(w->isEnabled(), c.real) << w->objectName().toStdString() << c.system << c.run;
        for (QWidget* w : std::initializer_list<QWidget*>{dialog->edStepSize, dialog->comboStepType, dialog->labStep})
            EXPECT_EQ(w->isEnabled(), c.stepping) << w->objectName().toStdString() << c.system << c.run;
    }
}

TEST_F(PrefsDialogTest, LeavingTheDateOrTimeChecksThemAndHoldsBothButtons) {
    struct Case {
        const char* time;
        const char* date;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {"240000", "06122000", TimeProblemMessage},
        {"120000", "31132000", DateProblemMessage},
        {"120000", "00002000", DateProblemMessage},
        {"120000", "31022001", DateProblemMessage},
        {"120000", "29022000", nullptr},
    };
    for (const Case& c : cases) {
        messages.warnings.clear();
        dialog->edTime->setText(QString::fromLatin1(c.time));
        dialog->edDate->setText(QString::fromLatin1(c.date));
        Leave(c.message == TimeProblemMessage ? dialog->edTime : dialog->edDate);
        const std::vector<std::string> expected =
            c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
        EXPECT_EQ(messages.warnings, expected) << c.time << " " << c.date;
        EXPECT_EQ(dialog->Button2->isEnabled(), c.message == nullptr) << c.date;
        EXPECT_EQ(dialog->butSave->isEnabled(), c.message == nullptr) << c.date;
    }
    // Leaving the same mistake again (the focus comes back after the
    // message) is not told twice; a new mistake is.
    messages.warnings.clear();
    dialog->edTime->setText(QStringLiteral("240000"));
    Leave(dialog->edTime);
    Leave(dialog->edTime);
    dialog->edTime->setText(QStringLiteral("235960"));
    Leave(dialog->edTime);
    EXPECT_EQ(messages.warnings, std::vector<std::string>(2, TimeProblemMessage));
    // With the system clock the typed moment is not used: both buttons work.
    EXPECT_FALSE(dialog->butSave->isEnabled());
    dialog->checkSystem->click();
    EXPECT_TRUE(dialog->butSave->isEnabled());
    EXPECT_TRUE(dialog->Button2->isEnabled());
}

TEST_F(PrefsDialogTest, ButtonsCheckWhatWasNeverLeftAndKeepTheDialogOpen) {
    // A half-filled mask never finishes its editing; the buttons check it.
    dialog->edDate->setText(QStringLiteral("3102"));
    QTest::mouseClick(dialog->butSave, Qt::LeftButton);
    EXPECT_EQ(messages.warnings, std::vector<std::string>{DateProblemMessage});
    EXPECT_TRUE(dialog->isVisible());

    dialog->edDate->setText(QStringLiteral("01032000"));
    dialog->edLaD->setText(QStringLiteral("95"));
    QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    ASSERT_EQ(messages.warnings.size(), 2u);
    EXPECT_EQ(messages.warnings[1], PlaceProblemMessage);
    EXPECT_TRUE(dialog->isVisible());

    dialog->edLaD->setText(QStringLiteral("45"));
    QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), TPrefs::ResultApply);
    EXPECT_EQ(messages.warnings.size(), 2u);
}

// A real double-click: a press and release, then the second press that the
// system reports as the double-click.
void DoubleClick(QListWidget* list, QListWidgetItem* item) {
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

TEST_F(PrefsDialogTest, CatalogueListsMoveAtOnceAndShowTheFile) {
    dialog->Controller->setCurrentWidget(dialog->tabCatalogues);
    QListWidgetItem* tycho = dialog->ListCatalogues->item(0);
    QTest::mouseClick(dialog->ListCatalogues->viewport(), Qt::LeftButton, {},
                      dialog->ListCatalogues->visualItemRect(tycho).center());
    EXPECT_EQ(dialog->labFileName->text(), QStringLiteral("data/sttycho.dat"));
    EXPECT_EQ(dialog->labRealName->text(), QStringLiteral("tycho"));
    EXPECT_EQ(dialog->labStarCount->text(), QStringLiteral("1000"));

    DoubleClick(dialog->ListCatalogues, tycho);
    EXPECT_EQ(dialog->ListCatalogues->count(), 0);
    ASSERT_EQ(dialog->ListLoad->count(), 2);
    QListWidgetItem* foundation = dialog->ListLoad->item(0);
    DoubleClick(dialog->ListLoad, foundation);
    // The controller heard of each move as it happened, by slot.
    const std::vector<std::pair<std::size_t, bool>> expected = {{3, true}, {0, false}};
    EXPECT_EQ(moves, expected);
    const PreferencesForm form = dialog->Store();
    EXPECT_FALSE(form.catalogues[0].load);
    EXPECT_TRUE(form.catalogues[1].load);
}

// --- in the main window ----------------------------------------------------------------

class PreferencesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        WriteSolarSeries(work);
        WriteEmptyCatalogues(work);
        Open();
    }
    void Open() {
        window = std::make_unique<THCI>(&messages, [] { return FixedMoment(); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // Opens Data > Preferences and acts inside the modal dialog; a dialog
    // the steps leave open is cancelled rather than left to hang the test.
    void WithPreferences(const std::function<void(TPrefs&)>& steps) {
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<TPrefs*>();
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(dialog->isVisible());
            steps(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        window->PreferencesItem->trigger();
    }

    ScratchWorkDir work;
    RecordingMessages messages;
    std::unique_ptr<THCI> window;
};

TEST_F(PreferencesWindowTest, ALocationSavedSurvivesARestart) {
    WithPreferences([](TPrefs& dialog) {
        dialog.Controller->setCurrentWidget(dialog.tabLocation);
        dialog.edLoD->setText(QStringLiteral("118"));
        dialog.edLoM->setText(QStringLiteral("14"));
        dialog.longWest->click();
        dialog.edLaD->setText(QStringLiteral("34"));
        dialog.latNorth->click();
        QTest::mouseClick(dialog.butSave, Qt::LeftButton);
    });
    const Observer& observer = window->GetPlanetarium()->GetObserver();
    EXPECT_NEAR(observer.longitude.degrees, -(118 + 14 / 60.0), 1e-9);

    window.reset();
    Open();
    const Observer& again = window->GetPlanetarium()->GetObserver();
    EXPECT_NEAR(again.longitude.degrees, -(118 + 14 / 60.0), 1e-9);
    EXPECT_NEAR(again.latitude.degrees, 34 + 21 / 60.0, 1e-9);
    // The dialog opens again on the page last used.
    WithPreferences([](TPrefs& dialog) { EXPECT_EQ(dialog.Controller->currentWidget(), dialog.tabTime); });
    WithPreferences([](TPrefs& dialog) {
        dialog.Controller->setCurrentWidget(dialog.tabGrids);
        dialog.reject();
    });
    WithPreferences([](TPrefs& dialog) { EXPECT_EQ(dialog.Controller->currentWidget(), dialog.tabGrids); });
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(PreferencesWindowTest, TheSkysKeysAndHelpStandAsideWhileItIsOpen) {
    const double centreY = window->View()->CentreY();
    WithPreferences([&](TPrefs& dialog) {
        QTest::keyClick(dialog.edDirection, Qt::Key_Up);
        QTest::keyClick(dialog.edDirection, Qt::Key_F1);
        ASSERT_NE(dialog.Help(), nullptr);
        EXPECT_TRUE(dialog.Help()->Browser()->source().toString().endsWith(QStringLiteral("preferences.html")));
        QTest::keyClick(dialog.edDirection, Qt::Key_Escape);
    });
    EXPECT_EQ(window->View()->CentreY(), centreY);
    EXPECT_TRUE(window->Message().empty());
    // The main window's own help was not asked for.
    EXPECT_EQ(window->HelpWindow(), nullptr);
    // Closed again, the arrows are the sky's.
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_GT(window->View()->CentreY(), centreY);
}

// The city list of the kstars-data package, where it is installed.
TEST_F(PrefsDialogTest, ChoosingACityFillsThePlaceAndIsRememberedFirst) {
    const std::string path = CityDatabasePath();
    if (!QFile::exists(QString::fromStdString(path))) GTEST_SKIP() << "no city database at " << path;
    dialog->Controller->setCurrentWidget(dialog->tabLocation);
    EXPECT_TRUE(dialog->labCities->text().startsWith(QStringLiteral("3428 cities")))
        << dialog->labCities->text().toStdString();
    EXPECT_EQ(dialog->ListCities->count(), 3428);
    QTest::keyClicks(dialog->edCitySearch, QStringLiteral("aach"));
    ASSERT_GE(dialog->ListCities->count(), 1);
    QListWidgetItem* first = dialog->ListCities->item(0);
    EXPECT_TRUE(first->text().startsWith(QStringLiteral("Aachen, Germany"))) << first->text().toStdString();
    QTest::keyClick(dialog->edCitySearch, Qt::Key_Return);
    const PreferencesForm form = dialog->Store();
    EXPECT_EQ(form.longitudeDegrees + " " + form.longitudeMinutes + " " + form.longitudeSeconds, "6 6  0.00");
    EXPECT_FALSE(form.west);
    EXPECT_EQ(form.latitudeDegrees + " " + form.latitudeMinutes + " " + form.latitudeSeconds, "50 46  0.00");
    EXPECT_FALSE(form.south);  // the form came with South ticked
    EXPECT_EQ(form.timeZone, "1");
    // The form's clock is set by hand to 6 December: standard time.
    EXPECT_FALSE(form.dst);
    EXPECT_EQ(form.recentPlaces, std::vector<std::string>{"Aachen, Germany"});
    EXPECT_TRUE(dialog->labCityChosen->text().contains(QStringLiteral("zone +1, standard time")));

    // Shown again, the recent place stands first, before the whole list.
    dialog->Load(form, &move);
    ASSERT_EQ(dialog->ListCities->count(), 3429);
    EXPECT_TRUE(dialog->ListCities->item(0)->text().startsWith(QStringLiteral("Aachen, Germany")));
    EXPECT_TRUE(dialog->ListCities->item(0)->font().italic());
    // A click chooses as well.
    QTest::keyClicks(dialog->edCitySearch, QStringLiteral("mumbai"));
    ASSERT_EQ(dialog->ListCities->count(), 1);
    QListWidgetItem* mumbai = dialog->ListCities->item(0);
    QTest::mouseClick(dialog->ListCities->viewport(), Qt::LeftButton, {},
                      dialog->ListCities->visualItemRect(mumbai).center());
    EXPECT_EQ(dialog->edTimeZone->text(), QStringLiteral("5.5"));
    EXPECT_EQ(dialog->Store().recentPlaces, (std::vector<std::string>{"Mumbai, India", "Aachen, Germany"}));
}

TEST_F(PrefsDialogTest, WithoutTheCityListThePlaceIsTypedAsBefore) {
    dialog->SetCityDatabase(testing::TempDir() + "no-such-folder/citydb.sqlite");
    dialog->Load(Filled(), &move);
    dialog->Controller->setCurrentWidget(dialog->tabLocation);
    ASSERT_EQ(dialog->ListCities->count(), 1);
    EXPECT_EQ(dialog->ListCities->item(0)->flags(), Qt::NoItemFlags);
    EXPECT_TRUE(dialog->ListCities->item(0)->text().contains(QStringLiteral("kstars-data")));
    EXPECT_TRUE(dialog->labCities->text().contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(dialog->edCitySearch->isEnabled());
    // Clicking the message chooses nothing.
    QTest::mouseClick(dialog->ListCities->viewport(), Qt::LeftButton, {},
                      dialog->ListCities->visualItemRect(dialog->ListCities->item(0)).center());
    EXPECT_TRUE(dialog->Store() == Filled());
    dialog->edLoD->setText(QStringLiteral("10"));
    EXPECT_EQ(dialog->Store().longitudeDegrees, "10");
}

}  // namespace
