#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "../controller/ControllerTestSupport.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "shell/FindDialog.h"
#include "shell/MainWindow.h"
#include "view/SkyView.h"

namespace {

class FindDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        WriteSolarSeries(work);
        WriteEmptyCatalogues(work);
        window = std::make_unique<THCI>(&messages, [] { return FixedMoment(); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
    }
    Planetarium& Sky() const { return *window->GetPlanetarium(); }
    const ObjectRef rigel{KindStar, 0, 1};

    ScratchWorkDir work;
    RecordingMessages messages;
    std::unique_ptr<THCI> window;
};

TEST_F(FindDialogTest, ANameChoosesOrListsWhatItMayHaveMeant) {
    {
        TFind dialog(window.get(), Sky());
        // Completion offers every name once, without case mattering.
        const QAbstractItemModel* model = dialog.edFind->completer()->model();
        QStringList offered;
        for (int r = 0; r < model->rowCount(); ++r) offered << model->index(r, 0).data().toString();
        for (const char* name : {"Rigel", "bet Ori", "19 Ori", "HD 34085", "HIP 24436", "Sirius", "Mars", "Moon"})
            EXPECT_EQ(offered.count(QString::fromLatin1(name)), 1) << name;
        dialog.edFind->completer()->setCompletionPrefix(QStringLiteral("BET"));
        EXPECT_EQ(dialog.edFind->completer()->currentCompletion(), QStringLiteral("bet Ori"));

        dialog.edFind->setText(QStringLiteral(" rigel "));
        EXPECT_TRUE(dialog.FindTyped());
        EXPECT_EQ(dialog.Chosen(), rigel);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        TFind dialog(window.get(), Sky());
        dialog.show();
        QTest::keyClicks(dialog.edFind, QStringLiteral("Rigle"));
        QTest::keyClick(dialog.edFind, Qt::Key_Return);
        EXPECT_FALSE(dialog.Chosen());
        EXPECT_TRUE(dialog.labFound->text().contains(QStringLiteral("Did you mean")));
        ASSERT_GE(dialog.ListFound->count(), 1);
        EXPECT_TRUE(
            dialog.ListFound->item(0)->text().startsWith(QStringLiteral("Rigel (star of the catalogue foundation")));
        // Return in the list takes the first.
        EXPECT_EQ(dialog.focusWidget(), dialog.ListFound);
        QTest::keyClick(dialog.ListFound, Qt::Key_Return);
        EXPECT_EQ(dialog.Chosen(), rigel);
    }
    {
        TFind dialog(window.get(), Sky());
        dialog.edFind->setText(QStringLiteral("zzzz"));
        EXPECT_FALSE(dialog.FindTyped());
        EXPECT_EQ(dialog.labFound->text(), QStringLiteral("No object is named \"zzzz\"."));
        EXPECT_EQ(dialog.ListFound->count(), 0);
        EXPECT_FALSE(dialog.Chosen());
    }
}

// Ctrl+F, a name, Return: the object is selected, the view turned to it, and
// the status bar says where it stands.
TEST_F(FindDialogTest, ControlFTurnsTheViewToTheObjectNamed) {
    EXPECT_EQ(window->FindItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TFind*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        asked = true;
        QTest::keyClicks(dialog->edFind, QStringLiteral("Rigel"));
        QTest::keyClick(dialog->edFind, Qt::Key_Return);
    });
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(asked);
    const Star& star = Sky().Catalogue(0)->stars()[1];
    EXPECT_EQ(Sky().Selected(), &star);
    EXPECT_NEAR(window->View()->direction.radians, star.azimuth.radians, 1e-6);
    EXPECT_NEAR(window->View()->elevation.radians, star.altitude.radians, 1e-6);
    EXPECT_TRUE(window->statusPanels[4]->text().startsWith(QStringLiteral("Rigel stands ")))
        << window->statusPanels[4]->text().toStdString();
    EXPECT_EQ(window->labels[LabCurrentStar]->text(), QStringLiteral("Rigel"));

    // Cancelled, nothing changes; the dialog comes back empty.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TFind*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->edFind->text().isEmpty());
        dialog->close();
    });
    window->FindItem->trigger();
    EXPECT_EQ(Sky().Selected(), &star);

    // Without the catalogue its names are offered no more.
    Sky().Catalogue(0)->Disable();
    Sky().ApplyCatalogueRequests(nullptr);
    bool offered = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TFind*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const QAbstractItemModel* model = dialog->edFind->completer()->model();
        offered =
            !model->match(model->index(0, 0), Qt::DisplayRole, QStringLiteral("Rigel"), 1, Qt::MatchExactly).isEmpty();
        dialog->close();
    });
    window->FindItem->trigger();
    EXPECT_FALSE(offered);
}

}  // namespace
