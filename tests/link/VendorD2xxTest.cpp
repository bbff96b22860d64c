#include "link/backends/VendorD2xx.h"

#include <gtest/gtest.h>

using namespace varkunda::link;

namespace {

constexpr const char* kLoadFailure = "The FTDI D2XX library could not be loaded: ";

TEST(VendorD2xxLoad, AMissingLibraryFailsWithAClearMessage) {
    std::string error;
    EXPECT_EQ(VendorD2xx::Load("/nonexistent/libftd2xx.so", error), nullptr);
    EXPECT_EQ(error.rfind(kLoadFailure, 0), 0u) << error;
    EXPECT_GT(error.size(), std::string(kLoadFailure).size());
}

TEST(VendorD2xxLoad, ALibraryLackingOneCallFailsAsAWhole) {
    std::string error;
    EXPECT_EQ(VendorD2xx::Load(VARKUNDA_FTD2XX_PARTIAL_PATH, error), nullptr);
    EXPECT_EQ(error.rfind(kLoadFailure, 0), 0u) << error;
    EXPECT_NE(error.find(" lacks FT_Write."), std::string::npos) << error;
}

}  // namespace
