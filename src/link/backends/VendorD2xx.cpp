#include "link/backends/VendorD2xx.h"

#include <array>
#include <cstring>
#include <vector>

namespace varkunda::link {
namespace {

using namespace ftd2xx_abi;

constexpr std::size_t kListBufferSize = 64;

FT_HANDLE HandleOf(FtHandle handle) { return reinterpret_cast<FT_HANDLE>(handle); }

// The names the library goes by on this platform. FTDI's Windows driver installs
// ftd2xx.dll in the system folder; a copy beside the program may keep the 64-bit
// download's name.
#if defined(_WIN32)
constexpr std::array<const char*, 2> kUsualNames = {"ftd2xx.dll", "ftd2xx64.dll"};
#else
constexpr std::array<const char*, 1> kUsualNames = {"libftd2xx.so"};
#endif

std::unique_ptr<QLibrary> OpenLibrary(const std::string& libraryPath, std::string& reason) {
    std::vector<QString> names;
    if (!libraryPath.empty()) {
        names.push_back(QString::fromStdString(libraryPath));
    } else {
        for (const char* name : kUsualNames) names.emplace_back(QString::fromLatin1(name));
    }
    for (const QString& name : names) {
        auto library = std::make_unique<QLibrary>(name);
        if (library->load()) return library;
        reason = library->errorString().toStdString();
    }
    return nullptr;
}

}  // namespace

VendorLoad VendorD2xx::Load(const std::string& libraryPath) {
    std::string reason;
    std::unique_ptr<QLibrary> library = OpenLibrary(libraryPath, reason);
    if (!library)
        return {nullptr, LinkError{.kind = LinkErrorKind::LibraryNotLoaded,
                                   .device = libraryPath,
                                   .detail = reason}};

    Calls calls;
    struct Symbol {
        const char* name;
        void* slot;  // where the resolved address goes
    };
    const std::array<Symbol, 9> table = {{
        {"FT_ListDevices", &calls.listDevices},
        {"FT_OpenEx", &calls.openEx},
        {"FT_Close", &calls.close},
        {"FT_SetBaudRate", &calls.setBaudRate},
        {"FT_SetDataCharacteristics", &calls.setDataCharacteristics},
        {"FT_Purge", &calls.purge},
        {"FT_GetQueueStatus", &calls.getQueueStatus},
        {"FT_Read", &calls.read},
        {"FT_Write", &calls.write},
    }};
    std::string missing;
    for (const Symbol& symbol : table) {
        const QFunctionPointer address = library->resolve(symbol.name);
        if (!address) {
            missing += (missing.empty() ? "" : ", ") + std::string(symbol.name);
            continue;
        }
        static_assert(sizeof(address) == sizeof(FT_ListDevices_t));
        std::memcpy(symbol.slot, &address, sizeof(address));
    }
    if (const QFunctionPointer address = library->resolve("FT_SetLatencyTimer"))
        std::memcpy(&calls.setLatencyTimer, &address, sizeof(address));
    if (!missing.empty()) {
        LinkError error{.kind = LinkErrorKind::LibraryIncomplete,
                        .call = missing,
                        .device = library->fileName().toStdString()};
        library->unload();
        return {nullptr, std::move(error)};
    }
    return {std::unique_ptr<VendorD2xx>(new VendorD2xx(std::move(library), calls)), std::nullopt};
}

VendorD2xx::VendorD2xx(std::unique_ptr<QLibrary> library, Calls calls)
    : library_(std::move(library)), calls_(calls) {}

std::string VendorD2xx::libraryFile() const { return library_->fileName().toStdString(); }

FtStatus VendorD2xx::listDeviceCount(std::uint32_t& count) {
    DWORD devices = 0;
    const FtStatus status = calls_.listDevices(&devices, nullptr, ft::LIST_NUMBER_ONLY);
    if (status == ft::OK) count = devices;
    return status;
}

FtStatus VendorD2xx::ListText(std::uint32_t index, std::uint32_t what, std::string& text) {
    std::array<char, kListBufferSize> buffer{};
    // The library takes the index itself in place of its first pointer argument.
    void* indexArgument = reinterpret_cast<void*>(static_cast<std::uintptr_t>(index));
    const FtStatus status =
        calls_.listDevices(indexArgument, buffer.data(), ft::LIST_BY_INDEX | what);
    buffer.back() = '\0';
    if (status == ft::OK) text = buffer.data();
    return status;
}

FtStatus VendorD2xx::listSerialNumber(std::uint32_t index, std::string& serial) {
    return ListText(index, ft::OPEN_BY_SERIAL_NUMBER, serial);
}

FtStatus VendorD2xx::listDescription(std::uint32_t index, std::string& description) {
    return ListText(index, ft::OPEN_BY_DESCRIPTION, description);
}

FtStatus VendorD2xx::openBySerialNumber(const std::string& serial, FtHandle& handle) {
    std::string serialText = serial;  // the library takes a writable C string
    FT_HANDLE opened = nullptr;
    const FtStatus status = calls_.openEx(serialText.data(), ft::OPEN_BY_SERIAL_NUMBER, &opened);
    if (status == ft::OK) handle = reinterpret_cast<FtHandle>(opened);
    return status;
}

FtStatus VendorD2xx::close(FtHandle handle) { return calls_.close(HandleOf(handle)); }

FtStatus VendorD2xx::setBaudRate(FtHandle handle, std::uint32_t baudRate) {
    return calls_.setBaudRate(HandleOf(handle), baudRate);
}

FtStatus VendorD2xx::setDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                            std::uint8_t stopBits, std::uint8_t parity) {
    return calls_.setDataCharacteristics(HandleOf(handle), wordLength, stopBits, parity);
}

FtStatus VendorD2xx::purge(FtHandle handle, std::uint32_t mask) {
    return calls_.purge(HandleOf(handle), mask);
}

FtStatus VendorD2xx::setLatencyTimer(FtHandle handle, std::uint8_t milliseconds) {
    if (!calls_.setLatencyTimer) return ft::NOT_SUPPORTED;
    return calls_.setLatencyTimer(HandleOf(handle), milliseconds);
}

FtStatus VendorD2xx::getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) {
    DWORD queued = 0;
    const FtStatus status = calls_.getQueueStatus(HandleOf(handle), &queued);
    if (status == ft::OK) rxBytes = queued;
    return status;
}

FtStatus VendorD2xx::read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                          std::uint32_t& bytesRead) {
    DWORD count = 0;
    const FtStatus status = calls_.read(HandleOf(handle), buffer, toRead, &count);
    bytesRead = status == ft::OK ? count : 0;
    return status;
}

FtStatus VendorD2xx::write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                           std::uint32_t& bytesWritten) {
    DWORD count = 0;
    const FtStatus status = calls_.write(HandleOf(handle), buffer, toWrite, &count);
    bytesWritten = count;
    return status;
}

}  // namespace varkunda::link
