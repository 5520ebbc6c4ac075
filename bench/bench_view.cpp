// Sky frame painting speed, measured against the toolkit's own floor.
//
// The frame: 1920x1080, stereographic, the whole sky from the zenith, the
// default data with the Hipparcos catalogue to magnitude 8, star names,
// Bayer and Flamsteed labels, both grids, the equator, the horizon,
// constellation figures, deep-sky objects, minor planets and the solar
// system, painted by the controller as the window paints it.
//
// The floor, in the same run: the toolkit alone clearing a frame of that size
// and drawing one dot per star drawn, at the same pixels, batched by colour.
// The figure that matters is the ratio of the two.
//
//   bench_view [OUT.png]    (run from the folder that holds data/)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "bench/BenchSupport.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"
#include "settings/SettingsStore.h"
#include "view/SkyPanel.h"
#include "view/SkyView.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
// The machine is shared (a build may run beside the benchmark): each figure
// is the processor time of this process (all its threads), the best of
// several batches of frames, which is what the code itself costs when
// nothing else takes the processor.
constexpr int kBatches = 6;
constexpr int kFramesPerBatch = 10;

double ProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

template <typename Paint>
double MillisecondsPerFrame(Paint paint) {
    double best = 1e9;
    for (int b = 0; b < kBatches; ++b) {
        const double start = ProcessorSeconds();
        for (int i = 0; i < kFramesPerBatch; ++i) paint();
        best = std::min(best, (ProcessorSeconds() - start) / kFramesPerBatch);
    }
    return best * 1e3;
}

// The toolkit alone: clear the frame, then the dots in one call per colour.
void FloorFrame(QImage& image, const std::map<QRgb, std::vector<QPoint>>& dots) {
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::black);
    for (const auto& [rgb, points] : dots) {
        painter.setPen(QPen(QColor(rgb), 0));
        painter.drawPoints(points.data(), static_cast<int>(points.size()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::filesystem::exists("data/sthip.dat")) {
        std::fprintf(stderr, "bench_view: data/sthip.dat is missing (bash scripts/data.sh builds it)\n");
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const ScratchConfigHome config;
    InitialiseConstants();
    QGuiApplication app(argc, argv);
    SettingsStore().WriteBool("hipparcos", true);

    NullSkyPanel panel(kWidth, kHeight);
    PlanetariumLinks links;
    links.panel = &panel;
    links.clock = [] {
        LocalClockReading r;
        r.year = 2026;
        r.month = 12;
        r.day = 21;
        r.hour = 21;
        r.standardOffsetMinutes = 60;
        r.daylight = LocalClockReading::Daylight::Standard;
        return r;
    };
    Planetarium planetarium(links);
    SkyView& view = *planetarium.View();
    view.SetProjection(Stereographic);
    view.elevation.SetRadians(static_cast<double>(Pi) / 2);  // the zenith: the whole sky in one picture
    view.direction.SetRadians(0.0);
    view.SetScale(250.0f);  // the horizon circle fills the height
    DisplayOptions& o = view.Options();
    for (auto i : {DisplayOptions::ShowStars, DisplayOptions::ShowStarNames, DisplayOptions::ShowBayerId,
                   DisplayOptions::ShowFlamsteedId, DisplayOptions::ShowHorizon, DisplayOptions::ShowEquator,
                   DisplayOptions::ShowHorizontalGrid, DisplayOptions::ShowEquatorialGrid, DisplayOptions::ShowConLines,
                   DisplayOptions::ShowDSOs, DisplayOptions::ShowDSONames, DisplayOptions::ShowPlanets,
                   DisplayOptions::ShowPlanetNames, DisplayOptions::ShowSun, DisplayOptions::ShowMoon,
                   DisplayOptions::ShowMinorPlanets, DisplayOptions::ShowMPNames})
        o[i] = true;
    o[DisplayOptions::ShowMessierOnly] = false;
    planetarium.SetStarLimit(8.0f);  // recomputes and paints: the warm-up frame

    std::size_t loaded = 0, computed = 0, drawn = 0;
    std::map<QRgb, std::vector<QPoint>> dots;
    for (int c = 0; c < planetarium.StarCatalogueCount(); ++c) {
        const StarCatalogue* catalogue = planetarium.Catalogue(c);
        if (!catalogue || !catalogue->loaded()) continue;
        for (const Star& s : catalogue->stars()) {
            ++loaded;
            computed += s.isComputed ? 1 : 0;
            if (!s.onScreen) continue;
            ++drawn;
            const Colour colour = view.GetPalette().Get(std::clamp<int>(s.colourClass, 0, 7), s.belowHorizon ? 1 : 2);
            dots[colour.Rgb() | 0xff000000u].emplace_back(view.ToPixelX(s.screenX), view.ToPixelY(s.screenY));
        }
    }

    const double frame = MillisecondsPerFrame([&] { planetarium.Redraw(); });
    const double cycle = MillisecondsPerFrame([&] {
        planetarium.Recompute();
        planetarium.Redraw();
    });
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const double floor = MillisecondsPerFrame([&] { FloorFrame(image, dots); });

    std::printf("stars loaded %zu, computed (mag <= 8) %zu, drawn %zu\n", loaded, computed, drawn);
    std::printf("frame paint:             %7.2f ms  %7.1f frames/s\n", frame, 1e3 / frame);
    std::printf("recompute + frame paint: %7.2f ms  %7.1f frames/s\n", cycle, 1e3 / cycle);
    std::printf("toolkit floor:           %7.2f ms  (clear and %zu dots batched by colour)\n", floor, drawn);
    std::printf("frame / floor:           %7.2f\n", frame / floor);
    if (argc > 1) view.Image().save(QString::fromLocal8Bit(argv[1]));

    // What each layer costs: the frame with it less the frame without it.
    const struct {
        const char* name;
        DisplayOptions::Index option;
    } layers[] = {
        {"stars", DisplayOptions::ShowStars},
        {"star labels", DisplayOptions::ShowStarNames},
        {"deep sky", DisplayOptions::ShowDSOs},
        {"figures", DisplayOptions::ShowConLines},
        {"minor planets", DisplayOptions::ShowMinorPlanets},
        {"horizontal grid", DisplayOptions::ShowHorizontalGrid},
        {"equatorial grid", DisplayOptions::ShowEquatorialGrid},
        {"equator", DisplayOptions::ShowEquator},
        {"horizon", DisplayOptions::ShowHorizon},
    };
    // Every label drawn is the toolkit's text path three times over (an
    // outline, then the text): what all of them cost together.
    {
        const DisplayOptions::Index labels[] = {DisplayOptions::ShowStarNames,   DisplayOptions::ShowBayerId,
                                                DisplayOptions::ShowFlamsteedId, DisplayOptions::ShowDSONames,
                                                DisplayOptions::ShowPlanetNames, DisplayOptions::ShowMPNames};
        for (auto i : labels) o[i] = false;
        const double unlabelled = MillisecondsPerFrame([&] { planetarium.Redraw(); });
        for (auto i : labels) o[i] = true;
        std::printf("frame without labels:    %7.2f ms  (every label: %.2f ms)\n", unlabelled, frame - unlabelled);
    }
    std::printf("cost of each layer:\n");
    for (const auto& layer : layers) {
        o[layer.option] = false;
        const double without = MillisecondsPerFrame([&] { planetarium.Redraw(); });
        o[layer.option] = true;
        const double with = MillisecondsPerFrame([&] { planetarium.Redraw(); });
        std::printf("  %-16s %6.2f ms\n", layer.name, with - without);
    }
    return 0;
}
