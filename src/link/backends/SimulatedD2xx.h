#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/D2xx.h"
#include "sim/PedalSimulator.h"

namespace varkunda::link {

// The D2XX calls served by software pedals in this process. Each plugged-in pedal is
// an FTDI device, listed in the order given with its serial number and description.
// Standard library only: the stand-in vendor library is built from it as well.
//
// As the vendor driver does: a handle that was never opened or is closed gives
// INVALID_HANDLE; a pedal that was unplugged leaves the list, and every call on a
// handle opened before the unplug gives IO_ERROR except FT_Close, which releases the
// handle (so the editor can unlink); a pedal can be open through one handle at a time
// (a second open gives DEVICE_NOT_OPENED).
class SimulatedD2xx : public D2xx {
  public:
    SimulatedD2xx();  // one pedal with the default identity
    explicit SimulatedD2xx(std::vector<sim::PedalIdentity> identities);
    explicit SimulatedD2xx(std::vector<std::shared_ptr<sim::PedalSimulator>> pedals);

    // The pedal at `index` in construction order, plugged in or not; null beyond.
    std::shared_ptr<sim::PedalSimulator> pedal(std::size_t index) const;
    std::size_t pedalCount() const { return pedals_.size(); }

    // FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &handle): the first listed pedal
    // with that description.
    FtStatus openByDescription(const std::string& description, FtHandle& handle);

    FtStatus listDeviceCount(std::uint32_t& count) override;
    FtStatus listSerialNumber(std::uint32_t index, std::string& serial) override;
    FtStatus listDescription(std::uint32_t index, std::string& description) override;
    FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) override;
    FtStatus close(FtHandle handle) override;
    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override;
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity) override;
    FtStatus purge(FtHandle handle, std::uint32_t mask) override;
    FtStatus setLatencyTimer(FtHandle handle, std::uint8_t milliseconds) override;
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) override;
    FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                  std::uint32_t& bytesRead) override;
    FtStatus write(FtHandle handle, const std::uint8_t* buffer, std::uint32_t toWrite,
                   std::uint32_t& bytesWritten) override;

  private:
    struct OpenDevice {
        std::shared_ptr<sim::PedalSimulator> pedal;
        std::uint64_t plugGeneration;  // the device instance the handle was opened on
    };

    std::vector<std::shared_ptr<sim::PedalSimulator>> listed() const;
    FtStatus open(const std::shared_ptr<sim::PedalSimulator>& pedal, FtHandle& handle);
    // OK with the pedal behind a live handle; INVALID_HANDLE or IO_ERROR otherwise.
    FtStatus reach(FtHandle handle, sim::PedalSimulator*& pedal) const;
    static bool gone(const OpenDevice& device);

    std::vector<std::shared_ptr<sim::PedalSimulator>> pedals_;
    std::map<FtHandle, OpenDevice> open_;
    FtHandle nextHandle_ = 0x1000;
};

}  // namespace varkunda::link
