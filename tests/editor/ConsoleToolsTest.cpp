// The debug console's EEPROM tools and its log file, against the software pedal.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>

#include "PedalFixture.h"
#include "protocol/HexText.h"
#include "protocol/Tunings.h"

namespace pedal_test {
namespace {

using varkunda::sim::Fault;
using namespace std::chrono_literals;

class ConsoleTools : public ::testing::Test {
  protected:
    ConsoleTools() {
        editor.link();
        editor.clearWire();
        dialogs().clear();
        editor.markConsole();
    }

    ScriptedDialogs& dialogs() { return editor.editor.dialogs; }
    TformPrint& console() { return editor.editor.console(); }
    varkunda::link::FakeLinkEnvironment& clock() { return editor.editor.linkEnvironment; }
    void choose(const QString& address) { console().cmbI2Caddr->setCurrentText(address); }
    // Puts the tuning table on the data chip, so that it holds more than erased bytes.
    void fillDataChip() {
        Bytes message{0x0E};
        const Bytes table = varkunda::protocol::TuningDataBytes();
        message.insert(message.end(), table.begin(), table.end());
        editor.pedal().hostWrite(message.data(), message.size());
        ASSERT_EQ(editor.pedal().eeprom(0x51)[0], 0x00);
        ASSERT_EQ(editor.pedal().eeprom(0x51)[1], 0x7F);
        editor.clearWire();
    }
    QStringList dumpLines() {
        const QStringList lines = editor.consoleSinceMark();
        const qsizetype start = lines.indexOf(QRegularExpression("^num of bytes read: .*"));
        return start < 0 ? QStringList() : lines.mid(start + 1);
    }

    PedalEditor editor;
};

TEST_F(ConsoleTools, ReadE2PLogsTheWholeDumpOfTheChosenChip) {
    choose("51");
    fillDataChip();
    bool toolsOffDuringWait = true, timerOffDuringWait = true;
    int waitSteps = 0;
    clock().onProcessEvents = [&] {
        ++waitSteps;
        toolsOffDuringWait &= !console().btnReadEEPROM->isEnabled();
        timerOffDuringWait &= !editor.main().Timer_USB_Read->isActive();
    };
    const auto start = clock().now();

    console().btnReadEEPROM->click();

    EXPECT_EQ(editor.wire(), (Bytes{0x0C, 0x51, 0, 0, 0, 0}));
    const QStringList all = editor.consoleSinceMark();
    ASSERT_GE(all.size(), 2);
    EXPECT_EQ(all[0], "0C5100000000");
    EXPECT_EQ(all[1], "num of bytes read: 16385");
    const QStringList lines = dumpLines();
    const Bytes chip = editor.pedal().eeprom(0x51);
    ASSERT_EQ(lines.size(), 16384);
    EXPECT_EQ(lines[1], "1: 7F");
    for (int i : {0, 639, 640, 16383})
        EXPECT_EQ(lines[i], QString::number(i) + ": " +
                                QString::fromStdString(varkunda::protocol::HexByte(chip[i])));
    EXPECT_GT(waitSteps, 0);
    EXPECT_TRUE(toolsOffDuringWait);
    EXPECT_TRUE(timerOffDuringWait);
    EXPECT_TRUE(editor.main().Timer_USB_Read->isActive());
    EXPECT_TRUE(console().btnReadEEPROM->isEnabled());
    EXPECT_LT(clock().now() - start, 100ms) << "no blind wait";
    EXPECT_TRUE(dialogs().messages.isEmpty());
}

TEST_F(ConsoleTools, AShortDumpEndsAfterTheTimeLimitSayingHowFarItCame) {
    editor.pedal().injectFault(Fault::ShortDump, 1 + 5000);
    const auto start = clock().now();
    console().btnReadEEPROM->click();

    const QStringList lines = dumpLines();
    ASSERT_EQ(lines.size(), 5001);
    EXPECT_EQ(lines[4999].left(6), "4999: ");
    EXPECT_EQ(lines.last(), "EEPROM dump incomplete: 5000 of 16384 bytes received");
    EXPECT_GE(clock().now() - start, 4000ms);
    EXPECT_LT(clock().now() - start, 4100ms);
    EXPECT_EQ(editor.consoleSinceMark()[1], "num of bytes read: 5001");
}

TEST_F(ConsoleTools, EraseE2PErasesTheChosenChip) {
    fillDataChip();
    choose("51");
    console().btnEraseEeprom->click();
    EXPECT_EQ(editor.wire(), (Bytes{0x0B, 0x51, 0, 0, 0}));
    EXPECT_EQ(editor.consoleSinceMark(), QStringList{"erase message: 0B51000000"});
    EXPECT_EQ(editor.pedal().eeprom(0x51), Bytes(16384, 0xFF));
}

TEST_F(ConsoleTools, WithoutALinkedPedalOneMessageAndNoWait) {
    editor.main().menuDisconnect->trigger();
    editor.clearWire();
    editor.markConsole();
    const auto start = clock().now();
    // The tools are off without a pedal; their handlers still refuse on their own.
    EXPECT_FALSE(console().btnReadEEPROM->isEnabled());
    EXPECT_FALSE(console().btnEraseEeprom->isEnabled());
    console().btnReadEEPROMClick();
    console().btnEraseEepromClick();

    EXPECT_EQ(dialogs().messages,
              (QStringList{"Reading the EEPROM needs a linked pedal: link it first "
                           "(Connection > Link).",
                           "Erasing the EEPROM needs a linked pedal: link it first "
                           "(Connection > Link)."}));
    EXPECT_TRUE(editor.wire().empty());
    EXPECT_EQ(clock().now(), start);
    EXPECT_TRUE(editor.consoleSinceMark().isEmpty());
}

class ConsoleLogFile : public ::testing::Test {
  protected:
    void SetUp() override { editor.start(); }
    QString path(const QString& name) { return QDir(editor.folders.documents()).filePath(name); }
    void saveLogAs(const QString& name) {
        editor.dialogs.saveFileNames = {name};
        std::unique_ptr<QMenu> menu(editor.console().CreateLogContextMenu());
        QAction* save = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == "Save Log As...") save = action;
        ASSERT_NE(save, nullptr);
        save->trigger();
    }
    static QByteArray Unix(QByteArray bytes) { return bytes.replace("\r\n", "\n"); }

    EditorHarness editor;
};

TEST_F(ConsoleLogFile, SaveLogAsWritesTheWholeLogAsUtf8) {
    editor.context().ConsolePrint("first line");
    editor.context().ConsolePrint(QString::fromUtf8("Grüße \u2713"));
    editor.context().ConsoleAppendDirect("");
    editor.context().ConsolePrint("last");
    saveLogAs(path("log.txt"));

    EXPECT_EQ(
        Unix(EditorHarness::readFile(path("log.txt")).value_or("missing")),
        QByteArray("first line\n") + QString::fromUtf8("Grüße \u2713").toUtf8() + "\n\nlast\n");
    ASSERT_EQ(editor.dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(editor.dialogs.fileDialogs[0].caption, "Save Log As");
    EXPECT_EQ(editor.dialogs.messages,
              QStringList{"File saved successfully: " + QDir::toNativeSeparators(path("log.txt"))});
}

TEST_F(ConsoleLogFile, AFailedOrCancelledSaveLeavesTheOldFile) {
    const QString name = path(QString(250, 'l') + ".txt");
    EditorHarness::writeFile(name, "old log\n");
    editor.context().ConsolePrint("new line");
    saveLogAs(name);
    EXPECT_EQ(EditorHarness::readFile(name), QByteArray("old log\n"));
    ASSERT_EQ(editor.dialogs.messages.size(), 1);
    EXPECT_TRUE(editor.dialogs.messages[0].startsWith("Error saving file: "));

    editor.dialogs.clear();
    saveLogAs(QString());
    EXPECT_TRUE(editor.dialogs.messages.isEmpty());
    EXPECT_EQ(QDir(editor.folders.documents()).entryList(QDir::Files).size(), 1);
}

}  // namespace
}  // namespace pedal_test
