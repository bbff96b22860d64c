#pragma once

// The enabled state of the main window's device-dependent controls, by caption, so a
// test can compare whole rows of the window's state table at once.

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/TformMain.h"

namespace pedal_test {

using ControlStates = std::map<std::string, bool>;

inline ControlStates EnabledControls(const TformMain& m) {
    return {
        {"Scan", m.menuScan->isEnabled()},
        {"Link", m.menuConnect->isEnabled()},
        {"Unlink", m.menuDisconnect->isEnabled()},
        {"Upgrade Mode", m.menuFirmwareUpgradeMode->isEnabled()},
        {"Start Firmware Upgrade", m.menuStartFirmwareUpgrade->isEnabled()},
        {"Erase Settings", m.menuEraseSettings->isEnabled()},
        {"Upload Selected", m.btnUpload->isEnabled()},
        {"Request", m.btnRequest->isEnabled()},
        {"Save Parameters", m.btnSaveParameters->isEnabled()},
        {"Assign", m.btnAssign->isEnabled()},
        {"Set Footswitch Mode", m.btnSetFootswitchMode->isEnabled()},
        {"Set Tuning", m.btnSetTuning->isEnabled()},
        {"Instrument Range", m.menuInstrumentRange->isEnabled()},
        {"Bypass Status", m.menuBypassStatus->isEnabled()},
        {"Load Preset", m.menuLoadPreset->isEnabled()},
        {"Save Preset", m.menuSavePreset->isEnabled()},
        {"Load Effect From File", m.menuLoadAlgorithmFromFile->isEnabled()},
        {"Effect list", m.lstEffects->isEnabled()},
        {"Upload Tuning Data", m.menuUploadTuningsData->isEnabled()},
        {"MIDI", m.menuMIDI->isEnabled()},
    };
}

// The states with the named controls enabled and every other one disabled.
inline ControlStates OnlyEnabled(const std::vector<std::string>& names, const TformMain& any) {
    ControlStates states = EnabledControls(any);
    for (auto& [name, enabled] : states)
        enabled = std::find(names.begin(), names.end(), name) != names.end();
    return states;
}

}  // namespace pedal_test
