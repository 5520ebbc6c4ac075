#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QTest>
#include <algorithm>
#include <memory>

#include "../controller/ControllerTestSupport.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "settings/SettingsStore.h"
#include "shell/MainWindow.h"
#include "tests/support/ChartFiles.h"
#include "view/SkyView.h"

namespace {

class ChartCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        window = std::make_unique<THCI>(&messages, [] { return FixedMoment(); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        messages.warnings.clear();  // the missing solar files
    }
    std::string Path(const char* name) const {
        return (work.Path() + QLatin1Char('/') + QLatin1String(name)).toStdString();
    }

    ScratchWorkDir work;
    RecordingMessages messages;
    std::unique_ptr<THCI> window;
};

TEST_F(ChartCommandsTest, TheFileMenuOffersChartsAndRemembersTheInkSavingChoice) {
    const QList<QAction*> items = window->FileMenu->actions();
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(items[0], window->ExportChartItem);
    EXPECT_EQ(items[1], window->PrintItem);
    EXPECT_EQ(items[2], window->InkSavingItem);
    EXPECT_TRUE(window->InkSavingItem->isCheckable());
    EXPECT_FALSE(window->InkSavingItem->isChecked());
    window->InkSavingItem->trigger();
    EXPECT_TRUE(SettingsStore().ReadBool("InkSavingCharts", false));
    // The next window starts with it.
    window.reset();
    window = std::make_unique<THCI>(&messages, [] { return FixedMoment(); });
    EXPECT_TRUE(window->InkSavingItem->isChecked());
}

// What the print dialog leads to, on a printer that writes a PDF file: no
// display, no print server.
TEST_F(ChartCommandsTest, PrintingOnAPdfPrinterGivesThePage) {
    window->InkSavingItem->setChecked(true);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(Path("printed.pdf")));
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(window->PrintChartOn(printer));
    EXPECT_EQ(window->statusPanels[4]->text(), QStringLiteral("Chart printed"));
    EXPECT_TRUE(messages.warnings.empty());
    ASSERT_TRUE(QFile::exists(QString::fromStdString(Path("printed.pdf"))));
    if (!PopplerAvailable()) GTEST_SKIP() << "poppler-utils are not installed";
    EXPECT_NE(ToolOutput("pdfinfo '" + Path("printed.pdf") + "'").find("Pages:           1\n"), std::string::npos);
    bool named = false;
    for (const PdfWord& w : PdfWords(Path("printed.pdf"))) named = named || w.text == QStringLiteral("Sirius");
    EXPECT_TRUE(named);
    // Ink-saving: the sky is white paper, with Rigel a dark dot where the
    // frame, fitted into the page's printable area, puts it.
    const QImage page = PdfPicture(Path("printed.pdf"), 72, Path("page"));
    ASSERT_FALSE(page.isNull());
    const SkyView& view = *window->View();
    const QRectF paper = printer.pageLayout().paintRectPoints();
    const double scale = std::min(paper.width() / view.SurfaceWidth(), paper.height() / view.SurfaceHeight());
    const QPointF origin(paper.x() + (paper.width() - view.SurfaceWidth() * scale) / 2,
                         paper.y() + (paper.height() - view.SurfaceHeight() * scale) / 2);
    const Star& rigel = window->GetPlanetarium()->Catalogue(0)->stars()[1];
    ASSERT_TRUE(rigel.onScreen);
    const QPointF at = origin + QPointF(view.ToPixelX(rigel.screenX) + 0.5, view.ToPixelY(rigel.screenY) + 0.5) * scale;
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) darkest = std::min(darkest, qGray(page.pixel(at.toPoint() + QPoint(dx, dy))));
    EXPECT_LT(darkest, 230);
    EXPECT_EQ(qGray(page.pixel((origin + QPointF(3, 3)).toPoint())), 255);
}

TEST_F(ChartCommandsTest, FailuresAreToldWithTheirReason) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(Path("no-such-folder/printed.pdf")));
    EXPECT_FALSE(window->PrintChartOn(printer));
    ASSERT_EQ(messages.warnings.size(), 1u);
    EXPECT_NE(messages.warnings[0].find("could not be printed"), std::string::npos) << messages.warnings[0];

    EXPECT_FALSE(window->ExportChartTo(QString::fromStdString(Path("no-such-folder/sky.svg"))));
    ASSERT_EQ(messages.warnings.size(), 2u);
    EXPECT_NE(messages.warnings[1].find("could not be written to " + Path("no-such-folder/sky.svg") + ": "),
              std::string::npos)
        << messages.warnings[1];

    EXPECT_TRUE(window->ExportChartTo(QString::fromStdString(Path("sky.svg"))));
    EXPECT_TRUE(window->statusPanels[4]->text().startsWith(QStringLiteral("Chart written to ")));
    EXPECT_EQ(messages.warnings.size(), 2u);
}

}  // namespace
