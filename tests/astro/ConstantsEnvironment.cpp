#include <gtest/gtest.h>

#include "astro/Constants.h"

namespace {

// Every angle conversion reads Pi; it must be set before the first test runs.
class ConstantsEnvironment : public testing::Environment {
public:
    void SetUp() override { InitialiseConstants(); }
};

const testing::Environment* const kConstants = testing::AddGlobalTestEnvironment(new ConstantsEnvironment);

}  // namespace
