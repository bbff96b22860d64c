// The main window's instrument range, tuning and tuning-data commands.
#include <QAction>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "effects/TformFXsettings.h"
#include "protocol/Messages.h"
#include "protocol/StatusReply.h"
#include "tunings/TuningCommands.h"
#include "tunings/TuningData.h"

using varkunda::protocol::kInstrumentRangeLow;
using varkunda::protocol::kInstrumentRangeStandard;

void TformMain::menuStandardClick() {
    context_.InstrumentRange = kInstrumentRangeStandard;
    menuStandard->setChecked(true);
    menuLow->setChecked(false);
    WriteInstrumentFile(context_, kInstrumentRangeStandard);
    ChangeInstrument();
}

void TformMain::menuLowClick() {
    context_.InstrumentRange = kInstrumentRangeLow;
    menuLow->setChecked(true);
    menuStandard->setChecked(false);
    WriteInstrumentFile(context_, kInstrumentRangeLow);
    ChangeInstrument();
}

void TformMain::btnSetTuningClick() {
    if (!context_.formFXsettings) return;
    ShowSent(sent_words::kTuning, SendTuning(context_, *context_.formFXsettings));
}

void TformMain::ChangeInstrument() { ::ChangeInstrument(context_, context_.InstrumentRange); }

// A code that is neither Standard nor Low is kept but leaves the tick marks as they are.
void TformMain::ShowInstrumentRange(const varkunda::protocol::StatusReply& reply) {
    context_.InstrumentRange = reply.instrumentRange;
    if (reply.instrumentRange != kInstrumentRangeStandard &&
        reply.instrumentRange != kInstrumentRangeLow)
        return;
    menuStandard->setChecked(reply.instrumentRange == kInstrumentRangeStandard);
    menuLow->setChecked(reply.instrumentRange == kInstrumentRangeLow);
}

void TformMain::menuUploadTuningsDataClick() { UploadTuningData(context_); }
