// The effect window's change handlers: each control sends its parameter to the pedal.
#include <QCheckBox>
#include <QComboBox>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "app/EditorContext.h"
#include "app/SendToPedal.h"
#include "effects/ArcDial.h"
#include "effects/EditHistory.h"
#include "effects/EffectControls.h"
#include "effects/FXsettingsTexts.h"
#include "effects/TformFXsettings.h"
#include "effects/ToggleSwitch.h"
#include "platform/Dialogs.h"
#include "protocol/HexText.h"
#include "protocol/Messages.h"
#include "protocol/Parameters.h"

namespace protocol = varkunda::protocol;

namespace {

constexpr int kSendDelayMs = 100;

}  // namespace

// The parameter controls' handlers. Each one finds its control in the table by its own
// name, so which component edits which parameter is written only there.
void TformFXsettings::dialDryChange() { ParameterControlChanged(&TformFXsettings::dialDryChange); }
void TformFXsettings::dialMinus1OctChange() {
    ParameterControlChanged(&TformFXsettings::dialMinus1OctChange);
}
void TformFXsettings::dialSubMixChange() {
    ParameterControlChanged(&TformFXsettings::dialSubMixChange);
}
void TformFXsettings::dialMinus2OctChange() {
    ParameterControlChanged(&TformFXsettings::dialMinus2OctChange);
}
void TformFXsettings::dialLPFChange() { ParameterControlChanged(&TformFXsettings::dialLPFChange); }
void TformFXsettings::dialHPFChange() { ParameterControlChanged(&TformFXsettings::dialHPFChange); }
void TformFXsettings::dialRangeChange() {
    ParameterControlChanged(&TformFXsettings::dialRangeChange);
}
void TformFXsettings::dialDryHPFChange() {
    ParameterControlChanged(&TformFXsettings::dialDryHPFChange);
}
void TformFXsettings::OnChange_dialInputLevel() {
    ParameterControlChanged(&TformFXsettings::OnChange_dialInputLevel);
}
void TformFXsettings::dialClipWaveChange() {
    ParameterControlChanged(&TformFXsettings::dialClipWaveChange);
}
void TformFXsettings::dial1stHarmonicChange() {
    ParameterControlChanged(&TformFXsettings::dial1stHarmonicChange);
}
void TformFXsettings::dialNoiseGateThresholdChange() {
    ParameterControlChanged(&TformFXsettings::dialNoiseGateThresholdChange);
}
void TformFXsettings::swtWaveSwitch() { ParameterControlChanged(&TformFXsettings::swtWaveSwitch); }
void TformFXsettings::swtSplitSwitch() {
    ParameterControlChanged(&TformFXsettings::swtSplitSwitch);
}
void TformFXsettings::swtLimitRangeSwitch() {
    ParameterControlChanged(&TformFXsettings::swtLimitRangeSwitch);
}
void TformFXsettings::swtNoiseGateStatusSwitch() {
    ParameterControlChanged(&TformFXsettings::swtNoiseGateStatusSwitch);
}
void TformFXsettings::chkDominantNoteCutChange() {
    ParameterControlChanged(&TformFXsettings::chkDominantNoteCutChange);
}
void TformFXsettings::chkHighNoteCutChange() {
    ParameterControlChanged(&TformFXsettings::chkHighNoteCutChange);
}
void TformFXsettings::VariWavePitchOnChange() {
    ParameterControlChanged(&TformFXsettings::VariWavePitchOnChange);
}

void TformFXsettings::ParameterControlChanged(void (TformFXsettings::*handler)()) {
    const auto& controls = effect_controls::Controls();
    const auto control = std::find_if(controls.begin(), controls.end(),
                                      [&](const auto& row) { return row.changed == handler; });
    if (control == controls.end()) return;
    const std::size_t parameter = control->parameter;
    effect_controls::VisitComponent(
        *this, *control, [&](ArcDial* dial) { DialChanged(dial, parameter); },
        [&](ToggleSwitch* toggle) { SwitchChanged(toggle, parameter); },
        [&](QCheckBox* box) { NoteCutChanged(box, parameter); },
        [&](QComboBox* list) { PitchListChanged(list, parameter); });

    // A change that sent a new value is the player's edit, unless a status reply, the
    // history or a preset load is moving the controls.
    const EditedValues after = CurrentValues();
    const EditedValues before = std::exchange(settled_, after);
    if (showingPedalValues_ || restoring_ || SendImmediately || after.values == before.values)
        return;
    if (EditHistory* history = context_.editHistory)
        history->RecordControlChange(parameter, before, after);
}

EditedValues TformFXsettings::CurrentValues() const {
    EditedValues current;
    current.values = parameters_.values();
    for (const effect_controls::EffectControl& control : effect_controls::Controls()) {
        if (const auto* dial = std::get_if<ArcDial * TformFXsettings::*>(&control.member))
            current.angles[control.parameter] = (this->**dial)->angle();
    }
    return current;
}

void TformFXsettings::RestoreValues(const EditedValues& target, bool immediately) {
    const QScopedValueRollback restoring(restoring_, true);
    const QScopedValueRollback sendNow(SendImmediately, immediately);
    const EditedValues current = CurrentValues();
    for (const effect_controls::EffectControl& control : effect_controls::Controls()) {
        const std::size_t parameter = control.parameter;
        if (target.values[parameter] == current.values[parameter] &&
            target.angles[parameter] == current.angles[parameter])
            continue;
        parameters_.value(parameter) = target.values[parameter];
        QWidget* component = nullptr;
        effect_controls::VisitComponent(*this, control,
                                        [&](QWidget* widget) { component = widget; });
        {
            // Moved quietly, then its handler runs once, even where the control shows
            // no difference.
            const QSignalBlocker quiet(component);
            if (auto* dial = qobject_cast<ArcDial*>(component))
                dial->setAngle(target.angles[parameter]);
            else
                ShowParameterValue(control);
        }
        (this->*control.changed)();
    }
    settled_ = CurrentValues();
}

// Dials. While a Request load runs or a reply is shown they stay silent, so the
// parameters keep exactly what the pedal reported.
void TformFXsettings::DialChanged(ArcDial* dial, std::size_t parameter) {
    if (Guarded()) return;
    parameters_.value(parameter) = SendDialParameter(dial, parameter);
}

std::uint32_t TformFXsettings::SendDialParameter(ArcDial* dial, std::size_t parameter) {
    // Writing the snapped angle back raises this dial's handler once more; that run
    // finds nothing to snap.
    dial->setAngle(protocol::SnapDialAngle(dial->angle()));
    // A preset load, undo and redo send the value they put back: the angle shows it only
    // to a whole degree, and its re-encoding would move the sound at every load. Dials
    // the pedal counts in steps still go through the angle.
    const bool loadedValue = (SendImmediately || restoring_) &&
                             parameters_.info(parameter).fullScale == protocol::kDialFullScale;
    const std::uint32_t value =
        loadedValue ? parameters_.value(parameter) : protocol::DialAngleToValue(dial->angle());
    const std::string text = protocol::SetParameterMessage(parameters_.address(parameter), value);
    Log("Send " + QString::fromStdString(parameters_.name(parameter)) +
        " string (standard par): " + QString::fromStdString(text));

    // The newest message of this dial replaces any older one still waiting.
    auto waiting =
        std::find_if(pendingDialMessages_.begin(), pendingDialMessages_.end(),
                     [&](const PendingDialMessage& m) { return m.parameter == parameter; });
    if (SendImmediately) {
        if (waiting != pendingDialMessages_.end()) pendingDialMessages_.erase(waiting);
        WriteMessage(text);
        return value;
    }
    if (waiting != pendingDialMessages_.end())
        waiting->text = text;
    else
        pendingDialMessages_.push_back({parameter, text});
    if (!Timer1->isActive()) {
        Timer1->setInterval(kSendDelayMs);
        Timer1->start();
    }
    return value;
}

// Writes the messages the timer was armed for, one per dial moved meanwhile, each
// holding that dial's latest position. DeviceOutBuffer is filled only now, so a
// message another sender put there in between is never written a second time.
void TformFXsettings::Timer1Timer() {
    Timer1->stop();
    const std::vector<PendingDialMessage> due = std::move(pendingDialMessages_);
    pendingDialMessages_.clear();
    for (const PendingDialMessage& message : due) WriteMessage(message.text);
}

bool TformFXsettings::FlushPendingChanges() {
    const bool pending = !pendingDialMessages_.empty();
    Timer1Timer();
    return pending;
}

void TformFXsettings::WriteMessage(const std::string& text) { SendToPedal(context_, text); }

// Switches send at once, even during a Request load (but not while a reply is shown),
// and keep what they sent as the parameter's value so that storing and presets carry
// what the window shows.
void TformFXsettings::SwitchChanged(ToggleSwitch* control, std::size_t parameter) {
    if (showingPedalValues_) return;
    const std::uint32_t value =
        protocol::EncodeSwitch(parameters_.info(parameter).kind, control->isOn());
    SendSwitchParameter(value, parameter);
    parameters_.value(parameter) = value;
}

void TformFXsettings::SendSwitchParameter(std::uint32_t value, std::size_t parameter) {
    const std::string text = protocol::SetParameterMessage(parameters_.address(parameter), value);
    const char* kind = parameters_.isAssignable(parameter) ? " string (assignable par): "
                                                           : " string (standard par): ";
    Log("Send " + QString::fromStdString(parameters_.name(parameter)) + kind +
        QString::fromStdString(text));
    WriteMessage(text);
}

void TformFXsettings::swtBypassSwitch() {
    if (Guarded()) return;
    WriteMessage(protocol::BypassMessage(swtBypass->isOn()));
}

// The note cuts need a tuning: without one the box does not stay checked.
void TformFXsettings::NoteCutChanged(QCheckBox* box, std::size_t parameter) {
    if (Guarded()) return;
    if (box->isChecked() && cmbGuitarTuning->currentIndex() == 0) {
        context_.dialogs.showMessage(fxtexts::kSetTuningFirst);
        box->setChecked(false);  // runs this handler again, which sends the 0
        return;
    }
    const std::uint32_t value = box->isChecked() ? 1 : 0;
    parameters_.value(parameter) = value;
    WriteToDsp("01", parameters_.address(parameter), value);
}

void TformFXsettings::WriteToDsp(const std::string& prefix, std::uint16_t address,
                                 std::uint32_t value) {
    const std::string text = prefix + protocol::HexWord16(address) + protocol::HexWord32(value);
    Log("write to DSP msg: " + QString::fromStdString(text));
    WriteMessage(text);
}

void TformFXsettings::PitchListChanged(QComboBox* list, std::size_t parameter) {
    if (Guarded()) return;
    const int index = list->currentIndex();
    if (index < 0 || index >= static_cast<int>(protocol::HarmonicPitchTable.size())) return;
    const std::uint32_t value = protocol::HarmonicPitchTable[static_cast<std::size_t>(index)];
    const std::string text = protocol::SetParameterMessage(parameters_.address(parameter), value);
    Log("Send Harmonic Pitch string: " + QString::fromStdString(text));
    WriteMessage(text);
    parameters_.value(parameter) = value;
}

void TformFXsettings::cmbGuitarTuningChange() {
    const int index = cmbGuitarTuning->currentIndex();
    if (index >= 0) CurrentTuning = static_cast<std::uint8_t>(index);
}

void TformFXsettings::cmbSemitonesVariationChange() {
    if (cmbSemitonesVariation->currentIndex() < 0) return;
    SemitoneVariation = static_cast<std::int8_t>(cmbSemitonesVariation->currentText().toInt());
}
