#include <gtest/gtest.h>

#include "astro/Constants.h"

namespace {

// Angles and conversions read Pi; it is set before the first test runs.
class ConstantsEnvironment : public testing::Environment {
public:
    void SetUp() override { InitialiseConstants(); }
};

const testing::Environment* const kConstants = testing::AddGlobalTestEnvironment(new ConstantsEnvironment);

}  // namespace
