// The main window's instrument range, tuning and tuning-data commands.
#include <QAction>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "effects/TformFXsettings.h"
#include "protocol/StatusReply.h"
#include "tunings/InstrumentRange.h"
#include "tunings/TuningCommands.h"

void TformMain::menuStandardClick() {
    SetInstrumentRange(*this, kStandardRange);
    menuStandard->setChecked(true);
    menuLow->setChecked(false);
    WriteInstrumentFile(context_, kStandardRange);
    ChangeInstrument();
}

void TformMain::menuLowClick() {
    SetInstrumentRange(*this, kLowRange);
    menuLow->setChecked(true);
    menuStandard->setChecked(false);
    WriteInstrumentFile(context_, kLowRange);
    ChangeInstrument();
}

void TformMain::btnSetTuningClick() {
    if (context_.formFXsettings) SendTuning(context_, *context_.formFXsettings);
}

void TformMain::ChangeInstrument() { ::ChangeInstrument(context_, InstrumentRange(*this)); }

// `position` counts into the numbers of the status reply the effect window's readers
// were last given (the status request runs them before this one); byte 24 is the range.
void TformMain::ShowInstrumentRange(int position) {
    if (!context_.formFXsettings) return;
    const auto& reply = context_.formFXsettings->LastStatusReply();
    if (!reply) return;
    const std::vector<std::uint8_t> numbers = varkunda::protocol::EncodeStatusReplyNumbers(*reply);
    if (position < 0 || position >= static_cast<int>(numbers.size())) return;
    ShowInstrumentRangeValue(*this, numbers[static_cast<std::size_t>(position)]);
}

void TformMain::menuUploadTuningsDataClick() {}
