// Builds the effect window's components at their places in the 440 x 432 client area.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <map>

#include "effects/ArcDial.h"
#include "effects/EffectControls.h"
#include "effects/FXsettingsTexts.h"
#include "effects/TformFXsettings.h"
#include "effects/ToggleSwitch.h"
#include "protocol/ValueEncoding.h"

namespace {

constexpr int kComboHeight = 22;
constexpr int kPitchRowsShown = 12;

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

// The label names the control for assistive tools, which also tie the two together.
void nameBy(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    control->setAccessibleName(label->text());
}

// The radio buttons share their captions: the group's label tells them apart.
void describeBy(QLabel* label, std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) control->setAccessibleDescription(label->text());
}

}  // namespace

void TformFXsettings::CreateComponents() {
    // Right: three framed groups.
    QFrame* harmonic = makeOutline(this, "frameHarmonic", {279, 8, 153, 72});
    QFrame* tracking = makeOutline(this, "frameTracking", {279, 83, 153, 120});
    QLabel* trackingTitle =
        makeTitle(tracking, "lblTrackingFunctions", "Tracking Functions", {6, 2, 141, 18});
    cmbGuitarTuning = makeList(tracking, "cmbGuitarTuning", {6, 21, 141, kComboHeight});
    cmbGuitarTuning->addItems(fxtexts::kGuitarTuningItems);
    nameBy(trackingTitle, cmbGuitarTuning);
    QLabel* semitones = makeLabel(tracking, "lblSemitones", "Semitones", {6, 47, 70, kComboHeight});
    cmbSemitonesVariation = makeList(tracking, "cmbSemitonesVariation", {87, 47, 60, kComboHeight});
    cmbSemitonesVariation->addItems(fxtexts::kSemitoneItems);
    cmbSemitonesVariation->setCurrentIndex(5);
    nameBy(semitones, cmbSemitonesVariation);
    QFrame* noiseGate = makeOutline(this, "frameNoiseGate", {279, 206, 153, 62});
    QLabel* noiseGateTitle = makeTitle(noiseGate, "lblNoiseGate", "Noise Gate", {6, 4, 80, 18});

    // The parameter controls: the left block of dials, the middle column of switches
    // with two more dials beside them, and the controls inside the groups.
    const std::map<effect_controls::Group, QWidget*> groups = {
        {effect_controls::Group::Window, this},
        {effect_controls::Group::Harmonic, harmonic},
        {effect_controls::Group::Tracking, tracking},
        {effect_controls::Group::NoiseGate, noiseGate}};
    for (const effect_controls::EffectControl& control : effect_controls::Controls())
        CreateParameterControl(control, groups.at(control.group));
    nameBy(noiseGateTitle, swtNoiseGateStatus);

    // Bypass sends no parameter: it sits among the parameter switches.
    QLabel* bypass = makeLabel(this, "lblBypass", "Bypass", {136, 108, 64, 14});
    swtBypass = makeSwitch(this, "swtBypass", {136, 123, 40, 22});
    nameBy(bypass, swtBypass);

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
    QLabel* controlI = makeLabel(assign, "lblControlI", "Control I", {0, 22, 128, 16});
    cmbAssignCtrlUNO = makeList(assign, "cmbAssignCtrlUNO", {0, 38, 128, kComboHeight});
    QLabel* controlII = makeLabel(assign, "lblControlII", "Control II", {0, 64, 128, 16});
    cmbAssignCtrlDUE = makeList(assign, "cmbAssignCtrlDUE", {0, 80, 128, kComboHeight});
    QLabel* controlIII = makeLabel(assign, "lblControlIII", "Control III", {134, 22, 126, 16});
    cmbAssignCtrlTRE = makeList(assign, "cmbAssignCtrlTRE", {134, 38, 126, kComboHeight});
    QLabel* controlIV = makeLabel(assign, "lblControlIV", "Control IV", {134, 64, 126, 16});
    cmbAssignCtrlQUATTRO = makeList(assign, "cmbAssignCtrlQUATTRO", {134, 80, 126, kComboHeight});
    QLabel* remote =
        makeLabel(assign, "lblRemoteFootswitch", "Remote Footswitch", {0, 106, 128, 16});
    cmbAssignRemote = makeList(assign, "cmbAssignRemote", {0, 122, 128, kComboHeight});
    nameBy(controlI, cmbAssignCtrlUNO);
    nameBy(controlII, cmbAssignCtrlDUE);
    nameBy(controlIII, cmbAssignCtrlTRE);
    nameBy(controlIV, cmbAssignCtrlQUATTRO);
    nameBy(remote, cmbAssignRemote);
    assignLists_ = {cmbAssignCtrlUNO, cmbAssignCtrlDUE, cmbAssignCtrlTRE, cmbAssignCtrlQUATTRO,
                    cmbAssignRemote};

    // The pedal's own footswitch: what a long and a short press do.
    QLabel* longPress =
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
    describeBy(longPress, {chkBypassLongPress, chkChangePresetLongPress});

    QLabel* shortPress =
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
    describeBy(shortPress, {chkBypassShortPress, chkChangePresetShortPress});

    SetReadingOrder();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
}

// Builds a parameter control in its group: the component of its kind, its caption, its
// hint, and its state until a pedal's values arrive.
void TformFXsettings::CreateParameterControl(const effect_controls::EffectControl& control,
                                             QWidget* group) {
    QWidget* created = nullptr;
    effect_controls::VisitComponent(
        *this, control,
        [&](ArcDial*& dial) {
            created = dial = new ArcDial(control.text, group);
            dial->setAngle(control.angle);
            const std::uint32_t fullScale =
                varkunda::protocol::kParameterInfo[control.parameter].fullScale;
            if (fullScale != varkunda::protocol::kDialFullScale)
                dial->setPedalSteps(static_cast<int>(fullScale));
        },
        [&](ToggleSwitch*& toggle) { created = toggle = new ToggleSwitch({}, group); },
        [&](QCheckBox*& box) { created = box = new QCheckBox(control.text, group); },
        [&](QComboBox*& list) {
            created = list = new QComboBox(group);
            list->addItems(fxtexts::kHarmonicPitchItems);
            list->setMaxVisibleItems(kPitchRowsShown);
            list->setCurrentIndex(-1);
        });
    created->setObjectName(control.name);
    created->setGeometry(control.place);
    created->setEnabled(control.enabled);
    created->setAccessibleName(control.text);
    if (control.hint) {
        created->setToolTip(*control.hint);
        created->setAccessibleDescription(*control.hint);
    }
    if (const auto& caption = control.caption) {
        QLabel* label =
            makeLabel(group, caption->name, caption->text, caption->place,
                      caption->wrapped ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        label->setWordWrap(caption->wrapped);
        nameBy(label, created);
    }
}

// Tab runs through the window as it reads: the left block of dials row by row, the
// middle column with the two dials beside it, the three groups on the right, then the
// assignments in the order of the pedal's controls and the footswitch choices.
void TformFXsettings::SetReadingOrder() {
    const std::initializer_list<QWidget*> order = {dialDry,
                                                   dialMinus1Oct,
                                                   dialSubMix,
                                                   dialMinus2Oct,
                                                   dialLowPass,
                                                   dialHighPass,
                                                   dialRange,
                                                   dialDryHPF,
                                                   swtWave,
                                                   dialInputLevel,
                                                   swtSplit,
                                                   dialClipWave,
                                                   swtBypass,
                                                   swtLimitRange,
                                                   dial1stHarmonic,
                                                   cmbVariableWavePitch,
                                                   cmbGuitarTuning,
                                                   cmbSemitonesVariation,
                                                   chkDominantNoteCut,
                                                   chkHighNoteCut,
                                                   swtNoiseGateStatus,
                                                   dialNoiseGateThreshold,
                                                   cmbAssignCtrlUNO,
                                                   cmbAssignCtrlDUE,
                                                   cmbAssignCtrlTRE,
                                                   cmbAssignCtrlQUATTRO,
                                                   cmbAssignRemote,
                                                   chkBypassLongPress,
                                                   chkChangePresetLongPress,
                                                   chkBypassShortPress,
                                                   chkChangePresetShortPress};
    QWidget* previous = nullptr;
    for (QWidget* control : order) {
        if (previous) setTabOrder(previous, control);
        previous = control;
    }
}
