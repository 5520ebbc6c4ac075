#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "shell/ObjectReport.h"

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
    EXPECT_TRUE(report.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
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
        {"Star:", 16, true, false}, {"α1", 16, false, false},
        {"Cen", 16, true, false},   {"(source: bright star catalogue)", 12, false, true},
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

    // Closing empties it.
    report.Open();
    report.Close();
    EXPECT_FALSE(report.IsOpen());
    EXPECT_TRUE(report.RichEdit1->toPlainText().isEmpty());
}

}  // namespace
