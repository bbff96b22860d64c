#include "tunings/InstrumentRange.h"

#include <QAction>
#include <QVariant>

#include "app/TformMain.h"
#include "protocol/StatusReply.h"
#include "tunings/TuningCommands.h"

namespace {

// Kept as a property of the main window, which owns the range in the editor's state.
constexpr const char* kInstrumentRangeProperty = "InstrumentRange";

}  // namespace

std::uint8_t InstrumentRange(const TformMain& main) {
    return static_cast<std::uint8_t>(main.property(kInstrumentRangeProperty).toUInt());
}

void SetInstrumentRange(TformMain& main, std::uint8_t range) {
    main.setProperty(kInstrumentRangeProperty, static_cast<unsigned>(range));
}

void ShowInstrumentRangeValue(TformMain& main, std::uint8_t range) {
    SetInstrumentRange(main, range);
    if (range != kStandardRange && range != kLowRange) return;
    main.menuStandard->setChecked(range == kStandardRange);
    main.menuLow->setChecked(range == kLowRange);
}

void ShowInstrumentRange(TformMain& main, const varkunda::protocol::StatusReply& reply) {
    ShowInstrumentRangeValue(main, reply.instrumentRange);
}
