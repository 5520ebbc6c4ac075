// How long the preferences dialog's "Save" and a start-up read of the
// settings take. Every value is saved on its own, durably, so a Save costs
// one file flush per value; this shows what that means on the disk at hand.
//
// Usage: bench_settings [folder]   (default: a temporary folder in the
// working directory; the user's own settings are never touched)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "astro/Constants.h"
#include "settings/SettingsStore.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    InitialiseConstants();
    std::string pattern =
        argc > 1 ? std::string(argv[1]) + "/velkaris-bench-XXXXXX" : std::string("velkaris-bench-XXXXXX");
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string home = std::filesystem::absolute(pattern).string();
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);

    std::vector<std::pair<std::string, bool>> catalogues;
    for (int i = 0; i < 32; ++i) catalogues.emplace_back("Star catalogue " + std::to_string(i), i % 3 == 0);

    constexpr int SaveRuns = 5;
    auto start = std::chrono::steady_clock::now();
    bool allSaved = true;
    for (int run = 0; run < SaveRuns; ++run) {
        SettingsStore store;
        Observer::Setup place = store.ReadPlace();
        place.longitude.arcsec = static_cast<float>(run);
        allSaved &= store.WritePlace(place);
        allSaved &= store.WriteView({run % 9, 0.25, 1.5});
        allSaved &= store.WriteStep({1, static_cast<int16_t>(run)});
        allSaved &= store.WriteDisplayOptions(DisplayOptions{});
        allSaved &= store.WriteCatalogueFlags(catalogues) == static_cast<int>(catalogues.size());
        allSaved &= store.WriteAsteroidCount(250 + run);
        allSaved &= store.WriteLimits({4.5 + run, 9.0});
        allSaved &= store.WriteIntervals({100, 10 + run});
    }
    const double saveMs = MillisecondsSince(start) / SaveRuns;

    constexpr int ReadRuns = 1000;
    start = std::chrono::steady_clock::now();
    int checksum = 0;
    for (int run = 0; run < ReadRuns; ++run) {
        SettingsStore store;
        checksum += store.ReadObserverSetup().stepSize + store.ReadView().projection +
                    store.ReadDisplayOptions()[DisplayOptions::ShowStars] + store.ReadIntervals().anim +
                    store.ReadBool("Star catalogue 31", false);
    }
    const double readMs = MillisecondsSince(start) / ReadRuns;

    std::printf("full Save of %zu values: %.1f ms (%s)\n", 45 + catalogues.size(), saveMs,
                allSaved ? "all saved" : "SOME WRITES FAILED");
    std::printf("open and read every group at start-up: %.3f ms (checksum %d)\n", readMs, checksum);

    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return allSaved ? 0 : 1;
}
