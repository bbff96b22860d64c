#pragma once

#include <QPointer>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QWidget;
struct EditorContext;

// The controls whose enabled state follows the editor's state. The main window binds
// its own; the effect window and the debug console are switched through their own
// switches (EnableWindowControls, EnableEepromTools) and never reached into.
enum class Control : std::uint8_t {
    Scan,
    Link,
    Unlink,
    UpgradeMode,
    StartFirmwareUpgrade,
    UpgradeFirmware,  // the Firmware Upgrade window's button
    EraseSettings,
    UploadSelected,
    Request,
    SaveParameters,
    Assign,
    SetFootswitchMode,
    SetTuning,
    InstrumentRange,
    BypassStatus,
    LoadPreset,
    SavePreset,
    LoadEffectFromFile,
    EffectList,
    UploadTuningData,
    MIDI,
    EffectWindowControls,
    EditHistory,  // the Edit menu's undo, redo and A/B items, in both windows
    ConsoleEepromTools,
};
inline constexpr std::size_t kControlCount =
    static_cast<std::size_t>(Control::ConsoleEepromTools) + 1;

// The states the editor enters, each a column of the table in ControlStateTable.cpp. A
// column says what entering the state does to each control; a control it keeps stays
// as the states before left it, so the order of entering tells the whole story (a
// bootloader handshake inside Link, for instance, is followed by Linked).
enum class EditorState : std::uint8_t {
    NoDevice,             // start-up or a scan without a device
    DeviceFound,          // a scan offered a device and the user did not link it
    Unlinked,             // start-up with a device; Unlink; the pedal was lost
    Linked,               // Link opened the device; a status reply was accepted
    FirmwareTooOld,       // the status reply's firmware gate stopped the request
    AlgorithmTooOld,      // the status reply's algorithm gate stopped the request
    BootloaderConnected,  // the bootloader answered the handshake
    UpgradeFinished,      // a firmware upgrade went through and the pedal restarted
};
inline constexpr std::size_t kStateCount =
    static_cast<std::size_t>(EditorState::UpgradeFinished) + 1;

// The two groups the main window's procedures switch on their own: EnableUSBobjects
// and EnableMainButtons.
enum class ControlGroup : std::uint8_t { DeviceControls, MainButtons };

// What entering a state does with one control.
enum class Cell : std::uint8_t {
    Keep,             // leaves it as it is
    Off,              // disables it
    On,               // enables it
    WithPedalValues,  // enables it only while the effect window holds the pedal's values
};

// The one place that decides which controls are enabled. States are entered with
// enter(); an exchange with the pedal in progress lies over whatever state is entered:
// while it runs every bound control is off, the effect window and the console are busy,
// and when it ends the controls get back what they had before, or what a state entered
// meanwhile gave them (a pedal lost inside the exchange stays unlinked).
class ControlStateTable {
public:
    using Row = std::array<Cell, kControlCount>;

    explicit ControlStateTable(EditorContext& context);

    void bind(Control control, QAction* action);
    void bind(Control control, QWidget* widget);
    void bind(Control control, QActionGroup* group);
    // The window whose keyboard focus an exchange gives back when it ends.
    void bindFocusWindow(QWidget* window);
    // Whether the effect window holds values read from the linked pedal; the commands
    // that send those values are enabled only then.
    void setPedalValuesCheck(std::function<bool()> check) { pedalValuesCheck_ = std::move(check); }

    void enter(EditorState state);
    void setGroup(ControlGroup group, bool enabled);

    // An exchange with the pedal: begun and ended in pairs; an inner pair changes nothing.
    void beginExchange();
    void endExchange();
    bool exchangeRunning() const { return exchangeDepth_ > 0; }
    // Runs `action` now, or once the exchange in progress has ended.
    void whenNoExchange(std::function<void()> action);

private:
    struct Target {
        QPointer<QAction> action;
        QPointer<QWidget> widget;
        QPointer<QActionGroup> group;
    };

    static Row RowOf(EditorState state);
    static Row GroupRow(ControlGroup group, bool enabled);
    void apply(const Row& row);
    bool ownSetting(Control control) const;
    void show(Control control, bool enabled);

    EditorContext& context_;
    std::array<Target, kControlCount> targets_{};
    std::function<bool()> pedalValuesCheck_;
    int exchangeDepth_ = 0;
    // While an exchange runs: what the bound controls show when it ends.
    std::array<bool, kControlCount> afterExchange_{};
    QPointer<QWidget> focusWindow_;
    QPointer<QWidget> focus_;
    std::vector<std::function<void()>> deferred_;
};
