#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "../controller/ControllerTestSupport.h"
#include "astro/Constants.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "settings/SettingsStore.h"
#include "shell/HelpViewer.h"
#include "shell/MainWindow.h"
#include "shell/ObjectReport.h"
#include "tests/support/TestEnvironment.h"
#include "view/SkyView.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment<QApplication>("test_shell"));

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        WriteEmptyCatalogues(work);
        WriteSolarSeries(work);
        window = std::make_unique<THCI>(&messages, [] { return FixedMoment(); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
    }
    void TearDown() override { window.reset(); }

    // Keys as the keyboard sends them: to the control that has the focus.
    QString Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, key, modifiers);
        return window->statusPanels[4]->text();
    }
    QString Label(PanelLabel label) const { return window->labels[label]->text(); }

    ScratchWorkDir work;
    RecordingMessages messages;
    std::unique_ptr<THCI> window;
};

TEST_F(MainWindowTest, LayoutCaptionAndStartingState) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velkaris v1.1.2"));
    EXPECT_EQ(window->Panel1->width(), 100);
    EXPECT_EQ(window->StatusBar1->height(), 19);
    EXPECT_EQ(Label(LabCurrentStar), QStringLiteral("none"));
    EXPECT_EQ(Label(labLockedObject), QStringLiteral("none"));
    EXPECT_EQ(window->statusPanels[0]->text(), QStringLiteral("21:04:09 06-12-2000"));
    EXPECT_TRUE(window->cbSysTime->isChecked());
    EXPECT_TRUE(window->cbRun->isChecked());
    EXPECT_FALSE(window->cbRun->isEnabled());
    EXPECT_EQ(window->Timer1->interval(), 100);
    EXPECT_TRUE(window->Timer1->isActive());
    // The first frame is on the sky surface, at its size.
    EXPECT_EQ(window->Image1->Frame().size(), window->Image1->size());
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(MainWindowTest, KeySequencesShowTheirMessages) {
    EXPECT_EQ(Press(Qt::Key_S), QStringLiteral("Stars: "));
    EXPECT_EQ(Press(Qt::Key_N), QStringLiteral("Stars: names OFF"));
    EXPECT_FALSE(window->View()->Options()[DisplayOptions::ShowStarNames]);
    EXPECT_EQ(Press(Qt::Key_S), QStringLiteral("Stars: "));
    EXPECT_EQ(Press(Qt::Key_N, Qt::ShiftModifier), QStringLiteral("Stars: names ON"));

    // Shift+P as a keyboard sends it, then 1: stereographic.
    EXPECT_EQ(Press(Qt::Key_P, Qt::ShiftModifier), QStringLiteral("Projection: "));
    EXPECT_EQ(Press(Qt::Key_Shift, Qt::ShiftModifier), QStringLiteral("Projection: "));
    EXPECT_EQ(Press(Qt::Key_1), QStringLiteral("Projection: stereographic"));
    EXPECT_EQ(window->View()->GetProjection(), Stereographic);

    EXPECT_EQ(Press(Qt::Key_4), QStringLiteral("Limiting Magnitude set to:  4.00"));
    // Shift+] arrives as '}' and Shift+1 as '!'.
    EXPECT_EQ(Press(Qt::Key_BraceRight, Qt::ShiftModifier), QStringLiteral("Limiting Magnitude set to:  4.25"));
    EXPECT_EQ(Press(Qt::Key_BracketRight, Qt::ShiftModifier), QStringLiteral("Limiting Magnitude set to:  4.50"));
    EXPECT_EQ(Press(Qt::Key_Exclam, Qt::ShiftModifier), QStringLiteral("Limiting Magnitude set to:  8.00"));
    EXPECT_FLOAT_EQ(window->View()->starLimit, 8.0f);
    EXPECT_EQ(Press(Qt::Key_Less, Qt::ShiftModifier), QStringLiteral("DSO Magnitude set to:  8.00"));
    EXPECT_EQ(Press(Qt::Key_Greater, Qt::ShiftModifier), QStringLiteral("DSO Magnitude set to:  9.00"));

    // Zooming keeps the message; Ctrl makes no difference.
    const float scale = window->View()->Scale();
    EXPECT_EQ(Press(Qt::Key_BracketRight), QStringLiteral("DSO Magnitude set to:  9.00"));
    EXPECT_FLOAT_EQ(window->View()->Scale(), scale * 1.5f);
    EXPECT_EQ(Press(Qt::Key_2, Qt::ControlModifier), QStringLiteral("Limiting Magnitude set to:  2.00"));
    // Ctrl goes down on its own before Ctrl+N; that keeps the group open.
    EXPECT_EQ(Press(Qt::Key_S), QStringLiteral("Stars: "));
    EXPECT_EQ(Press(Qt::Key_Control, Qt::ControlModifier), QStringLiteral("Stars: "));
    EXPECT_EQ(Press(Qt::Key_N, Qt::ControlModifier), QStringLiteral("Stars: names OFF"));
    EXPECT_EQ(Press(Qt::Key_X), QStringLiteral("Unknown command sequence"));
    EXPECT_EQ(Press(Qt::Key_Backslash), QStringLiteral("Updated Lock"));
    EXPECT_EQ(Press(Qt::Key_End), QStringLiteral("Looking at selected"));
    EXPECT_EQ(Press(Qt::Key_Home), QStringLiteral("Reset Scroll"));
    EXPECT_EQ(Press(Qt::Key_V), QStringLiteral("View: "));
    EXPECT_EQ(Press(Qt::Key_E), QStringLiteral("View: East"));
    EXPECT_EQ(Label(LabDirection), QStringLiteral(" 90"));

    // The slew switches redraw at once, like every other toggle.
    Planetarium* p = window->GetPlanetarium();
    const uint32_t redraws = p->RedrawCount();
    EXPECT_EQ(Press(Qt::Key_Q), QStringLiteral("Misc: "));
    EXPECT_EQ(Press(Qt::Key_W), QStringLiteral("Misc: Write slew file ON"));
    EXPECT_TRUE(p->writeSlewFile);
    EXPECT_EQ(p->RedrawCount(), redraws + 1);
}

TEST_F(MainWindowTest, ArrowsAndTabReachTheCommandsWhateverHasTheFocus) {
    window->cbSysTime->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), window->cbSysTime);
    const double centreY = window->View()->CentreY();
    EXPECT_EQ(Press(Qt::Key_Up), QStringLiteral("Scroll Up"));
    EXPECT_GT(window->View()->CentreY(), centreY);
    EXPECT_EQ(Press(Qt::Key_Left), QStringLiteral("Scroll Left"));
    EXPECT_EQ(Press(Qt::Key_Tab), QStringLiteral("Unknown command sequence"));
    EXPECT_EQ(QApplication::focusWidget(), window->cbSysTime);
    EXPECT_TRUE(window->cbSysTime->isChecked());

    // Inside an open group an arrow closes it instead of scrolling.
    EXPECT_EQ(Press(Qt::Key_P), QStringLiteral("Planets: "));
    const double centreX = window->View()->CentreX();
    EXPECT_EQ(Press(Qt::Key_Right), QStringLiteral("Unknown command sequence"));
    EXPECT_EQ(window->View()->CentreX(), centreX);
    EXPECT_EQ(window->CommandState(), 0);
}

TEST_F(MainWindowTest, OpenMenuKeepsItsArrowKeys) {
    window->FileMenu->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->FileMenu));
    const double centreY = window->View()->CentreY();
    QTest::keyClick(window->FileMenu, Qt::Key_Down);
    EXPECT_EQ(window->FileMenu->activeAction(), window->ExportChartItem);
    EXPECT_EQ(window->View()->CentreY(), centreY);
    EXPECT_TRUE(window->Message().empty());
    window->FileMenu->hide();
    // Closed again, the arrows are the sky's.
    EXPECT_EQ(Press(Qt::Key_Down), QStringLiteral("Scroll Down"));
}

// While a modal window is open (the Clean Registry question, the About box)
// the keys are that window's: Tab and the arrows move between its buttons and
// the sky behind it stays where it is.
TEST_F(MainWindowTest, AModalWindowKeepsItsKeys) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velkaris v1.1.2"), QStringLiteral("Really?"),
                    QMessageBox::Yes | QMessageBox::No, window.get());
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.activateWindow();
    box.button(QMessageBox::Yes)->setFocus();
    const double centreX = window->View()->CentreX(), centreY = window->View()->CentreY();
    const QString message = window->statusPanels[4]->text();
    const struct {
        Qt::Key key;
        QMessageBox::StandardButton focused;
    } rows[] = {
        {Qt::Key_Tab, QMessageBox::No},   {Qt::Key_Backtab, QMessageBox::Yes}, {Qt::Key_Right, QMessageBox::No},
        {Qt::Key_Left, QMessageBox::Yes}, {Qt::Key_Down, QMessageBox::No},     {Qt::Key_Up, QMessageBox::Yes},
    };
    for (const auto& row : rows) {
        QTest::keyClick(QApplication::focusWidget(), row.key);
        EXPECT_EQ(QApplication::focusWidget(), box.button(row.focused))
            << QKeySequence(row.key).toString().toStdString();
    }
    EXPECT_EQ(window->View()->CentreX(), centreX);
    EXPECT_EQ(window->View()->CentreY(), centreY);
    EXPECT_EQ(window->statusPanels[4]->text(), message);
    box.close();
    // Closed again, the keys are the sky's.
    EXPECT_EQ(Press(Qt::Key_Up), QStringLiteral("Scroll Up"));
}

// The readout lines keep their places, and their font lets every line show
// whole, descenders included, in the height left to it before the next line.
TEST_F(MainWindowTest, ReadoutLinesAreWhole) {
    const struct {
        PanelLabel label;
        int top;
    } rows[] = {
        {LabCurRA, 363},  {LabCurDec, 378}, {LabCurMag, 394}, {LabCurAlt, 410},
        {LabCurAzi, 423}, {LabRise, 439},   {LabTrans, 454},  {LabSet, 469},
    };
    for (const auto& row : rows) {
        const QLabel* label = window->labels[row.label];
        EXPECT_EQ(label->geometry(), QRect(5, row.top, 91, 15)) << label->objectName().toStdString();
        // What the next line down leaves of this one.
        int visible = label->height();
        for (const auto& other : rows) {
            if (other.top > row.top) visible = std::min(visible, other.top - row.top);
        }
        EXPECT_LE(QFontMetrics(label->font()).height(), visible) << label->objectName().toStdString();
    }
}

// A disabled check box looks disabled: its text is not the black of an
// enabled one.
TEST_F(MainWindowTest, TheDisabledRunBoxLooksDisabled) {
    const auto darkest = [](QWidget* w) {
        const QImage image = w->grab().toImage();
        int least = 255;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = image.width() / 4; x < image.width(); ++x) least = std::min(least, qGray(image.pixel(x, y)));
        }
        return least;
    };
    ASSERT_FALSE(window->cbRun->isEnabled());  // following the system clock
    const int disabled = darkest(window->cbRun);
    window->cbRun->setEnabled(true);
    const int enabled = darkest(window->cbRun);
    EXPECT_LT(enabled, 60);
    EXPECT_GT(disabled, enabled + 60);
}

TEST_F(MainWindowTest, CompassButtonsSetTheDirection) {
    const std::pair<QToolButton*, const char*> buttons[] = {
        {window->ButEast, "90"}, {window->ButSouth, "180"}, {window->ButWest, "270"}, {window->ButNorth, "0"}};
    for (auto [button, text] : buttons) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(Label(LabDirection), QString::fromLatin1(text));
        EXPECT_FALSE(button->isDown());
    }
    QTest::mouseClick(window->ButRightMore, Qt::LeftButton);
    EXPECT_NEAR(window->View()->direction.degrees, 30.0, 1e-9);
    QTest::mouseClick(window->ButLeftLess, Qt::LeftButton);
    EXPECT_NEAR(window->View()->direction.degrees, 25.0, 1e-9);
}

TEST_F(MainWindowTest, FullScreenTwiceReturnsToANormalWindow) {
    // The program starts maximised.
    window->showMaximized();
    QTest::qWait(20);
    QTest::keyClick(window.get(), Qt::Key_F2);
    EXPECT_TRUE(window->IsFullScreen());
    EXPECT_FALSE(window->Panel1->isVisible());
    EXPECT_FALSE(window->StatusBar1->isVisible());
    EXPECT_FALSE(window->HelpMenu->menuAction()->isVisible());
    EXPECT_TRUE(window->windowTitle().isEmpty());
    EXPECT_TRUE(window->windowState().testFlag(Qt::WindowFullScreen));
    QTest::qWait(20);
    EXPECT_EQ(window->Image1->size(), window->size());
    EXPECT_EQ(window->View()->SurfaceWidth(), window->Image1->width());
    // F2 still works with the menus hidden.
    QTest::keyClick(window.get(), Qt::Key_F2);
    EXPECT_FALSE(window->IsFullScreen());
    EXPECT_TRUE(window->Panel1->isVisible());
    EXPECT_TRUE(window->StatusBar1->isVisible());
    EXPECT_TRUE(window->FileMenu->menuAction()->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velkaris v1.1.2"));
    EXPECT_FALSE(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    EXPECT_EQ(window->normalGeometry().size(), QSize(700, 700));
    EXPECT_EQ(window->geometry().topLeft(), QPoint(86, 68));
    // Neither key reached the command language.
    EXPECT_TRUE(window->Message().empty());
}

TEST_F(MainWindowTest, ToolbarAndStatusbarToggles) {
    QTest::qWait(50);
    const int width = window->Image1->width();
    QTest::keyClick(window.get(), Qt::Key_F2, Qt::ControlModifier);
    QTest::qWait(50);
    EXPECT_FALSE(window->Panel1->isVisible());
    EXPECT_GT(window->Image1->width(), width);
    EXPECT_EQ(window->View()->SurfaceWidth(), window->Image1->width());
    QTest::keyClick(window.get(), Qt::Key_F2, Qt::ControlModifier);
    QTest::qWait(50);
    EXPECT_TRUE(window->Panel1->isVisible());
    EXPECT_EQ(window->Image1->width(), width);
    QTest::keyClick(window.get(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_FALSE(window->StatusBar1->isVisible());
    // Alt+F2 is no menu shortcut: it reaches the command language.
    EXPECT_EQ(Press(Qt::Key_F2, Qt::AltModifier), QStringLiteral("Toolbar toggled"));
    EXPECT_FALSE(window->Panel1->isVisible());
}

TEST_F(MainWindowTest, ClickSelectsAndLabelLocks) {
    Planetarium* p = window->GetPlanetarium();
    SkyView* view = window->View();
    auto stars = p->Catalogue(0)->stars();
    const int px = 200, py = 150;
    const double x = view->FromPixelX(px), y = view->FromPixelY(py);
    stars[0].screenX = x + 0.25;
    stars[1].screenX = x - 0.25;
    stars[0].screenY = stars[1].screenY = y;
    stars[0].onScreen = stars[1].onScreen = true;
    // Only the left button clicks.
    QTest::mouseClick(window->Image1, Qt::RightButton, Qt::NoModifier, QPoint(px, py));
    EXPECT_EQ(p->Selected(), nullptr);
    QTest::mouseClick(window->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(px, py));
    EXPECT_EQ(p->Selected(), &stars[0]);
    EXPECT_EQ(Label(LabCurrentStar), QStringLiteral("Sirius"));
    EXPECT_TRUE(Label(LabCurRA).startsWith(QStringLiteral("RA : 6h45'"))) << Label(LabCurRA).toStdString();
    EXPECT_TRUE(Label(LabCurDec).startsWith(QStringLiteral("Dec: -16"))) << Label(LabCurDec).toStdString();
    EXPECT_EQ(Label(LabCurMag), QStringLiteral("Mag: -1.46"));
    EXPECT_TRUE(Label(LabRise).startsWith(QStringLiteral("Rise"))) << Label(LabRise).toStdString();

    QTest::mouseClick(window->labLocked, Qt::RightButton);
    EXPECT_EQ(p->Locked(), nullptr);
    QTest::mouseClick(window->labLocked, Qt::LeftButton);
    EXPECT_EQ(p->Locked(), &stars[0]);
    EXPECT_EQ(Label(labLockedObject), QStringLiteral("Sirius"));
    QTest::mouseClick(window->labLocked, Qt::LeftButton);
    EXPECT_EQ(p->Locked(), nullptr);
    EXPECT_EQ(Label(labLockedObject), QStringLiteral("none"));
}

// A check box only reacts to a click on its box or its caption; the middle of
// a wide "Run" box is empty space, so click where a person would.
void ClickCheckBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
}

TEST_F(MainWindowTest, ClockBoxesSwitchTheClockMode) {
    Observer& observer = window->GetPlanetarium()->GetObserver();
    ClickCheckBox(window->cbSysTime);
    EXPECT_FALSE(observer.useSystemClock());
    EXPECT_TRUE(observer.running());
    EXPECT_TRUE(window->cbRun->isEnabled());
    EXPECT_TRUE(window->cbRun->isChecked());
    ClickCheckBox(window->cbRun);
    EXPECT_FALSE(observer.running());
    EXPECT_FALSE(window->cbRun->isChecked());
    // Ticking System Time ticks Run as well, through the controller.
    ClickCheckBox(window->cbSysTime);
    EXPECT_TRUE(observer.useSystemClock());
    EXPECT_TRUE(observer.running());
    EXPECT_TRUE(window->cbRun->isChecked());
    EXPECT_FALSE(window->cbRun->isEnabled());
}

TEST_F(MainWindowTest, CleanRegistryAsksFirst) {
    {
        SettingsStore store;
        ASSERT_TRUE(store.WriteInt("UpdateIntervalReal", 7));
    }
    messages.answer = false;
    window->CleanRegistryItem->trigger();
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_NE(messages.questions[0].find("Do you really want to clean Velkaris's registry items?"), std::string::npos);
    EXPECT_EQ(SettingsStore().ReadInt("UpdateIntervalReal", 100), 7);

    messages.answer = true;
    window->CleanRegistryItem->trigger();
    EXPECT_EQ(messages.questions.size(), 2u);
    EXPECT_EQ(SettingsStore().ReadInt("UpdateIntervalReal", 100), 100);
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(MainWindowTest, HelpWithoutPagesWarnsAtEveryRequest) {
    // The scratch working directory holds no help pages; neither does a
    // test program's folder.
    HelpViewer missing(window.get(), &messages, {work.Path() + QStringLiteral("/docs/help")});
    EXPECT_FALSE(missing.Show(HelpViewer::MainWindowContext));
    EXPECT_FALSE(missing.Show(HelpViewer::MainWindowContext));
    ASSERT_EQ(messages.warnings.size(), 2u);
    EXPECT_NE(messages.warnings[1].find("help pages could not be found"), std::string::npos);
    EXPECT_NE(messages.warnings[1].find((work.Path() + QStringLiteral("/docs/help")).toStdString()), std::string::npos);

    HelpViewer found(window.get(), &messages, {QStringLiteral(VELKARIS_SOURCE_DIR "/docs/help")});
    ASSERT_TRUE(found.Show(HelpViewer::PreferencesContext));
    EXPECT_TRUE(found.Window()->isVisible());
    EXPECT_TRUE(found.Browser()->source().toString().endsWith(QStringLiteral("preferences.html")));
    EXPECT_TRUE(found.Browser()->toPlainText().contains(QStringLiteral("Preferences")));
    ASSERT_TRUE(found.Show(HelpViewer::MainWindowContext));
    EXPECT_TRUE(found.Browser()->toPlainText().contains(QStringLiteral("Clean Registry")));
    EXPECT_EQ(messages.warnings.size(), 2u);
}

// F3 and the Report button show the report on the selection and close it
// again; a click refills it while it is open.
TEST_F(MainWindowTest, F3AndTheReportButtonToggleTheReportOfTheSelection) {
    auto* report = window->findChild<TObjectReport*>(QStringLiteral("ObjectReport"));
    ASSERT_NE(report, nullptr);
    const auto text = [report] { return report->RichEdit1->toPlainText(); };
    const auto clickOnStar = [this](int index) {
        auto stars = window->GetPlanetarium()->Catalogue(0)->stars();
        const int px = 200, py = 150;
        for (Star& s : stars) s.onScreen = false;
        stars[index].screenX = window->View()->FromPixelX(px);
        stars[index].screenY = window->View()->FromPixelY(py);
        stars[index].onScreen = true;
        QTest::mouseClick(window->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(px, py));
    };
    EXPECT_FALSE(report->isVisible());
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_FALSE(report->isVisible());  // nothing selected yet

    clickOnStar(0);
    QTest::keyClick(window.get(), Qt::Key_F3);
    ASSERT_TRUE(report->isVisible());
    EXPECT_TRUE(text().startsWith(QStringLiteral("Star: Sirius \tHD: 48915 HIP: 32349 \n"))) << text().toStdString();
    EXPECT_TRUE(window->Message().empty());
    clickOnStar(1);
    EXPECT_TRUE(text().startsWith(QStringLiteral("Star: Rigel \t"))) << text().toStdString();

    // F3 works while the report window has the focus, and the arrows still
    // scroll the sky.
    report->activateWindow();
    report->RichEdit1->setFocus();
    const double centreY = window->View()->CentreY();
    QTest::keyClick(report->RichEdit1, Qt::Key_Up);
    EXPECT_GT(window->View()->CentreY(), centreY);
    QTest::keyClick(report->RichEdit1, Qt::Key_F3);
    EXPECT_FALSE(report->isVisible());

    QTest::mouseClick(window->butReport, Qt::LeftButton);
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(text().startsWith(QStringLiteral("Star: Rigel \t"))) << text().toStdString();
    QTest::mouseClick(window->butReport, Qt::LeftButton);
    EXPECT_FALSE(report->isVisible());
}

}  // namespace
