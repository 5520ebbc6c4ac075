#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "shell/cli/Commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>&);
    void (*help)();
    const char* summary;
};

const Command kCommands[] = {
    {"time", RunTimeCommand, PrintTimeHelp,
     "the moment and place: civil and universal time, Julian dates, sidereal times, nutation"},
    {"stars", RunStarsCommand, PrintStarsHelp,
     "chosen stars: catalogue place, place of the date, altitude, azimuth, rise, transit, set"},
    {"ephemeris", RunEphemerisCommand, PrintEphemerisHelp,
     "Sun, Moon and planets: place, distance, magnitude, phase, elongation, size, altitude, azimuth, rise, transit, "
     "set"},
    {"dso", RunDsoCommand, PrintDsoHelp,
     "deep-sky objects, named or all shown: catalogue place, size, altitude, azimuth, rise, transit, set"},
    {"report", RunReportCommand, PrintReportHelp,
     "one object's report, as the report window shows it, found by any of its names"},
    {"render", RunRenderCommand, PrintRenderHelp,
     "one frame of the sky, painted as the window shows it, written to a PNG file"},
};

void PrintUsage(FILE* out) {
    std::fprintf(out, "Usage: velkaris-cli COMMAND [OPTIONS]\n\nCommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %-9s %s\n", c.name, c.summary);
    std::fprintf(out, "\n\"velkaris-cli COMMAND --help\" describes the options of a command.\n");
}

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                c.help();
                return 0;
            }
        }
        return c.run(args);
    }
    std::fprintf(stderr, "velkaris-cli: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
