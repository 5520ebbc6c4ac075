#include "shell/cli/CliSky.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "catalogues/LoadProgress.h"

void StderrMessages::Warning(const std::string& text) {
    std::fprintf(stderr, "velkaris-cli %s: %s\n", command_.c_str(), text.c_str());
}

CliSky::CliSky(const TimePlaceOptions& options, const std::string& command, int width, int height)
    : messages_(command), panel_(width, height) {
    if (!QGuiApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "velkaris-cli";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    PlanetariumLinks links;
    links.panel = &panel_;
    links.messages = &messages_;
    links.createProgress = [] { return std::make_unique<StderrProgress>(); };
    links.placeObserver = [&options](Observer& observer) { ConfigureObserver(options, observer); };
    planetarium_ = std::make_unique<Planetarium>(links);
}

CliSky::~CliSky() {
    planetarium_.reset();
    application_.reset();
}
