#pragma once

#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace vidor::test {

// A test of the census on C:, a hard disk of a sandbox of its own.
class CensusTest : public ::testing::Test {
  protected:
    Sandbox sandbox{"C=3:c"};
    std::filesystem::path c = sandbox.drive('C');
};

}  // namespace vidor::test
