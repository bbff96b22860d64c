#include "app/PedalExchangeGuard.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "app/EditorContext.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "effects/TformFXsettings.h"

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
    if (context_.formFXsettings) context_.formFXsettings->SetBusy(true);
}

PedalExchangeGuard::~PedalExchangeGuard() {
    if (!outermost_) return;
    for (const auto& held : std::as_const(actions_))
        if (held.control) held.control->setEnabled(held.enabled);
    for (const auto& held : std::as_const(widgets_))
        if (held.control) held.control->setEnabled(held.enabled);
    if (context_.formFXsettings) context_.formFXsettings->SetBusy(false);
    if (focus_ && focus_->isEnabled()) focus_->setFocus(Qt::OtherFocusReason);
    context_.PedalExchangeRunning = false;
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
