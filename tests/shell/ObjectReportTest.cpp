#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <memory>

#include "../controller/ControllerTestSupport.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "shell/MainWindow.h"
#include "shell/ObjectReport.h"
#include "view/SkyView.h"

namespace {

// The attributes the report window shows a piece of its text with.
struct Shown {
    bool found = false;
    double points = 0;
    bool bold = false, italic = false;
};

Shown ShownAs(const TObjectReport& report, const QString& text) {
    const QTextCursor at = report.RichEdit1->document()->find(text);
    if (at.isNull()) return {};
    const QTextCharFormat f = at.charFormat();
    return {true, f.fontPointSize(), f.fontWeight() == QFont::Bold, f.fontItalic()};
}

TEST(ObjectReportWindow, ShowsEachRunWithItsAttributes) {
    TObjectReport report;
    EXPECT_EQ(report.windowTitle(), QStringLiteral("Report"));
    EXPECT_EQ(report.size(), QSize(453, 576));
    EXPECT_TRUE(report.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(report.RichEdit1->isReadOnly());
    report.Fill({{"Star: ", ReportFont, 16, true, false},
                 {"α1", GreekFont, 16, false, false},
                 {" Cen \t", ReportFont, 16, true, false},
                 {"\n(source: bright star catalogue)\n", ReportFont, 12, false, true},
                 {"\nRA\t\t: 14h39'36\"\n", ReportFont, 14, false, false}});
    EXPECT_EQ(report.RichEdit1->toPlainText(),
              QStringLiteral("Star: α1 Cen \t\n(source: bright star catalogue)\n\nRA\t\t: 14h39'36\"\n"));
    const struct {
        const char* text;
        double points;
        bool bold, italic;
    } rows[] = {
        {"Star:", 16, true, false},
        {"α1", 16, false, false},
        {"Cen", 16, true, false},
        {"(source: bright star catalogue)", 12, false, true},
        {"RA", 14, false, false},
    };
    for (const auto& row : rows) {
        const Shown s = ShownAs(report, QString::fromUtf8(row.text));
        ASSERT_TRUE(s.found) << row.text;
        EXPECT_EQ(s.points, row.points) << row.text;
        EXPECT_EQ(s.bold, row.bold) << row.text;
        EXPECT_EQ(s.italic, row.italic) << row.text;
    }
    // The Greek letter is drawn by the body font, not by a symbol font that
    // would take it for something else.
    const QTextCursor greek = report.RichEdit1->document()->find(QStringLiteral("α"));
    ASSERT_FALSE(greek.isNull());
    EXPECT_EQ(greek.charFormat().fontFamilies().toStringList().value(0), QString::fromUtf8(ReportFont));

    // A new fill replaces everything; closing empties it.
    report.Fill({{"Moon", ReportFont, 16, true, false}});
    EXPECT_EQ(report.RichEdit1->toPlainText(), QStringLiteral("Moon"));
    report.Open();
    EXPECT_TRUE(report.IsOpen());
    report.Close();
    EXPECT_FALSE(report.IsOpen());
    EXPECT_TRUE(report.RichEdit1->toPlainText().isEmpty());
}

class ReportKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        WriteEmptyCatalogues(work);
        WriteSolarSeries(work);
        window = std::make_unique<THCI>(&messages, [] { return FixedMoment(); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        report = window->findChild<TObjectReport*>(QStringLiteral("ObjectReport"));
        ASSERT_NE(report, nullptr);
    }
    void TearDown() override { window.reset(); }

    // Clicks on a fixture star, as the last frame left it.
    void ClickOnStar(int index) {
        Planetarium* p = window->GetPlanetarium();
        auto stars = p->Catalogue(0)->stars();
        const int px = 200, py = 150;
        for (Star& s : stars) s.onScreen = false;
        stars[index].screenX = window->View()->FromPixelX(px);
        stars[index].screenY = window->View()->FromPixelY(py);
        stars[index].onScreen = true;
        QTest::mouseClick(window->Image1, Qt::LeftButton, Qt::NoModifier, QPoint(px, py));
    }
    QString Text() const { return report->RichEdit1->toPlainText(); }

    ScratchWorkDir work;
    RecordingMessages messages;
    std::unique_ptr<THCI> window;
    TObjectReport* report = nullptr;
};

TEST_F(ReportKeysTest, F3AndTheReportButtonToggleTheReportOfTheSelection) {
    EXPECT_FALSE(report->isVisible());
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_FALSE(report->isVisible());  // nothing selected yet

    ClickOnStar(0);
    QTest::keyClick(window.get(), Qt::Key_F3);
    ASSERT_TRUE(report->isVisible());
    EXPECT_TRUE(Text().startsWith(QStringLiteral("Star: Sirius \tHD: 48915 HIP: 32349 \n"))) << Text().toStdString();
    EXPECT_TRUE(window->Message().empty());

    // Refilled by a click while open.
    ClickOnStar(1);
    EXPECT_TRUE(Text().startsWith(QStringLiteral("Star: Rigel \t"))) << Text().toStdString();

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
    EXPECT_TRUE(Text().startsWith(QStringLiteral("Star: Rigel \t"))) << Text().toStdString();
    QTest::mouseClick(window->butReport, Qt::LeftButton);
    EXPECT_FALSE(report->isVisible());
}

}  // namespace
