#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/D2xx.h"

namespace varkunda::link::testing {

// A scripted driver: a list of devices, a receive queue the test fills, the writes and
// purges it saw, and any call made to fail with a chosen status.
class FakeD2xx : public D2xx {
  public:
    struct Device {
        std::string serial;
        std::string description;
    };

    std::vector<Device> devices;
    std::map<std::string, FtStatus> failing;  // call name -> status it returns

    std::vector<std::uint8_t> queued;                // bytes waiting to be read
    std::deque<std::vector<std::uint8_t>> arrivals;  // delivered one by one by Deliver()
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<std::string> calls;  // every call, in order
    std::string openedSerial;
    std::optional<std::uint8_t> latencyTimer;  // as last set
    std::vector<std::uint32_t> readSizes;
    FtHandle nextHandle = 0x1234;
    std::function<void(const std::vector<std::uint8_t>&)> onWrite;  // "the pedal" answers
    std::optional<LinkError> reason;  // what the backend says of its failed calls, if anything

    void Queue(std::string_view text) { queued.insert(queued.end(), text.begin(), text.end()); }
    void Arrive(std::string_view text) { arrivals.emplace_back(text.begin(), text.end()); }
    // Moves the next scripted arrival into the receive queue.
    void Deliver() {
        if (arrivals.empty()) return;
        queued.insert(queued.end(), arrivals.front().begin(), arrivals.front().end());
        arrivals.pop_front();
    }

    FtStatus listDeviceCount(std::uint32_t& count) override {
        if (auto s = Call("listDeviceCount")) return s;
        count = static_cast<std::uint32_t>(devices.size());
        return ft::OK;
    }
    FtStatus listSerialNumber(std::uint32_t index, std::string& serial) override {
        if (auto s = Call("listSerialNumber")) return s;
        if (index >= devices.size()) return ft::DEVICE_NOT_FOUND;
        serial = devices[index].serial;
        return ft::OK;
    }
    FtStatus listDescription(std::uint32_t index, std::string& description) override {
        if (auto s = Call("listDescription")) return s;
        if (index >= devices.size()) return ft::DEVICE_NOT_FOUND;
        description = devices[index].description;
        return ft::OK;
    }
    FtStatus openBySerialNumber(const std::string& serial, FtHandle& handle) override {
        openedSerial = serial;
        if (auto s = Call("open")) return s;
        handle = nextHandle;
        return ft::OK;
    }
    FtStatus close(FtHandle) override { return Call("close"); }
    FtStatus setBaudRate(FtHandle, std::uint32_t) override { return Call("setBaudRate"); }
    FtStatus setDataCharacteristics(FtHandle, std::uint8_t, std::uint8_t, std::uint8_t) override {
        return Call("setDataCharacteristics");
    }
    FtStatus setLatencyTimer(FtHandle, std::uint8_t milliseconds) override {
        if (auto s = Call("setLatencyTimer")) return s;
        latencyTimer = milliseconds;
        return ft::OK;
    }
    FtStatus purge(FtHandle, std::uint32_t mask) override {
        if (auto s = Call(mask == ft::PURGE_RX ? "purgeRX" : "purgeTX")) return s;
        if (mask & ft::PURGE_RX) queued.clear();
        return ft::OK;
    }
    FtStatus getQueueStatus(FtHandle, std::uint32_t& rxBytes) override {
        if (auto s = Call("getQueueStatus")) return s;
        rxBytes = static_cast<std::uint32_t>(queued.size());
        return ft::OK;
    }
    FtStatus read(FtHandle, std::uint8_t* buffer, std::uint32_t toRead,
                  std::uint32_t& bytesRead) override {
        readSizes.push_back(toRead);
        if (auto s = Call("read")) {
            bytesRead = toRead;  // a failing driver may leave any count behind
            return s;
        }
        bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(toRead, queued.size()));
        std::copy_n(queued.begin(), bytesRead, buffer);
        queued.erase(queued.begin(), queued.begin() + bytesRead);
        return ft::OK;
    }
    FtStatus write(FtHandle, const std::uint8_t* buffer, std::uint32_t toWrite,
                   std::uint32_t& bytesWritten) override {
        if (auto s = Call("write")) {
            bytesWritten = 0;
            return s;
        }
        writes.emplace_back(buffer, buffer + toWrite);
        bytesWritten = toWrite;
        if (onWrite) onWrite(writes.back());
        return ft::OK;
    }

    std::optional<LinkError> lastFailure() const override { return reason; }

  private:
    FtStatus Call(const std::string& name) {
        calls.push_back(name);
        const auto it = failing.find(name);
        return it == failing.end() ? ft::OK : it->second;
    }
};

}  // namespace varkunda::link::testing
