#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

#include "tests/support/CliRun.h"

namespace {

namespace fs = std::filesystem;

// A working directory whose data folder holds one catalogue of two stars:
// one at the north celestial pole, bright and white, and one faint one.
class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) / ScratchDirName("velkaris-render-test");
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data");
        std::ofstream(dir_ / "data" / "stfound.dat") << "2\nfoundation\n"
                                                        "H 1 1 2 31 49.1 +89 59 59.9 0 0 -1.00 0\n\n\nA0V \nPolestar\n"
                                                        "H 2 2 5 0 0.0 -20 0 0 0 0 6.00 0\n\n\nK0III \n\n";
    }
    void TearDown() override { fs::remove_all(dir_); }

    CliRun Run(const std::string& arguments) const { return RunCli("render " + arguments, dir_.string()); }

    QImage Picture() const { return QImage(QString::fromStdString((dir_ / "sky.png").string())); }

    // Looking north at the latitude's height: the pole is the centre.
    static std::string PoleView() {
        return "--out sky.png --size 400x300 --at 2026-12-08T21:00:00 --zone 1 --dst 0 --lon 6:53:00E "
               "--lat 52:21:00N --direction 0 --elevation 52.35 --scale 1000 --star-limit 7";
    }

    fs::path dir_;
};

int Count(const QImage& img, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) n += test(img.pixel(x, y)) ? 1 : 0;
    }
    return n;
}

TEST_F(RenderCommand, MalformedOptionsStopWithStatusTwo) {
    EXPECT_EQ(Run("--size 400x300").status, 2);  // no --out
    for (const char* bad : {"--projection 9", "--projection x", "--size 0x10", "--size 400", "--option Bogus=1",
                            "--option ShowStars=2", "--scale -5", "--elevation 91", "--brighter", "--wobble"}) {
        const CliRun r = Run(std::string("--out sky.png ") + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
    }
    EXPECT_FALSE(fs::exists(dir_ / "sky.png"));
    const CliRun help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--option NAME=0|1"), std::string::npos);
}

TEST_F(RenderCommand, ThePoleStarStandsAtTheCentre) {
    const CliRun r = Run(PoleView() + " --projection 1");
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage img = Picture();
    ASSERT_EQ(img.size(), QSize(400, 300));
    // Radius 5 at this zoom, filled with class A white.
    EXPECT_EQ(img.pixel(200, 150) & 0xFFFFFF, qRgb(229, 229, 229) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(203, 150) & 0xFFFFFF, qRgb(229, 229, 229) & 0xFFFFFF);
    // Its name is written to the right of it.
    int label = 0;
    for (int y = 150; y < 175; ++y) {
        for (int x = 210; x < 300; ++x) label += (img.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
    }
    EXPECT_GT(label, 10);
    EXPECT_NE(r.out.find("1 star catalogue(s)"), std::string::npos) << r.out;
}

TEST_F(RenderCommand, OptionsAndPaletteReachThePicture) {
    ASSERT_EQ(
        Run(PoleView() + " --projection 2 --scale 300 --option ShowEquatorialGrid=1 --option ShowHorizon=0").status, 0);
    EXPECT_GT(Count(Picture(), [](QRgb p) { return (p & 0xFFFFFF) == 0x0000FF; }), 200);

    // Cylindrical maps have no grid.
    ASSERT_EQ(
        Run(PoleView() + " --projection 4 --scale 300 --option ShowEquatorialGrid=1 --option ShowHorizon=0").status, 0);
    EXPECT_EQ(Count(Picture(), [](QRgb p) { return (p & 0xFFFFFF) == 0x0000FF; }), 0);

    ASSERT_EQ(Run(PoleView() + " --projection 1").status, 0);
    const QImage normal = Picture();
    ASSERT_EQ(Run(PoleView() + " --projection 1 --red").status, 0);
    const QImage red = Picture();
    EXPECT_EQ(Count(red, [](QRgb p) { return qGreen(p) != 0 || qBlue(p) != 0; }), 0);
    EXPECT_EQ(red.pixel(200, 150) & 0xFFFFFF, qRgb(229, 0, 0) & 0xFFFFFF);
    // The same sky, stars, names and horizon alike, with its red kept to the
    // last pixel.
    int sameRed = 0;
    for (int y = 0; y < red.height(); ++y) {
        for (int x = 0; x < red.width(); ++x) sameRed += qRed(red.pixel(x, y)) == qRed(normal.pixel(x, y)) ? 1 : 0;
    }
    EXPECT_EQ(sameRed, red.width() * red.height());
    EXPECT_GT(Count(normal, [](QRgb p) { return qRed(p) != 0; }), 100);

    ASSERT_EQ(Run(PoleView() + " --projection 1 --brighter 1").status, 0);
    EXPECT_EQ(Picture().pixel(200, 150) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);

    ASSERT_EQ(Run(PoleView() + " --projection 1 --option ShowStars=0").status, 0);
    EXPECT_EQ(Picture().pixel(200, 150) & 0xFFFFFF, 0u);
}

// A picture that is not written is a failure, whatever stops it: a missing
// folder, a full disk (/dev/full).
TEST_F(RenderCommand, AnUnwritableFileIsReported) {
    for (const char* out : {"no-such-folder/sky.png", "/dev/full"}) {
        const CliRun r = Run(std::string("--out ") + out + " --size 40x30");
        EXPECT_EQ(r.status, 1) << out;
        EXPECT_NE(r.err.find(std::string("cannot write '") + out + "': "), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("wrote"), std::string::npos) << r.out;
    }
}

// The extension chooses the format; the ink-saving colours put the sky on
// white.
TEST_F(RenderCommand, TheNameOfTheFileChoosesTheFormat) {
    const std::string view = PoleView().substr(PoleView().find(" --size"));
    const struct {
        const char* name;
        const char* starts;
        const char* holds;
    } files[] = {
        {"sky.svg", "<?xml", "<svg"},
        {"sky.PDF", "%PDF-", "%%EOF"},
        {"sky.png", "\x89PNG", "IEND"},
        {"picture", "\x89PNG", "IEND"},
    };
    for (const auto& f : files) {
        const CliRun r = Run(std::string("--out ") + f.name + view);
        ASSERT_EQ(r.status, 0) << f.name << ": " << r.err;
        const std::string bytes = ReadWholeFile((dir_ / f.name).string());
        EXPECT_EQ(bytes.rfind(f.starts, 0), 0u) << f.name;
        EXPECT_NE(bytes.find(f.holds), std::string::npos) << f.name;
    }
    // The pole star's name is in the drawing as text.
    EXPECT_NE(ReadWholeFile((dir_ / "sky.svg").string()).find(">Polestar</text>"), std::string::npos);

    const CliRun jpeg = Run("--out sky.jpg" + view);
    EXPECT_EQ(jpeg.status, 2);
    EXPECT_NE(jpeg.err.find("ends in neither .png, .svg nor .pdf"), std::string::npos) << jpeg.err;
    EXPECT_FALSE(fs::exists(dir_ / "sky.jpg"));

    ASSERT_EQ(Run("--ink " + PoleView() + " --projection 1").status, 0);
    const QImage ink = Picture();
    EXPECT_EQ(ink.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
    // The pole star is dark on the white.
    EXPECT_LT(qGray(ink.pixel(200, 150)), 100);
}

}  // namespace
