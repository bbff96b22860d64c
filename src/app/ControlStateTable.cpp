#include "app/ControlStateTable.h"

#include <QAction>
#include <QActionGroup>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "app/EditorContext.h"
#include "console/TformPrint.h"
#include "effects/TformFXsettings.h"

namespace {

struct ControlLine {
    Control control;
    std::array<Cell, kStateCount> cells;
};

constexpr Cell K = Cell::Keep;
constexpr Cell Off = Cell::Off;
constexpr Cell On = Cell::On;
constexpr Cell PV = Cell::WithPedalValues;

// One line per control, one column per state, in the order of the two enums. Nothing
// that talks to the pedal is left on without a linked one; the four commands that send
// what the effect window shows wait for the pedal's own values in it. While the pedal
// sits in its ROM bootloader only the upgrade talks to it: any other message would reach
// a bootloader that reads bytes as commands.
// A new control is a Control value, a line here and a bind() by its window; a new
// state is an EditorState value and a column here.
// clang-format off
constexpr ControlLine kTable[] = {
    //                                   NoDevice Found Unlinked Linked FwOld AlgOld Bootloader Upgraded
    {Control::Scan,                     {On,      K,    On,      Off,   K,    K,     K,         K}},
    {Control::Link,                     {Off,     On,   On,      Off,   K,    K,     K,         K}},
    {Control::Unlink,                   {Off,     K,    Off,     On,    K,    K,     K,         K}},
    {Control::UpgradeMode,              {K,       K,    K,       On,    K,    K,     K,         K}},
    {Control::StartFirmwareUpgrade,     {Off,     K,    Off,     K,     K,    K,     On,        Off}},
    {Control::UpgradeFirmware,          {K,       K,    K,       K,     K,    K,     On,        K}},
    {Control::EraseSettings,            {Off,     K,    Off,     On,    K,    K,     Off,       K}},
    {Control::UploadSelected,           {Off,     K,    Off,     On,    Off,  On,    Off,       On}},
    {Control::Request,                  {Off,     K,    Off,     On,    Off,  Off,   Off,       On}},
    {Control::SaveParameters,           {Off,     K,    Off,     PV,    Off,  Off,   Off,       K}},
    {Control::Assign,                   {Off,     K,    Off,     PV,    Off,  Off,   Off,       K}},
    {Control::SetFootswitchMode,        {Off,     K,    Off,     PV,    Off,  Off,   Off,       K}},
    {Control::SetTuning,                {Off,     K,    Off,     PV,    Off,  Off,   Off,       K}},
    {Control::InstrumentRange,          {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::BypassStatus,             {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::LoadPreset,               {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::SavePreset,               {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::LoadEffectFromFile,       {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::EffectList,               {K,       K,    K,       On,    Off,  On,    Off,       K}},
    {Control::UploadTuningData,         {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::MIDI,                     {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::EffectWindowControls,     {Off,     K,    Off,     On,    Off,  On,    Off,       K}},
    {Control::EditHistory,              {Off,     K,    Off,     PV,    Off,  PV,    Off,       K}},
    {Control::ConsoleEepromTools,       {Off,     K,    Off,     On,    K,    K,     Off,       K}},
};
// clang-format on

// EnableUSBobjects and EnableMainButtons, in the order they set the controls.
constexpr Control kDeviceControls[] = {Control::UploadSelected,
                                       Control::SaveParameters,
                                       Control::Assign,
                                       Control::SetFootswitchMode,
                                       Control::SetTuning,
                                       Control::InstrumentRange,
                                       Control::BypassStatus,
                                       Control::Request,
                                       Control::LoadPreset,
                                       Control::SavePreset,
                                       Control::LoadEffectFromFile,
                                       Control::EffectList,
                                       Control::UploadTuningData,
                                       Control::MIDI,
                                       Control::EffectWindowControls,
                                       Control::EditHistory};
constexpr Control kMainButtons[] = {Control::Request, Control::SaveParameters, Control::Assign,
                                    Control::SetFootswitchMode, Control::SetTuning};

constexpr bool TableListsEveryControlInOrder() {
    if (std::size(kTable) != kControlCount) return false;
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (static_cast<std::size_t>(kTable[i].control) != i) return false;
    return true;
}
static_assert(TableListsEveryControlInOrder(), "one line per control, in the enum's order");

constexpr std::size_t Index(Control control) { return static_cast<std::size_t>(control); }

}  // namespace

ControlStateTable::ControlStateTable(EditorContext& context) : context_(context) {}

void ControlStateTable::bind(Control control, QAction* action) {
    targets_[Index(control)] = {action, {}, {}};
}

void ControlStateTable::bind(Control control, QWidget* widget) {
    targets_[Index(control)] = {{}, widget, {}};
}

void ControlStateTable::bind(Control control, QActionGroup* group) {
    targets_[Index(control)] = {{}, {}, group};
}

void ControlStateTable::bindFocusWindow(QWidget* window) { focusWindow_ = window; }

ControlStateTable::Row ControlStateTable::RowOf(EditorState state) {
    Row row{};
    for (const ControlLine& line : kTable)
        row[Index(line.control)] = line.cells[static_cast<std::size_t>(state)];
    return row;
}

ControlStateTable::Row ControlStateTable::GroupRow(ControlGroup group, bool enabled) {
    Row row{};
    row.fill(Cell::Keep);
    const auto set = [&](const auto& members) {
        for (Control control : members) row[Index(control)] = enabled ? Cell::On : Cell::Off;
    };
    if (group == ControlGroup::DeviceControls)
        set(kDeviceControls);
    else
        set(kMainButtons);
    return row;
}

void ControlStateTable::enter(EditorState state) { apply(RowOf(state)); }

void ControlStateTable::setGroup(ControlGroup group, bool enabled) {
    apply(GroupRow(group, enabled));
}

// While an exchange runs, the main window's controls stay off and what the row gives
// them is kept for the exchange's end; the two other windows keep their own setting
// under their busy switch.
void ControlStateTable::apply(const Row& row) {
    const bool pedalValues = pedalValuesCheck_ && pedalValuesCheck_();
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (row[i] == Cell::Keep) continue;
        const bool enabled = row[i] == Cell::On || (row[i] == Cell::WithPedalValues && pedalValues);
        const auto control = static_cast<Control>(i);
        if (control == Control::EffectWindowControls) {
            if (TformFXsettings* effects = context_.formFXsettings)
                effects->EnableWindowControls(enabled);
        } else if (control == Control::ConsoleEepromTools) {
            if (TformPrint* console = context_.formPrint) console->EnableEepromTools(enabled);
        } else if (exchangeRunning()) {
            afterExchange_[i] = enabled;
        } else {
            show(control, enabled);
        }
    }
}

void ControlStateTable::beginExchange() {
    if (exchangeDepth_++ > 0) return;
    context_.PedalExchangeRunning = true;
    focus_ = focusWindow_ ? focusWindow_->focusWidget() : nullptr;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto control = static_cast<Control>(i);
        afterExchange_[i] = ownSetting(control);
        show(control, false);
    }
    if (TformPrint* console = context_.formPrint) console->SetBusy(true);
    if (TformFXsettings* effects = context_.formFXsettings) effects->SetBusy(true);
}

void ControlStateTable::endExchange() {
    if (exchangeDepth_ == 0 || --exchangeDepth_ > 0) return;
    for (std::size_t i = 0; i < kControlCount; ++i)
        show(static_cast<Control>(i), afterExchange_[i]);
    if (TformFXsettings* effects = context_.formFXsettings) effects->SetBusy(false);
    if (TformPrint* console = context_.formPrint) console->SetBusy(false);
    if (focus_ && focus_->isEnabled()) focus_->setFocus(Qt::OtherFocusReason);
    focus_ = nullptr;
    context_.PedalExchangeRunning = false;
    const std::vector<std::function<void()>> due = std::exchange(deferred_, {});
    for (const auto& action : due) action();
}

void ControlStateTable::whenNoExchange(std::function<void()> action) {
    if (exchangeRunning())
        deferred_.push_back(std::move(action));
    else
        action();
}

// A widget's own setting, not the one it inherits from a disabled parent.
bool ControlStateTable::ownSetting(Control control) const {
    const Target& target = targets_[Index(control)];
    if (target.action) return target.action->isEnabled();
    if (target.widget) return !target.widget->testAttribute(Qt::WA_ForceDisabled);
    if (target.group) return target.group->isEnabled();
    return false;
}

void ControlStateTable::show(Control control, bool enabled) {
    const Target& target = targets_[Index(control)];
    if (target.action) target.action->setEnabled(enabled);
    if (target.widget) target.widget->setEnabled(enabled);
    if (target.group) target.group->setEnabled(enabled);
}
