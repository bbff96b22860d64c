// Builds the effect window's components at their places in the 440 x 432 client area.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include "effects/ArcDial.h"
#include "effects/FXsettingsTexts.h"
#include "effects/TformFXsettings.h"
#include "effects/ToggleSwitch.h"

namespace {

constexpr int kDialWidth = 58;
constexpr int kDialHeight = 62;
constexpr int kComboHeight = 22;

ArcDial* makeDial(QWidget* parent, const char* name, const QString& label, QRect place, int angle) {
    auto* dial = new ArcDial(label, parent);
    dial->setObjectName(name);
    dial->setGeometry(place);
    dial->setAngle(angle);
    return dial;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect place,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setAlignment(alignment);
    return label;
}

QComboBox* makeList(QWidget* parent, const char* name, QRect place) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setGeometry(place);
    return list;
}

ToggleSwitch* makeSwitch(QWidget* parent, const char* name, QRect place) {
    auto* control = new ToggleSwitch({}, parent);
    control->setObjectName(name);
    control->setGeometry(place);
    return control;
}

// A frame or line drawn only by its outline, so the window's style shows through.
QFrame* makeOutline(QWidget* parent, const char* name, QRect place) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setGeometry(place);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(false);
    return frame;
}

QLabel* makeTitle(QWidget* parent, const char* name, const QString& text, QRect place) {
    QLabel* title = makeLabel(parent, name, text, place);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    return title;
}

}  // namespace

void TformFXsettings::CreateComponents() {
    // Left block: two columns of dials.
    dialDry = makeDial(this, "dialDry", "Dry", {15, 8, kDialWidth, kDialHeight}, -135);
    dialMinus1Oct =
        makeDial(this, "dialMinus1Oct", "-1 OCT", {75, 8, kDialWidth, kDialHeight}, -135);
    dialSubMix = makeDial(this, "dialSubMix", "Sub Mix", {15, 72, kDialWidth, kDialHeight}, -135);
    dialMinus2Oct =
        makeDial(this, "dialMinus2Oct", "-2 OCT", {75, 72, kDialWidth, kDialHeight}, -135);
    dialLowPass =
        makeDial(this, "dialLowPass", "Low Pass", {15, 136, kDialWidth, kDialHeight}, -138);
    dialHighPass =
        makeDial(this, "dialHighPass", "High Pass", {75, 136, kDialWidth, kDialHeight}, -128);
    dialRange = makeDial(this, "dialRange", "Range", {15, 200, kDialWidth, kDialHeight}, -126);
    dialDryHPF = makeDial(this, "dialDryHPF", "Dry HPF", {75, 200, kDialWidth, kDialHeight}, -126);

    // Middle: the switches, each under its label, and two more dials beside them.
    makeLabel(this, "lblWave", "Wave", {136, 18, 64, 14});
    swtWave = makeSwitch(this, "swtWave", {136, 33, 40, 22});
    makeLabel(this, "lblSplit", "Split", {136, 61, 64, 14});
    swtSplit = makeSwitch(this, "swtSplit", {136, 76, 40, 22});
    makeLabel(this, "lblBypass", "Bypass", {136, 108, 64, 14});
    swtBypass = makeSwitch(this, "swtBypass", {136, 123, 40, 22});
    makeLabel(this, "lblLimitRange", "Limit Range", {136, 154, 66, 14});
    swtLimitRange = makeSwitch(this, "swtLimitRange", {136, 169, 40, 22});
    dialInputLevel =
        makeDial(this, "dialInputLevel", "Input Level", {203, 8, 72, kDialHeight}, -135);
    dialClipWave = makeDial(this, "dialClipWave", "Wave Clip", {203, 72, 72, kDialHeight}, -135);

    // Right: three framed groups.
    QFrame* harmonic = makeOutline(this, "frameHarmonic", {279, 8, 153, 72});
    dial1stHarmonic =
        makeDial(harmonic, "dial1stHarmonic", "1st Harmonic", {1, 5, 74, kDialHeight}, -135);
    QLabel* pitchLabel =
        makeLabel(harmonic, "lblHarmonicPitch", "Harmonic Pitch", {77, 4, 72, 30}, Qt::AlignCenter);
    pitchLabel->setWordWrap(true);
    cmbVariableWavePitch = makeList(harmonic, "cmbVariableWavePitch", {79, 38, 68, kComboHeight});
    cmbVariableWavePitch->addItems(fxtexts::kHarmonicPitchItems);
    cmbVariableWavePitch->setMaxVisibleItems(12);
    cmbVariableWavePitch->setCurrentIndex(-1);

    QFrame* tracking = makeOutline(this, "frameTracking", {279, 83, 153, 120});
    makeTitle(tracking, "lblTrackingFunctions", "Tracking Functions", {6, 2, 141, 18});
    cmbGuitarTuning = makeList(tracking, "cmbGuitarTuning", {6, 21, 141, kComboHeight});
    cmbGuitarTuning->addItems(fxtexts::kGuitarTuningItems);
    makeLabel(tracking, "lblSemitones", "Semitones", {6, 47, 70, kComboHeight});
    cmbSemitonesVariation = makeList(tracking, "cmbSemitonesVariation", {87, 47, 60, kComboHeight});
    cmbSemitonesVariation->addItems(fxtexts::kSemitoneItems);
    cmbSemitonesVariation->setCurrentIndex(5);
    chkDominantNoteCut = new QCheckBox("Dominant Notes Cut", tracking);
    chkDominantNoteCut->setObjectName("chkDominantNoteCut");
    chkDominantNoteCut->setGeometry(6, 74, 144, 20);
    chkHighNoteCut = new QCheckBox("High Notes Cut", tracking);
    chkHighNoteCut->setObjectName("chkHighNoteCut");
    chkHighNoteCut->setGeometry(6, 96, 144, 20);

    QFrame* noiseGate = makeOutline(this, "frameNoiseGate", {279, 206, 153, 62});
    makeTitle(noiseGate, "lblNoiseGate", "Noise Gate", {6, 4, 80, 18});
    swtNoiseGateStatus = makeSwitch(noiseGate, "swtNoiseGateStatus", {8, 28, 40, 22});
    dialNoiseGateThreshold =
        makeDial(noiseGate, "dialNoiseGateThreshold", "Threshold", {88, 1, 62, 60}, -135);

    // The rows of dials end at y 262, so the rule between the controls and the
    // assignments runs just below them.
    outlines_ = {harmonic, tracking, noiseGate,
                 makeOutline(this, "lineHorizontal", {8, 269, 424, 1}),
                 makeOutline(this, "lineVertical", {279, 276, 1, 150})};

    // Assignments of the pedal's four controls and the remote footswitch.
    QWidget* assign = new QWidget(this);
    assign->setObjectName("grpAssignControls");
    assign->setGeometry(15, 272, 260, 156);
    makeTitle(assign, "lblAssignControls", "Assign Controls", {0, 2, 200, 18});
    makeLabel(assign, "lblControlI", "Control I", {0, 22, 128, 16});
    cmbAssignCtrlUNO = makeList(assign, "cmbAssignCtrlUNO", {0, 38, 128, kComboHeight});
    makeLabel(assign, "lblControlII", "Control II", {0, 64, 128, 16});
    cmbAssignCtrlDUE = makeList(assign, "cmbAssignCtrlDUE", {0, 80, 128, kComboHeight});
    makeLabel(assign, "lblControlIII", "Control III", {134, 22, 126, 16});
    cmbAssignCtrlTRE = makeList(assign, "cmbAssignCtrlTRE", {134, 38, 126, kComboHeight});
    makeLabel(assign, "lblControlIV", "Control IV", {134, 64, 126, 16});
    cmbAssignCtrlQUATTRO = makeList(assign, "cmbAssignCtrlQUATTRO", {134, 80, 126, kComboHeight});
    makeLabel(assign, "lblRemoteFootswitch", "Remote Footswitch", {0, 106, 128, 16});
    cmbAssignRemote = makeList(assign, "cmbAssignRemote", {0, 122, 128, kComboHeight});
    assignLists_ = {cmbAssignCtrlUNO, cmbAssignCtrlDUE, cmbAssignCtrlTRE, cmbAssignCtrlQUATTRO,
                    cmbAssignRemote};

    // The pedal's own footswitch: what a long and a short press do.
    makeLabel(this, "lblFootswitchLongPress", "Footswitch Long Press:", {289, 283, 145, 18});
    chkBypassLongPress = new QRadioButton("Bypass", this);
    chkBypassLongPress->setObjectName("chkBypassLongPress");
    chkBypassLongPress->setGeometry(297, 302, 130, 20);
    chkChangePresetLongPress = new QRadioButton("Change Preset", this);
    chkChangePresetLongPress->setObjectName("chkChangePresetLongPress");
    chkChangePresetLongPress->setGeometry(297, 323, 130, 20);
    FtswLongPress = new QButtonGroup(this);
    FtswLongPress->setObjectName("FtswLongPress");
    FtswLongPress->addButton(chkBypassLongPress);
    FtswLongPress->addButton(chkChangePresetLongPress);
    chkChangePresetLongPress->setChecked(true);

    makeLabel(this, "lblFootswitchShortPress", "Footswitch Short Press:", {289, 358, 145, 18});
    chkBypassShortPress = new QRadioButton("Bypass", this);
    chkBypassShortPress->setObjectName("chkBypassShortPress");
    chkBypassShortPress->setGeometry(297, 377, 130, 20);
    chkChangePresetShortPress = new QRadioButton("Change Preset", this);
    chkChangePresetShortPress->setObjectName("chkChangePresetShortPress");
    chkChangePresetShortPress->setGeometry(297, 398, 130, 20);
    FtswShortPress = new QButtonGroup(this);
    FtswShortPress->setObjectName("FtswShortPress");
    FtswShortPress->addButton(chkBypassShortPress);
    FtswShortPress->addButton(chkChangePresetShortPress);
    chkBypassShortPress->setChecked(true);

    // Disabled at design until a linked pedal enables the window.
    dial1stHarmonic->setEnabled(false);
    swtWave->setEnabled(false);
    swtSplit->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
}
