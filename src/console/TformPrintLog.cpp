// The console log's context menu and saving the log to a file.
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSaveFile>

#include "app/EditorContext.h"
#include "console/TformPrint.h"
#include "platform/Dialogs.h"
#include "platform/KnownFolders.h"

namespace {
const QString kSaveLogCaption = QStringLiteral("Save Log As");
const QString kSaveLogFilter = QStringLiteral("Text files (*.txt)");
const QString kSuggestedLogName = QStringLiteral("Varkunda console log.txt");
}  // namespace

QMenu* TformPrint::CreateLogContextMenu() {
    QMenu* menu = Memo1->createStandardContextMenu();
    menu->addSeparator();
    QAction* save = menu->addAction(QStringLiteral("Save Log As..."));
    connect(save, &QAction::triggered, this, &TformPrint::SaveLogAs);
    return menu;
}

// Replaces the file as a whole or leaves it untouched; the lines end as the platform's
// text files do.
void TformPrint::SaveLogAs() {
    const QString path = context_.dialogs.saveFileName(
        kSaveLogCaption, QDir(context_.folders.documents()).filePath(kSuggestedLogName),
        kSaveLogFilter);
    if (path.isEmpty()) return;
    QSaveFile file(path);
    QByteArray text = Lines().join(u'\n').toUtf8();
    if (!text.isEmpty()) text.append('\n');
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Text) &&
                         file.write(text) == text.size() && file.commit();
    const QString shownPath = QDir::toNativeSeparators(path);
    if (written)
        context_.dialogs.showMessage(QStringLiteral("File saved successfully: ") + shownPath);
    else
        context_.dialogs.showMessage(QStringLiteral("Error saving file: ") + shownPath +
                                     QStringLiteral(": ") + file.errorString());
}
