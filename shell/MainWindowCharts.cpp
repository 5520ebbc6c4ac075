// The main window's chart commands: File > Export Chart... and Print...

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>

#include "controller/Planetarium.h"
#include "shell/MainWindow.h"
#include "view/SkyChart.h"
#include "view/SkyView.h"

namespace {

struct ChartFilter {
    const char* filter;
    const char* extension;
};
constexpr ChartFilter ChartFilters[] = {
    {"PNG picture (*.png)", ".png"},
    {"SVG drawing (*.svg)", ".svg"},
    {"PDF document (*.pdf)", ".pdf"},
};

}  // namespace

void THCI::ExportChart() {
    if (!planetarium_) return;
    QString filters;
    for (const ChartFilter& f : ChartFilters)
        filters += (filters.isEmpty() ? "" : ";;") + QString::fromLatin1(f.filter);
    QString chosenFilter;
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Export Chart"),
                                     QDir::home().filePath(QStringLiteral("sky-chart.png")), filters, &chosenFilter);
    if (path.isEmpty()) return;
    // A name without one of the three extensions gets the one of the type chosen.
    if (!ChartFormatOf(path.toStdString())) {
        for (const ChartFilter& f : ChartFilters)
            if (chosenFilter == QLatin1String(f.filter)) path += QLatin1String(f.extension);
    }
    ExportChartTo(path);
}

bool THCI::ExportChartTo(const QString& path) {
    if (!planetarium_) return false;
    const std::string problem = planetarium_->ExportChart(path.toStdString(), InkSavingItem->isChecked());
    if (!problem.empty()) {
        messages_->Warning("The chart could not be written to " + path.toStdString() + ": " + problem + ".");
        return false;
    }
    statusPanels[4]->setText(QStringLiteral("Chart written to %1").arg(path));
    return true;
}

void THCI::PrintChart() {
    if (!planetarium_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Velkaris sky chart"));
    // The page turned the way the sky is wide.
    printer.setPageOrientation(view_->SurfaceWidth() > view_->SurfaceHeight() ? QPageLayout::Landscape
                                                                              : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print Chart"));
    if (dialog.exec() != QDialog::Accepted) return;
    PrintChartOn(printer);
}

bool THCI::PrintChartOn(QPrinter& printer) {
    if (!planetarium_) return false;
    if (!planetarium_->PrintChart(printer, InkSavingItem->isChecked())) {
        const QString where = !printer.outputFileName().isEmpty() ? QStringLiteral(" to ") + printer.outputFileName()
                              : !printer.printerName().isEmpty()  ? QStringLiteral(" on ") + printer.printerName()
                                                                  : QString();
        messages_->Warning("The chart could not be printed" + where.toStdString() + ".");
        return false;
    }
    statusPanels[4]->setText(QStringLiteral("Chart printed"));
    return true;
}
