#include <gtest/gtest.h>

#include "link/backends/VendorD2xx.h"

using namespace varkunda::link;

namespace {

TEST(VendorD2xxLoad, AMissingLibraryFailsWithTheLoadersReason) {
    const VendorLoad loaded = VendorD2xx::Load("/nonexistent/libftd2xx.so");
    EXPECT_EQ(loaded.library, nullptr);
    ASSERT_TRUE(loaded.error);
    EXPECT_EQ(loaded.error->kind, LinkErrorKind::LibraryNotLoaded);
    EXPECT_FALSE(loaded.error->detail.empty());
}

TEST(VendorD2xxLoad, ALibraryLackingOneCallFailsAsAWhole) {
    const VendorLoad loaded = VendorD2xx::Load(VARKUNDA_FTD2XX_PARTIAL_PATH);
    EXPECT_EQ(loaded.library, nullptr);
    ASSERT_TRUE(loaded.error);
    EXPECT_EQ(loaded.error->kind, LinkErrorKind::LibraryIncomplete);
    EXPECT_EQ(loaded.error->call, "FT_Write");
    EXPECT_NE(loaded.error->device.find("ftd2xx_partial"), std::string::npos)
        << loaded.error->device;
}

TEST(VendorD2xxLoad, ALibraryWithoutTheLatencyTimerLoadsAndDoesNotSupportIt) {
    const VendorLoad loaded = VendorD2xx::Load(VARKUNDA_FTD2XX_NO_LATENCY_PATH);
    ASSERT_NE(loaded.library, nullptr) << (loaded.error ? loaded.error->call : "");
    EXPECT_EQ(loaded.library->setLatencyTimer(1, 2), ft::NOT_SUPPORTED);
}

}  // namespace
