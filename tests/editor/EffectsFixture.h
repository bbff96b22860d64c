#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "EditorHarness.h"
#include "app/EditorApplication.h"
#include "app/EditorContext.h"
#include "effects/TformFXsettings.h"
#include "link/D2xx.h"
#include "link/D2xxAccess.h"
#include "link/backends/SimulatedD2xx.h"
#include "protocol/HexText.h"

namespace effects_test {

using Bytes = std::vector<std::uint8_t>;

// The in-process software pedal, with the order of the purges and writes the editor
// asked for.
class RecordingSimulatedD2xx : public varkunda::link::SimulatedD2xx {
  public:
    using FtHandle = varkunda::link::FtHandle;
    using FtStatus = varkunda::link::FtStatus;

    int txPurges = 0;
    std::vector<std::string> events;  // "purge TX" and "write N" in call order

    FtStatus purge(FtHandle handle, std::uint32_t mask) override {
        if (mask & varkunda::link::ft::PURGE_TX) {
            ++txPurges;
            events.push_back("purge TX");
        }
        return SimulatedD2xx::purge(handle, mask);
    }
    FtStatus write(FtHandle handle, const std::uint8_t* data, std::uint32_t n,
                   std::uint32_t& written) override {
        events.push_back("write " + std::to_string(n));
        return SimulatedD2xx::write(handle, data, n, written);
    }
};

// The address table of the built-in effect image.
inline const std::array<std::uint16_t, 21> kBuiltInAddresses = {
    0x0027, 0x0007, 0x007D, 0x0080, 0x0002, 0x00AF, 0x00BD, 0x007E, 0x00C9, 0x002D, 0x0041,
    0x0037, 0x000B, 0x0052, 0x00C6, 0x001D, 0x000E, 0x0006, 0xFF00, 0x00BC, 0x0003};

// An effect image line: a 3-byte header, the address table, then filler.
inline QByteArray ImageLine(const std::array<std::uint16_t, 21>& table) {
    std::string line = "001100";
    for (std::uint16_t address : table) line += varkunda::protocol::HexWord16(address);
    for (int i = 0; i < 200; ++i) line += "A5";
    return QByteArray::fromStdString(line);
}

inline Bytes Hex(std::string_view text) { return varkunda::protocol::HexTextToBytes(text).value(); }

// The whole editor on the software pedal, linked, with the effect window of the
// built-in effect open and enabled.
class EffectsFixture : public ::testing::Test {
  protected:
    EffectsFixture()
        : app(harness.start()),
          context(harness.context()),
          dialogs(harness.dialogs),
          folders(harness.folders),
          sleeps(harness.sleeps),
          window(&app.formFXsettings()) {
        const auto print = context.ConsolePrint;
        context.ConsolePrint = [this, print](const QString& line) {
            log << line;
            print(line);
        };
        context.device.Open_USB_Device_By_Serial_Number(pedal().identity().serialNumber);
        context.DeviceLinked = true;
        context.SelectedEffectName = "Varkunda TZ5 0014";
        harness.main().OpenEffectWindow();
        clearWrites();
        log.clear();
        dialogs.clear();
        sleeps.clear();
    }

    varkunda::sim::PedalSimulator& pedal() { return *driver.pedal(0); }
    // Every write the pedal received since the last clearWrites(), one entry per write.
    std::vector<Bytes> writes() {
        std::vector<Bytes> received;
        for (const auto& record : pedal().wireLog()) received.push_back(record.bytes);
        return received;
    }
    void clearWrites() {
        pedal().clearWireLog();
        driver.events.clear();
    }
    bool logged(const QString& line) const { return log.contains(line); }
    void useImage(const QByteArray& image) {
        harness.resources.replace("VARKUNDA_TZ5_0014", image);
    }

    RecordingSimulatedD2xx driver;
    EditorHarness harness{&driver};
    EditorApplication& app;
    EditorContext& context;
    ScriptedDialogs& dialogs;
    TemporaryKnownFolders& folders;
    QList<int>& sleeps;
    TformFXsettings* window;
    QStringList log;
};

}  // namespace effects_test

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
