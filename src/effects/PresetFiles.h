#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/Parameters.h"
#include "protocol/PresetFile.h"

struct EditorContext;
class KnownFolders;

// Preset files as the editor handles them: the preset folder, the file dialogs' texts
// and the messages of a save or a load.
namespace presets {

inline constexpr auto kSaveCaption = "Save Preset File";
inline constexpr auto kOpenCaption = "Open Preset File";
inline constexpr auto kFilter = "Preset files (*.txt)";

using Values = std::array<std::uint32_t, varkunda::protocol::kParameterCount>;

// documents/KAVRO/Varkunda TZ5/Preset.
QString FolderPath(const KnownFolders& folders);
// Creates the preset folder with its parents when missing; false, with a message, when
// it cannot be made.
bool MakeFolder(EditorContext& context);

// The parameter values after a status request, when the request was accepted and the
// effect window was set from its reply; otherwise nothing, with a message that `what`
// did not happen because the values could not be read.
std::optional<Values> ValuesReadFromPedal(EditorContext& context, bool requestAccepted,
                                          const QString& what);

// A name that does not end with ".txt" (compared with case) gets ".txt" appended.
QString WithTxtExtension(const QString& fileName);
// "Before erase 2025-01-31 14-05-09.txt" in the preset folder; a name already taken
// gets " (2)", " (3)", ... before the extension.
QString DatedFilePath(const KnownFolders& folders, const QDateTime& when);

// Replaces the file as a whole or leaves it untouched, then shows "File saved
// successfully: " or "Error saving file: " with the reason.
bool WriteFile(EditorContext& context, const QString& path, const Values& values);

// The file's values, with "File loaded successfully: " shown; nothing, with "Error
// loading file: " and the reason, when it cannot be read or is not a preset.
std::optional<std::vector<varkunda::protocol::PresetValue>> ReadFile(EditorContext& context,
                                                                     const QString& path);

// The console lines of a load: a label and the digits as they stand in the file, for
// the first 17 values.
void LogLoadedValues(EditorContext& context,
                     const std::vector<varkunda::protocol::PresetValue>& values);

}  // namespace presets
