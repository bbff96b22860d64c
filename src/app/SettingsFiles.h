#pragma once

#include <QString>

struct EditorContext;
class KnownFolders;

// The preference folders below the user's documents folder and the files in them.
namespace settings {
inline constexpr auto kMakerFolder = "KAVRO";
inline constexpr auto kProductFolder = "Varkunda TZ5";
inline constexpr auto kPresetFolder = "Preset";
inline constexpr auto kStyleFile = "style.txt";
inline constexpr auto kShowUpdateMessageFile = "ShowMessageVersionAtStartup.txt";
inline constexpr auto kReportUsbErrorsFile = "ReportUSBErrors.txt";
inline constexpr auto kInstrumentFile = "Instrument.txt";
}  // namespace settings

QString MakerFolderPath(const KnownFolders& folders);
QString ProductFolderPath(const KnownFolders& folders);
QString ProductFilePath(const KnownFolders& folders, const QString& fileName);

// Make sure documents\name (and documents\name\subname) exist; a failure is shown
// with "Error creating folder: " / "Error creating subfolder: " and start-up goes on.
void CreateSettingsFolder(EditorContext& context, const QString& name);
void CreateSettingsSubfolder(EditorContext& context, const QString& name, const QString& subname);

// The content of a product-folder preference file. A missing file is created with
// the default text. A file that cannot be read or created gives the default text and
// one console line; the file itself is left as it was.
QString ReadSettingFile(EditorContext& context, const QString& fileName,
                        const QString& defaultText);

// Writes a preference file (creating or replacing it). A failure is shown to the user
// and leaves the old file untouched; returns whether the file now holds the text.
bool SaveSettingFile(EditorContext& context, const QString& path, const QString& text);

// Replaces a product-folder preference file only when it already exists, as the menu
// check items and the New Version window do.
enum class ReplaceResult { Written, Missing, Failed };
ReplaceResult ReplaceExistingSettingFile(EditorContext& context, const QString& fileName,
                                         const QString& text);
