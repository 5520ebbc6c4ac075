#pragma once

#include <QWidget>

#include "controller/ReportDisplay.h"

class QTextEdit;

// The report window: a stay-on-top window that shows the report on the
// selected object as rich text, one run of text after another with its
// font, size, bold and italic. The controller fills, opens and closes it.
class TObjectReport : public QWidget, public ReportDisplay {
    Q_OBJECT

public:
    explicit TObjectReport(QWidget* owner = nullptr);

    bool IsOpen() const override { return isVisible(); }
    void Fill(const ReportText& runs) override;
    void Open() override;
    void Close() override;

    QTextEdit* RichEdit1;
};
