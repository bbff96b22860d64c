#include "app/PedalExchangeGuard.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "effects/TformFXsettings.h"
#include "link/Transport.h"

namespace {
// The longest burst of dial messages, one for each of the 19 parameters (133 bytes),
// crosses the line in 12 ms at 115 200 baud.
constexpr std::chrono::milliseconds kPendingSendsCrossTheLine{20};
}  // namespace

PedalExchangeGuard::PedalExchangeGuard(EditorContext& context)
    : context_(context), outermost_(!context.PedalExchangeRunning) {
    if (!outermost_) return;
    context_.PedalExchangeRunning = true;
    if (TformMain* main = context_.formMain) {
        focus_ = main->focusWidget();
        for (QAction* action :
             {main->menuScan, main->menuConnect, main->menuDisconnect, main->menuLoadPreset,
              main->menuSavePreset, main->menuLoadAlgorithmFromFile, main->menuUploadTuningsData,
              main->menuFirmwareUpgradeMode, main->menuStartFirmwareUpgrade,
              main->menuEraseSettings})
            hold(action);
        for (QWidget* widget :
             std::initializer_list<QWidget*>{main->btnRequest, main->btnUpload, main->lstEffects,
                                             main->menuMIDI, main->menuBypassStatus})
            hold(widget);
    }
    if (TformPrint* console = context_.formPrint) {
        hold(console->btnReadEEPROM);
        hold(console->btnEraseEeprom);
    }
    sendPendingEffectChanges();
    hold(context_.formFXsettings);
}

PedalExchangeGuard::~PedalExchangeGuard() {
    if (!outermost_) return;
    for (const auto& held : std::as_const(actions_))
        if (held.control) held.control->setEnabled(held.enabled);
    for (const auto& held : std::as_const(widgets_))
        if (held.control) held.control->setEnabled(held.enabled);
    if (focus_ && focus_->isEnabled()) focus_->setFocus(Qt::OtherFocusReason);
    context_.PedalExchangeRunning = false;
}

void PedalExchangeGuard::sendPendingEffectChanges() {
    TformFXsettings* effects = context_.formFXsettings;
    if (!effects || !effects->Timer1->isActive()) return;
    effects->Timer1Timer();
    if (context_.transport) context_.transport->environment().sleep(kPendingSendsCrossTheLine);
}

void PedalExchangeGuard::hold(QAction* action) {
    if (!action) return;
    actions_.append({action, action->isEnabled()});
    action->setEnabled(false);
}

// A widget's own setting, not the one it inherits from a disabled parent.
void PedalExchangeGuard::hold(QWidget* widget) {
    if (!widget) return;
    widgets_.append({widget, !widget->testAttribute(Qt::WA_ForceDisabled)});
    widget->setEnabled(false);
}
