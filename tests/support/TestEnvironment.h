#pragma once

// Global set-up shared by the test programs: the process-wide constants that
// every angle conversion reads, and, for programs that paint or show
// windows, the one Qt application object.

#include <gtest/gtest.h>

#include <memory>

#include "astro/Constants.h"

template <class Application>
class ApplicationEnvironment : public testing::Environment {
public:
    explicit ApplicationEnvironment(const char* programName) : name_(programName) {}

    void SetUp() override {
        InitialiseConstants();
        if (!Application::instance()) {
            static int argc = 1;
            static char* argv[] = {const_cast<char*>(name_), nullptr};
            app_ = std::make_unique<Application>(argc, argv);
        }
    }
    void TearDown() override { app_.reset(); }

private:
    const char* name_;
    std::unique_ptr<Application> app_;
};

class ConstantsEnvironment : public testing::Environment {
public:
    void SetUp() override { InitialiseConstants(); }
};
