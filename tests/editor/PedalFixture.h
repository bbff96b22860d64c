#pragma once

// The whole editor on in-process software pedals, its waits for the pedal on the fake
// clock, for the window tests of the link, the status request and the pedal-wide
// settings.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "EditorHarness.h"
#include "effects/TformFXsettings.h"
#include "link/backends/SimulatedD2xx.h"
#include "protocol/StatusReply.h"

namespace pedal_test {

using Bytes = std::vector<std::uint8_t>;
using varkunda::link::FtHandle;
using varkunda::link::FtStatus;

// Software pedals whose status replies can be made to say what the software pedal never
// says by itself (hex letters in the version and effect bytes): the numbers at the given
// indexes of each status reply are replaced on their way to the editor.
class RewritingSimulatedD2xx : public varkunda::link::SimulatedD2xx {
public:
    using SimulatedD2xx::SimulatedD2xx;

    std::map<std::size_t, std::uint8_t> statusOverrides;

    FtStatus write(FtHandle handle, const std::uint8_t* data, std::uint32_t count,
                   std::uint32_t& written) override {
        if (count == 2 && data[0] == 0x02 && data[1] == 0x00) rewritePending_ = true;
        return SimulatedD2xx::write(handle, data, count, written);
    }
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t& rxBytes) override {
        const FtStatus status = take(handle);
        rxBytes = static_cast<std::uint32_t>(received_.size());
        return status;
    }
    FtStatus read(FtHandle handle, std::uint8_t* buffer, std::uint32_t toRead,
                  std::uint32_t& bytesRead) override {
        const FtStatus status = take(handle);
        bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(toRead, received_.size()));
        std::copy_n(received_.begin(), bytesRead, buffer);
        received_.erase(received_.begin(), received_.begin() + bytesRead);
        return status;
    }
    FtStatus purge(FtHandle handle, std::uint32_t mask) override {
        if (mask & varkunda::link::ft::PURGE_RX) received_.clear();
        return SimulatedD2xx::purge(handle, mask);
    }

private:
    // Takes in what the pedal has sent and rewrites a complete status reply once.
    FtStatus take(FtHandle handle) {
        std::uint32_t queued = 0;
        const FtStatus status = SimulatedD2xx::getQueueStatus(handle, queued);
        if (status != varkunda::link::ft::OK) return status;
        if (queued > 0) {
            Bytes bytes(queued);
            std::uint32_t got = 0;
            SimulatedD2xx::read(handle, bytes.data(), queued, got);
            received_.insert(received_.end(), bytes.begin(), bytes.begin() + got);
        }
        if (rewritePending_ && !statusOverrides.empty() && holdsStatusReply()) {
            rewriteStatusReply();
            rewritePending_ = false;
        }
        return status;
    }
    bool holdsStatusReply() const {
        return std::count(received_.begin(), received_.end(), '\n') >=
               static_cast<std::ptrdiff_t>(varkunda::protocol::kStatusReplyLength);
    }
    void rewriteStatusReply() {
        std::vector<std::string> lines;
        std::string line;
        for (std::uint8_t byte : received_) {
            if (byte == '\r') continue;
            if (byte == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += static_cast<char>(byte);
            }
        }
        for (const auto& [index, value] : statusOverrides)
            if (index < lines.size()) lines[index] = std::to_string(value);
        received_.clear();
        for (const std::string& number : lines) {
            received_.insert(received_.end(), number.begin(), number.end());
            received_.push_back('\r');
            received_.push_back('\n');
        }
    }

    Bytes received_;
    bool rewritePending_ = false;
};

inline varkunda::sim::PedalIdentity Identity(const std::string& serial,
                                             const std::string& description) {
    varkunda::sim::PedalIdentity identity;
    identity.serialNumber = serial;
    identity.description = description;
    return identity;
}

// The editor started on the given software pedals (one default pedal when none given).
class PedalEditor {
public:
    explicit PedalEditor(std::vector<varkunda::sim::PedalIdentity> identities = {{}})
        : device(std::move(identities)), editor(&device) {
        editor.start();
    }

    varkunda::sim::PedalSimulator& pedal(std::size_t index = 0) { return *device.pedal(index); }
    TformMain& main() { return editor.main(); }
    EditorContext& context() { return editor.context(); }
    TformFXsettings& effects() { return editor.app().formFXsettings(); }

    // Everything the host wrote to a pedal since the last clearWire(), in order.
    Bytes wire(std::size_t index = 0) { return pedal(index).hostBytes(); }
    // The status requests (02 00 written on its own) a pedal received since clearWire().
    int statusRequests(std::size_t index = 0) {
        int count = 0;
        for (const auto& record : pedal(index).wireLog())
            if (record.bytes == Bytes{0x02, 0x00}) ++count;
        return count;
    }
    void clearWire() {
        for (std::size_t i = 0; i < device.pedalCount(); ++i) device.pedal(i)->clearWireLog();
    }
    // Console lines logged from now on are those after this mark.
    void markConsole() { consoleMark_ = editor.consoleLines().size(); }
    QStringList consoleSinceMark() { return editor.consoleLines().mid(consoleMark_); }

    void link() { main().menuConnect->trigger(); }

    RewritingSimulatedD2xx device;
    EditorHarness editor;

private:
    qsizetype consoleMark_ = 0;
};

}  // namespace pedal_test
