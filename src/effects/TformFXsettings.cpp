#include "effects/TformFXsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QMouseEvent>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTimer>
#include <chrono>

#include "app/BuiltinResources.h"
#include "app/EditorContext.h"
#include "app/Fonts.h"
#include "effects/ArcDial.h"
#include "effects/EditHistory.h"
#include "effects/EffectControls.h"
#include "effects/FXsettingsTexts.h"
#include "effects/ToggleSwitch.h"
#include "link/Transport.h"
#include "platform/Dialogs.h"

namespace protocol = varkunda::protocol;
namespace param = varkunda::protocol::param;

namespace {

// Outline colour of the frames and lines, alpha first.
constexpr QRgb kOutlineColour = 0xFFF8F8FF;
// The longest burst of dial messages, one for each of the 19 parameters (133 bytes),
// crosses the line in 12 ms at 115 200 baud.
constexpr std::chrono::milliseconds kPendingSendsCrossTheLine{20};

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
    settled_ = CurrentValues();
    // Undo and redo work from this window too.
    if (EditHistory* history = context_.editHistory)
        addActions({history->undoAction(), history->redoAction()});
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

    // The parameter controls got their hints with their places.
    cmbGuitarTuning->setToolTip(fxtexts::kHintGuitarTuning);
    cmbSemitonesVariation->setToolTip(fxtexts::kHintSemitones);

    cmbGuitarTuning->setCurrentIndex(0);
    cmbSemitonesVariation->setCurrentIndex(5);
    CurrentTuning = 0;
    SemitoneVariation = 0;
}

void TformFXsettings::ConnectHandlers() {
    for (const effect_controls::EffectControl& control : effect_controls::Controls()) {
        effect_controls::VisitComponent(
            *this, control,
            [&](ArcDial* dial) {
                connect(dial, &ArcDial::changed, this, control.changed);
                dial->installEventFilter(this);
            },
            [&](ToggleSwitch* toggle) {
                connect(toggle, &ToggleSwitch::switched, this, control.changed);
            },
            [&](QCheckBox* box) { connect(box, &QCheckBox::toggled, this, control.changed); },
            [&](QComboBox* list) {
                connect(list, &QComboBox::currentIndexChanged, this, control.changed);
            });
    }
    connect(Timer1, &QTimer::timeout, this, &TformFXsettings::Timer1Timer);
    connect(swtBypass, &ToggleSwitch::switched, this, &TformFXsettings::swtBypassSwitch);

    chkDominantNoteCut->installEventFilter(this);
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
    // Another effect's edits and A are not this one's.
    if (context_.SelectedEffectName != pedalValuesEffect_)
        ForgetPedalValues();
    else if (EditHistory* history = context_.editHistory)
        history->EndComparison();
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

void TformFXsettings::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        if (FlushPendingChanges() && context_.transport)
            context_.transport->environment().sleep(kPendingSendsCrossTheLine);
        enabledBeforeBusy_ = !testAttribute(Qt::WA_ForceDisabled);
        setEnabled(false);
    } else {
        setEnabled(enabledBeforeBusy_);
    }
}

bool TformFXsettings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chkDominantNoteCut && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        chkDominantNoteCutMouseDown();
    }
    // A drag of a dial is one step of the history however long it takes.
    EditHistory* history = context_.editHistory;
    if (history && qobject_cast<ArcDial*>(watched)) {
        if (event->type() == QEvent::MouseButtonPress) history->DialPressed();
        if (event->type() == QEvent::MouseButtonRelease) history->DialReleased();
    }
    return QWidget::eventFilter(watched, event);
}

void TformFXsettings::chkDominantNoteCutMouseDown() { Log("Right mouse button clicked!"); }

void TformFXsettings::Log(const QString& text) const {
    if (context_.ConsolePrint) context_.ConsolePrint(text);
}

bool TformFXsettings::Guarded() const { return context_.LoadingFromPedal || showingPedalValues_; }
