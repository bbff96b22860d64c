// Setting the effect window from the pedal's status reply.
#include <QCheckBox>
#include <QComboBox>
#include <QScopedValueRollback>
#include <cstdlib>

#include "app/EditorContext.h"
#include "effects/ArcDial.h"
#include "effects/EditHistory.h"
#include "effects/EffectControls.h"
#include "effects/TformFXsettings.h"
#include "effects/ToggleSwitch.h"
#include "protocol/HexText.h"
#include "protocol/Parameters.h"
#include "protocol/StatusReply.h"

namespace protocol = varkunda::protocol;

namespace {

constexpr int kHighestTuning = 8;
constexpr int kLowestSemitone = -5;
constexpr int kHighestSemitone = 3;

// Whether a dial the pedal counts in `steps` points into the span of `step`: the step it
// shows on a read-back, give or take the rounding of the word its move sent.
bool PointsAtStep(int angle, std::uint32_t step, std::uint32_t steps) {
    const int halfStep = ArcDial::kSweep / (2 * static_cast<int>(steps)) + 1;
    const int stepPosition = ArcDial::sweepPosition(protocol::ValueToDialAngle(step, steps));
    return std::abs(ArcDial::sweepPosition(angle) - stepPosition) <= halfStep;
}

// Labels of the parameter print; the last two print the parameter's own name.
constexpr std::array<const char*, 17> kPrintLabels = {"Dry: \t",
                                                      "Sub Mix: ",
                                                      "Sub -1: \t",
                                                      "Sub -2: \t",
                                                      "Wave: \t",
                                                      "LPF: \t",
                                                      "HPF: \t",
                                                      "1st Harmonic: \t",
                                                      "Split: \t",
                                                      "Range: \t",
                                                      "Input Lvl: \t",
                                                      "Harmonic pitch: \t",
                                                      "Clip: \t",
                                                      "Dominant notes cut: \t",
                                                      "High notes cut: \t",
                                                      "Dry HPF: \t",
                                                      "Limit Range UP: \t"};

}  // namespace

void TformFXsettings::getTuning(const protocol::StatusReply& reply) {
    const QScopedValueRollback reading(showingPedalValues_, true);
    const int tuning = reply.tuning;
    const int semitones = reply.semitoneVariation;
    Log("Current Tuning: " + QString::number(tuning));
    Log("Semitones variation: " + QString::fromStdString(protocol::HexByte(
                                      static_cast<std::uint8_t>(reply.semitoneVariation))));
    // A value the lists cannot show leaves list and state as they were, so that Set
    // Tuning sends what the window shows.
    if (tuning <= kHighestTuning) {
        CurrentTuning = reply.tuning;
        cmbGuitarTuning->setCurrentIndex(tuning);
    } else {
        Log("Tuning " + QString::number(tuning) + " is not one of 0 to " +
            QString::number(kHighestTuning) + ": the tuning list is left as it was");
    }
    if (semitones >= kLowestSemitone && semitones <= kHighestSemitone) {
        SemitoneVariation = reply.semitoneVariation;
        cmbSemitonesVariation->setCurrentIndex(semitones - kLowestSemitone);
    } else {
        Log("Semitones variation " + QString::number(semitones) +
            " is not one of -5 to +3: the Semitones list is left as it was");
    }
}

void TformFXsettings::getBypassStatus(const protocol::StatusReply& reply) {
    const QScopedValueRollback reading(showingPedalValues_, true);
    if (reply.bypass == 0) swtBypass->setOn(false);
    if (reply.bypass == 1) swtBypass->setOn(true);
}

void TformFXsettings::getParameters(const protocol::StatusReply& reply) {
    const QScopedValueRollback reading(showingPedalValues_, true);
    bool changed = false;
    for (const effect_controls::EffectControl& control : effect_controls::Controls())
        changed |= !ShowsReportedValue(control, reply.parameters[control.parameter]);
    const bool samePedalValues =
        holdsPedalValues_ && pedalValuesEffect_ == context_.SelectedEffectName;
    for (std::size_t i = 0; i < parameters_.size(); ++i) parameters_.value(i) = reply.parameters[i];
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const QString label = i < kPrintLabels.size()
                                  ? QString(kPrintLabels[i])
                                  : QString::fromStdString(parameters_.name(i)) + ": \t";
        Log(label + QString::fromStdString(protocol::HexWord32(parameters_.value(i))));
    }
    ApplyParametersToWindow(false);
    holdsPedalValues_ = true;
    pedalValuesEffect_ = context_.SelectedEffectName;
    if (EditHistory* history = context_.editHistory) {
        if (samePedalValues)
            history->PedalValuesShown(changed);
        else
            history->Forget();
    }
}

// A dial the pedal counts in steps holds the word its last move sent, not a step.
bool TformFXsettings::ShowsReportedValue(const effect_controls::EffectControl& control,
                                         std::uint32_t reported) {
    if (parameters_.value(control.parameter) == reported) return true;
    const protocol::ParameterInfo& info = parameters_.info(control.parameter);
    bool shown = false;
    effect_controls::VisitComponent(
        *this, control,
        [&](ArcDial* dial) {
            shown = info.fullScale != protocol::kDialFullScale &&
                    PointsAtStep(dial->angle(), reported, info.fullScale);
        },
        [&](ToggleSwitch* toggle) {
            shown = protocol::DecodeSwitch(info.kind, reported) == toggle->isOn();
        },
        [&](QCheckBox* box) {
            shown = protocol::DecodeSwitch(info.kind, reported) == box->isChecked();
        },
        [&](QComboBox*) {});
    return shown;
}

bool TformFXsettings::HoldsPedalValues() const {
    return holdsPedalValues_ && context_.DeviceLinked;
}

void TformFXsettings::ForgetPedalValues() {
    holdsPedalValues_ = false;
    if (EditHistory* history = context_.editHistory) history->Forget();
}

// Sets a control from its parameter's value; a value its kind cannot show leaves a
// switch or the list as it was.
void TformFXsettings::ShowParameterValue(const effect_controls::EffectControl& control) {
    const std::uint32_t value = parameters_.value(control.parameter);
    const protocol::ParameterInfo& info = parameters_.info(control.parameter);
    effect_controls::VisitComponent(
        *this, control,
        [&](ArcDial* dial) { dial->setAngle(protocol::ValueToDialAngle(value, info.fullScale)); },
        [&](ToggleSwitch* toggle) {
            if (const auto on = protocol::DecodeSwitch(info.kind, value)) toggle->setOn(*on);
        },
        [&](QCheckBox* box) {
            if (const auto checked = protocol::DecodeSwitch(info.kind, value))
                box->setChecked(*checked);
        },
        [&](QComboBox* list) {
            if (const auto entry = protocol::PitchTableIndex(value))
                list->setCurrentIndex(static_cast<int>(*entry));
        });
}

void TformFXsettings::ApplyParametersToWindow(bool send_immediately) {
    SendImmediately = send_immediately;
    for (const effect_controls::EffectControl& control : effect_controls::Controls())
        ShowParameterValue(control);
    SendImmediately = false;
    settled_ = CurrentValues();
}
