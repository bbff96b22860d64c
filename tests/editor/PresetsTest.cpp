// File > Save Preset and Load Preset against the software pedal.
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>

#include "PedalFixture.h"
#include "effects/ArcDial.h"
#include "effects/PresetFiles.h"
#include "effects/ToggleSwitch.h"
#include "protocol/HexText.h"
#include "protocol/PresetFile.h"

namespace pedal_test {
namespace {

namespace param = varkunda::protocol::param;
using Values = std::array<std::uint32_t, 19>;
using varkunda::sim::Fault;

class Presets : public ::testing::Test {
  protected:
    Presets() {
        editor.link();
        editor.clearWire();
        dialogs().clear();
    }

    ScriptedDialogs& dialogs() { return editor.editor.dialogs; }
    TformFXsettings& effects() { return editor.effects(); }
    QString folder() { return presets::FolderPath(editor.editor.folders); }
    QString path(const QString& name) { return QDir(folder()).filePath(name); }
    Values pedalValues() { return editor.pedal().state().parameters; }
    Values windowValues() { return effects().Parameters().values(); }

    void save(const QString& name) {
        dialogs().saveFileNames = {name};
        editor.main().menuSavePresetClick();
    }
    void load(const QString& file, const QByteArray& bytes) {
        EditorHarness::writeFile(path(file), bytes);
        dialogs().openFileNames = {path(file)};
        editor.main().menuLoadPresetClick();
    }
    // Moves controls of every kind away from the factory values; the pedal follows.
    void changeSound() {
        effects().dialDry->setAngle(120);
        effects().dialLowPass->setAngle(-90);
        effects().swtWave->setOn(!effects().swtWave->isOn());
        effects().swtNoiseGateStatus->setOn(!effects().swtNoiseGateStatus->isOn());
        effects().cmbVariableWavePitch->setCurrentIndex(3);
        effects().dialNoiseGateThreshold->setAngle(100);
        effects().Timer1Timer();
        editor.clearWire();
    }

    PedalEditor editor;
};

TEST_F(Presets, SaveWritesWhatThePedalHoldsAfterAskingForIt) {
    editor.pedal().state().parameters[param::kDryHpf] = 0x00123400;
    save(path("song"));

    EXPECT_EQ(editor.statusRequests(), 1);
    const Values expected = pedalValues();
    EXPECT_EQ(expected[param::kDryHpf], 0x00123400u);
    const auto bytes = EditorHarness::readFile(path("song.txt"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->toStdString(), varkunda::protocol::PresetFileBytes(expected));
    EXPECT_EQ(bytes->size(), 173);
    ASSERT_EQ(dialogs().fileDialogs.size(), 1);
    EXPECT_EQ(dialogs().fileDialogs[0].caption, "Save Preset File");
    EXPECT_EQ(dialogs().fileDialogs[0].folder, folder());
    EXPECT_EQ(dialogs().fileDialogs[0].filter, "Preset files (*.txt)");
    EXPECT_EQ(dialogs().messages.last(),
              "File saved successfully: " + QDir::toNativeSeparators(path("song.txt")));
}

TEST_F(Presets, TheTxtRuleComparesWithCase) {
    for (const auto& [typed, written] : {std::pair{"a.txt", "a.txt"},
                                         {"b", "b.txt"},
                                         {"c.TXT", "c.TXT.txt"},
                                         {"d.text", "d.text.txt"}}) {
        save(path(typed));
        EXPECT_TRUE(QFileInfo::exists(path(written))) << typed;
    }
    EXPECT_FALSE(QFileInfo::exists(path("c.TXT")));
}

TEST_F(Presets, SaveAndLoadBringTheSoundBackThroughTheWindow) {
    save(path("song.txt"));
    const Values saved = pedalValues();
    changeSound();
    ASSERT_NE(pedalValues(), saved);

    editor.markConsole();
    dialogs().openFileNames = {path("song.txt")};
    editor.main().menuLoadPresetClick();

    EXPECT_EQ(pedalValues(), saved);
    // One message per control moved back, each sent at once: nothing waits on the timer.
    EXPECT_FALSE(effects().Timer1->isActive());
    const auto& records = editor.pedal().wireLog();
    EXPECT_EQ(records.size(), 6u);
    for (const auto& record : records) EXPECT_EQ(record.bytes.size(), 7u);
    const QStringList console = editor.consoleSinceMark();
    ASSERT_GE(console.size(), 17);
    EXPECT_EQ(console[0],
              "Dry: " + QString::fromStdString(varkunda::protocol::HexWord32(saved[0])));
    EXPECT_EQ(console[16], "Limit Range UP: " +
                               QString::fromStdString(varkunda::protocol::HexWord32(saved[16])));
    EXPECT_EQ(dialogs().messages.last(),
              "File loaded successfully: " + QDir::toNativeSeparators(path("song.txt")));

    // Loading what the window already shows sends nothing.
    editor.clearWire();
    dialogs().openFileNames = {path("song.txt")};
    editor.main().menuLoadPresetClick();
    EXPECT_TRUE(editor.wire().empty());
}

TEST_F(Presets, EditedFilesLoadTheSameAsTheSavedOne) {
    save(path("song.txt"));
    const QByteArray original = *EditorHarness::readFile(path("song.txt"));
    const QByteArray digits = original.mid(3);
    QByteArray crlf = digits;
    crlf.replace('\r', "\r\n");
    QByteArray lf = digits;
    lf.replace('\r', '\n');

    changeSound();
    load("original.txt", original);
    const Values expectedPedal = pedalValues();
    const Values expectedWindow = windowValues();
    for (const auto& [name, bytes] : {std::pair{"crlf.txt", "\xEF\xBB\xBF" + crlf},
                                      {"lf.txt", lf + "\n"},
                                      {"no-mark.txt", digits},
                                      {"lower.txt", digits.toLower()}}) {
        changeSound();
        load(name, bytes);
        EXPECT_EQ(pedalValues(), expectedPedal) << name;
        EXPECT_EQ(windowValues(), expectedWindow) << name;
        EXPECT_TRUE(dialogs().messages.last().startsWith("File loaded successfully: ")) << name;
    }
}

TEST_F(Presets, AnOlderPresetLeavesTheNoiseGateAsItWas) {
    save(path("now.txt"));  // the window now shows exactly what the pedal holds
    ASSERT_EQ(windowValues(), pedalValues());
    editor.clearWire();
    Values values = pedalValues();
    values[param::kSplit] = 1;
    const std::string all = varkunda::protocol::PresetFileBytes(values);
    const Values before = windowValues();
    load("old.txt", QByteArray::fromStdString(all.substr(0, 3 + 17 * 9 - 1)));

    EXPECT_EQ(editor.pedal().state().parameters[param::kSplit], 1u);
    EXPECT_EQ(windowValues()[param::kNoiseGateStatus], before[param::kNoiseGateStatus]);
    EXPECT_EQ(windowValues()[param::kNoiseGateThreshold], before[param::kNoiseGateThreshold]);
    EXPECT_EQ(editor.wire(), varkunda::protocol::HexTextToBytes("0100C900000001").value());
}

TEST_F(Presets, AFileThatIsNotAPresetChangesAndSendsNothing) {
    save(path("song.txt"));
    const QByteArray digits = EditorHarness::readFile(path("song.txt"))->mid(3);
    changeSound();
    const Values pedalBefore = pedalValues();
    const Values windowBefore = windowValues();
    const QList<QByteArray> lines = digits.split('\r');
    QByteArray shortLine = digits, longLine = digits, notHex = digits;
    shortLine.remove(9, 1);
    longLine.insert(9, '0');
    notHex.replace(18, 8, "0000XY12");
    const std::pair<QByteArray, QString> cases[] = {
        {shortLine, "line 2 holds"},
        {longLine, "line 2 holds"},
        {notHex, "line 3 holds \"0000XY12\""},
        {lines.mid(0, 16).join('\r'), "the file ends after line 16"},
        {digits + "\r00000000", "line 20 is one more"},
        {QByteArray(), "the file holds no values"},
        {QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "line 1 holds"},
    };
    for (const auto& [bytes, reason] : cases) {
        editor.markConsole();
        dialogs().clear();
        load("bad.txt", bytes);
        ASSERT_EQ(dialogs().messages.size(), 1) << reason.toStdString();
        EXPECT_TRUE(dialogs().messages[0].startsWith("Error loading file: " + reason))
            << dialogs().messages[0].toStdString();
        EXPECT_EQ(pedalValues(), pedalBefore);
        EXPECT_EQ(windowValues(), windowBefore);
        EXPECT_TRUE(editor.wire().empty());
        EXPECT_TRUE(editor.consoleSinceMark().isEmpty());
    }
}

TEST_F(Presets, AFileThatCannotBeReadIsReportedAndChangesNothing) {
    const Values before = windowValues();
    dialogs().openFileNames = {path("missing.txt")};
    editor.main().menuLoadPresetClick();
    ASSERT_EQ(dialogs().messages.size(), 1);
    EXPECT_TRUE(dialogs().messages[0].startsWith("Error loading file: "));
    EXPECT_EQ(windowValues(), before);
    EXPECT_TRUE(editor.wire().empty());
}

TEST_F(Presets, CancelledDialogsWriteAndSendNothing) {
    editor.main().menuSavePresetClick();
    editor.clearWire();
    editor.main().menuLoadPresetClick();
    EXPECT_TRUE(QDir(folder()).isEmpty());
    EXPECT_TRUE(editor.wire().empty());
    EXPECT_EQ(dialogs().messages, QStringList());
}

TEST_F(Presets, WithoutALinkedPedalOneMessageAndNothingElse) {
    editor.main().menuDisconnect->trigger();
    editor.clearWire();
    editor.main().menuSavePresetClick();
    editor.main().menuLoadPresetClick();
    EXPECT_EQ(
        dialogs().messages,
        (QStringList{"Saving a preset needs a linked pedal: link it first (Connection > Link).",
                     "Loading a preset needs a linked pedal: link it first (Connection > "
                     "Link)."}));
    EXPECT_TRUE(dialogs().fileDialogs.isEmpty());
    EXPECT_TRUE(editor.wire().empty());
}

TEST_F(Presets, TheFolderIsMadeWhenMissing) {
    QDir(folder()).removeRecursively();
    editor.main().menuLoadPresetClick();
    EXPECT_TRUE(QFileInfo(folder()).isDir());
}

TEST_F(Presets, AFailedStatusRequestSavesNothing) {
    const QByteArray old =
        "\xEF\xBB\xBF"
        "old preset";
    EditorHarness::writeFile(path("song.txt"), old);
    editor.pedal().injectFault(Fault::Silence);
    save(path("song.txt"));

    EXPECT_EQ(EditorHarness::readFile(path("song.txt")), old);
    EXPECT_TRUE(dialogs().fileDialogs.isEmpty());
    ASSERT_EQ(dialogs().messages.size(), 2);
    EXPECT_EQ(dialogs().messages[1],
              "No preset was saved: the pedal's current parameters could not be read.");
}

// A reply the window cannot show (an effect the editor does not know) is no source
// for the preset: the window's values are not the pedal's.
TEST_F(Presets, AReplyNotAppliedToTheWindowSavesNothing) {
    editor.pedal().overrideStatusNumbers({{3, 0x0A}});
    save(path("song.txt"));
    EXPECT_FALSE(QFileInfo::exists(path("song.txt")));
    EXPECT_TRUE(dialogs().fileDialogs.isEmpty());
    EXPECT_EQ(dialogs().messages.last(),
              "No preset was saved: the pedal's current parameters could not be read.");
}

// The file system refuses the new file's name when it replaces the old one.
TEST_F(Presets, ASaveThatCannotBeWrittenLeavesTheOldFileWhole) {
    const QString name = path(QString(250, 'a') + ".txt");
    EditorHarness::writeFile(name,
                             "\xEF\xBB\xBF"
                             "00000001\r");
    const QByteArray before = *EditorHarness::readFile(name);
    save(name);

    EXPECT_EQ(EditorHarness::readFile(name), before);
    ASSERT_FALSE(dialogs().messages.isEmpty());
    EXPECT_TRUE(dialogs().messages.last().startsWith("Error saving file: "))
        << dialogs().messages.last().toStdString();
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{QFileInfo(name).fileName()});
}

}  // namespace
}  // namespace pedal_test
