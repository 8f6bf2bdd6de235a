#pragma once
// Checks on whole region file images shared by the storage and window tests.

#include <gtest/gtest.h>

#include <string>

namespace morvi::test {

// placementCount records tile the bytes from 2112 exactly to the end of the file.
::testing::AssertionResult Consistent(const std::string& image);

}  // namespace morvi::test
