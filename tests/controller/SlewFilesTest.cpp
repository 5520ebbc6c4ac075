#include <gtest/gtest.h>

#include <QFile>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>

#include "ControllerTestSupport.h"
#include "astro/Constants.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "controller/SlewFiles.h"
#include "view/SkyView.h"

namespace {

double Radians(double degrees) { return static_cast<double>(degrees * Pi / 180.0L); }

TEST(SlewReading, EveryKindOfFirstLine) {
    struct Case {
        std::string text;
        bool found;
        double ra, dec;  // degrees
    };
    const Case cases[] = {
        {"R 83.63308 22.01450\n", true, 83.63308, 22.0145},
        {"R 83.63308 22.01450\r\n", true, 83.63308, 22.0145},
        {"R 83.63308 22.01450", true, 83.63308, 22.0145},
        {"   R    83.63308   22.01450  \n", true, 83.63308, 22.0145},
        {"R\t83.63308\t22.01450\n", true, 83.63308, 22.0145},
        // Only the first character of the first token counts, and nothing
        // after the third token or the first line.
        {"Rxyz 10 -20 and more\nR 1 2\n", true, 10.0, -20.0},
        {"R +10 -90", true, 10.0, -90.0},
        {"R 400 90", true, 400.0, 90.0},
        {"D 83.63308 22.01450\n", false, 0, 0},
        {"r 10 20\n", false, 0, 0},
        {"", false, 0, 0},
        {"\n", false, 0, 0},
        {"   \r\n", false, 0, 0},
        {"\nR 10 20\n", false, 0, 0},
        // The outgoing file's two-line layout is no incoming position.
        {"R  83.63308\r\nD  22.01450\r\n", false, 0, 0},
        // Garbled or half-written numbers give no position, not 0.
        {"R 83.6x 22.0\n", false, 0, 0},
        {"R abc 22.0\n", false, 0, 0},
        {"R 83.6 -\n", false, 0, 0},
        {"R 83.6 22.0.1\n", false, 0, 0},
        {"R nan 10\n", false, 0, 0},
        {"R 10 inf\n", false, 0, 0},
        {"R 10 ++5\n", false, 0, 0},
        {"R 83.6 90.5\n", false, 0, 0},
        // Beyond 127 characters the line is not read: here the declination.
        {std::string(122, ' ') + "R 10 20\n", false, 0, 0},
        {std::string(120, ' ') + "R 10 20\n", true, 10.0, 20.0},
    };
    for (const Case& c : cases) {
        const std::optional<SlewPosition> p = ReadSlewPosition(c.text);
        ASSERT_EQ(p.has_value(), c.found) << '"' << c.text << '"';
        if (!p) continue;
        EXPECT_NEAR(p->ra, Radians(c.ra), 1e-12) << c.text;
        EXPECT_NEAR(p->dec, Radians(c.dec), 1e-12) << c.text;
    }
}

TEST(SlewWriting, TheRecordsExactBytes) {
    struct Case {
        SlewPosition position;
        const char* bytes;
    };
    const Case cases[] = {
        {{Radians(83.633083), Radians(22.0145)}, "R  83.63308\r\nD  22.01450\r\n"},
        // A negative right ascension is brought into [0, 360) once.
        {{-0.1, -0.5}, "R 354.27042\r\nD -28.64789\r\n"},
        {{0.0, Radians(90.0)}, "R   0.00000\r\nD  90.00000\r\n"},
        {{Radians(359.999994), Radians(-0.000004)}, "R 359.99999\r\nD  -0.00000\r\n"},
        // A place many turns out (a damaged catalogue's) is brought into one turn.
        {{Radians(3 * 360.0 + 83.633083), 0.0}, "R  83.63308\r\nD   0.00000\r\n"},
        {{Radians(-360000.0 - 5.5), 0.0}, "R 354.50000\r\nD   0.00000\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SlewRecord(c.position), c.bytes);

    ScratchWorkDir work;
    const std::string path = (work.Path() + QStringLiteral("/slew.dat")).toStdString();
    ASSERT_TRUE(WriteSlewFile(path, {-0.1, -0.5}));
    ASSERT_TRUE(WriteSlewFile(path, cases[0].position));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), cases[0].bytes);
    // The whole record went in at once: no temporary file is left over.
    EXPECT_EQ(QDir(work.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("slew.dat")});
}

TEST(SlewReading, FilesThatCannotBeReadGiveNoPosition) {
    ScratchWorkDir work;
    EXPECT_FALSE(ReadSlewFile("data/slew_out.dat"));
    // A FIFO in the file's place is not waited on.
    QDir().mkpath(QStringLiteral("data"));
    ASSERT_EQ(mkfifo("data/slew_out.dat", 0600), 0);
    EXPECT_FALSE(ReadSlewFile("data/slew_out.dat"));
}

class SlewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.Write(QStringLiteral("data/stfound.dat"), TwoStarCatalogue());
        WriteSolarSeries(work);
        WriteEmptyCatalogues(work);
        PlanetariumLinks links;
        links.panel = &panel;
        links.messages = &messages;
        links.clock = [] { return FixedMoment(); };
        p = std::make_unique<Planetarium>(links);
    }
    bool OutgoingExists() const { return QFile::exists(QStringLiteral("data/slew.dat")); }
    std::string Outgoing() const {
        QFile file(QStringLiteral("data/slew.dat"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    void LockSirius() {
        SkyView& view = *p->View();
        Star& sirius = p->Catalogue(0)->stars()[0];
        sirius.screenX = view.FromPixelX(300);
        sirius.screenY = view.FromPixelY(100);
        sirius.onScreen = true;
        p->SelectAt(300, 100);
        p->ToggleLock();
        ASSERT_EQ(p->Locked(), &sirius);
    }

    ScratchWorkDir work;
    NullSkyPanel panel{700, 350};
    RecordingMessages messages;
    std::unique_ptr<Planetarium> p;
};

TEST_F(SlewControllerTest, TheViewFollowsTheIncomingPosition) {
    work.Write(QStringLiteral("data/slew_out.dat"), "R 83.63308 22.01450\r\n");
    p->readSlewFile = true;
    p->Redraw();
    // Where the position stands for this place and moment.
    SkyObject target;
    target.ra.SetRadians(Radians(83.63308));
    target.dec.SetRadians(Radians(22.0145));
    target.UpdateHorizontal(999.0f, false);
    SkyView& view = *p->View();
    EXPECT_NEAR(view.direction.radians, target.azimuth.radians, 1e-6);
    EXPECT_NEAR(view.elevation.radians, target.altitude.radians, 1e-6);
    double x = 0.0, y = 0.0;
    view.Project(view.elevation.radians, view.direction.radians, x, y);
    EXPECT_NEAR(view.CentreX(), x, 1e-6);
    EXPECT_NEAR(view.CentreY(), y, 1e-6);

    // No position, or no file: the view stays where it is.
    const double direction = view.direction.radians;
    for (const char* text : {"D 10 20\n", "R 10 2x\n"}) {
        work.Write(QStringLiteral("data/slew_out.dat"), text);
        p->Redraw();
        EXPECT_EQ(view.direction.radians, direction) << text;
    }
    QFile::remove(QStringLiteral("data/slew_out.dat"));
    p->Redraw();
    EXPECT_EQ(view.direction.radians, direction);
    EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(SlewControllerTest, TheLockedObjectIsWrittenOnlyWhileNothingIsFollowed) {
    p->writeSlewFile = true;
    p->Redraw();
    EXPECT_FALSE(OutgoingExists());  // nothing locked

    LockSirius();
    // Locking redraws, which writes at once: Sirius's catalogue place.
    EXPECT_EQ(Outgoing(), "R 101.28715\r\nD -16.71612\r\n");

    // Following the incoming file takes the lock's place: nothing is written.
    QFile::remove(QStringLiteral("data/slew.dat"));
    work.Write(QStringLiteral("data/slew_out.dat"), "R 83.63308 22.01450\n");
    p->readSlewFile = true;
    p->Redraw();
    EXPECT_FALSE(OutgoingExists());
    p->readSlewFile = false;
    p->writeSlewFile = false;
    p->Redraw();
    EXPECT_FALSE(OutgoingExists());
}

}  // namespace
