#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/EditorContext.h"
#include "effects/TformFXsettings.h"
#include "link/D2xx.h"
#include "link/D2xxAccess.h"
#include "link/backends/SimulatedD2xx.h"
#include "platform/Dialogs.h"
#include "platform/KnownFolders.h"
#include "platform/ResourceStore.h"
#include "platform/Shell.h"
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

// Records every message and question; answers questions from a script (Yes when the
// script is empty).
class RecordingDialogs : public Dialogs {
public:
    QStringList messages;
    QStringList questions;
    std::deque<Answer> answers;

    void showMessage(const QString& text) override { messages << text; }
    Answer askYesNo(const QString& question) override {
        questions << question;
        if (answers.empty()) return Answer::Yes;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

class TemporaryFolders : public KnownFolders {
public:
    QTemporaryDir root;
    QString documents() const override { return root.path() + "/Documents"; }
    QString temporary() const override { return root.path() + "/Temp"; }
    QString programFolder() const override { return root.path() + "/Program"; }
};

class MapResources : public ResourceStore {
public:
    QMap<QString, QByteArray> entries;  // keys in upper case
    std::optional<QByteArray> find(const QString& name) const override {
        const auto found = entries.find(name.toUpper());
        if (found == entries.end()) return std::nullopt;
        return *found;
    }
};

class NoShell : public Shell {
public:
    bool openUrl(const QString&) override { return false; }
    bool startElevated(const QString&, const QStringList&) override { return false; }
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

inline Bytes Hex(std::string_view text) {
    return varkunda::protocol::HexTextToBytes(text).value();
}

// The effect window on a recording device, shown once with the built-in image and
// enabled as with a linked pedal.
class EffectsFixture : public ::testing::Test {
protected:
    EffectsFixture() {
        resources.entries["VARKUNDA_TZ5_0014"] = ImageLine(kBuiltInAddresses) + "\r\n";
        device.Open_USB_Device_By_Serial_Number(pedal().identity().serialNumber);
        context.ConsolePrint = [this](const QString& line) { log << line; };
        context.Sleep = [this](int ms) { sleeps.push_back(ms); };
        context.SelectedEffectName = "Varkunda TZ5 0014";
        context.DeviceLinked = true;
        window = std::make_unique<TformFXsettings>(context);
        window->show();
        window->EnableWindowControls(true);
        clearWrites();
        log.clear();
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

    RecordingSimulatedD2xx driver;
    varkunda::link::D2xxAccess device{driver};
    RecordingDialogs dialogs;
    TemporaryFolders folders;
    MapResources resources;
    NoShell shell;
    EditorContext context{
        .dialogs = dialogs, .folders = folders, .resources = resources, .shell = shell, .device = device,
        .Sleep = {}, .SelectedEffectName = {}, .AlgorithmImageText = {}};
    QStringList log;
    std::vector<int> sleeps;
    std::unique_ptr<TformFXsettings> window;
};

}  // namespace effects_test

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE
