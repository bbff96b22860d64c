// The main window's two algorithm uploads: the selected effect's built-in image and a
// .dat file, each answered by the pedal once it has installed the image.
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "app/BuiltinResources.h"
#include "app/EditorContext.h"
#include "app/PedalExchangeGuard.h"
#include "app/PedalSendReport.h"
#include "app/SendToPedal.h"
#include "app/TformMain.h"
#include "frontend/AlgorithmFileText.h"
#include "frontend/LinkErrorText.h"
#include "link/AlgorithmUpload.h"
#include "link/D2xxAccess.h"
#include "platform/Dialogs.h"
#include "protocol/AlgorithmFile.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"

namespace {

using namespace std::chrono_literals;

using varkunda::link::kBypassBeforeFilePause;
using varkunda::link::kBypassBeforeImagePause;
// The status line shows at most this many bytes of the pedal's answer.
constexpr std::size_t kAnswerTextBytes = 17;

const QString kUploadQuestion = QStringLiteral("Upload the selected algorithm?");
const QString kUploadFailed = QStringLiteral("Upload Failed");

// The start of this upload's answer, one character per byte.
QString AnswerText(const std::vector<std::uint8_t>& answer) {
    const std::size_t count = std::min(answer.size(), kAnswerTextBytes);
    return QString::fromLatin1(reinterpret_cast<const char*>(answer.data()),
                               static_cast<qsizetype>(count));
}

// The answer ends in CR LF; on the one-line status label it would lift the text out of
// sight.
QString WithoutLineEnd(QString text) {
    while (text.endsWith(u'\r') || text.endsWith(u'\n')) text.chop(1);
    return text;
}

// The file's bytes, one more than the pedal takes at most so that a larger file is seen
// as such; nullopt, with a message, when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadAlgorithmFile(EditorContext& context,
                                                           const QString& path) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(static_cast<qint64>(varkunda::protocol::kAlgorithmMessageLimit) + 1);
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        context.dialogs.showMessage(QStringLiteral("The effect file could not be read (%1). "
                                                   "Nothing was sent.")
                                        .arg(file.errorString()));
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

void TformMain::btnUploadClick() {
    Timer_USB_Read->stop();
    if (context_.dialogs.askYesNo(kUploadQuestion) == Dialogs::Answer::No) {
        Timer_USB_Read->start();
        return;
    }
    const bool answered = RunAlgorithmUpload(
        kBypassBeforeImagePause, [this] { return SelectedAlgorithmMessage(); }, false);
    if (answered) RequestDeviceStatus();
    if (context_.DeviceLinked) Timer_USB_Read->start();
}

std::optional<std::string> TformMain::SelectedAlgorithmMessage() {
    const QString name = ResourceNameOf(context_.SelectedEffectName);
    context_.ConsolePrint(QStringLiteral("resource name: ") + name);
    if (!LoadResourceLines(context_, name) || context_.AlgorithmImageText.isEmpty())
        return std::nullopt;
    const QString& image = context_.AlgorithmImageText.front();
    context_.ConsolePrint(QStringLiteral("size: ") + QString::number(image.size() / 2));
    context_.ConsolePrint(QStringLiteral("filecontent (first 128 bytes): ") + image.left(256));
    return image.toStdString();
}

// Each 5 s without an answer; the upload's own bounded wait has the last word.
void TformMain::UploadCheckTimerTimer() { lblStatus->setText(kUploadFailed); }

void TformMain::menuLoadAlgorithmFromFileClick() {
    const QString path =
        context_.dialogs.openFileName(QString(), OpenDialog1InitialDir, OpenDialog1Filter);
    if (path.isEmpty()) return;
    OpenDialog1InitialDir = QFileInfo(path).absolutePath();
    context_.ConsolePrint(QStringLiteral("Opening - ") + path);
    const auto bytes = ReadAlgorithmFile(context_, path);
    if (!bytes) return;
    const auto check = varkunda::protocol::CheckAlgorithmFile(*bytes);
    if (!check.ok()) {
        const QString refusal = AlgorithmFileRefusalText(check);
        context_.ConsolePrint(refusal);
        context_.dialogs.showMessage(refusal);
        return;
    }
    if (context_.dialogs.askYesNo(kUploadQuestion) == Dialogs::Answer::No) return;

    // The read timer would take the answer away from the upload's wait.
    const bool readTimerWasOn = Timer_USB_Read->isActive();
    Timer_USB_Read->stop();
    const std::string message = varkunda::protocol::BytesToHexText(*bytes);
    RunAlgorithmUpload(
        kBypassBeforeFilePause, [&] { return message; }, true);
    if (readTimerWasOn && context_.DeviceLinked) Timer_USB_Read->start();
}

bool TformMain::RunAlgorithmUpload(
    std::chrono::milliseconds bypassPause,
    const std::function<std::optional<std::string>()>& prepareMessage, bool logEachRead) {
    PedalExchangeGuard guard(context_);
    const auto bypass = SendToPedal(context_, varkunda::protocol::BypassMessage(true));
    if (!bypass.ok()) {
        lblStatus->setText(kUploadFailed);
        return false;
    }
    PauseForPedal(context_, bypassPause);
    context_.device.ErrorReportsOn = true;
    UploadCheckTimer->start();

    const auto message = prepareMessage();
    if (!message) {
        UploadCheckTimer->stop();
        lblStatus->setText(kUploadFailed);
        return false;
    }
    varkunda::link::AlgorithmUploadHooks hooks;
    hooks.sent = [&](const varkunda::link::SendResult& sent) {
        if (logEachRead) {
            context_.ConsolePrint(QString::number(sent.bytesWritten) +
                                  QStringLiteral(" Bytes Sent ..."));
            return;
        }
        context_.ConsolePrint(QStringLiteral("num of bytes: ") +
                              QString::number(sent.bytesExpected));
        context_.ConsolePrint(QStringLiteral("write to device"));
        lblStatus->setText(QStringLiteral("Uploading..."));
    };
    std::vector<std::uint8_t> answer;
    hooks.read = [&](std::span<const std::uint8_t> bytes) {
        answer.insert(answer.end(), bytes.begin(), bytes.end());
        const QString text = AnswerText(answer);
        context_.ConsolePrint(QStringLiteral("received: ") + text);
        lblStatus->setText(WithoutLineEnd(text));
        if (logEachRead)
            context_.ConsolePrint(QStringLiteral("num of bytes received from device: ") +
                                  QString::number(bytes.size()));
    };
    const auto result = varkunda::link::UploadAlgorithm(*context_.transport, *message, hooks);
    UploadCheckTimer->stop();
    if (result.ok()) {
        // The read that found the line quiet.
        if (logEachRead)
            context_.ConsolePrint(QStringLiteral("num of bytes received from device: 0"));
        return true;
    }
    lblStatus->setText(kUploadFailed);
    if (!result.sent.ok())
        ReportSendFailure(context_, QStringLiteral("The algorithm was not sent"), result.sent);
    else
        context_.ConsolePrint(LinkErrorText(*result.error));
    return false;
}
