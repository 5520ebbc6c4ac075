#include "shell/ObjectReport.h"

#include <QFont>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The classic rich-text box's half-inch tab stops, which the reports' tab
// counts were made for: with a font of Times' widths the colons of "RA\t\t:",
// "Magnitude\t:" and "Altitude\t\t:", "Azimuth\t:" line up.
constexpr int TabStopPixels = 48;

// The body font, or one of the same widths where it is not installed.
QStringList Families(const char* family) {
    QStringList families{QString::fromUtf8(family)};
    if (families.front() == QLatin1String(ReportFont))
        families << QStringLiteral("Liberation Serif") << QStringLiteral("Nimbus Roman") << QStringLiteral("Tinos");
    return families;
}

QTextCharFormat FormatOf(const TextRun& run) {
    QTextCharFormat format;
    // A Bayer letter arrives as the Greek character itself: the body font
    // (or the system's fallback for Greek) draws it, where the symbol font
    // would have turned a Latin letter into it.
    const char* family = run.font == GreekFont ? ReportFont : run.font.c_str();
    format.setFontFamilies(Families(family));
    format.setFontStyleHint(QFont::Serif);
    format.setFontPointSize(run.size);
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setForeground(Qt::black);
    return format;
}

}  // namespace

TObjectReport::TObjectReport(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ObjectReport"));
    setWindowTitle(QStringLiteral("Report"));
    resize(453, 576);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->viewport()->setCursor(Qt::ArrowCursor);
    RichEdit1->setTabStopDistance(TabStopPixels);
    RichEdit1->document()->setDocumentMargin(2);
    QFont font;
    font.setFamilies(Families(ReportFont));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(15);
    RichEdit1->setFont(font);
    QPalette colours = RichEdit1->palette();
    colours.setColor(QPalette::Base, Qt::gray);
    colours.setColor(QPalette::Text, Qt::black);
    RichEdit1->setPalette(colours);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RichEdit1);
}

void TObjectReport::Fill(const ReportText& runs) {
    RichEdit1->clear();
    QTextCursor cursor(RichEdit1->document());
    for (const TextRun& run : runs) cursor.insertText(QString::fromStdString(run.text), FormatOf(run));
    // Shown from its start, whatever its length.
    cursor.movePosition(QTextCursor::Start);
    RichEdit1->setTextCursor(cursor);
    RichEdit1->ensureCursorVisible();
}

void TObjectReport::Open() {
    show();
    raise();
}

void TObjectReport::Close() {
    hide();
    RichEdit1->clear();
}
