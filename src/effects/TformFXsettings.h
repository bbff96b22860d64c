#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "effects/EditedValues.h"
#include "protocol/Parameters.h"
#include "protocol/StatusReply.h"

class ArcDial;
class ToggleSwitch;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QRadioButton;
class QTimer;
struct EditorContext;

namespace effect_controls {
struct EffectControl;
}

// The effect settings window: one control per effect parameter, the bypass switch, the
// tuning lists, the control assignments and the footswitch choice. Changing a control
// sends the new value to the pedal at once; dials go through a 100 ms send timer so a
// quick turn costs one message. The window lives for the whole run; closing hides it.
class TformFXsettings : public QWidget {
    Q_OBJECT

  public:
    explicit TformFXsettings(EditorContext& context, QWidget* parent = nullptr);
    ~TformFXsettings() override;

    // The nineteen effect parameters, in status reply order.
    varkunda::protocol::ParameterSet& Parameters() { return parameters_; }
    const varkunda::protocol::ParameterSet& Parameters() const { return parameters_; }

    // Switches every control of the window on or off.
    void EnableWindowControls(bool enabled);

    // Reads the parameter addresses from the first line of the loaded effect image.
    // A line without a complete address table is reported and changes nothing.
    bool LoadParameterAddresses();

    // Message texts built from the window's state; each is logged as it is built.
    QString BuildAssignMessage();
    QString BuildFootswitchMessage();

    // Readers of the pedal's status reply, called in this order by the status request:
    // getFootswitchMode, getTuning, getAssignments, getBypassStatus, (the main window's
    // readers), getParameters. Reading is no edit: the controls a reader moves send
    // nothing, ask nothing and keep the values exactly as the pedal reported them.
    void getFootswitchMode(const varkunda::protocol::StatusReply& reply);
    void getTuning(const varkunda::protocol::StatusReply& reply);
    void getAssignments(const varkunda::protocol::StatusReply& reply);
    void getBypassStatus(const varkunda::protocol::StatusReply& reply);
    void getParameters(const varkunda::protocol::StatusReply& reply);

    // Sets every parameter control from the parameters' values; the controls that move
    // send their values (getParameters calls it without sending). With send_immediately
    // the dial handlers write at once instead of through the send timer.
    void ApplyParametersToWindow(bool send_immediately);

    // The values and dial positions the window holds now.
    EditedValues CurrentValues() const;
    // Puts back every parameter whose value or dial position differs from `target`;
    // each one sends as the player's change of its control does, a dial through the send
    // timer unless `immediately`. Dials the pedal keeps as a fraction send the exact
    // value. Nothing of it is an edit of the history.
    void RestoreValues(const EditedValues& target, bool immediately);

    // Whether the parameter values are the ones read from the linked pedal for the
    // shown effect: set when getParameters applied a status reply, cleared when another
    // effect is shown and by ForgetPedalValues. Commands that send the window's values
    // to the pedal are for this state only.
    bool HoldsPedalValues() const;
    // The window's values are no longer the pedal's: it was unlinked, or a status reply
    // was not applied to the window.
    void ForgetPedalValues();

    // While busy (an exchange with the pedal runs) the window takes no input. Going busy
    // sends the dial changes still waiting for the send timer first: written inside the
    // exchange they would be cut by its purge.
    void SetBusy(bool busy);
    // Sends the dial changes waiting for the send timer now; true when there were any.
    bool FlushPendingChanges();

    // Window state shared with the main window.
    bool SendImmediately = false;
    std::uint8_t CurrentTuning = 0;
    std::int8_t SemitoneVariation = 0;
    std::array<std::uint8_t, 5> AssignmentFlags{};  // Control I..IV, Remote
    std::uint16_t FootswitchMode = 0;

    // Components.
    ArcDial* dialDry = nullptr;
    ArcDial* dialMinus1Oct = nullptr;
    ArcDial* dialSubMix = nullptr;
    ArcDial* dialMinus2Oct = nullptr;
    ArcDial* dialLowPass = nullptr;
    ArcDial* dialHighPass = nullptr;
    ArcDial* dialRange = nullptr;
    ArcDial* dialDryHPF = nullptr;
    ArcDial* dialInputLevel = nullptr;
    ArcDial* dialClipWave = nullptr;
    ArcDial* dial1stHarmonic = nullptr;
    ArcDial* dialNoiseGateThreshold = nullptr;
    ToggleSwitch* swtWave = nullptr;
    ToggleSwitch* swtSplit = nullptr;
    ToggleSwitch* swtBypass = nullptr;
    ToggleSwitch* swtLimitRange = nullptr;
    ToggleSwitch* swtNoiseGateStatus = nullptr;
    QCheckBox* chkDominantNoteCut = nullptr;
    QCheckBox* chkHighNoteCut = nullptr;
    QComboBox* cmbVariableWavePitch = nullptr;
    QComboBox* cmbGuitarTuning = nullptr;
    QComboBox* cmbSemitonesVariation = nullptr;
    QComboBox* cmbAssignCtrlUNO = nullptr;
    QComboBox* cmbAssignCtrlDUE = nullptr;
    QComboBox* cmbAssignCtrlTRE = nullptr;
    QComboBox* cmbAssignCtrlQUATTRO = nullptr;
    QComboBox* cmbAssignRemote = nullptr;
    QRadioButton* chkBypassShortPress = nullptr;
    QRadioButton* chkChangePresetShortPress = nullptr;
    QRadioButton* chkBypassLongPress = nullptr;
    QRadioButton* chkChangePresetLongPress = nullptr;
    QButtonGroup* FtswShortPress = nullptr;
    QButtonGroup* FtswLongPress = nullptr;
    QTimer* Timer1 = nullptr;

  public slots:
    void dialDryChange();
    void dialMinus1OctChange();
    void dialSubMixChange();
    void dialMinus2OctChange();
    void dialLPFChange();
    void dialHPFChange();
    void dialRangeChange();
    void dialDryHPFChange();
    void OnChange_dialInputLevel();
    void dialClipWaveChange();
    void dial1stHarmonicChange();
    void dialNoiseGateThresholdChange();
    void Timer1Timer();

    void swtWaveSwitch();
    void swtSplitSwitch();
    void swtLimitRangeSwitch();
    void swtNoiseGateStatusSwitch();
    void swtBypassSwitch();

    void chkDominantNoteCutChange();
    void chkHighNoteCutChange();
    void chkDominantNoteCutMouseDown();
    void VariWavePitchOnChange();
    void cmbGuitarTuningChange();
    void cmbSemitonesVariationChange();

    void ControlUNOassignOnChange();
    void ControlDUEassignOnChange();
    void ControlTREassignOnChange();
    void ControlQUATTROAssignOnChange();
    void RemoteAssignOnChange();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A dial message waiting for the send timer: the latest one of each parameter.
    struct PendingDialMessage {
        std::size_t parameter;
        std::string text;
    };

    void CreateComponents();
    void CreateParameterControl(const effect_controls::EffectControl& control, QWidget* group);
    void SetReadingOrder();
    void ConnectHandlers();
    void FormCreate();
    void FormShow();
    void SetFrameColours();

    // The common body of the parameter controls' change handlers.
    void ParameterControlChanged(void (TformFXsettings::*handler)());
    void DialChanged(ArcDial* dial, std::size_t parameter);
    std::uint32_t SendDialParameter(ArcDial* dial, std::size_t parameter);
    void SwitchChanged(ToggleSwitch* control, std::size_t parameter);
    void SendSwitchParameter(std::uint32_t value, std::size_t parameter);
    void NoteCutChanged(QCheckBox* box, std::size_t parameter);
    void PitchListChanged(QComboBox* list, std::size_t parameter);
    void WriteToDsp(const std::string& prefix, std::uint16_t address, std::uint32_t value);
    // Every message the window sends to the pedal leaves through here.
    void WriteMessage(const std::string& text);
    void AssignmentListChanged(std::size_t control);
    void ShowParameterValue(const effect_controls::EffectControl& control);
    // Whether the pedal reports the value the control shows.
    bool ShowsReportedValue(const effect_controls::EffectControl& control, std::uint32_t reported);

    void Log(const QString& text) const;
    // The edit handlers that are silent while a Request load runs; every handler is
    // silent while a status reply is shown.
    bool Guarded() const;

    EditorContext& context_;
    varkunda::protocol::ParameterSet parameters_;
    std::vector<PendingDialMessage> pendingDialMessages_;
    std::array<QComboBox*, 5> assignLists_{};
    std::vector<QFrame*> outlines_;
    bool showingPedalValues_ = false;  // a reader is moving the controls
    bool holdsPedalValues_ = false;
    QString pedalValuesEffect_;  // the effect shown when they were read
    bool busy_ = false;
    bool enabledBeforeBusy_ = true;
    // What the window held after the last change of a control: the start of the next
    // edit, since a dial's handler runs after the dial has moved.
    EditedValues settled_;
    bool restoring_ = false;  // RestoreValues is moving the controls
};
