// Whole frames compared pixel for pixel with reference pictures: every
// projection, red mode, labels, grids and every kind of object, painted by
// the controller exactly as the window paints them. A change to the drawing
// code that moves a single pixel shows up here.
//
// After a deliberate change of the picture, write new references with
//   VELKARIS_UPDATE_PICTURES=1 ctest -R ScenePictures
// and look at every changed file before committing it. On a mismatch the
// picture actually painted is left next to the test program as
// scene-NAME-actual.png.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>

#include "ControllerTestSupport.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "tests/support/TestEnvironment.h"
#include "view/SkyView.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment<QGuiApplication>("test_controller"));

constexpr int kWidth = 480;
constexpr int kHeight = 360;

// A repeatable stream of numbers, the same on every compiler.
class Lcg {
public:
    uint32_t Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state_ >> 33);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t state_ = 20001206;
};

// Bright named stars of Orion and the Plough (the figures join them) and a
// field of generated stars over the whole sky: every colour class, dots and
// discs, names, Bayer letters, Flamsteed numbers, HD numbers.
std::string FoundationCatalogue() {
    const char* known[] = {
        "B 39801 27989 5 55 10.3 +07 24 25.4 0 0 0.50 58 Ori\nAlp\nM1Iab \nBetelgeuse\n",
        "B 35468 25336 5 25 7.9 +06 20 58.9 0 0 1.64 24 Ori\nGam\nB2III \nBellatrix\n",
        "B 37742 26727 5 40 45.5 -01 56 33.3 0 0 1.74 50 Ori\nZet\nO9.7Ib \nAlnitak\n",
        "B 37128 26311 5 36 12.8 -01 12 6.9 0 0 1.69 46 Ori\nEps\nB0Ia \nAlnilam\n",
        "B 36486 25930 5 32 0.4 -00 17 56.7 0 0 2.23 34 Ori\nDel\nO9.5II \nMintaka\n",
        "B 38771 27366 5 47 45.4 -09 40 10.6 0 0 2.06 53 Ori\nKap\nB0.5Ia \nSaiph\n",
        "B 34085 24436 5 14 32.3 -08 12 5.9 0 0 0.12 19 Ori\nBet\nB8Ia \nRigel\n",
        "B 95418 53910 11 1 50.5 +56 22 56.7 0 0 2.37 48 UMa\nBet\nA1V \nMerak\n",
        "B 95689 54061 11 3 43.7 +61 45 3.7 0 0 1.79 50 UMa\nAlp\nK0III \nDubhe\n",
        "B 103287 58001 11 53 49.8 +53 41 41.1 0 0 2.44 64 UMa\nGam\nA0V \nPhecda\n",
        "B 106591 59774 12 15 25.6 +57 1 57.4 0 0 3.31 69 UMa\nDel\nA3V \nMegrez\n",
        "B 112185 62956 12 54 1.7 +55 57 35.4 0 0 1.77 77 UMa\nEps\nA0p \nAlioth\n",
        "B 116656 65378 13 23 55.5 +54 55 31.3 0 0 2.27 79 UMa\nZet\nA2V \nMizar\n",
        "B 120315 67301 13 47 32.4 +49 18 47.8 0 0 1.86 85 UMa\nEta\nB3V \nAlkaid\n",
        "B 48915 32349 6 45 8.9 -16 42 58.0 0 0 -1.46 9 CMa\nAlp\nA1V \nSirius\n",
        "B 172167 91262 18 36 56.3 +38 47 1.3 0 0 0.03 3 Lyr\nAlp\nA0V \nVega\n",
    };
    const char* spectra[] = {"O5V", "B2IV", "A0V", "F5V", "G2V", "K1III", "M2Iab", "C6", ""};
    const char* letters[] = {"Alp", "Bet", "Gam", "The1", "Ome2", "Pi"};
    const char* constellations[] = {"Ori", "UMa", "Cyg", "Sco", "Cen", "And"};
    constexpr int kGenerated = 900;
    const int count = static_cast<int>(std::size(known)) + kGenerated;
    std::string text = std::to_string(count) + "\nfoundation\n";
    for (const char* k : known) text += k;
    Lcg random;
    char line[200];
    for (int i = 0; i < kGenerated; ++i) {
        const int raSeconds = random.Below(24 * 3600);
        // Uniform in the sine of the declination, so that the poles are not crowded.
        const double sinDec = random.Below(20001) / 10000.0 - 1.0;
        const int decArcsec = static_cast<int>(std::asin(sinDec) * 180.0 / 3.141592653589793 * 3600.0);
        const int absDec = decArcsec < 0 ? -decArcsec : decArcsec;
        const double magnitude = -0.5 + random.Below(950) / 100.0;
        const bool flamsteed = i % 7 == 0, bayer = i % 5 == 0, constellation = flamsteed || bayer;
        std::snprintf(line, sizeof line, "B %d %d %d %d %d %c%02d %d %d 0 0 %.2f %d %s\n", 200000 + i, 100000 + i,
                      raSeconds / 3600, raSeconds / 60 % 60, raSeconds % 60, decArcsec < 0 ? '-' : '+', absDec / 3600,
                      absDec / 60 % 60, absDec % 60, magnitude, flamsteed ? 1 + i % 90 : 0,
                      constellation ? constellations[i % 6] : "");
        text += line;
        text += bayer ? std::string(letters[i % 6]) + "\n" : std::string("\n");
        text += std::string(spectra[i % 9]) + " \n";
        text += i % 37 == 0 ? "Star " + std::to_string(i) + "\n" : std::string("\n");
    }
    return text;
}

constexpr const char* kFigures =
    "2\n"
    "Orion\n7 2\n39801 35468 36486 37128 37742 38771 34085\n"
    "5 1 2 5 7 6\n4 3 4 5 1\n"
    "Ursa Major\n7 1\n120315 116656 112185 106591 103287 95418 95689\n"
    "8 1 2 3 4 5 6 7 4\n";

// A galaxy, open and globular clusters, bright and planetary nebulae, Messier
// or not, large and small.
constexpr const char* kDeepSky =
    "7\n"
    "224 1 31 0 42 44.3 +41 16 3.44 177.8 Andromeda Galaxy\nSb; = M31\n"
    "1976 4 42 5 35 17.3 -5 23 4.0 85.0 Orion Nebula\nneb; = M42\n"
    "IC434 4 0 5 40 59.0 -2 27 7.3 60.0\nF, vL\n"
    "6205 3 13 16 41 41.4 +36 27 5.8 16.6 Hercules Cluster\nGb; = M13\n"
    "1432 2 45 3 47 0.0 +24 7 1.6 110.0 Pleiades\nCl; = M45\n"
    "6720 5 57 18 53 35.1 +33 2 8.8 1.4 Ring Nebula\nPN; = M57\n"
    "3031 1 81 9 55 33.2 +69 4 6.9 26.9 Bode's Galaxy\nSb; = M81\n";

// Pluto is a minor planet here too.
constexpr const char* kMinorPlanets =
    "4\n"
    "1 Ceres              80.3 73.5 249.5 10.59 0.0786 0.21418 3.33 0.12\n"
    "2 Pallas             172.9 310.8 233.2 34.93 0.2300 0.21385 4.12 0.11\n"
    "4 Vesta              103.8 151.3 191.9 7.14 0.0884 0.27151 3.20 0.32\n"
    "134340 Pluto              110.376958 112.597142 13.311809 17.089001 0.25024871 0.003978460096 -0.44 0.15\n";

struct Scene {
    const char* name;
    int projection;
    double directionDegrees;
    double elevationDegrees;
    float scale;
    bool red = false;
    bool inkChart = false;  // the chart as exported, in ink-saving colours
    bool labels = true;     // every label and identifier
    bool onOrion = false;   // centred on Betelgeuse, whatever the direction says
};

// Every projection sees the winter sky of the south (Orion, the Moon, the
// Earth's shadow); the whole sky, a close view with discs and Greek letters,
// red mode and an ink-saving chart besides.
constexpr Scene kScenes[] = {
    {"orthographic", Orthographic, 180, 30, 120},
    {"stereographic", Stereographic, 180, 30, 140},
    {"equal-area", EqualArea, 180, 30, 140},
    {"lambert", LambertCylindrical, 180, 30, 70},
    {"behrman", BehrmanCylindrical, 180, 30, 70},
    {"tristan-edwards", TristanEdwards, 180, 30, 70},
    {"peters", Peters, 180, 30, 70},
    {"gall", GallOrthographic, 180, 30, 70},
    {"balthasart", Balthasart, 180, 30, 70},
    {"whole-sky", Stereographic, 0, 90, 90},
    {"north-plain", EqualArea, 20, 40, 160, false, false, false},
    {"orion-close", Stereographic, 0, 0, 600, false, false, true, true},
    {"red", Stereographic, 180, 30, 140, true},
    {"ink-chart", EqualArea, 180, 30, 140, false, true},
};

// Failures name the scene, not its bytes.
void PrintTo(const Scene& s, std::ostream* os) { *os << s.name; }

class ScenePicturesTest : public ::testing::TestWithParam<Scene> {
protected:
    std::unique_ptr<Planetarium> Start() {
        work.Write(QStringLiteral("data/stfound.dat"), FoundationCatalogue());
        work.Write(QStringLiteral("data/constellations.dat"), kFigures);
        work.Write(QStringLiteral("data/dsocat.dat"), kDeepSky);
        work.Write(QStringLiteral("data/asteroids.dat"), kMinorPlanets);
        WriteSolarSeries(work);
        PlanetariumLinks links;
        links.panel = &panel;
        links.messages = &messages;
        links.clock = [] { return FixedMoment(); };
        return std::make_unique<Planetarium>(links);
    }

    ScratchWorkDir work;
    NullSkyPanel panel{kWidth, kHeight};
    RecordingMessages messages;
};

TEST_P(ScenePicturesTest, PaintsTheReferencePicture) {
    const Scene& s = GetParam();
    auto planetarium = Start();
    ASSERT_TRUE(messages.warnings.empty()) << messages.warnings.front();
    SkyView& view = *planetarium->View();
    DisplayOptions& o = view.Options();
    o.flags.fill(true);
    o[DisplayOptions::ShowMessierOnly] = false;
    o[DisplayOptions::HighAccuracy] = false;
    for (auto i : {DisplayOptions::ShowStarNames, DisplayOptions::ShowBayerId, DisplayOptions::ShowFlamsteedId,
                   DisplayOptions::ShowHD, DisplayOptions::ShowDSONames, DisplayOptions::ShowPlanetNames,
                   DisplayOptions::ShowSunName, DisplayOptions::ShowMoonName, DisplayOptions::ShowMPNames,
                   DisplayOptions::ShowMPNumbers})
        o[i] = s.labels;
    view.starLimit = 9.0f;
    view.SetProjection(static_cast<uint16_t>(s.projection));
    view.SetScale(s.scale);
    view.direction.SetDegrees(s.directionDegrees);
    view.elevation.SetDegrees(s.elevationDegrees);
    planetarium->Recompute();
    if (s.onOrion) {
        const Star& betelgeuse = planetarium->Catalogue(0)->stars()[0];
        ASSERT_EQ(betelgeuse.GetName(), "Betelgeuse");
        view.direction.SetRadians(betelgeuse.azimuth.radians);
        view.elevation.SetRadians(betelgeuse.altitude.radians);
    }
    if (s.red) planetarium->ToggleRed();
    planetarium->Redraw();

    QImage actual;
    if (s.inkChart) {
        const std::string path = (work.Path() + QStringLiteral("/chart.png")).toStdString();
        ASSERT_EQ(planetarium->ExportChart(path, true), "");
        ASSERT_TRUE(actual.load(QString::fromStdString(path)));
    } else {
        actual = view.Image();
    }
    actual = actual.convertToFormat(QImage::Format_RGB32);

    const QString reference =
        QStringLiteral(VELKARIS_SOURCE_DIR "/tests/fixtures/pictures/%1.png").arg(QLatin1String(s.name));
    if (qEnvironmentVariableIntValue("VELKARIS_UPDATE_PICTURES") == 1) {
        ASSERT_TRUE(actual.save(reference)) << reference.toStdString();
        GTEST_SKIP() << "reference written: " << reference.toStdString();
    }
    QImage expected;
    ASSERT_TRUE(expected.load(reference)) << "no reference " << reference.toStdString();
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(actual.size(), expected.size());
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < actual.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const QRgb* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if (a[x] == e[x]) continue;
            if (differing++ == 0) firstX = x, firstY = y;
        }
    }
    if (differing > 0)
        actual.save(QCoreApplication::applicationDirPath() +
                    QStringLiteral("/scene-%1-actual.png").arg(QLatin1String(s.name)));
    EXPECT_EQ(differing, 0) << s.name << ": first difference at (" << firstX << ", " << firstY << ")";
}

INSTANTIATE_TEST_SUITE_P(Scenes, ScenePicturesTest, ::testing::ValuesIn(kScenes),
                         [](const ::testing::TestParamInfo<Scene>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

}  // namespace
