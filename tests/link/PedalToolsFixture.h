#pragma once

// The link layer on the in-process software pedal, on the fake clock, with the log,
// the error reports and the pauses recorded.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "LinkFixture.h"
#include "link/LinkError.h"
#include "link/Transport.h"
#include "link/backends/SimulatedD2xx.h"

// The software pedal, with the purges and writes the host asked for, in call order.
class RecordingDevice : public varkunda::link::SimulatedD2xx {
  public:
    std::vector<std::string> calls;  // "purge TX", "purge RX", "write N"

    varkunda::link::FtStatus purge(varkunda::link::FtHandle handle, std::uint32_t mask) override {
        if (mask & varkunda::link::ft::PURGE_TX) calls.push_back("purge TX");
        if (mask & varkunda::link::ft::PURGE_RX) calls.push_back("purge RX");
        return SimulatedD2xx::purge(handle, mask);
    }
    varkunda::link::FtStatus write(varkunda::link::FtHandle handle, const std::uint8_t* data,
                                   std::uint32_t n, std::uint32_t& written) override {
        calls.push_back("write " + std::to_string(n));
        return SimulatedD2xx::write(handle, data, n, written);
    }
};

// The shared link fixture on an opened software pedal, with the pauses recorded.
class PedalToolsFixture : public varkunda::link::testing::LinkFixture<RecordingDevice> {
  protected:
    PedalToolsFixture() {
        access.Open_USB_Device_By_Serial_Number(pedal().identity().serialNumber);
        access.SetLineParameters(varkunda::link::LineMode::NormalLine);
        access.SetDeviceBaudRate();
        access.SetDeviceDataCharacteristics();
        environment.onSleep = [this](std::chrono::milliseconds pause) { pauses.push_back(pause); };
    }

    varkunda::sim::PedalSimulator& pedal() { return *device.pedal(0); }
    // One entry per write the pedal received.
    std::vector<std::vector<std::uint8_t>> writes() {
        std::vector<std::vector<std::uint8_t>> received;
        for (const auto& record : pedal().wireLog()) received.push_back(record.bytes);
        return received;
    }

    RecordingDevice& device = driver;
    std::vector<std::chrono::milliseconds> pauses;
};
