// A stand-in for the FTDI vendor library, for tests of the run-time loader: the D2XX
// functions the editor calls, served by software pedals. VARKUNDA_STANDIN_PEDALS pedals (1 by
// default, at most 16) are plugged in, with serial numbers VKTZ5001, VKTZ5002, ...
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "link/backends/Ftd2xxAbi.h"
#include "link/backends/SimulatedD2xx.h"

#if defined(_WIN32)
#define VARKUNDA_STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define VARKUNDA_STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using namespace varkunda::link::ftd2xx_abi;
using varkunda::link::FtHandle;
using varkunda::link::SimulatedD2xx;
namespace ft = varkunda::link::ft;

constexpr std::size_t kListBufferSize = 64;  // what the caller's list buffer holds
constexpr unsigned long kMaxPedals = 16;
constexpr DWORD kOpenByMask = ft::OPEN_BY_SERIAL_NUMBER | ft::OPEN_BY_DESCRIPTION;

unsigned long PedalCount() {
    const char* text = std::getenv("VARKUNDA_STANDIN_PEDALS");
    if (text == nullptr || *text == '\0') return 1;
    char* end = nullptr;
    const unsigned long count = std::strtoul(text, &end, 10);
    return *end == '\0' && count <= kMaxPedals ? count : 1;
}

std::vector<varkunda::sim::PedalIdentity> Identities() {
    std::vector<varkunda::sim::PedalIdentity> identities(PedalCount());
    for (std::size_t i = 0; i < identities.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        identities[i].serialNumber = "VKTZ50" + std::string(2 - number.size(), '0') + number;
    }
    return identities;
}

SimulatedD2xx& Driver() {
    static SimulatedD2xx driver(Identities());
    return driver;
}

FtHandle HandleOf(FT_HANDLE handle) { return reinterpret_cast<FtHandle>(handle); }

void CopyToListBuffer(const std::string& text, void* buffer) {
    const std::size_t length = std::min(text.size(), kListBufferSize - 1);
    std::memcpy(buffer, text.data(), length);
    static_cast<char*>(buffer)[length] = '\0';
}

}  // namespace

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_ListDevices(void* arg1, void* arg2,
                                                                DWORD flags) {
    if (flags & ft::LIST_NUMBER_ONLY) {
        if (arg1 == nullptr) return ft::INVALID_PARAMETER;
        std::uint32_t count = 0;
        const FT_STATUS status = Driver().listDeviceCount(count);
        *static_cast<DWORD*>(arg1) = count;
        return status;
    }
    if (!(flags & ft::LIST_BY_INDEX)) return ft::NOT_SUPPORTED;  // FT_LIST_ALL is not served
    if (arg2 == nullptr) return ft::INVALID_PARAMETER;
    const auto index = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(arg1));
    std::string text;
    FT_STATUS status = ft::INVALID_ARGS;
    if ((flags & kOpenByMask) == ft::OPEN_BY_SERIAL_NUMBER)
        status = Driver().listSerialNumber(index, text);
    else if ((flags & kOpenByMask) == ft::OPEN_BY_DESCRIPTION)
        status = Driver().listDescription(index, text);
    if (status == ft::OK) CopyToListBuffer(text, arg2);
    return status;
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_OpenEx(void* arg1, DWORD flags,
                                                           FT_HANDLE* handle) {
    if (arg1 == nullptr || handle == nullptr) return ft::INVALID_PARAMETER;
    const std::string name(static_cast<const char*>(arg1));
    FtHandle opened = 0;
    FT_STATUS status = ft::INVALID_PARAMETER;
    if (flags == ft::OPEN_BY_SERIAL_NUMBER)
        status = Driver().openBySerialNumber(name, opened);
    else if (flags == ft::OPEN_BY_DESCRIPTION)
        status = Driver().openByDescription(name, opened);
    if (status == ft::OK) *handle = reinterpret_cast<FT_HANDLE>(opened);
    return status;
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_Close(FT_HANDLE handle) {
    return Driver().close(HandleOf(handle));
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_SetBaudRate(FT_HANDLE handle,
                                                                ULONG baudRate) {
    return Driver().setBaudRate(HandleOf(handle), baudRate);
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_SetDataCharacteristics(FT_HANDLE handle,
                                                                           UCHAR wordLength,
                                                                           UCHAR stopBits,
                                                                           UCHAR parity) {
    return Driver().setDataCharacteristics(HandleOf(handle), wordLength, stopBits, parity);
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_Purge(FT_HANDLE handle, ULONG mask) {
    return Driver().purge(HandleOf(handle), mask);
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_SetLatencyTimer(FT_HANDLE handle,
                                                                    UCHAR latency) {
    return Driver().setLatencyTimer(HandleOf(handle), latency);
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_GetQueueStatus(FT_HANDLE handle,
                                                                   DWORD* rxBytes) {
    if (rxBytes == nullptr) return ft::INVALID_PARAMETER;
    std::uint32_t count = 0;
    const FT_STATUS status = Driver().getQueueStatus(HandleOf(handle), count);
    *rxBytes = count;
    return status;
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_Read(FT_HANDLE handle, void* buffer,
                                                         DWORD toRead, DWORD* bytesRead) {
    if (bytesRead == nullptr) return ft::INVALID_PARAMETER;
    std::uint32_t count = 0;
    const FT_STATUS status =
        Driver().read(HandleOf(handle), static_cast<std::uint8_t*>(buffer), toRead, count);
    *bytesRead = count;
    return status;
}

VARKUNDA_STANDIN_EXPORT FT_STATUS VARKUNDA_FTAPI FT_Write(FT_HANDLE handle, const void* buffer,
                                                          DWORD toWrite, DWORD* bytesWritten) {
    if (bytesWritten == nullptr) return ft::INVALID_PARAMETER;
    std::uint32_t count = 0;
    const FT_STATUS status = Driver().write(
        HandleOf(handle), static_cast<const std::uint8_t*>(buffer), toWrite, count);
    *bytesWritten = count;
    return status;
}

// For tests: the varkunda::sim::PedalSimulator behind device `index` (construction
// order), or null.
VARKUNDA_STANDIN_EXPORT void* VarkundaStandin_Pedal(unsigned index) {
    return Driver().pedal(index).get();
}

// The exports have exactly the signatures the loader expects.
static_assert(std::is_same_v<decltype(&FT_ListDevices), FT_ListDevices_t>);
static_assert(std::is_same_v<decltype(&FT_OpenEx), FT_OpenEx_t>);
static_assert(std::is_same_v<decltype(&FT_Close), FT_Close_t>);
static_assert(std::is_same_v<decltype(&FT_SetBaudRate), FT_SetBaudRate_t>);
static_assert(std::is_same_v<decltype(&FT_SetDataCharacteristics), FT_SetDataCharacteristics_t>);
static_assert(std::is_same_v<decltype(&FT_Purge), FT_Purge_t>);
static_assert(std::is_same_v<decltype(&FT_SetLatencyTimer), FT_SetLatencyTimer_t>);
static_assert(std::is_same_v<decltype(&FT_GetQueueStatus), FT_GetQueueStatus_t>);
static_assert(std::is_same_v<decltype(&FT_Read), FT_Read_t>);
static_assert(std::is_same_v<decltype(&FT_Write), FT_Write_t>);
