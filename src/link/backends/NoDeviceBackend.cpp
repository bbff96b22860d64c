#include "link/backends/NoDeviceBackend.h"

namespace varkunda::link {

FtStatus NoDeviceBackend::listDeviceCount(std::uint32_t& count) {
    count = 0;
    return ft::OK;
}

FtStatus NoDeviceBackend::listSerialNumber(std::uint32_t, std::string&) {
    return ft::DEVICE_NOT_FOUND;
}

FtStatus NoDeviceBackend::listDescription(std::uint32_t, std::string&) {
    return ft::DEVICE_NOT_FOUND;
}

FtStatus NoDeviceBackend::openBySerialNumber(const std::string&, FtHandle&) {
    return ft::DEVICE_NOT_FOUND;
}

FtStatus NoDeviceBackend::close(FtHandle) { return ft::INVALID_HANDLE; }

FtStatus NoDeviceBackend::setBaudRate(FtHandle, std::uint32_t) { return ft::INVALID_HANDLE; }

FtStatus NoDeviceBackend::setDataCharacteristics(FtHandle, std::uint8_t, std::uint8_t,
                                                 std::uint8_t) {
    return ft::INVALID_HANDLE;
}

FtStatus NoDeviceBackend::purge(FtHandle, std::uint32_t) { return ft::INVALID_HANDLE; }

FtStatus NoDeviceBackend::getQueueStatus(FtHandle, std::uint32_t& rxBytes) {
    rxBytes = 0;
    return ft::INVALID_HANDLE;
}

FtStatus NoDeviceBackend::read(FtHandle, std::uint8_t*, std::uint32_t, std::uint32_t& bytesRead) {
    bytesRead = 0;
    return ft::INVALID_HANDLE;
}

FtStatus NoDeviceBackend::write(FtHandle, const std::uint8_t*, std::uint32_t,
                                std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    return ft::INVALID_HANDLE;
}

}  // namespace varkunda::link
