#pragma once

// What every harness shares: a check that stops the run with the property
// that failed, the process-wide constants, and one observer standing still
// at a fixed moment for the readers whose objects are placed on the sky.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "astro/Constants.h"
#include "astro/Observer.h"

// Beyond "no crash": a property the reader promises for any input. A broken
// one is a finding like a crash, with the input saved by libFuzzer.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

namespace fuzz {

inline std::string_view Text(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The observer of the sky-placing harnesses: Aachen, 2024-03-20 21:30 CET,
// published as the program's one observer for the whole run.
inline Observer& FixedObserver() {
    static Observer* observer = [] {
        InitialiseConstants();
        Observer::Setup setup;
        setup.longitude.SetSexagesimal(6, 5, 0.0f, false);
        setup.latitude.SetSexagesimal(50, 46, 0.0f, false);
        auto* o = new Observer(setup, [] { return LocalClockReading{}; });
        o->setUseSystemClock(false);
        o->stop();
        o->setDst(false);
        o->setZone(1);
        o->setCivil(21, 30, 0, 20, 3, 2024);
        o->update();
        TheObserver = o;
        return o;
    }();
    return *observer;
}

// A fresh, private folder on a memory file system when there is one, so that
// the harnesses that write files do not wait for a disk.
inline std::string ScratchFolder(const char* name) {
    const char* base = std::getenv("VELKARIS_FUZZ_SCRATCH");
    std::string pattern = std::string(base ? base : "/dev/shm") + "/velkaris-fuzz-" + name + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        pattern = std::string("/tmp/velkaris-fuzz-") + name + "-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
    }
    // Gone again when the run ends.
    static std::vector<std::string> made;
    if (made.empty())
        std::atexit([] {
            for (const std::string& folder : made) {
                std::error_code ignored;
                std::filesystem::remove_all(folder, ignored);
            }
        });
    made.push_back(pattern);
    return pattern;
}

}  // namespace fuzz
