#pragma once

#include <QStringList>

#include "cli/CommandContext.h"

// The commands; each returns the tool's exit status.
namespace varkunda::cli {

int ListCommand(CommandContext& context, const QStringList& arguments);
int StatusCommand(CommandContext& context, const QStringList& arguments);
int GetCommand(CommandContext& context, const QStringList& arguments);
int SetCommand(CommandContext& context, const QStringList& arguments);
int SaveCommand(CommandContext& context, const QStringList& arguments);
int PresetCommand(CommandContext& context, const QStringList& arguments);
int MidiCommand(CommandContext& context, const QStringList& arguments);
int RangeCommand(CommandContext& context, const QStringList& arguments);
int EraseSettingsCommand(CommandContext& context, const QStringList& arguments);
int UploadCommand(CommandContext& context, const QStringList& arguments);
int TuningDataCommand(CommandContext& context, const QStringList& arguments);
int EepromCommand(CommandContext& context, const QStringList& arguments);
int TuningCommand(CommandContext& context, const QStringList& arguments);
int FootswitchCommand(CommandContext& context, const QStringList& arguments);
int UpgradeCommand(CommandContext& context, const QStringList& arguments);
int AssignCommand(CommandContext& context, const QStringList& arguments);
int LogCommand(CommandContext& context, const QStringList& arguments);
int DoctorCommand(CommandContext& context, const QStringList& arguments);

}  // namespace varkunda::cli
