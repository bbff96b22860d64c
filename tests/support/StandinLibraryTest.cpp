#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "link/backends/Ftd2xxAbi.h"
#include "sim/PedalSimulator.h"

namespace {

using namespace varkunda::link::ftd2xx_abi;

constexpr DWORD kListNumberOnly = 0x80000000;
constexpr DWORD kListBySerial = 0x40000001;
constexpr DWORD kListByDescription = 0x40000002;
constexpr DWORD kOpenBySerial = 1;

template <typename Function>
Function Symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

void* OpenLibrary() {
    void* library = dlopen(VARKUNDA_STANDIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(library, nullptr) << dlerror();
    return library;
}

// Runs first, in a fresh process, before any other test has loaded the library.
TEST(StandinLibraryDeathTest, PedalCountComesFromTheEnvironment) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("VARKUNDA_STANDIN_PEDALS", "3", 1);
            void* library = dlopen(VARKUNDA_STANDIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr) std::exit(2);
            DWORD count = 0;
            Symbol<FT_ListDevices_t>(library, "FT_ListDevices")(&count, nullptr, kListNumberOnly);
            char serial[64] = {};
            Symbol<FT_ListDevices_t>(library, "FT_ListDevices")(
                reinterpret_cast<void*>(std::uintptr_t{2}), serial, kListBySerial);
            std::exit(count == 3 && std::string(serial) == "VKTZ5003" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(StandinLibrary, ExportsTheNineFunctionsAndListsOnePedal) {
    unsetenv("VARKUNDA_STANDIN_PEDALS");
    void* library = OpenLibrary();
    ASSERT_NE(library, nullptr);
    for (const char* name : {"FT_ListDevices", "FT_OpenEx", "FT_Close", "FT_SetBaudRate",
                             "FT_SetDataCharacteristics", "FT_Purge", "FT_GetQueueStatus",
                             "FT_Read", "FT_Write", "VarkundaStandin_Pedal"})
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    EXPECT_EQ(dlsym(library, "_ZN8varkunda3sim14PedalSimulator9hostWriteEPKhm"), nullptr)
        << "the simulator's own symbols stay inside";

    const auto list = Symbol<FT_ListDevices_t>(library, "FT_ListDevices");
    DWORD count = 0;
    EXPECT_EQ(list(&count, nullptr, kListNumberOnly), 0u);
    EXPECT_EQ(count, 1u);
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(list(nullptr, text, kListBySerial), 0u);
    EXPECT_STREQ(text, "VKTZ5001");
    EXPECT_EQ(list(nullptr, text, kListByDescription), 0u);
    EXPECT_STREQ(text, "Varkunda TZ5");
    EXPECT_EQ(list(reinterpret_cast<void*>(std::uintptr_t{1}), text, kListBySerial), 2u);
    dlclose(library);
}

TEST(StandinLibrary, StatusRequestRoundTripAndTheWireLogBehindIt) {
    void* library = OpenLibrary();
    ASSERT_NE(library, nullptr);
    FT_HANDLE handle = nullptr;
    char serial[] = "VKTZ5001";
    ASSERT_EQ(Symbol<FT_OpenEx_t>(library, "FT_OpenEx")(serial, kOpenBySerial, &handle), 0u);
    EXPECT_NE(handle, nullptr);
    EXPECT_EQ(Symbol<FT_SetBaudRate_t>(library, "FT_SetBaudRate")(handle, 115200), 0u);
    EXPECT_EQ(Symbol<FT_SetDataCharacteristics_t>(library, "FT_SetDataCharacteristics")(
                  handle, 8, 0, 0),
              0u);
    const unsigned char request[] = {0x02, 0x00};
    DWORD written = 0;
    EXPECT_EQ(Symbol<FT_Write_t>(library, "FT_Write")(handle, request, 2, &written), 0u);
    EXPECT_EQ(written, 2u);
    DWORD queued = 0;
    EXPECT_EQ(Symbol<FT_GetQueueStatus_t>(library, "FT_GetQueueStatus")(handle, &queued), 0u);
    EXPECT_GT(queued, 200u);
    std::string reply(queued, '\0');
    DWORD read = 0;
    EXPECT_EQ(Symbol<FT_Read_t>(library, "FT_Read")(handle, reply.data(), queued, &read), 0u);
    EXPECT_EQ(read, queued);
    EXPECT_EQ(reply.substr(0, 4), "13\r\n");
    EXPECT_EQ(Symbol<FT_Purge_t>(library, "FT_Purge")(handle, 3), 0u);

    using PedalFunction = void* (*)(unsigned);
    auto* pedal = static_cast<varkunda::sim::PedalSimulator*>(
        Symbol<PedalFunction>(library, "VarkundaStandin_Pedal")(0));
    ASSERT_NE(pedal, nullptr);
    EXPECT_EQ(pedal->hostBytes(), (std::vector<std::uint8_t>{0x02, 0x00}));
    EXPECT_EQ(Symbol<PedalFunction>(library, "VarkundaStandin_Pedal")(1), nullptr);

    EXPECT_EQ(Symbol<FT_Close_t>(library, "FT_Close")(handle), 0u);
    EXPECT_EQ(Symbol<FT_Close_t>(library, "FT_Close")(handle), 1u);
    dlclose(library);
}

}  // namespace
