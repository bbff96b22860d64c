#include "effects/TformFXsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QMouseEvent>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTimer>

#include "app/BuiltinResources.h"
#include "app/EditorContext.h"
#include "app/Fonts.h"
#include "effects/ArcDial.h"
#include "effects/FXsettingsTexts.h"
#include "effects/ToggleSwitch.h"
#include "platform/Dialogs.h"

namespace protocol = varkunda::protocol;
namespace param = varkunda::protocol::param;

namespace {

// Outline colour of the frames and lines, alpha first.
constexpr QRgb kOutlineColour = 0xFFF8F8FF;

}  // namespace

TformFXsettings::TformFXsettings(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName("formFXsettings");
    setWindowTitle("Form1");
    setFixedSize(440, 432);
    SetTextFont(*this, text_size::kWindow);
    CreateComponents();
    // The assignment lists hold the window's longest entries in its narrowest lists.
    for (QComboBox* list : assignLists_) SetTextFont(*list, text_size::kTool);
    FormCreate();
    ConnectHandlers();
}

TformFXsettings::~TformFXsettings() = default;

void TformFXsettings::FormCreate() {
    // Each list of a pair holds items of its own; the texts are the parameter names.
    const QStringList continuous = {
        fxtexts::kNotAssigned,
        QString::fromStdString(parameters_.name(param::kInputLevel)),
        QString::fromStdString(parameters_.name(param::kHarmonicPitch)),
        QString::fromStdString(parameters_.name(param::kWaveClip)),
        QString::fromStdString(parameters_.name(param::kDryHpf)),
        QString::fromStdString(parameters_.name(param::kNoiseGateThreshold))};
    const QStringList onOff = {fxtexts::kNotAssigned,
                               QString::fromStdString(parameters_.name(param::kDominantNotesCut)),
                               QString::fromStdString(parameters_.name(param::kHighNotesCut)),
                               QString::fromStdString(parameters_.name(param::kLimitRangeUp)),
                               QString::fromStdString(parameters_.name(param::kNoiseGateStatus))};
    cmbAssignCtrlUNO->addItems(continuous);
    cmbAssignCtrlDUE->addItems(continuous);
    cmbAssignCtrlTRE->addItems(onOff);
    cmbAssignCtrlQUATTRO->addItems(onOff);
    cmbAssignRemote->addItems(fxtexts::kRemoteItems);
    for (QComboBox* list : assignLists_) list->setCurrentIndex(0);
    AssignmentFlags.fill(0);

    dial1stHarmonic->setToolTip(fxtexts::kHint1stHarmonic);
    cmbVariableWavePitch->setToolTip(fxtexts::kHintHarmonicPitch);
    chkDominantNoteCut->setToolTip(fxtexts::kHintDominantNoteCut);
    chkHighNoteCut->setToolTip(fxtexts::kHintHighNoteCut);
    dialInputLevel->setToolTip(fxtexts::kHintInputLevel);
    cmbGuitarTuning->setToolTip(fxtexts::kHintGuitarTuning);
    cmbSemitonesVariation->setToolTip(fxtexts::kHintSemitones);
    dialDryHPF->setToolTip(fxtexts::kHintDryHPF);
    swtLimitRange->setToolTip(fxtexts::kHintLimitRange);
    swtNoiseGateStatus->setToolTip(fxtexts::kHintNoiseGateStatus);
    dialNoiseGateThreshold->setToolTip(fxtexts::kHintNoiseGateThreshold);

    cmbGuitarTuning->setCurrentIndex(0);
    cmbSemitonesVariation->setCurrentIndex(5);
    CurrentTuning = 0;
    SemitoneVariation = 0;
}

void TformFXsettings::ConnectHandlers() {
    connect(dialDry, &ArcDial::changed, this, &TformFXsettings::dialDryChange);
    connect(dialMinus1Oct, &ArcDial::changed, this, &TformFXsettings::dialMinus1OctChange);
    connect(dialSubMix, &ArcDial::changed, this, &TformFXsettings::dialSubMixChange);
    connect(dialMinus2Oct, &ArcDial::changed, this, &TformFXsettings::dialMinus2OctChange);
    connect(dialLowPass, &ArcDial::changed, this, &TformFXsettings::dialLPFChange);
    connect(dialHighPass, &ArcDial::changed, this, &TformFXsettings::dialHPFChange);
    connect(dialRange, &ArcDial::changed, this, &TformFXsettings::dialRangeChange);
    connect(dialDryHPF, &ArcDial::changed, this, &TformFXsettings::dialDryHPFChange);
    connect(dialInputLevel, &ArcDial::changed, this, &TformFXsettings::OnChange_dialInputLevel);
    connect(dialClipWave, &ArcDial::changed, this, &TformFXsettings::dialClipWaveChange);
    connect(dial1stHarmonic, &ArcDial::changed, this, &TformFXsettings::dial1stHarmonicChange);
    connect(dialNoiseGateThreshold, &ArcDial::changed, this,
            &TformFXsettings::dialNoiseGateThresholdChange);
    connect(Timer1, &QTimer::timeout, this, &TformFXsettings::Timer1Timer);

    connect(swtWave, &ToggleSwitch::switched, this, &TformFXsettings::swtWaveSwitch);
    connect(swtSplit, &ToggleSwitch::switched, this, &TformFXsettings::swtSplitSwitch);
    connect(swtLimitRange, &ToggleSwitch::switched, this, &TformFXsettings::swtLimitRangeSwitch);
    connect(swtNoiseGateStatus, &ToggleSwitch::switched, this,
            &TformFXsettings::swtNoiseGateStatusSwitch);
    connect(swtBypass, &ToggleSwitch::switched, this, &TformFXsettings::swtBypassSwitch);

    connect(chkDominantNoteCut, &QCheckBox::toggled, this,
            &TformFXsettings::chkDominantNoteCutChange);
    connect(chkHighNoteCut, &QCheckBox::toggled, this, &TformFXsettings::chkHighNoteCutChange);
    chkDominantNoteCut->installEventFilter(this);
    connect(cmbVariableWavePitch, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::VariWavePitchOnChange);
    connect(cmbGuitarTuning, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::cmbGuitarTuningChange);
    connect(cmbSemitonesVariation, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::cmbSemitonesVariationChange);

    connect(cmbAssignCtrlUNO, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::ControlUNOassignOnChange);
    connect(cmbAssignCtrlDUE, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::ControlDUEassignOnChange);
    connect(cmbAssignCtrlTRE, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::ControlTREassignOnChange);
    connect(cmbAssignCtrlQUATTRO, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::ControlQUATTROAssignOnChange);
    connect(cmbAssignRemote, &QComboBox::currentIndexChanged, this,
            &TformFXsettings::RemoteAssignOnChange);
}

void TformFXsettings::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring a minimised window is no new show: the image is read once per show.
    if (!event->spontaneous()) FormShow();
}

void TformFXsettings::FormShow() {
    SetFrameColours();
    if (!context_.SelectedEffectName.isEmpty()) setWindowTitle(context_.SelectedEffectName);
    const QString resourceName = ResourceNameOf(context_.SelectedEffectName);
    Log("resource name: " + resourceName);
    if (!LoadResourceLines(context_, resourceName)) return;
    const QString firstLine =
        context_.AlgorithmImageText.isEmpty() ? QString() : context_.AlgorithmImageText.first();
    Log("filecontent (first 128 bytes): " + firstLine.left(256));
    LoadParameterAddresses();
}

bool TformFXsettings::LoadParameterAddresses() {
    const QString firstLine =
        context_.AlgorithmImageText.isEmpty() ? QString() : context_.AlgorithmImageText.first();
    std::string error;
    if (parameters_.LoadParameterAddresses(firstLine.toStdString(), &error)) return true;
    const QString text = "The effect image \"" + context_.SelectedEffectName +
                         "\" holds no valid parameter address table (" +
                         QString::fromStdString(error) +
                         "). The parameter addresses are left as they were.";
    Log(text);
    context_.dialogs.showMessage(text);
    return false;
}

void TformFXsettings::SetFrameColours() {
    const QString colour = QColor::fromRgba(kOutlineColour).name(QColor::HexArgb);
    for (QFrame* outline : outlines_) {
        const bool line = outline->width() <= 1 || outline->height() <= 1;
        outline->setStyleSheet(
            QString("QFrame#%1 { border: 1px solid %2; border-radius: %3px; background: "
                    "transparent; }")
                .arg(outline->objectName(), colour, line ? "0" : "4"));
    }
}

void TformFXsettings::EnableWindowControls(bool enabled) {
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setEnabled(enabled);
        if (auto* list = qobject_cast<QComboBox*>(child)) {
            if (auto* model = qobject_cast<QStandardItemModel*>(list->model())) {
                for (int row = 0; row < model->rowCount(); ++row)
                    model->item(row)->setEnabled(enabled);
            }
        }
    }
}

bool TformFXsettings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chkDominantNoteCut && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        chkDominantNoteCutMouseDown();
    }
    return QWidget::eventFilter(watched, event);
}

void TformFXsettings::chkDominantNoteCutMouseDown() { Log("Right mouse button clicked!"); }

void TformFXsettings::Log(const QString& text) const {
    if (context_.ConsolePrint) context_.ConsolePrint(text);
}

bool TformFXsettings::Guarded() const { return context_.LoadingFromPedal; }
