#pragma once

#include <QString>

// The warning before the pedal's settings memory is erased, and its check box.
namespace erasetexts {

inline QString Warning() {
    return QStringLiteral(
        "Are you sure you want to delete all settings?\r\n"
        "This action will delete the Varkunda TZ5 algorithm and any other settings like "
        "presets and assignments\r\n"
        "Erase settings is suggested in the following cases:\r\n"
        "- the pedal is unresponsive/freezed after updates\r\n"
        "- you want to switch to the R-Ivo Z Polyfex\r\n"
        "If you proceed with erasing you can always restore algorithm by:\r\n"
        "- uploading the Varkunda TZ5 algorithm once again from \"Upload Selected\" button\r\n"
        "- click Request\r\n"
        "- set tuning and assignments as desired\r\n"
        "- click Save Parameters, Set Tuning, Assign");
}

inline QString SavePresetFirst() {
    return QStringLiteral("Save the current parameters as a preset first");
}

}  // namespace erasetexts
