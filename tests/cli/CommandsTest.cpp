#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "CliFixture.h"
#include "protocol/Messages.h"
#include "protocol/Parameters.h"
#include "protocol/PresetFile.h"
#include "protocol/ValueEncoding.h"

namespace {

using namespace varkunda;
namespace exitstatus = cli::exitstatus;

class CliCommands : public CliFixture {
  protected:
    std::uint16_t AddressOf(std::size_t parameter) {
        return pedal()
            .state()
            .addressTable[static_cast<std::size_t>(protocol::kParameterInfo[parameter].slot)];
    }
    QJsonDocument Json(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()); }
};

TEST_F(CliCommands, StatusPrintsEveryParameterAndAsksOnce) {
    pedal().state().parameters[protocol::param::kHarmonicPitch] = protocol::HarmonicPitchTable[19];
    pedal().state().midiChannel = 7;
    const auto text = Run({"status"});
    EXPECT_EQ(text.status, exitstatus::kDone);
    EXPECT_TRUE(text.err.isEmpty());
    EXPECT_EQ(wire(), "0200");
    EXPECT_TRUE(text.out.contains("Firmware: 13\n"));
    EXPECT_TRUE(text.out.contains("Algorithm: 0014\n"));
    EXPECT_TRUE(text.out.contains("MIDI channel: 7\n"));
    EXPECT_TRUE(text.out.contains("1st Harmonic Pitch    0x00655558  +7\n"));

    const auto json = Run({"status", "--json"});
    ASSERT_EQ(json.status, exitstatus::kDone);
    const QJsonObject status = Json(json.out).object();
    EXPECT_EQ(status["serial"].toString(), "VKTZ5001");
    const QJsonArray parameters = status["parameters"].toArray();
    ASSERT_EQ(parameters.size(), 19);
    EXPECT_EQ(parameters[11].toObject()["shown"].toString(), "+7");
    EXPECT_EQ(status["midiChannel"].toString(), "7");
    EXPECT_EQ(status["range"].toString(), "standard");
}

TEST_F(CliCommands, GetPrintsRawValueAndWhatTheWindowShows) {
    pedal().state().parameters[protocol::param::kDry] = protocol::DialAngleToValue(45);
    pedal().state().parameters[protocol::param::kSplit] = 1;
    const auto dry = Run({"get", "dry"});
    EXPECT_EQ(dry.status, exitstatus::kDone);
    const std::uint32_t value = protocol::DialAngleToValue(45);
    const int shown = protocol::ValueToDialAngle(value, protocol::kDialFullScale);
    EXPECT_EQ(dry.out.toStdString(),
              "0x" + QString("%1").arg(value, 8, 16, QChar(u'0')).toUpper().toStdString() + "\t" +
                  std::to_string(shown) + "°\n");
    const auto split = Run({"get", "Split", "--json"});
    EXPECT_EQ(Json(split.out).object()["shown"].toString(), "on");
    EXPECT_EQ(Json(split.out).object()["raw"].toString(), "0x00000001");
}

struct SetCase {
    const char* name;
    const char* value;
    std::size_t parameter;
    std::uint32_t sent;
};

TEST_F(CliCommands, SetSendsTheWordTheWindowWouldSend) {
    const SetCase cases[] = {
        {"Dry", "45", protocol::param::kDry, protocol::DialAngleToValue(45)},
        {"dry hpf", "-150°", protocol::param::kDryHpf, protocol::DialAngleToValue(-150)},
        {"Low Pass", "180", protocol::param::kLowPass, protocol::DialAngleToValue(180)},
        {"Wave", "on", protocol::param::kWave, protocol::kWaveOnValue},
        {"Split", "OFF", protocol::param::kSplit, 0},
        {"Noise Gate Status", "on", protocol::param::kNoiseGateStatus, 1},
        {"1st Harmonic Pitch", "-12", protocol::param::kHarmonicPitch, 0x200000},
        {"1st Harmonic Pitch", "+12", protocol::param::kHarmonicPitch, 0x800000},
        {"Input Level", "raw:0x00123456", protocol::param::kInputLevel, 0x123456},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.value);
        pedal().clearWireLog();
        const auto result = Run({"set", c.name, c.value});
        EXPECT_EQ(result.status, exitstatus::kDone);
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
        EXPECT_EQ(wire(), protocol::SetParameterMessage(AddressOf(c.parameter), c.sent));
        // The pedal keeps the dials it counts in steps as a step number.
        if (protocol::kParameterInfo[c.parameter].fullScale == protocol::kDialFullScale) {
            EXPECT_EQ(pedal().state().parameters[c.parameter], c.sent);
        }
    }
}

TEST_F(CliCommands, BadArgumentsGiveOneLineAndSendNothing) {
    const struct {
        QStringList arguments;
        int status;
    } cases[] = {
        {{"set", "Volume", "45"}, exitstatus::kUsage},
        {{"get", "Volume"}, exitstatus::kUsage},
        {{"set", "Dry", "-90"}, exitstatus::kUsage},  // the dead zone
        {{"set", "Dry", "181"}, exitstatus::kUsage},
        {{"set", "Dry", "raw:0x00800000"}, exitstatus::kUsage},
        {{"set", "Dry", "raw:0x123456789"}, exitstatus::kUsage},
        {{"set", "Wave", "raw:0x00000001"}, exitstatus::kUsage},
        {{"set", "Split", "maybe"}, exitstatus::kUsage},
        {{"set", "1st Harmonic Pitch", "+13"}, exitstatus::kUsage},
        {{"set", "1st Harmonic Pitch", "raw:0x00210000"}, exitstatus::kUsage},
        {{"set", "Dry"}, exitstatus::kUsage},
        {{"midi", "17"}, exitstatus::kUsage},
        {{"midi", "x"}, exitstatus::kUsage},
        {{"range", "high"}, exitstatus::kUsage},
        {{"tuning", "9", "0"}, exitstatus::kUsage},
        {{"tuning", "1", "-6"}, exitstatus::kUsage},
        {{"tuning", "1", "4"}, exitstatus::kUsage},
        {{"footswitch", "bypass", "hold"}, exitstatus::kUsage},
        {{"erase-settings"}, exitstatus::kUsage},
        {{"preset", "copy", "a.txt"}, exitstatus::kUsage},
        {{"frobnicate"}, exitstatus::kUsage},
        {{}, exitstatus::kUsage},
        {{"status", "--bogus"}, exitstatus::kUsage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const auto result = Run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.errLines().size(), 1) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(wire(), "");
    }
}

TEST_F(CliCommands, SettingsCommandsSendTheirMessages) {
    const struct {
        QStringList arguments;
        std::string message;
    } cases[] = {
        {{"midi", "3"}, protocol::MidiChannelMessage(3)},
        {{"midi", "omni"}, protocol::MidiChannelMessage(0)},
        {{"midi", "16"}, protocol::MidiChannelMessage(16)},
        {{"range", "low"}, "0FBA0203040506B3"},
        {{"range", "standard"}, "0FFF0102030405F1"},
        {{"erase-settings", "--yes"}, "0B50000000"},
        {{"tuning", "2", "-3"}, "0902FD"},
        {{"tuning", "8", "+3"}, "090803"},
        {{"footswitch", "preset", "bypass"}, "080101"},
        {{"footswitch", "bypass", "preset"}, "080000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        pedal().clearWireLog();
        EXPECT_EQ(Run(c.arguments).status, exitstatus::kDone);
        EXPECT_EQ(wire(), c.message);
    }
    EXPECT_EQ(pedal().state().midiChannel, 0);
    EXPECT_EQ(pedal().state().instrumentRange, protocol::kInstrumentRangeStandard);
}

TEST_F(CliCommands, SaveStoresThePedalsAssignableValues) {
    pedal().state().parameters[protocol::param::kInputLevel] = 0x123456;
    EXPECT_EQ(Run({"save"}).status, exitstatus::kDone);
    std::array<std::uint32_t, 9> values{};
    std::copy_n(pedal().state().parameters.begin() + 10, 9, values.begin());
    EXPECT_EQ(values[0], 0x123456u);
    EXPECT_EQ(wire(), "0200" + protocol::StoreParametersMessage(values));
}

TEST_F(CliCommands, PresetSaveWritesTheFileAndLoadSendsItBack) {
    QTemporaryDir folder;
    const QString path = folder.filePath("sound.txt");
    pedal().state().parameters[protocol::param::kDry] = 0x123456;
    pedal().state().parameters[protocol::param::kNoiseGateStatus] = 1;
    const auto saved = pedal().state().parameters;
    ASSERT_EQ(Run({"preset", "save", path}).status, exitstatus::kDone);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), protocol::PresetFileBytes(saved));

    ASSERT_EQ(Run({"set", "Dry", "0"}).status, exitstatus::kDone);
    ASSERT_EQ(Run({"set", "Noise Gate Status", "off"}).status, exitstatus::kDone);
    pedal().clearWireLog();
    ASSERT_EQ(Run({"preset", "load", path}).status, exitstatus::kDone);
    EXPECT_EQ(pedal().state().parameters[protocol::param::kDry], 0x123456u);
    EXPECT_EQ(pedal().state().parameters[protocol::param::kNoiseGateStatus], 1u);
    EXPECT_TRUE(wire().starts_with(
        protocol::SetParameterMessage(AddressOf(protocol::param::kDry), 0x123456)));
}

TEST_F(CliCommands, BadPresetFilesAreRefusedBeforeAnythingIsSent) {
    QTemporaryDir folder;
    const QString malformed = folder.filePath("bad.txt");
    QFile file(malformed);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("00400000\r0040ZZ00\r");
    file.close();
    for (const QString& path : {malformed, folder.filePath("missing.txt")}) {
        const auto result = Run({"preset", "load", path});
        EXPECT_EQ(result.status, exitstatus::kBadInputFile);
        EXPECT_EQ(result.errLines().size(), 1);
        EXPECT_EQ(wire(), "");
    }
    const auto unwritable = Run({"preset", "save", folder.filePath("no/such/folder/p.txt")});
    EXPECT_EQ(unwritable.status, exitstatus::kBadInputFile);
    EXPECT_EQ(unwritable.errLines().size(), 1);
}

TEST_F(CliCommands, EachCommandHasItsHelp) {
    for (const char* command :
         {"list", "status", "get", "set", "save", "preset", "midi", "range", "erase-settings",
          "upload", "tuning-data", "eeprom", "tuning", "footswitch"}) {
        SCOPED_TRACE(command);
        const auto result = Run({command, "--help"});
        EXPECT_EQ(result.status, exitstatus::kDone);
        EXPECT_TRUE(result.out.contains("Usage:"));
    }
    EXPECT_EQ(Run({"--help"}).status, exitstatus::kDone);
    EXPECT_EQ(wire(), "");
}

TEST_F(CliCommands, APedalThatDoesNotAnswerGivesStatusThree) {
    pedal().injectFault(sim::Fault::Silence);
    const auto result = Run({"status"});
    EXPECT_EQ(result.status, exitstatus::kNoAnswer);
    EXPECT_EQ(result.errLines().size(), 1);
    EXPECT_TRUE(result.out.isEmpty());
}

TEST_F(CliCommands, APedalUnpluggedOnTheWayGivesStatusTwo) {
    for (const QStringList& arguments : {QStringList{"status"}, {"save"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        pedal().injectFault(sim::Fault::UnplugAfterBytes, 1);
        const auto result = Run(arguments);
        EXPECT_EQ(result.status, exitstatus::kNoDevice);
        EXPECT_EQ(result.errLines().size(), 1);
        EXPECT_TRUE(result.out.isEmpty());
        pedal().replug();
    }
}

TEST_F(CliCommands, StatusNamesTheAssignedParameters) {
    pedal().state().assignmentFlags[1] = 1;
    pedal().state().assignmentFields[1] = AddressOf(protocol::param::kWaveClip);
    pedal().state().assignmentFields[4] = protocol::kRemoteBypass;
    const auto result = Run({"status"});
    EXPECT_TRUE(result.out.contains("  Control II:   Wave Clip (flag 1)\n"));
    EXPECT_TRUE(result.out.contains("  Remote:       bypass (flag 0)\n"));
}

class CliWithoutPedal : public CliFixture {
  protected:
    CliWithoutPedal() : CliFixture(0) {}
};

TEST_F(CliWithoutPedal, EveryPedalCommandSaysNoDevice) {
    for (const QStringList& arguments :
         {QStringList{"status"}, {"get", "Dry"}, {"set", "Dry", "45"}, {"list"}, {"save"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const auto result = Run(arguments);
        EXPECT_EQ(result.status, exitstatus::kNoDevice);
        EXPECT_EQ(result.errLines(), QStringList{"varkunda-cli: No device found"});
    }
}

class CliWithTwoPedals : public CliFixture {
  protected:
    CliWithTwoPedals() : CliFixture(2) {}
};

TEST_F(CliWithTwoPedals, ListShowsBothAndSerialPicksOne) {
    const auto list = Run({"list", "--json"});
    EXPECT_EQ(list.status, exitstatus::kDone);
    const QJsonArray devices = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(devices.size(), 2);
    EXPECT_EQ(devices[1].toObject()["serial"].toString(), "VKTZ5002");
    EXPECT_EQ(Run({"list"}).out, "0\tVKTZ5001\tVarkunda TZ5\n1\tVKTZ5002\tVarkunda TZ5\n");

    const auto ambiguous = Run({"midi", "5"});
    EXPECT_EQ(ambiguous.status, exitstatus::kUsage);
    EXPECT_EQ(ambiguous.errLines().size(), 1);
    EXPECT_EQ(Run({"--serial", "VKTZ5009", "midi", "5"}).status, exitstatus::kNoDevice);
    EXPECT_EQ(wire(0) + wire(1), "");

    EXPECT_EQ(Run({"--serial", "VKTZ5002", "midi", "5"}).status, exitstatus::kDone);
    EXPECT_EQ(wire(0), "");
    EXPECT_EQ(wire(1), "0705");
}

}  // namespace
