// The console's EEPROM tools: reading a dump of one of the pedal's two EEPROM
// devices and erasing one.
#include <QComboBox>
#include <QTimer>

#include "app/EditorContext.h"
#include "app/PedalExchangeGuard.h"
#include "app/PedalSendReport.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "link/EepromTools.h"

namespace {

// The dump is read here, not by the main window's reply timer: the timer is off while
// it comes and runs again afterwards if it ran before.
class ReplyTimerPause {
  public:
    explicit ReplyTimerPause(EditorContext& context)
        : timer_(context.formMain ? context.formMain->Timer_USB_Read : nullptr),
          wasActive_(timer_ && timer_->isActive()) {
        if (wasActive_) timer_->stop();
    }
    ~ReplyTimerPause() {
        if (wasActive_) timer_->start();
    }
    ReplyTimerPause(const ReplyTimerPause&) = delete;
    ReplyTimerPause& operator=(const ReplyTimerPause&) = delete;

  private:
    QTimer* timer_;
    bool wasActive_;
};

}  // namespace

void TformPrint::btnEraseEepromClick() { EraseEEPROM(cmbI2Caddr->currentText()); }

void TformPrint::EraseEEPROM(const QString& i2cAddr) {
    if (!RequireLinkedPedal(context_, QStringLiteral("Erasing the EEPROM"))) return;
    PedalExchangeGuard guard(context_);
    const auto sent = varkunda::link::EraseEeprom(*context_.transport, i2cAddr.toStdString());
    if (!sent.ok()) ReportSendFailure(context_, QStringLiteral("The EEPROM was not erased"), sent);
}

void TformPrint::btnReadEEPROMClick() {
    if (!RequireLinkedPedal(context_, QStringLiteral("Reading the EEPROM"))) return;
    PedalExchangeGuard guard(context_);
    ReplyTimerPause timerOff(context_);
    const auto dump = varkunda::link::ReadEepromDump(*context_.transport,
                                                     cmbI2Caddr->currentText().toStdString());
    if (!dump.sent.ok())
        ReportSendFailure(context_, QStringLiteral("The EEPROM read was not sent"), dump.sent);
}
