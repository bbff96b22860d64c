// A vendor library that lacks FT_Write: the loader must refuse it as a whole. Built
// with VARKUNDA_PARTIAL_HAS_WRITE it lacks only FT_SetLatencyTimer, which the loader
// does without.
#include "link/backends/Ftd2xxAbi.h"

using namespace varkunda::link::ftd2xx_abi;

extern "C" {
FT_STATUS FT_ListDevices(void*, void*, DWORD) { return 0; }
FT_STATUS FT_OpenEx(void*, DWORD, FT_HANDLE*) { return 0; }
FT_STATUS FT_Close(FT_HANDLE) { return 0; }
FT_STATUS FT_SetBaudRate(FT_HANDLE, ULONG) { return 0; }
FT_STATUS FT_SetDataCharacteristics(FT_HANDLE, UCHAR, UCHAR, UCHAR) { return 0; }
FT_STATUS FT_Purge(FT_HANDLE, ULONG) { return 0; }
FT_STATUS FT_GetQueueStatus(FT_HANDLE, DWORD*) { return 0; }
FT_STATUS FT_Read(FT_HANDLE, void*, DWORD, DWORD*) { return 0; }
#ifdef VARKUNDA_PARTIAL_HAS_WRITE
FT_STATUS FT_Write(FT_HANDLE, const void*, DWORD, DWORD*) { return 0; }
#endif
}
