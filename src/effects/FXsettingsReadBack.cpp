// Setting the effect window from the pedal's status reply.
#include <QCheckBox>
#include <QComboBox>

#include "effects/ArcDial.h"
#include "effects/TformFXsettings.h"
#include "effects/ToggleSwitch.h"
#include "protocol/HexText.h"
#include "protocol/StatusReply.h"

namespace protocol = varkunda::protocol;
namespace param = varkunda::protocol::param;

namespace {

constexpr int kHighestTuning = 8;
constexpr int kLowestSemitone = -5;
constexpr int kHighestSemitone = 3;

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
    if (reply.bypass == 0) swtBypass->setOn(false);
    if (reply.bypass == 1) swtBypass->setOn(true);
}

void TformFXsettings::getParameters(const protocol::StatusReply& reply) {
    for (std::size_t i = 0; i < parameters_.size(); ++i) parameters_.value(i) = reply.parameters[i];
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const QString label = i < kPrintLabels.size()
                                  ? QString(kPrintLabels[i])
                                  : QString::fromStdString(parameters_.name(i)) + ": \t";
        Log(label + QString::fromStdString(protocol::HexWord32(parameters_.value(i))));
    }
    ApplyParametersToWindow(false);
    holdsPedalValues_ = true;
}

void TformFXsettings::SetDialFromValue(ArcDial* dial, std::size_t parameter) {
    dial->setAngle(protocol::ValueToDialAngle(parameters_.value(parameter),
                                              parameters_.info(parameter).fullScale));
}

void TformFXsettings::ApplyParametersToWindow(bool send_immediately) {
    SendImmediately = send_immediately;
    SetDialFromValue(dialDry, param::kDry);
    SetDialFromValue(dialSubMix, param::kSubMix);
    SetDialFromValue(dialMinus1Oct, param::kMinus1Oct);
    SetDialFromValue(dialMinus2Oct, param::kMinus2Oct);
    if (const auto wave = protocol::DecodeWave(parameters_.value(param::kWave)))
        swtWave->setOn(*wave);
    SetDialFromValue(dialLowPass, param::kLowPass);
    SetDialFromValue(dialHighPass, param::kHighPass);
    SetDialFromValue(dial1stHarmonic, param::kFirstHarmonic);
    if (const auto split = protocol::DecodeSplit(parameters_.value(param::kSplit)))
        swtSplit->setOn(*split);
    SetDialFromValue(dialRange, param::kRange);
    SetDialFromValue(dialInputLevel, param::kInputLevel);
    SetDialFromValue(dialClipWave, param::kWaveClip);
    if (const auto entry = protocol::PitchTableIndex(parameters_.value(param::kHarmonicPitch)))
        cmbVariableWavePitch->setCurrentIndex(static_cast<int>(*entry));
    chkDominantNoteCut->setChecked(
        protocol::DecodeCheckBox(parameters_.value(param::kDominantNotesCut)));
    chkHighNoteCut->setChecked(protocol::DecodeCheckBox(parameters_.value(param::kHighNotesCut)));
    SetDialFromValue(dialDryHPF, param::kDryHpf);
    swtLimitRange->setOn(protocol::DecodeOnOff(parameters_.value(param::kLimitRangeUp)));
    swtNoiseGateStatus->setOn(protocol::DecodeOnOff(parameters_.value(param::kNoiseGateStatus)));
    SetDialFromValue(dialNoiseGateThreshold, param::kNoiseGateThreshold);
    SendImmediately = false;
}
