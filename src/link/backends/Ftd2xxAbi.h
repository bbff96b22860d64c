#pragma once

#include <cstdint>

// The C interface of the FTDI D2XX vendor library, as far as the editor uses it.
// DWORD, ULONG and FT_STATUS are 32-bit on every platform the library ships for.
namespace varkunda::link::ftd2xx_abi {

using FT_HANDLE = void*;
using FT_STATUS = std::uint32_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using UCHAR = unsigned char;

#if defined(_WIN32)
#define VARKUNDA_FTAPI __stdcall
#else
#define VARKUNDA_FTAPI
#endif

using FT_ListDevices_t = FT_STATUS(VARKUNDA_FTAPI*)(void* arg1, void* arg2, DWORD flags);
using FT_OpenEx_t = FT_STATUS(VARKUNDA_FTAPI*)(void* arg1, DWORD flags, FT_HANDLE* handle);
using FT_Close_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle);
using FT_SetBaudRate_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle, ULONG baudRate);
using FT_SetDataCharacteristics_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle, UCHAR wordLength,
                                                               UCHAR stopBits, UCHAR parity);
using FT_Purge_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle, ULONG mask);
using FT_SetLatencyTimer_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle, UCHAR latency);
using FT_GetQueueStatus_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle, DWORD* rxBytes);
using FT_Read_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle, void* buffer, DWORD toRead,
                                             DWORD* bytesRead);
using FT_Write_t = FT_STATUS(VARKUNDA_FTAPI*)(FT_HANDLE handle, const void* buffer, DWORD toWrite,
                                              DWORD* bytesWritten);

}  // namespace varkunda::link::ftd2xx_abi
