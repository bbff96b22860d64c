// "Upload Selected" and File > "Load Effect From File" against the software pedal.
#include <QTemporaryDir>

#include "ControlStates.h"
#include "PedalFixture.h"

namespace pedal_test {
namespace {

using Answer = Dialogs::Answer;
using varkunda::sim::Fault;
using namespace std::chrono_literals;

const QString kQuestion = "Upload the selected algorithm?";

class AlgorithmUploads : public ::testing::Test {
  protected:
    AlgorithmUploads() {
        editor.link();
        editor.clearWire();
        dialogs().clear();
        editor.editor.linkEnvironment.onSleep = [this](std::chrono::milliseconds pause) {
            pauses.push_back(pause);
            if (!during) during = EnabledControls(editor.main());
        };
        editor.markConsole();
        before = EnabledControls(editor.main());
    }

    ScriptedDialogs& dialogs() { return editor.editor.dialogs; }
    TformMain& main() { return editor.main(); }
    std::vector<Bytes> writes() {
        std::vector<Bytes> received;
        for (const auto& record : editor.pedal().wireLog()) received.push_back(record.bytes);
        return received;
    }
    QString datFile(const QString& name, const Bytes& bytes) {
        const QString path = folder.filePath(name);
        EditorHarness::writeFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<qsizetype>(bytes.size())));
        return path;
    }
    // An upload message of `size` bytes with its length field set to `lengthField`.
    static Bytes Message(std::size_t size, std::size_t lengthField) {
        Bytes bytes(size, 0x21);
        bytes[0] = 0x00;
        bytes[1] = static_cast<std::uint8_t>(lengthField >> 8);
        bytes[2] = static_cast<std::uint8_t>(lengthField & 0xFF);
        return bytes;
    }
    std::chrono::milliseconds clock() { return editor.editor.linkEnvironment.now(); }

    PedalEditor editor;
    QTemporaryDir folder;
    std::vector<std::chrono::milliseconds> pauses;
    ControlStates before;
    std::optional<ControlStates> during;  // as the first pause of an exchange found them
};

TEST_F(AlgorithmUploads, UploadSelectedSendsTheImageAndShowsOnlyThePedalsAnswer) {
    ASSERT_EQ(editor.context().SelectedEffectName, "Varkunda TZ5 0014");
    main().btnUploadClick();

    EXPECT_EQ(dialogs().questions, QStringList{kQuestion});
    const auto received = writes();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], (Bytes{0x0D, 0x01}));
    ASSERT_EQ(received[1].size(), 4352u);
    EXPECT_EQ(Bytes(received[1].begin(), received[1].begin() + 7),
              (Bytes{0x00, 0x11, 0x00, 0x00, 0x27, 0x00, 0x07}));
    EXPECT_EQ(received[2], (Bytes{0x02, 0x00})) << "the status is requested again";
    ASSERT_FALSE(pauses.empty());
    EXPECT_EQ(pauses.front(), 40ms);

    // The status reply before left digits in the receive buffer; none of them show.
    EXPECT_EQ(main().lblStatus->text(), "Upload OK");  // shown without its CR LF
    // The console shows the answer's line end as a line break.
    const QStringList console = editor.consoleSinceMark();
    for (const QString& line : {QString("resource name: Varkunda_TZ5_0014"), QString("size: 4352"),
                                QString("num of bytes: 4352"), QString("write to device"),
                                QString("received: Upload OK")})
        EXPECT_TRUE(console.contains(line)) << line.toStdString();
    EXPECT_TRUE(main().Timer_USB_Read->isActive());
    EXPECT_FALSE(main().UploadCheckTimer->isActive());
    EXPECT_TRUE(editor.context().device.ErrorReportsOn);
    EXPECT_EQ(EnabledControls(main()), before);
}

TEST_F(AlgorithmUploads, NoUploadCanStartWhileOneWaits) {
    main().btnUploadClick();
    ASSERT_TRUE(during.has_value());
    EXPECT_FALSE(during->at("Upload Selected"));
    EXPECT_FALSE(during->at("Load Effect From File"));
    EXPECT_FALSE(during->at("Request"));
    EXPECT_TRUE(before.at("Upload Selected"));
}

TEST_F(AlgorithmUploads, NoToTheQuestionSendsNothing) {
    dialogs().answer({Answer::No});
    main().btnUploadClick();
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(main().Timer_USB_Read->isActive());

    dialogs().answer({Answer::No});
    dialogs().openFileNames = {datFile("a.dat", Message(64, 64))};
    main().menuLoadAlgorithmFromFileClick();
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(dialogs().questions, (QStringList{kQuestion, kQuestion}));
}

TEST_F(AlgorithmUploads, ASilentPedalLeavesUploadFailedAndGivesTheControlsBack) {
    editor.pedal().injectFault(Fault::Silence);
    const auto start = clock();
    main().btnUploadClick();

    EXPECT_GE(clock() - start, 15s);
    EXPECT_LT(clock() - start, 16s);
    EXPECT_EQ(main().lblStatus->text(), "Upload Failed");
    EXPECT_EQ(editor.statusRequests(), 0);
    EXPECT_TRUE(main().Timer_USB_Read->isActive());
    EXPECT_FALSE(main().UploadCheckTimer->isActive());
    ASSERT_TRUE(during.has_value());
    EXPECT_FALSE(during->at("Upload Selected"));
    EXPECT_EQ(EnabledControls(main()), before);
    EXPECT_TRUE(
        editor.consoleSinceMark().contains("The pedal did not answer the upload within 15 s."));
}

TEST_F(AlgorithmUploads, TheCheckTimerSaysUploadFailed) {
    main().UploadCheckTimerTimer();
    EXPECT_EQ(main().lblStatus->text(), "Upload Failed");
}

TEST_F(AlgorithmUploads, ADatFileGoesAsItIsAndTheAnswerShows) {
    const Bytes message = Message(100, 100);
    const QString path = datFile("effect.dat", message);
    dialogs().openFileNames = {path};
    main().menuLoadAlgorithmFromFileClick();

    EXPECT_EQ(dialogs().questions, QStringList{kQuestion});
    EXPECT_EQ(writes(), (std::vector<Bytes>{{0x0D, 0x01}, message}));
    ASSERT_FALSE(pauses.empty());
    EXPECT_EQ(pauses.front(), 400ms);
    EXPECT_EQ(main().lblStatus->text(), "Upload OK");  // shown without its CR LF
    const QStringList console = editor.consoleSinceMark();
    for (const QString& line :
         {"Opening - " + path, QString("100 Bytes Sent ..."), QString("received: Upload OK"),
          QString("num of bytes received from device: 11"),
          QString("num of bytes received from device: 0")})
        EXPECT_TRUE(console.contains(line)) << line.toStdString();
    EXPECT_FALSE(main().UploadCheckTimer->isActive());
    EXPECT_TRUE(main().Timer_USB_Read->isActive());
    EXPECT_EQ(EnabledControls(main()), before);

    dialogs().openFileNames = {QString()};
    main().menuLoadAlgorithmFromFileClick();
    EXPECT_EQ(dialogs().fileDialogs.last().folder, folder.path()) << "starts where it was left";
}

TEST_F(AlgorithmUploads, ABadDatFileIsRefusedWithItsReasonAndNothingIsSent) {
    struct Case {
        const char* name;
        Bytes bytes;
        QString message;
    };
    Bytes notAnUpload = Message(64, 64);
    notAnUpload[0] = 0x02;
    const Case cases[] = {
        {"empty.dat", {}, "The effect file is empty. Nothing was sent."},
        {"large.dat", Message(65537, 0),
         "The effect file holds 65537 bytes, more than the 65536 the pedal takes in one "
         "upload. Nothing was sent."},
        {"status.dat", notAnUpload,
         "The effect file is not an algorithm upload: its first byte is not 00. Nothing was "
         "sent."},
        {"short.dat", Message(64, 4352),
         "The effect file holds 64 bytes, but its length field says 4352. Nothing was sent."},
    };
    for (const Case& c : cases) {
        dialogs().clear();
        dialogs().openFileNames = {datFile(c.name, c.bytes)};
        main().menuLoadAlgorithmFromFileClick();
        EXPECT_EQ(dialogs().messages, QStringList{c.message}) << c.name;
        EXPECT_TRUE(dialogs().questions.isEmpty()) << c.name;
        EXPECT_TRUE(writes().empty()) << c.name;
        EXPECT_TRUE(pauses.empty()) << c.name;
    }

    dialogs().clear();
    dialogs().openFileNames = {folder.filePath("missing.dat")};
    main().menuLoadAlgorithmFromFileClick();
    ASSERT_EQ(dialogs().messages.size(), 1);
    EXPECT_TRUE(dialogs().messages[0].startsWith("The effect file could not be read"));
    EXPECT_TRUE(writes().empty());
}

TEST_F(AlgorithmUploads, CancellingTheFileDialogSendsNothing) {
    main().menuLoadAlgorithmFromFileClick();
    EXPECT_TRUE(dialogs().questions.isEmpty());
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(pauses.empty());
}

}  // namespace
}  // namespace pedal_test
