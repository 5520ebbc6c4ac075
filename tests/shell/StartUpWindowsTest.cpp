#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/StarCatalogue.h"
#include "shell/AboutForm.h"
#include "shell/StartUpInfo.h"

namespace {

// The Qt application of this program is set up by MainWindowTest.cpp.

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(StartUpInfo, ShowsTheTitleAnEmptyBarAndTheDesignJob) {
    TStartUpInfo window;
    EXPECT_EQ(window.size(), QSize(310, 73));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.objectName(), "StartUpInfo");
    EXPECT_EQ(window.Label1->text(), "Velkaris v1.1.2");
    EXPECT_TRUE(window.Label1->font().bold());
    EXPECT_EQ(window.labelJob->text(), "Loading Stars");
    EXPECT_EQ(window.PBStarLoad->minimum(), 0);
    EXPECT_EQ(window.PBStarLoad->maximum(), 100);
    EXPECT_EQ(window.PBStarLoad->value(), 0);
    EXPECT_EQ(window.PBStarLoad->geometry(), QRect(16, 52, 285, 13));
    EXPECT_EQ(window.Label2->geometry(), QRect(212, 8, 85, 26));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0x80, 0, 0));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window.geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(StartUpInfo, ANewJobResetsTheBarAndIsPaintedBeforeAnyEventIsHandled) {
    TStartUpInfo window;
    window.show();
    QApplication::processEvents();
    window.Step(40);
    EXPECT_EQ(window.PBStarLoad->value(), 40);

    PaintCounter counter;
    window.labelJob->installEventFilter(&counter);
    LoadProgress& progress = window;
    progress.SetJob("Loading: data/stfound.dat");
    // No event loop has run: the paint must already have happened.
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(window.labelJob->text(), "Loading: data/stfound.dat");
    EXPECT_EQ(window.PBStarLoad->value(), 0);
    window.labelJob->removeEventFilter(&counter);
}

TEST(StartUpInfo, TheBarStopsAtItsEndAndProblemsAreKeptForTheOwner) {
    TStartUpInfo window;
    for (int i = 0; i < 125; ++i) window.Step(1);
    EXPECT_EQ(window.PBStarLoad->value(), 100);
    window.ReportProblem("Error opening the Star Catalogue file data/stgone.dat");
    ASSERT_EQ(window.problems().size(), 1u);
    EXPECT_EQ(window.problems()[0], "Error opening the Star Catalogue file data/stgone.dat");
}

TEST(StartUpInfo, ShowsACatalogueLoad) {
    // Named for this process: other builds' suites may run at the same time.
    const std::string path =
        (std::filesystem::temp_directory_path() / ("velkaris-shell-st300-" + std::to_string(getpid()) + ".dat"))
            .string();
    {
        std::ofstream file(path);
        file << "300\nthree hundred\n";
        for (int i = 1; i <= 300; ++i) file << "T " << i << " 0 1 2 3 +4 5 6 0 0 9 0\n\n\n\n\n";
    }
    TStartUpInfo window;
    StarCatalogue catalogue(path, {}, true);
    EXPECT_TRUE(catalogue.Load(&window));
    std::filesystem::remove(path);
    EXPECT_EQ(window.labelJob->text(), QString::fromStdString("Loading: " + path));
    EXPECT_EQ(window.PBStarLoad->value(), 100);
    EXPECT_EQ(catalogue.stars().size(), 300u);
    EXPECT_TRUE(window.problems().empty());
}

// Notes how far a load had gone when a posted event reached it.
class EventProbe : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        if (deliveredAfterGrabs < 0 && grabsBefore) deliveredAfterGrabs = grabsBefore();
        return true;
    }
    std::function<int()> grabsBefore;
    int deliveredAfterGrabs = -1;
};

// Watches a load through the window as the user sees it: at every job and
// every tenth step it grabs what the screen shows where the window stands.
class ScreenWatcher : public LoadProgress {
public:
    explicit ScreenWatcher(TStartUpInfo& window) : window_(window) {}
    void SetJob(const std::string& text) override {
        window_.SetJob(text);
        Grab();
    }
    void Step(int n) override {
        window_.Step(n);
        if (++steps_ % 10 == 0) Grab();
    }
    void ReportProblem(const std::string& message) override { window_.ReportProblem(message); }

    // Per grab: pixels of the window's maroon, and of the bar's filled part.
    std::vector<std::pair<int, int>> grabs;

private:
    void Grab() {
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(window_.geometry());
        int maroon = 0, bar = 0;
        const QColor filled = window_.PBStarLoad->palette().color(QPalette::Highlight);
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb p = shot.pixel(x, y);
                if (p == qRgb(0x80, 0, 0)) ++maroon;
                if (qAbs(qRed(p) - filled.red()) + qAbs(qGreen(p) - filled.green()) + qAbs(qBlue(p) - filled.blue()) <
                    40)
                    ++bar;
            }
        }
        grabs.emplace_back(maroon, bar);
    }
    TStartUpInfo& window_;
    int steps_ = 0;
};

// The window is on the screen, with its face and a moving bar, from the
// first job of a load on, although the load handles no events of its own.
TEST(StartUpInfo, IsOnTheScreenAndMovesWhileALoadRuns) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("velkaris-shell-st500-" + std::to_string(getpid()) + ".dat"))
            .string();
    {
        std::ofstream file(path);
        file << "500\nfive hundred\n";
        for (int i = 1; i <= 500; ++i) file << "T " << i << " 0 1 2 3 +4 5 6 0 0 9 0\n\n\n\n\n";
    }
    TStartUpInfo window;
    window.show();  // and straight into the load, as at start-up
    ScreenWatcher watcher(window);
    // A window system maps, exposes and paints a new window through events
    // of its own; they wait in the queue like this one unless the load lets
    // them through.
    EventProbe probe;
    QCoreApplication::postEvent(&probe, new QEvent(QEvent::User));
    probe.grabsBefore = [&watcher] { return static_cast<int>(watcher.grabs.size()); };
    StarCatalogue catalogue(path, {}, true);
    EXPECT_TRUE(catalogue.Load(&watcher));
    EXPECT_EQ(probe.deliveredAfterGrabs, 0) << "the queue was not handled from the first job on";
    std::filesystem::remove(path);
    ASSERT_GE(watcher.grabs.size(), 5u);
    const int area = window.width() * window.height();
    int previousBar = -1;
    for (std::size_t i = 0; i < watcher.grabs.size(); ++i) {
        const auto [maroon, bar] = watcher.grabs[i];
        EXPECT_GT(maroon, area / 2) << "grab " << i;  // the face, not a black hole
        if (i > 0) {
            EXPECT_GT(bar, previousBar) << "grab " << i;  // the bar moves
        }
        previousBar = bar;
    }
}

TEST(AboutForm, HasItsCaptionControlsAndClosesWithOk) {
    TAboutForm about;
    EXPECT_EQ(about.windowTitle(), "About Velkaris");
    EXPECT_EQ(about.size(), QSize(435, 328));
    EXPECT_EQ(about.Image1->geometry(), QRect(16, 12, 33, 33));
    EXPECT_FALSE(about.Image1->pixmap().isNull());
    EXPECT_EQ(about.Button1->text(), "OK");
    EXPECT_EQ(about.Button1->geometry(), QRect(368, 10, 45, 39));
    EXPECT_TRUE(about.Memo1->isReadOnly());
    EXPECT_EQ(about.Memo1->size(), QSize(427, 245));
    EXPECT_EQ(about.Memo1->geometry().bottom(), about.height() - 1);
    EXPECT_EQ(about.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(about.Memo1->toPlainText().startsWith("Velkaris v1.1.2"));

    QTimer::singleShot(0, about.Button1, &QPushButton::click);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

}  // namespace
