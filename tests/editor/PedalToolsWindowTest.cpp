// Settings > Upload Tuning Data and Firmware Upgrade > Erase Settings against the
// software pedal.
#include <QDirIterator>

#include "PedalFixture.h"
#include "effects/PresetFiles.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/PresetFile.h"
#include "protocol/Tunings.h"

namespace pedal_test {
namespace {

using Answer = Dialogs::Answer;
using varkunda::sim::Fault;
using namespace std::chrono_literals;

const QString kWarning =
    "Are you sure you want to delete all settings?\r\n"
    "This action will delete the Varkunda TZ5 algorithm and any other settings like presets and "
    "assignments\r\n"
    "Erase settings is suggested in the following cases:\r\n"
    "- the pedal is unresponsive/freezed after updates\r\n"
    "- you want to switch to the R-Ivo Z Polyfex\r\n"
    "If you proceed with erasing you can always restore algorithm by:\r\n"
    "- uploading the Varkunda TZ5 algorithm once again from \"Upload Selected\" button\r\n"
    "- click Request\r\n"
    "- set tuning and assignments as desired\r\n"
    "- click Save Parameters, Set Tuning, Assign";

class PedalTools : public ::testing::Test {
  protected:
    PedalTools() {
        editor.link();
        editor.clearWire();
        dialogs().clear();
        editor.editor.linkEnvironment.onSleep = [this](std::chrono::milliseconds pause) {
            pauses.push_back(pause);
        };
        editor.markConsole();
    }

    ScriptedDialogs& dialogs() { return editor.editor.dialogs; }
    std::vector<Bytes> writes() {
        std::vector<Bytes> received;
        for (const auto& record : editor.pedal().wireLog()) received.push_back(record.bytes);
        return received;
    }
    QStringList presetFiles() {
        return QDir(presets::FolderPath(editor.editor.folders)).entryList(QDir::Files);
    }

    PedalEditor editor;
    std::vector<std::chrono::milliseconds> pauses;
};

TEST_F(PedalTools, TuningDataGoesInOneMessageAfterTheBypass) {
    editor.main().menuUploadTuningsDataClick();

    const std::string table = varkunda::protocol::TuningDataText();
    const QStringList console = editor.consoleSinceMark();
    ASSERT_EQ(console.size(), 2);
    EXPECT_EQ(console[0], "tuning data: " + QString::fromStdString(table));
    EXPECT_EQ(console[1], "num_of_bytes: 641");
    EXPECT_EQ(dialogs().questions, QStringList{"Upload Tuning Data?"});
    const auto received = writes();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], (Bytes{0x0D, 0x01}));
    ASSERT_EQ(received[1].size(), 641u);
    EXPECT_EQ(received[1], varkunda::protocol::HexTextToBytes("0E" + table).value());
    EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{400ms, 100ms}));
    EXPECT_EQ(editor.pedal().tuningData(), varkunda::protocol::TuningDataBytes());
}

TEST_F(PedalTools, DecliningTheTuningDataSendsNothingButLogsIt) {
    dialogs().answer({Answer::No});
    editor.main().menuUploadTuningsDataClick();
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(pauses.empty());
    const QStringList console = editor.consoleSinceMark();
    ASSERT_EQ(console.size(), 1);
    EXPECT_TRUE(console[0].startsWith("tuning data: 007FF5EC"));
}

TEST_F(PedalTools, EraseShowsTheWarningWithItsCheckBoxTicked) {
    dialogs().answer({Answer::No});
    editor.main().menuEraseSettingsClick();
    EXPECT_EQ(dialogs().questions, QStringList{kWarning});
    ASSERT_EQ(dialogs().checkBoxes.size(), 1);
    EXPECT_EQ(dialogs().checkBoxes[0].text, "Save the current parameters as a preset first");
    EXPECT_TRUE(dialogs().checkBoxes[0].offeredChecked);
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(presetFiles().isEmpty());
    EXPECT_TRUE(dialogs().messages.isEmpty());
}

TEST_F(PedalTools, EraseUntickedSendsTheEraseMessageOnly) {
    dialogs().checkBoxStates = {false};
    editor.main().menuEraseSettingsClick();

    EXPECT_EQ(writes(), std::vector<Bytes>{(Bytes{0x0B, 0x50, 0x00, 0x00, 0x00})});
    EXPECT_EQ(editor.consoleSinceMark(), QStringList{"erase message: 0B50000000"});
    EXPECT_EQ(pauses, std::vector<std::chrono::milliseconds>{100ms});
    EXPECT_TRUE(presetFiles().isEmpty());
    EXPECT_TRUE(dialogs().messages.isEmpty());
    EXPECT_EQ(editor.pedal().eeprom(0x50), Bytes(varkunda::protocol::kEepromSize, 0xFF));
}

TEST_F(PedalTools, EraseTickedSavesTheCurrentParametersFirst) {
    editor.pedal().state().parameters[15] = 0x00123400;
    editor.main().menuEraseSettingsClick();

    const auto records = editor.pedal().wireLog();
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records.front().bytes, (Bytes{0x02, 0x00}));
    EXPECT_EQ(records.back().bytes, (Bytes{0x0B, 0x50, 0x00, 0x00, 0x00}));
    EXPECT_EQ(records.size(), 2u) << "the request's load sends nothing back";

    const QStringList files = presetFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression(R"(^Before erase \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.txt$)")
                    .match(files[0])
                    .hasMatch())
        << files[0].toStdString();
    const QString path = QDir(presets::FolderPath(editor.editor.folders)).filePath(files[0]);
    const auto values = varkunda::protocol::ParsePresetFile(
        EditorHarness::readFile(path).value_or(QByteArray()).toStdString());
    ASSERT_TRUE(values.ok()) << values.error;
    ASSERT_EQ(values.values.size(), 19u);
    EXPECT_EQ(values.values[15].value, 0x00123400u);
    EXPECT_EQ(dialogs().messages,
              QStringList{"File saved successfully: " + QDir::toNativeSeparators(path)});
    EXPECT_EQ(dialogs().questions.size(), 1);
}

TEST_F(PedalTools, EraseTickedErasesNothingWhenThePresetCannotBeMade) {
    editor.pedal().injectFault(Fault::Silence);
    editor.main().menuEraseSettingsClick();
    EXPECT_EQ(writes(), std::vector<Bytes>{(Bytes{0x02, 0x00})});
    EXPECT_EQ(dialogs().messages.last(),
              "The settings were not erased: the pedal's current parameters could not be read.");

    editor.pedal().injectFault(Fault::None);
    editor.clearWire();
    dialogs().clear();
    QDir(presets::FolderPath(editor.editor.folders)).removeRecursively();
    EditorHarness::writeFile(presets::FolderPath(editor.editor.folders), "a file in the way");
    editor.main().menuEraseSettingsClick();
    EXPECT_EQ(writes(), std::vector<Bytes>{(Bytes{0x02, 0x00})});
    ASSERT_EQ(dialogs().messages.size(), 2);
    EXPECT_TRUE(dialogs().messages[0].startsWith("Error creating folder: "));
    EXPECT_EQ(dialogs().messages[1], "The settings were not erased.");
}

}  // namespace
}  // namespace pedal_test
