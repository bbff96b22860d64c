// The main window's pedal-wide preferences: MIDI channel, bypass-status storage and
// the USB error report switch.
#include <QAction>

#include "app/EditorContext.h"
#include "app/SendToPedal.h"
#include "app/SettingsFiles.h"
#include "app/StatusLine.h"
#include "app/TformMain.h"
#include "protocol/Messages.h"
#include "protocol/StatusReply.h"

namespace {
const QString kOmni = QStringLiteral("OMNI");
constexpr std::uint8_t kOmniChannel = 0x00;
constexpr std::uint8_t kOmniReported = 0xFF;  // the pedal may report OMNI as 255, too
constexpr std::uint8_t kStoreBypassReported = 1;
constexpr std::uint8_t kDoNotStoreBypassReported = 0;
}  // namespace

// Logs the message text, then sends it; a write the driver refuses is reported by the
// access layer as usual and noted in the console. True when it was sent.
bool TformMain::SendPedalMessage(const std::string& hexText) {
    context_.ConsolePrint(QString::fromStdString(hexText));
    return SendToPedal(context_, hexText).ok();
}

// The click sends the channel; once sent, its item carries the check mark until a
// status reply shows what the pedal holds.
void TformMain::menuMIDIchannelsClickItem(QObject* Sender) {
    auto* item = qobject_cast<QAction*>(Sender);
    if (!item) return;
    const QString caption = item->text();
    context_.ConsoleAppendDirect(QStringLiteral("Midi channel: ") + caption);
    const std::uint8_t channel =
        caption == kOmni ? kOmniChannel : static_cast<std::uint8_t>(caption.toUInt());
    const bool sent = SendPedalMessage(varkunda::protocol::MidiChannelMessage(channel));
    if (sent)
        for (QAction* each : std::as_const(MIDIChannelItems)) each->setChecked(each == item);
    ShowSent(sent_words::MidiChannel(caption), sent ? SendOutcome::Sent : SendOutcome::NotSent);
}

void TformMain::menuStoreBypassStatusClick() {
    menuStoreBypassStatus->setChecked(true);
    menuDoNotStoreBypassStatus->setChecked(false);
    ChangeStoreBypassStatus(true);
}

void TformMain::menuDoNotStoreBypassStatusClick() {
    menuDoNotStoreBypassStatus->setChecked(true);
    menuStoreBypassStatus->setChecked(false);
    ChangeStoreBypassStatus(false);
}

// "1001" stores the bypass state, "10FF" does not; the pedal reports the latter as 0.
void TformMain::ChangeStoreBypassStatus(bool store) {
    const bool sent = SendPedalMessage(varkunda::protocol::StoreBypassStatusMessage(store));
    ShowSent(sent_words::kBypassStorage, sent ? SendOutcome::Sent : SendOutcome::NotSent);
}

void TformMain::ShowStoreBypassStatus(const varkunda::protocol::StatusReply& reply) {
    const std::uint8_t reported = reply.storeBypassStatus;
    if (reported != kStoreBypassReported && reported != kDoNotStoreBypassReported) return;
    menuStoreBypassStatus->setChecked(reported == kStoreBypassReported);
    menuDoNotStoreBypassStatus->setChecked(reported == kDoNotStoreBypassReported);
}

void TformMain::ShowMIDIChannel(const varkunda::protocol::StatusReply& reply) {
    for (QAction* item : std::as_const(MIDIChannelItems)) item->setChecked(false);
    const std::uint8_t channel = reply.midiChannel;
    const int index = channel == kOmniReported ? 0 : channel;
    if (index < MIDIChannelItems.size()) MIDIChannelItems[index]->setChecked(true);
    context_.ConsolePrint(QStringLiteral("MIDI channel: ") + QString::number(channel));
}

// The click has already toggled the check mark. The choice is stored only when the
// preference file exists; it reaches the link layer at the next start. A choice that
// could not be stored is taken back.
void TformMain::menuReportUSBErrorsClick() {
    const bool report = menuReportUSBErrors->isChecked();
    const auto result =
        ReplaceExistingSettingFile(context_, settings::kReportUsbErrorsFile,
                                   report ? QStringLiteral("YES") : QStringLiteral("NO"));
    if (result == ReplaceResult::Written) context_.ReportErrorsPreference = report;
    if (result == ReplaceResult::Failed) menuReportUSBErrors->setChecked(!report);
}
