// The main window on a real X display (run under xvfb-run): what the screen
// shows of the side panel, the status bar and a question in red mode, and after it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include "../ShownMainWindow.h"
#include "tests/support/TestEnvironment.h"
#include "view/SkyView.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment<QApplication>("test_shell_display"));

// What the X server shows of a widget (its first `width` pixels from the
// left, or all of it), read back from the screen.
QImage OnScreen(const QWidget& widget, int width = -1) {
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    return widget.screen()
        ->grabWindow(widget.window()->winId(), at.x(), at.y(), width < 0 ? widget.width() : width, widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The picture is dim red on black: nothing with more green or blue than a
// faint bevel line gives, nothing redder than the sky's brightest red (229
// at the starting brightness), and its texts still there to read.
void ExpectDimRed(const QImage& image, const char* what) {
    int day = 0, tooRed = 0, lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            day += qGreen(p) > 40 || qBlue(p) > 40;
            tooRed += qRed(p) > 229;
            lit += (p & 0xFFFFFF) != 0;
        }
    }
    EXPECT_EQ(day, 0) << what;
    EXPECT_EQ(tooRed, 0) << what;
    EXPECT_GT(lit, 50) << what;
}

TEST(NightWindow, PanelStatusBarAndQuestionsTurnDimRedAndTheWindowComesBackPixelForPixel) {
    if (QGuiApplication::platformName() != QLatin1String("xcb") || qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs an X display (run under xvfb-run -a)";
    }
    ShownMainWindow shown;
    ASSERT_TRUE(shown.exposed);
    THCI& window = *shown.window;
    QTest::qWait(300);

    // The status bar without its last panel, where the command's own
    // message appears.
    struct Part {
        const char* name;
        QWidget* widget;
        int width;
    };
    const Part parts[] = {{"side panel", window.Panel1, -1},
                          {"status bar", window.StatusBar1, window.statusPanels[4]->x()}};
    std::vector<QImage> day;
    for (const Part& p : parts) {
        day.push_back(OnScreen(*p.widget, p.width));
        ASSERT_FALSE(day.back().isNull()) << p.name;
    }

    auto commandR = [&] {
        for (Qt::Key k : {Qt::Key_C, Qt::Key_R}) QTest::keyClick(&window, k);
        QTest::qWait(300);
    };
    commandR();
    ASSERT_TRUE(window.View()->GetPalette().RedMode());
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        const QImage night = OnScreen(*parts[i].widget, parts[i].width);
        EXPECT_FALSE(night == day[i]) << parts[i].name;
        ExpectDimRed(night, parts[i].name);
    }

    // A question opened in red mode, icons and button icons included.
    {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Velkaris v1.1.2"), QStringLiteral("Clean?"),
                        QMessageBox::Yes | QMessageBox::No, &window);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        QTest::qWait(300);
        ExpectDimRed(OnScreen(box), "message box");
    }

    commandR();
    ASSERT_FALSE(window.View()->GetPalette().RedMode());
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        EXPECT_TRUE(OnScreen(*parts[i].widget, parts[i].width) == day[i]) << parts[i].name;
    }
}

}  // namespace
