#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "CliFixture.h"
#include "protocol/AlgorithmFile.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/Tunings.h"
#include "tools/TestImages.h"

namespace {

using namespace varkunda;
namespace exitstatus = cli::exitstatus;

class CliUploads : public CliFixture {
  protected:
    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray ImageBytes() {
        const auto bytes = protocol::HexTextToBytes(images::AlgorithmTestImageHex()).value();
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    }

    QTemporaryDir folder;
};

TEST_F(CliUploads, UploadSendsBypassThenTheBuiltInImageOrTheFile) {
    const auto builtin = Run({"upload"});
    EXPECT_EQ(builtin.status, exitstatus::kDone) << builtin.err.toStdString();
    EXPECT_EQ(wire(), "0D01" + images::AlgorithmTestImageHex());
    EXPECT_FALSE(builtin.out.trimmed().isEmpty());

    pedal().clearWireLog();
    const auto fromFile = Run({"upload", WriteFile("effect.dat", ImageBytes())});
    EXPECT_EQ(fromFile.status, exitstatus::kDone) << fromFile.err.toStdString();
    EXPECT_EQ(wire(), "0D01" + images::AlgorithmTestImageHex());
}

TEST_F(CliUploads, BadEffectFilesAreRefusedBeforeAnythingIsSent) {
    QByteArray oversized(static_cast<qsizetype>(protocol::kAlgorithmMessageLimit) + 1, '\0');
    QByteArray wrongLength = ImageBytes();
    wrongLength.chop(1);
    QByteArray notAnUpload = ImageBytes();
    notAnUpload[0] = 0x05;
    const QStringList paths = {WriteFile("big.dat", oversized), WriteFile("empty.dat", {}),
                               WriteFile("short.dat", wrongLength),
                               WriteFile("other.dat", notAnUpload), folder.filePath("none.dat")};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const auto result = Run({"upload", path});
        EXPECT_EQ(result.status, exitstatus::kBadInputFile);
        EXPECT_EQ(result.errLines().size(), 1);
        EXPECT_EQ(wire(), "");
    }
}

TEST_F(CliUploads, UploadWithoutAnAnswerGivesStatusThree) {
    pedal().injectFault(sim::Fault::Silence);
    const auto result = Run({"upload"});
    EXPECT_EQ(result.status, exitstatus::kNoAnswer);
    EXPECT_EQ(result.errLines().size(), 1);
}

TEST_F(CliUploads, TuningDataIsSentOrOnlyPrinted) {
    const auto printed = Run({"tuning-data", "--print"});
    EXPECT_EQ(printed.status, exitstatus::kDone);
    EXPECT_EQ(printed.out.toStdString(), protocol::TuningDataText() + "\n");
    EXPECT_EQ(printed.out.trimmed().size(), 1280);
    EXPECT_EQ(wire(), "");

    EXPECT_EQ(Run({"tuning-data"}).status, exitstatus::kDone);
    EXPECT_EQ(wire(), "0D01" + protocol::TuningDataMessage(protocol::TuningDataText()));
}

TEST_F(CliUploads, EepromDumpWritesTheWholeChipAndEraseNeedsYes) {
    const QString path = folder.filePath("e2p.bin");
    const auto dump = Run({"eeprom", "dump", "51", path});
    EXPECT_EQ(dump.status, exitstatus::kDone) << dump.err.toStdString();
    EXPECT_EQ(wire(), "0C5100000000");
    EXPECT_EQ(QFileInfo(path).size(), static_cast<qint64>(protocol::kEepromSize));

    pedal().clearWireLog();
    for (const QStringList& refused : {QStringList{"eeprom", "erase", "50"},
                                       {"eeprom", "erase", "52", "--yes"},
                                       {"eeprom", "dump", "50"},
                                       {"eeprom", "copy", "50"}}) {
        SCOPED_TRACE(refused.join(' ').toStdString());
        const auto result = Run(refused);
        EXPECT_EQ(result.status, exitstatus::kUsage);
        EXPECT_EQ(result.errLines().size(), 1);
    }
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(Run({"eeprom", "erase", "51", "--yes"}).status, exitstatus::kDone);
    EXPECT_EQ(wire(), "0B51000000");
}

TEST_F(CliUploads, ADumpCutShortWritesNoFile) {
    pedal().injectFault(sim::Fault::ShortDump, 100);
    const QString path = folder.filePath("e2p.bin");
    const auto result = Run({"eeprom", "dump", "50", path});
    EXPECT_EQ(result.status, exitstatus::kNoAnswer);
    EXPECT_EQ(result.errLines().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(path));
}

}  // namespace
