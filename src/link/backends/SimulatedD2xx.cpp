#include "link/backends/SimulatedD2xx.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace varkunda::link {
namespace {

// The bridge's range of baud rates.
constexpr std::uint32_t kMinBaudRate = 183;
constexpr std::uint32_t kMaxBaudRate = 3000000;
constexpr std::uint8_t kHighestParityCode = 4;  // none, odd, even, mark, space
constexpr std::uint8_t kStopBits2 = 2;
constexpr std::uint8_t kBits7 = 7;
constexpr FtHandle kHandleStep = 0x10;

std::vector<std::shared_ptr<sim::PedalSimulator>> PedalsFor(
    const std::vector<sim::PedalIdentity>& identities) {
    std::vector<std::shared_ptr<sim::PedalSimulator>> pedals;
    for (const auto& identity : identities)
        pedals.push_back(std::make_shared<sim::PedalSimulator>(identity));
    return pedals;
}

}  // namespace

SimulatedD2xx::SimulatedD2xx() : SimulatedD2xx(std::vector<sim::PedalIdentity>(1)) {}

SimulatedD2xx::SimulatedD2xx(std::vector<sim::PedalIdentity> identities)
    : pedals_(PedalsFor(identities)) {}

SimulatedD2xx::SimulatedD2xx(std::vector<std::shared_ptr<sim::PedalSimulator>> pedals)
    : pedals_(std::move(pedals)) {
    std::erase(pedals_, nullptr);
}

std::shared_ptr<sim::PedalSimulator> SimulatedD2xx::pedal(std::size_t index) const {
    return index < pedals_.size() ? pedals_[index] : nullptr;
}

std::vector<std::shared_ptr<sim::PedalSimulator>> SimulatedD2xx::listed() const {
    std::vector<std::shared_ptr<sim::PedalSimulator>> plugged;
    std::copy_if(pedals_.begin(), pedals_.end(), std::back_inserter(plugged),
                 [](const auto& pedal) { return !pedal->unplugged(); });
    return plugged;
}

bool SimulatedD2xx::gone(const OpenDevice& device) {
    return device.pedal->unplugged() || device.pedal->plugGeneration() != device.plugGeneration;
}

FtStatus SimulatedD2xx::listDeviceCount(std::uint32_t& count) {
    count = static_cast<std::uint32_t>(listed().size());
    return ft::OK;
}

FtStatus SimulatedD2xx::listSerialNumber(std::uint32_t index, std::string& serial) {
    const auto plugged = listed();
    if (index >= plugged.size()) return ft::DEVICE_NOT_FOUND;
    serial = plugged[index]->identity().serialNumber;
    return ft::OK;
}

FtStatus SimulatedD2xx::listDescription(std::uint32_t index, std::string& description) {
    const auto plugged = listed();
    if (index >= plugged.size()) return ft::DEVICE_NOT_FOUND;
    description = plugged[index]->identity().description;
    return ft::OK;
}

FtStatus SimulatedD2xx::openBySerialNumber(const std::string& serial, FtHandle& handle) {
    for (const auto& pedal : listed())
        if (pedal->identity().serialNumber == serial) return open(pedal, handle);
    return ft::DEVICE_NOT_FOUND;
}

FtStatus SimulatedD2xx::openByDescription(const std::string& description, FtHandle& handle) {
    for (const auto& pedal : listed())
        if (pedal->identity().description == description) return open(pedal, handle);
    return ft::DEVICE_NOT_FOUND;
}

FtStatus SimulatedD2xx::open(const std::shared_ptr<sim::PedalSimulator>& pedal, FtHandle& handle) {
    const bool alreadyOpen = std::any_of(open_.begin(), open_.end(), [&](const auto& entry) {
        return entry.second.pedal == pedal && !gone(entry.second);
    });
    if (alreadyOpen) return ft::DEVICE_NOT_OPENED;
    handle = nextHandle_;
    nextHandle_ += kHandleStep;
    open_[handle] = {pedal, pedal->plugGeneration()};
    return ft::OK;
}

FtStatus SimulatedD2xx::reach(FtHandle handle, sim::PedalSimulator*& pedal) const {
    const auto found = open_.find(handle);
    if (found == open_.end()) return ft::INVALID_HANDLE;
    if (gone(found->second)) return ft::IO_ERROR;
    pedal = found->second.pedal.get();
    return ft::OK;
}

FtStatus SimulatedD2xx::close(FtHandle handle) {
    return open_.erase(handle) > 0 ? ft::OK : ft::INVALID_HANDLE;
}

FtStatus SimulatedD2xx::setBaudRate(FtHandle handle, std::uint32_t baudRate) {
    sim::PedalSimulator* pedal = nullptr;
    if (const FtStatus status = reach(handle, pedal); status != ft::OK) return status;
    if (baudRate < kMinBaudRate || baudRate > kMaxBaudRate) return ft::INVALID_BAUD_RATE;
    sim::LineSettings line = pedal->lineSettings();
    line.baudRate = baudRate;
    pedal->setLineSettings(line);
    return ft::OK;
}

FtStatus SimulatedD2xx::setDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                               std::uint8_t stopBits, std::uint8_t parity) {
    sim::PedalSimulator* pedal = nullptr;
    if (const FtStatus status = reach(handle, pedal); status != ft::OK) return status;
    const bool valid = (wordLength == ft::BITS_8 || wordLength == kBits7) &&
                       (stopBits == ft::STOP_BITS_1 || stopBits == kStopBits2) &&
                       parity <= kHighestParityCode;
    if (!valid) return ft::INVALID_PARAMETER;
    sim::LineSettings line = pedal->lineSettings();
    line.wordLength = wordLength;
    line.stopBits = stopBits;
    line.parity = parity;
    pedal->setLineSettings(line);
    return ft::OK;
}

FtStatus SimulatedD2xx::purge(FtHandle handle, std::uint32_t mask) {
    sim::PedalSimulator* pedal = nullptr;
    if (const FtStatus status = reach(handle, pedal); status != ft::OK) return status;
    if (mask & ft::PURGE_RX) pedal->purgeToHost();
    if (mask & ft::PURGE_TX) pedal->purgeFromHost();
    return ft::OK;
}

FtStatus SimulatedD2xx::setLatencyTimer(FtHandle handle, std::uint8_t milliseconds) {
    sim::PedalSimulator* pedal = nullptr;
    if (const FtStatus status = reach(handle, pedal); status != ft::OK) return status;
    return pedal->setLatencyTimer(std::chrono::milliseconds(milliseconds)) ? ft::OK
                                                                           : ft::INVALID_PARAMETER;
}

FtStatus SimulatedD2xx::getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) {
    sim::PedalSimulator* pedal = nullptr;
    if (const FtStatus status = reach(handle, pedal); status != ft::OK) return status;
    rxBytes = static_cast<std::uint32_t>(
        std::min<std::size_t>(pedal->hostReadable(), std::numeric_limits<std::uint32_t>::max()));
    return ft::OK;
}

FtStatus SimulatedD2xx::read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                             std::uint32_t& bytesRead) {
    bytesRead = 0;
    sim::PedalSimulator* pedal = nullptr;
    if (const FtStatus status = reach(handle, pedal); status != ft::OK) return status;
    if (buffer == nullptr && toRead > 0) return ft::INVALID_PARAMETER;
    bytesRead = static_cast<std::uint32_t>(pedal->hostRead(buffer, toRead));
    return ft::OK;
}

FtStatus SimulatedD2xx::write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                              std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    sim::PedalSimulator* pedal = nullptr;
    if (const FtStatus status = reach(handle, pedal); status != ft::OK) return status;
    if (buffer == nullptr && toWrite > 0) return ft::INVALID_PARAMETER;
    bytesWritten = static_cast<std::uint32_t>(pedal->hostWritePartial(buffer, toWrite));
    // The pedal went away in the middle of the write.
    return bytesWritten == toWrite ? ft::OK : ft::IO_ERROR;
}

}  // namespace varkunda::link
