#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "tools/DataBuilder.h"
#include "tools/DataText.h"

inline std::string Fixtures() { return std::string(VELKARIS_TEST_FIXTURES) + "/tools"; }

inline velkaris::tools::SourcePaths FixtureSources() {
    velkaris::tools::SourcePaths s;
    s.yale = Fixtures() + "/yale";
    s.kstars = Fixtures() + "/kstars";
    s.stellarium = Fixtures() + "/stellarium";
    s.npm = Fixtures() + "/npm";
    s.ngc2000 = Fixtures() + "/ngc2000";
    s.minorEpochJD = 2459800.5;  // not the day the tests run: the same bytes every day
    return s;
}

inline std::string ReadText(const std::string& path) {
    std::string text;
    velkaris::tools::ReadWholeFile(path, text);
    return text;
}

inline bool RunningInCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

// Tests on the installed catalogue packages: skipped on a machine without
// them, but a failure in CI, which installs them all.
#define REQUIRE_PACKAGE_FILE(path, package)                                                   \
    do {                                                                                      \
        if (!velkaris::tools::FileExists(path)) {                                             \
            if (RunningInCi()) FAIL() << (path) << " missing: CI must install " << (package); \
            GTEST_SKIP() << (path) << " missing; install " << (package);                      \
        }                                                                                     \
    } while (0)
