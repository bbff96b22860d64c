// The main window's update service: the editor version check, the Info menu and the
// updater launch.
#include <QAction>

#include "app/EditorContext.h"
#include "app/SettingsFiles.h"
#include "app/TformMain.h"
#include "platform/Shell.h"

void TformMain::OpenURL(const QString& url) { context_.shell.openUrl(url); }

// Prepares the version request and arms TimerCheckWebVersion; the version check
// itself is not part of the editor yet, so nothing is armed.
void TformMain::PrepareWebVersionCheck() {}

void TformMain::checkmostrecentversiononwebsite() {}

void TformMain::menuInfoClick() {}

void TformMain::menuSupportClick() {}

void TformMain::menuUpdateNowClick() {}

// The click has already toggled the check mark. The choice is stored only when the
// preference file exists and takes effect at the next start. A choice that could not
// be stored is taken back.
void TformMain::menuShowUpdateMsgClick() {
    const bool show = menuShowUpdateMsg->isChecked();
    const auto result =
        ReplaceExistingSettingFile(context_, settings::kShowUpdateMessageFile,
                                   show ? QStringLiteral("YES") : QStringLiteral("NO"));
    if (result == ReplaceResult::Failed) menuShowUpdateMsg->setChecked(!show);
}
