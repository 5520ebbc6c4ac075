// velkaris-cli render: one frame of the sky, painted by the same code as the
// window, written as a PNG, SVG or PDF file.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/StarCatalogue.h"
#include "shell/cli/CliSky.h"
#include "shell/cli/CommandOptions.h"
#include "shell/cli/Commands.h"
#include "shell/cli/TimePlaceOptions.h"
#include "view/SkyChart.h"
#include "view/SkyView.h"
#include "view/SkyViewSettings.h"

namespace {

struct RenderOptions {
    std::string out;
    int width = 1200;
    int height = 800;
    float scale = 175.0f;
    std::optional<double> direction;  // degrees
    std::optional<double> elevation;  // degrees
    bool red = false;
    bool ink = false;
    int brighter = 0;
    int dimmer = 0;
};

bool ParseDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseInt(const std::string& text, long lo, long hi, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    return ParseInt(text.substr(0, x), 1, 16384, width) && ParseInt(text.substr(x + 1), 1, 16384, height);
}

bool ApplyOption(const std::string& text, DisplayOptions& options) {
    const auto eq = text.find('=');
    if (eq == std::string::npos) return false;
    const std::string name = text.substr(0, eq), value = text.substr(eq + 1);
    if (value != "0" && value != "1") return false;
    for (std::size_t i = 0; i < DisplayOptions::Count; ++i) {
        if (name == DisplayOptions::Names[i]) {
            options[i] = value == "1";
            return true;
        }
    }
    return false;
}

int Malformed(const std::string& what) {
    std::fprintf(stderr, "velkaris-cli render: %s\n", what.c_str());
    return 2;
}

}  // namespace

void PrintRenderHelp() {
    std::printf(
        "Usage: velkaris-cli render --out FILE.png|FILE.svg|FILE.pdf [OPTIONS]\n\n"
        "Paints one frame of the sky as the window shows it and writes it as a PNG\n"
        "picture, an SVG drawing or a one-page PDF document, by the file's extension.\n"
        "What is not given comes from the user's settings, as in the window.\n\n"
        "  --out FILE                the file to write (required): .png, .svg or .pdf;\n"
        "                            a name without an extension gets a PNG picture\n"
        "  --size WxH                picture size in pixels (default 1200x800)\n"
        "  --projection N            0 orthographic, 1 stereographic, 2 equal area,\n"
        "                            3-8 cylindrical equal area (Lambert, Behrman,\n"
        "                            Tristan Edwards, Peters, Gall, Balthasart)\n"
        "  --direction DEG           azimuth of the view centre (0 north, 90 east)\n"
        "  --elevation DEG           altitude of the view centre\n"
        "  --scale S                 pixels per plane unit (default 175)\n"
        "  --star-limit M            faintest star magnitude drawn\n"
        "  --option NAME=0|1         a display option, e.g. ShowEquatorialGrid=1;\n"
        "                            repeatable\n"
        "  --red                     red mode\n"
        "  --ink                     ink-saving colours: dark on white, for printing\n"
        "  --brighter N, --dimmer N  brightness steps of 0.1 from 0.5\n"
        "%s"
        "  --help                    this text.\n\n"
        "Exit status: 0; 1 when the picture could not be written; 2 for a malformed\n"
        "or unknown option.\n",
        TimePlaceUsage());
}

int RunRenderCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    TimePlaceOptions place;
    std::string error;
    if (!ConsumeTimePlaceOptions(rest, place, error)) return Malformed(error);

    SkyViewSettings settings = ReadSkyViewSettings();
    RenderOptions render;
    CommandOptions parser("render");
    parser.Value("--out", [&](const std::string& v) -> std::string {
        if (v.empty()) return "option --out needs a file name";
        render.out = v;
        return {};
    });
    parser.Value("--size", [&](const std::string& v) -> std::string {
        return ParseSize(v, render.width, render.height) ? "" : "malformed --size '" + v + "' (WxH)";
    });
    parser.Value("--projection", [&](const std::string& v) -> std::string {
        int n = 0;
        if (!ParseInt(v, 0, ProjectionCount - 1, n))
            return "malformed --projection '" + v + "' (0-" + std::to_string(ProjectionCount - 1) + ")";
        settings.projection = static_cast<uint16_t>(n);
        return {};
    });
    // A number for an option, within [lo, hi]; the message names the option.
    auto number = [](const char* option, double lo, double hi, auto store) {
        return [=](const std::string& v) -> std::string {
            double d = 0;
            if (!ParseDouble(v, d) || d < lo || d > hi) return std::string("malformed ") + option + " '" + v + "'";
            store(d);
            return {};
        };
    };
    constexpr double kAny = std::numeric_limits<double>::max();
    parser.Value("--direction", number("--direction", -kAny, kAny, [&](double d) { render.direction = d; }));
    parser.Value("--elevation", number("--elevation", -90, 90, [&](double d) { render.elevation = d; }));
    parser.Value("--scale", number("--scale", std::nextafter(0.0, 1.0), 3.0e6,
                                   [&](double d) { render.scale = static_cast<float>(d); }));
    parser.Value("--star-limit",
                 number("--star-limit", -kAny, kAny, [&](double d) { settings.starLimit = static_cast<float>(d); }));
    parser.Value("--option", [&](const std::string& v) -> std::string {
        return ApplyOption(v, settings.options) ? "" : "malformed --option '" + v + "' (NAME=0|1)";
    });
    parser.Value("--brighter", [&](const std::string& v) -> std::string {
        return ParseInt(v, 0, 100, render.brighter) ? "" : "malformed --brighter '" + v + "'";
    });
    parser.Value("--dimmer", [&](const std::string& v) -> std::string {
        return ParseInt(v, 0, 100, render.dimmer) ? "" : "malformed --dimmer '" + v + "'";
    });
    parser.Switch("--red", [&] { render.red = true; });
    parser.Switch("--ink", [&] { render.ink = true; });
    if (!parser.Parse(rest, error)) return Malformed(error);
    if (render.out.empty()) return Malformed("option --out is required");
    if (!ChartFormatOf(render.out))
        return Malformed("the name of --out '" + render.out + "' ends in neither .png, .svg nor .pdf");

    // The sky of the window itself, painted on a surface of the picture's size.
    CliSky sky(place, "render", render.width, render.height);
    SkyView& view = *sky->View();
    view.SetProjection(settings.projection);
    view.SetOptions(settings.options);
    view.starLimit = settings.starLimit;
    view.SetScale(render.scale);
    // Degrees given by the user go through the angle's own conversion, as
    // the preferences dialog does.
    if (render.direction) view.direction.SetDegrees(*render.direction);
    if (render.elevation) view.elevation.SetDegrees(*render.elevation);
    sky->Recompute();
    // The colour commands as the keyboard gives them.
    if (render.red) sky->ToggleRed();
    for (int i = 0; i < render.brighter; ++i) sky->Brighten();
    for (int i = 0; i < render.dimmer; ++i) sky->Dim();
    sky->Redraw();

    std::size_t catalogues = 0, computed = 0, drawn = 0;
    for (int c = 0; c < sky->StarCatalogueCount(); ++c) {
        const StarCatalogue* catalogue = sky->Catalogue(c);
        if (!catalogue || !catalogue->loaded()) continue;
        ++catalogues;
        for (const Star& s : catalogue->stars()) {
            computed += s.isComputed ? 1 : 0;
            drawn += s.onScreen ? 1 : 0;
        }
    }

    // Encoded in memory, then written whole: a full disk or a failed close
    // is a failure too, and no half-written file is left behind.
    const std::string problem = sky->ExportChart(render.out, render.ink);
    if (!problem.empty()) {
        std::fprintf(stderr, "velkaris-cli render: cannot write '%s': %s\n", render.out.c_str(), problem.c_str());
        return 1;
    }
    std::printf("wrote %s (%dx%d, %s, %zu star catalogue(s), %zu stars computed, %zu drawn)\n", render.out.c_str(),
                render.width, render.height, ProjectionCommandName(view.GetProjection()), catalogues, computed, drawn);
    return 0;
}
