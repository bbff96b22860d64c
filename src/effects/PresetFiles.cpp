#include "effects/PresetFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/EditorContext.h"
#include "app/SettingsFiles.h"
#include "effects/TformFXsettings.h"
#include "platform/Dialogs.h"
#include "platform/KnownFolders.h"

namespace presets {
namespace {

// A preset is 173 bytes; a file much larger than that is not one and is not read.
constexpr qint64 kLargestPresetFile = 64 * 1024;

constexpr std::array<const char*, varkunda::protocol::kFewestPresetValues> kLoadLabels = {
    "Dry: ",         "SubMix: ",        "Minus1oct: ",     "Minus2oct: ",       "Wave: ",
    "LowPass: ",     "HighPass: ",      "FirstHarmonic: ", "Split: ",           "Range: ",
    "input_level: ", "Wave2_Pitch: ",   "Clip: ",          "DominantNoteCut: ", "HighNoteCut: ",
    "DryHPF: ",      "Limit Range UP: "};

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

std::optional<QByteArray> ReadBytes(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kLargestPresetFile + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > kLargestPresetFile) {
        error = QStringLiteral("the file is larger than any preset");
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

QString FolderPath(const KnownFolders& folders) {
    return QDir(ProductFolderPath(folders)).filePath(settings::kPresetFolder);
}

bool MakeFolder(EditorContext& context) {
    const QString path = FolderPath(context.folders);
    if (QDir().mkpath(path) && QFileInfo(path).isDir()) return true;
    context.dialogs.showMessage(QStringLiteral("Error creating folder: ") + Native(path));
    return false;
}

// The effect window holds the reply's values only when its effect could be opened;
// otherwise the parameters hold older values.
std::optional<Values> ValuesReadFromPedal(EditorContext& context, bool requestAccepted,
                                          const QString& what) {
    TformFXsettings* effects = context.formFXsettings;
    if (requestAccepted && effects && effects->HoldsPedalValues())
        return effects->Parameters().values();
    context.dialogs.showMessage(
        what + QStringLiteral(": the pedal's current parameters could not be read."));
    return std::nullopt;
}

QString WithTxtExtension(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".txt")) ? fileName : fileName + QStringLiteral(".txt");
}

QString DatedFilePath(const KnownFolders& folders, const QDateTime& when) {
    const QDir folder(FolderPath(folders));
    const QString stem =
        QStringLiteral("Before erase ") + when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString path = folder.filePath(stem + QStringLiteral(".txt"));
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = folder.filePath(stem + QStringLiteral(" (%1).txt").arg(copy));
    return path;
}

bool WriteFile(EditorContext& context, const QString& path, const Values& values) {
    const std::string bytes = varkunda::protocol::PresetFileBytes(values);
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         file.commit();
    if (!written) {
        context.dialogs.showMessage(QStringLiteral("Error saving file: ") + Native(path) +
                                    QStringLiteral(": ") + file.errorString());
        return false;
    }
    context.dialogs.showMessage(QStringLiteral("File saved successfully: ") + Native(path));
    return true;
}

std::optional<std::vector<varkunda::protocol::PresetValue>> ReadFile(EditorContext& context,
                                                                     const QString& path) {
    QString error;
    auto bytes = ReadBytes(path, error);
    if (bytes) {
        auto preset = varkunda::protocol::ParsePresetFile(bytes->toStdString());
        if (preset.ok()) {
            context.dialogs.showMessage(QStringLiteral("File loaded successfully: ") +
                                        Native(path));
            return std::move(preset.values);
        }
        error = QString::fromStdString(preset.error);
    }
    context.dialogs.showMessage(QStringLiteral("Error loading file: ") + error);
    return std::nullopt;
}

void LogLoadedValues(EditorContext& context,
                     const std::vector<varkunda::protocol::PresetValue>& values) {
    for (std::size_t i = 0; i < kLoadLabels.size() && i < values.size(); ++i)
        context.ConsolePrint(QString::fromLatin1(kLoadLabels[i]) +
                             QString::fromStdString(values[i].text));
}

}  // namespace presets
