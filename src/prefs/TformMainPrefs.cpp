// The main window's pedal-wide preferences: MIDI channel, bypass-status storage and
// the USB error report switch.
#include <QAction>

#include "app/EditorContext.h"
#include "app/SettingsFiles.h"
#include "app/TformMain.h"

void TformMain::menuMIDIchannelsClickItem(QObject*) {}

void TformMain::menuStoreBypassStatusClick() {}

void TformMain::menuDoNotStoreBypassStatusClick() {}

void TformMain::ChangeStoreBypassStatus(bool) {}

void TformMain::ShowStoreBypassStatus(int) {}

void TformMain::ShowMIDIChannel(int) {}

// The click has already toggled the check mark. The choice is stored only when the
// preference file exists; it reaches the link layer at the next start. A choice that
// could not be stored is taken back.
void TformMain::menuReportUSBErrorsClick() {
    const bool report = menuReportUSBErrors->isChecked();
    const auto result =
        ReplaceExistingSettingFile(context_, settings::kReportUsbErrorsFile,
                                   report ? QStringLiteral("YES") : QStringLiteral("NO"));
    if (result == ReplaceResult::Written) context_.ReportErrorsPreference = report;
    if (result == ReplaceResult::Failed) menuReportUSBErrors->setChecked(!report);
}
