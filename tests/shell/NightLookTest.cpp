#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ShownMainWindow.h"
#include "shell/AboutForm.h"
#include "shell/StartUpInfo.h"
#include "view/SkyView.h"

namespace {

// The Qt application of this program is set up by MainWindowTest.cpp.

// The brightest red anywhere on the sky at the palette's brightness.
int BrightestSkyRed(const Palette& palette) {
    int brightest = 0;
    for (int e = 0; e < PaletteEntryCount; ++e) {
        for (int s = 0; s < 3; ++s) brightest = std::max<int>(brightest, palette.Get(e, s).r);
    }
    return brightest;
}

// Fails for the first colour of the widget's palette, in any group and role,
// with green or blue in it or redder than the sky's brightest red.
void ExpectDimRed(const QWidget& widget, int brightestRed) {
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            if (r == QPalette::NoRole) continue;
            const QColor c =
                widget.palette().color(static_cast<QPalette::ColorGroup>(g), static_cast<QPalette::ColorRole>(r));
            if (c.green() == 0 && c.blue() == 0 && c.red() <= brightestRed) continue;
            ADD_FAILURE() << widget.metaObject()->className() << " group " << g << " role " << r << ": "
                          << c.name().toStdString();
            return;
        }
    }
}

// Pixels of an image with more green or blue than a faint bevel line gives.
int DayPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += (qGreen(image.pixel(x, y)) > 40 || qBlue(image.pixel(x, y)) > 40);
    }
    return n;
}

class NightLookTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(shown.exposed); }

    // C then R, typed into the main window.
    void RedMode() {
        const bool before = window->View()->GetPalette().RedMode();
        Key(Qt::Key_C);
        Key(Qt::Key_R);
        ASSERT_EQ(window->Message(), "Color: Red Mode");
        ASSERT_NE(window->View()->GetPalette().RedMode(), before);
    }
    void Key(Qt::Key key) { QTest::keyClick(window.get(), key); }

    ShownMainWindow shown;
    std::unique_ptr<THCI>& window = shown.window;
};

TEST_F(NightLookTest, RedModeTurnsEveryWindowDimRedAndASecondGivesTheDayLookBackExactly) {
    QStyle* const dayStyle = QApplication::style();
    std::map<const QWidget*, std::pair<QPalette, Qt::CursorShape>> day;
    for (const QWidget* w : QApplication::allWidgets()) day[w] = {w->palette(), w->cursor().shape()};
    // What the window shows, but for the command message.
    auto pictures = [&] {
        std::vector<QImage> p;
        for (QWidget* part : std::initializer_list<QWidget*>{window->Panel1, window->Image1, window->menuBar(),
                                                             window->statusPanels[0], window->statusPanels[3]}) {
            p.push_back(part->grab().toImage());
        }
        return p;
    };
    const std::vector<QImage> dayPictures = pictures();

    RedMode();
    const int brightestRed = BrightestSkyRed(window->View()->GetPalette());
    ASSERT_EQ(brightestRed, 229);

    // Windows opened in red mode, none of which knows about it; the last is
    // a colleague's window with colours of its own.
    struct Opened {
        const char* what;
        std::function<QWidget*()> open;
    };
    std::vector<std::unique_ptr<QWidget>> windows;
    const Opened opened[] = {
        {"About box", [&] { return new TAboutForm(window.get()); }},
        {"progress window", [&] { return new TStartUpInfo(window.get()); }},
        {"message box",
         [&] { return new QMessageBox(QMessageBox::Warning, "Velkaris v1.1.2", "Warning", QMessageBox::Ok); }},
        {"window with colours of its own",
         [&] {
             auto* dialog = new QDialog(window.get());
             auto* label = new QLabel("Report", dialog);
             QPalette own = label->palette();
             own.setColor(QPalette::Window, Qt::white);
             own.setColor(QPalette::WindowText, Qt::blue);
             label->setPalette(own);
             label->setAutoFillBackground(true);
             return dialog;
         }},
    };
    for (const Opened& o : opened) {
        windows.emplace_back(o.open());
        windows.back()->show();
        QApplication::processEvents();
        EXPECT_EQ(DayPixels(windows.back()->grab().toImage()), 0) << o.what;
    }
    window->FileMenu->popup(window->mapToGlobal(QPoint(10, 10)));
    window->ShowHelp(10000);
    QApplication::processEvents();

    for (const QWidget* w : QApplication::allWidgets()) ExpectDimRed(*w, brightestRed);
    EXPECT_NE(window->Image1->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(DayPixels(window->grab().toImage()), 0);

    window->FileMenu->hide();
    windows.clear();
    RedMode();
    EXPECT_EQ(QApplication::style(), dayStyle);
    for (const auto& [widget, look] : day) {
        EXPECT_TRUE(widget->palette() == look.first) << widget->metaObject()->className();
        EXPECT_EQ(widget->cursor().shape(), look.second) << widget->metaObject()->className();
    }
    EXPECT_TRUE(pictures() == dayPictures);
}

TEST_F(NightLookTest, BrightnessStepsReachTheWindowsAndTheDayLookFollowsThem) {
    auto text = [] { return QApplication::palette().color(QPalette::WindowText); };
    RedMode();
    EXPECT_EQ(text(), QColor(145, 0, 0));
    // Each step moves the panel's shade 1 by a tenth of 208.
    struct Step {
        Qt::Key key;
        QColor ink;
    };
    for (const Step& s :
         {Step{Qt::Key_D, QColor(124, 0, 0)}, Step{Qt::Key_D, QColor(104, 0, 0)}, Step{Qt::Key_B, QColor(124, 0, 0)},
          Step{Qt::Key_B, QColor(145, 0, 0)}, Step{Qt::Key_B, QColor(166, 0, 0)}}) {
        Key(Qt::Key_C);
        Key(s.key);
        EXPECT_EQ(text(), s.ink) << window->Message();
        EXPECT_EQ(window->Panel1->palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_LE(text().red(), BrightestSkyRed(window->View()->GetPalette()));
    }
    // Out of red mode one step brighter than it began: the panel has the
    // day colours of that brightness, not those from before red mode.
    RedMode();
    EXPECT_EQ(window->Panel1->palette().color(QPalette::Window), QColor(166, 166, 166));
    EXPECT_EQ(window->labels[LabCurRA]->palette().color(QPalette::Window), QColor(208, 208, 208));
}

TEST_F(NightLookTest, AWindowClosedInRedModeLeavesTheNextOneInDaylight) {
    QStyle* const dayStyle = QApplication::style();
    const QPalette dayPalette = QApplication::palette();
    RedMode();
    ASSERT_NE(QApplication::style(), dayStyle);
    window.reset();
    EXPECT_EQ(QApplication::style(), dayStyle);
    EXPECT_TRUE(QApplication::palette() == dayPalette);

    window = std::make_unique<THCI>(&shown.messages, [] { return FixedMoment(); });
    EXPECT_FALSE(window->View()->GetPalette().RedMode());
    EXPECT_EQ(window->Panel1->palette().color(QPalette::Window), QColor(145, 145, 145));
}

}  // namespace
