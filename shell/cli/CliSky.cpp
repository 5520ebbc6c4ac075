#include "shell/cli/CliSky.h"

#include <cstdio>

#include "catalogues/LoadProgress.h"

void StderrMessages::Warning(const std::string& text) {
    std::fprintf(stderr, "velkaris-cli %s: %s\n", command_.c_str(), text.c_str());
}

CliSky::CliSky(const TimePlaceOptions& options, const std::string& command) : messages_(command) {
    PlanetariumLinks links;
    links.messages = &messages_;
    links.createProgress = [] { return std::make_unique<StderrProgress>(); };
    planetarium_ = std::make_unique<Planetarium>(links);
    ConfigureObserver(options, planetarium_->GetObserver());
    planetarium_->Recompute();
}
