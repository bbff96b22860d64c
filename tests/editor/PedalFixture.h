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
#include <string>
#include <vector>

#include "EditorHarness.h"
#include "effects/TformFXsettings.h"
#include "link/backends/SimulatedD2xx.h"

namespace pedal_test {

using Bytes = std::vector<std::uint8_t>;
using varkunda::link::FtHandle;

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

    varkunda::link::SimulatedD2xx device;
    EditorHarness editor;

private:
    qsizetype consoleMark_ = 0;
};

}  // namespace pedal_test
