#include "app/SettingsFiles.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "app/EditorContext.h"
#include "app/TextFiles.h"
#include "platform/Dialogs.h"
#include "platform/KnownFolders.h"

namespace {
QString documentsPath(const KnownFolders& folders, const QString& relative) {
    return QDir(folders.documents()).filePath(relative);
}

void ensureFolder(EditorContext& context, const QString& path, const QString& messagePrefix) {
    std::error_code error;
    std::filesystem::create_directories(QFileInfo(path).filesystemFilePath(), error);
    if (!error && QFileInfo(path).isDir()) return;
    const QString reason = error ? QString::fromStdString(error.message())
                                 : QStringLiteral("a file of that name is in the way");
    context.dialogs.showMessage(messagePrefix + reason + QStringLiteral(": ") +
                                QDir::toNativeSeparators(path));
}
}  // namespace

QString MakerFolderPath(const KnownFolders& folders) {
    return documentsPath(folders, settings::kMakerFolder);
}

QString ProductFolderPath(const KnownFolders& folders) {
    return QDir(MakerFolderPath(folders)).filePath(settings::kProductFolder);
}

QString ProductFilePath(const KnownFolders& folders, const QString& fileName) {
    return QDir(ProductFolderPath(folders)).filePath(fileName);
}

void CreateSettingsFolder(EditorContext& context, const QString& name) {
    ensureFolder(context, documentsPath(context.folders, name),
                 QStringLiteral("Error creating folder: "));
}

void CreateSettingsSubfolder(EditorContext& context, const QString& name, const QString& subname) {
    ensureFolder(context, QDir(documentsPath(context.folders, name)).filePath(subname),
                 QStringLiteral("Error creating subfolder: "));
}

QString ReadSettingFile(EditorContext& context, const QString& fileName,
                        const QString& defaultText) {
    const QString path = ProductFilePath(context.folders, fileName);
    QString error;
    if (!QFileInfo::exists(path)) {
        if (!WriteSettingText(path, defaultText, &error))
            context.ConsolePrint(QStringLiteral("Could not create %1 (%2); using \"%3\"")
                                     .arg(QDir::toNativeSeparators(path), error, defaultText));
        return defaultText;
    }
    if (auto text = ReadSettingText(path, &error)) return *text;
    context.ConsolePrint(QStringLiteral("Could not read %1 (%2); using \"%3\"")
                             .arg(QDir::toNativeSeparators(path), error, defaultText));
    return defaultText;
}

bool SaveSettingFile(EditorContext& context, const QString& path, const QString& text) {
    QString error;
    if (WriteSettingText(path, text, &error)) return true;
    context.dialogs.showMessage(QStringLiteral("Could not save the setting to %1: %2")
                                    .arg(QDir::toNativeSeparators(path), error));
    return false;
}

ReplaceResult ReplaceExistingSettingFile(EditorContext& context, const QString& fileName,
                                         const QString& text) {
    const QString path = ProductFilePath(context.folders, fileName);
    if (!QFileInfo::exists(path)) return ReplaceResult::Missing;
    return SaveSettingFile(context, path, text) ? ReplaceResult::Written : ReplaceResult::Failed;
}
