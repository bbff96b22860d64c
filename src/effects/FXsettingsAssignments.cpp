// Assignments of the pedal's controls and remote footswitch, and the footswitch mode.
#include <QComboBox>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <optional>

#include "app/EditorContext.h"
#include "effects/FXsettingsTexts.h"
#include "effects/TformFXsettings.h"
#include "platform/Dialogs.h"
#include "protocol/Assignments.h"
#include "protocol/Messages.h"
#include "protocol/StatusReply.h"

namespace protocol = varkunda::protocol;
namespace param = varkunda::protocol::param;

namespace {

using protocol::kControlI;
using protocol::kControlII;
using protocol::kControlIII;
using protocol::kControlIV;
using protocol::kRemote;
using protocol::kRemoteFields;

std::span<const std::size_t> ChoicesOf(std::size_t control) {
    return protocol::AssignmentChoicesOf(control);
}

}  // namespace

void TformFXsettings::AssignmentListChanged(std::size_t control) {
    QComboBox* list = assignLists_[control];
    AssignmentFlags[control] = list->currentIndex() > 0 ? 1 : 0;
    if (control != kControlIII && control != kControlIV) return;
    if (Guarded()) return;
    const std::string chosen = list->currentText().toStdString();
    const bool noteCut = chosen == parameters_.name(param::kDominantNotesCut) ||
                         chosen == parameters_.name(param::kHighNotesCut);
    if (noteCut && CurrentTuning == 0) {
        context_.dialogs.showMessage(fxtexts::kNoTuningForAssign);
        list->setCurrentIndex(0);  // runs this handler again, which clears the flag
    }
}

void TformFXsettings::ControlUNOassignOnChange() { AssignmentListChanged(kControlI); }
void TformFXsettings::ControlDUEassignOnChange() { AssignmentListChanged(kControlII); }
void TformFXsettings::ControlTREassignOnChange() { AssignmentListChanged(kControlIII); }
void TformFXsettings::ControlQUATTROAssignOnChange() { AssignmentListChanged(kControlIV); }
void TformFXsettings::RemoteAssignOnChange() { AssignmentListChanged(kRemote); }

QString TformFXsettings::BuildAssignMessage() {
    std::array<std::uint16_t, 5> fields;
    fields.fill(protocol::kNotAssigned);
    for (std::size_t control = kControlI; control <= kControlIV; ++control) {
        const QComboBox* list = assignLists_[control];
        if (list->currentIndex() <= 0) continue;
        const std::string shown = list->currentText().toStdString();
        for (std::size_t parameter : ChoicesOf(control)) {
            if (parameters_.name(parameter) == shown) {
                fields[control] = parameters_.address(parameter);
                break;
            }
        }
    }
    const int remote = cmbAssignRemote->currentIndex();
    if (remote >= 0 && remote < static_cast<int>(kRemoteFields.size()))
        fields[kRemote] = kRemoteFields[static_cast<std::size_t>(remote)];

    const QString text = QString::fromStdString(protocol::AssignMessage(AssignmentFlags, fields));
    Log("lenght of assign message in bytes: " + QString::number(text.size() / 2));
    Log("assign message: " + text);
    return text;
}

QString TformFXsettings::BuildFootswitchMessage() {
    const QString text = QString::fromStdString(protocol::FootswitchMessage(
        chkChangePresetShortPress->isChecked(), chkBypassLongPress->isChecked()));
    Log("footswitch behaviour message: " + text);
    return text;
}

void TformFXsettings::getFootswitchMode(const protocol::StatusReply& reply) {
    const QScopedValueRollback reading(showingPedalValues_, true);
    FootswitchMode = reply.footswitchMode;
    Log("Footswitch Mode: " + QString::number(FootswitchMode));
    const std::optional<protocol::FootswitchChoice> choice =
        protocol::DecodeFootswitchMode(reply.footswitchMode);
    if (!choice) return;
    (choice->shortPressChangesPreset ? chkChangePresetShortPress : chkBypassShortPress)
        ->setChecked(true);
    (choice->longPressBypasses ? chkBypassLongPress : chkChangePresetLongPress)->setChecked(true);
}

void TformFXsettings::getAssignments(const protocol::StatusReply& reply) {
    const QScopedValueRollback reading(showingPedalValues_, true);
    std::array<std::optional<std::uint16_t>, 5> fields;
    for (std::size_t control = kControlI; control <= kRemote; ++control) {
        if (reply.assignmentFlags[control] != 0)
            fields[control] = reply.assignmentFields[control];
        else
            assignLists_[control]->setCurrentIndex(0);
    }
    for (std::size_t k = 0; k < protocol::kAssignableParameterCount; ++k)
        parameters_.assignable(k).is_assigned = false;

    for (std::size_t control = kControlI; control <= kControlIV; ++control) {
        if (!fields[control]) continue;
        const std::span<const std::size_t> choices = ChoicesOf(control);
        for (std::size_t entry = 0; entry < choices.size(); ++entry) {
            const std::size_t parameter = choices[entry];
            if (parameters_.address(parameter) != *fields[control]) continue;
            assignLists_[control]->setCurrentIndex(static_cast<int>(entry) + 1);
            parameters_.assignable(parameter - protocol::kFirstAssignableIndex).is_assigned = true;
        }
    }
    if (fields[kRemote] == protocol::kRemoteBypass) cmbAssignRemote->setCurrentIndex(1);
    if (fields[kRemote] == protocol::kRemotePresetChange) cmbAssignRemote->setCurrentIndex(2);
}
