#include "tests/support/TestEnvironment.h"

// Angles and conversions read Pi; it is set before the first test runs.
[[maybe_unused]] const testing::Environment* const kConstants =
    testing::AddGlobalTestEnvironment(new ConstantsEnvironment);
