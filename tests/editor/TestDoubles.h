#pragma once

// Test doubles of the platform services, shared by every window test.

#include <QDir>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/Dialogs.h"
#include "platform/KnownFolders.h"
#include "platform/QtResourceStore.h"
#include "platform/ResourceStore.h"
#include "platform/Shell.h"

// Records every message and question in order and answers the questions from a
// script; a question beyond the script is answered Yes. A question's check box is
// left as offered unless `checkBoxStates` scripts it. File dialogs return the
// scripted names in order, then "" (cancelled).
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        enum class Kind { Message, Question, OpenFile, SaveFile } kind;
        QString text;  // message or question text; caption of a file dialog
    };

    void showMessage(const QString& text) override {
        messages.append(text);
        shown.append({Shown::Kind::Message, text});
    }
    Answer askYesNo(const QString& question) override {
        questions.append(question);
        shown.append({Shown::Kind::Question, question});
        return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
    }
    Answer askYesNoWithCheckBox(const QString& question, const QString& checkBoxText,
                                bool& checked) override {
        checkBoxes.append({checkBoxText, checked});
        if (!checkBoxStates.isEmpty()) checked = checkBoxStates.takeFirst();
        return askYesNo(question);
    }
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override {
        shown.append({Shown::Kind::OpenFile, caption});
        fileDialogs.append({caption, folder, filter});
        return openFileNames.isEmpty() ? QString() : openFileNames.takeFirst();
    }
    QString saveFileName(const QString& caption, const QString& folder,
                         const QString& filter) override {
        shown.append({Shown::Kind::SaveFile, caption});
        fileDialogs.append({caption, folder, filter});
        return saveFileNames.isEmpty() ? QString() : saveFileNames.takeFirst();
    }

    // Scripts the answers of the next questions, in order.
    void answer(std::initializer_list<Answer> next) {
        for (Answer a : next) answers.append(a);
    }
    void clear() {
        messages.clear();
        questions.clear();
        shown.clear();
        fileDialogs.clear();
        checkBoxes.clear();
    }

    struct FileDialog {
        QString caption, folder, filter;
    };
    struct CheckBox {
        QString text;
        bool offeredChecked;
    };

    QStringList messages;
    QStringList questions;
    QList<Shown> shown;
    QList<FileDialog> fileDialogs;
    QList<CheckBox> checkBoxes;
    QList<Answer> answers;
    QList<bool> checkBoxStates;
    QStringList openFileNames;
    QStringList saveFileNames;
};

// Documents, temporary and program folders inside one scratch folder that is removed
// with the object. A test may rename the temporary and program folders (they are made
// when renamed) and give program files a version.
class TemporaryKnownFolders : public KnownFolders {
public:
    TemporaryKnownFolders() {
        for (const char* name : {"Documents", "Temp", "Program"}) QDir(root_.path()).mkpath(name);
    }
    QString documents() const override { return root_.filePath(QStringLiteral("Documents")); }
    QString temporary() const override { return root_.filePath(temporaryName_); }
    QString programFolder() const override { return root_.filePath(programFolderName_); }
    QString programFile() const override { return QDir(programFolder()).filePath(programName); }
    QString fileVersion(const QString& path) const override { return fileVersions.value(path); }

    void renameFolders(const QString& temporaryName, const QString& programFolderName) {
        temporaryName_ = temporaryName;
        programFolderName_ = programFolderName;
        QDir(root_.path()).mkpath(temporaryName);
        QDir(root_.path()).mkpath(programFolderName);
    }

    QString programName = QStringLiteral("varkunda-editor");
    // Version records by full path.
    QHash<QString, QString> fileVersions;

private:
    QTemporaryDir root_;
    QString temporaryName_ = QStringLiteral("Temp");
    QString programFolderName_ = QStringLiteral("Program");
};

// Records what the editor asked the shell to do; answers with `succeeds`.
class RecordingShell : public Shell {
public:
    struct Started {
        QString program;
        QString parameters;
    };

    bool openUrl(const QString& url) override {
        openedUrls.append(url);
        return succeeds;
    }
    bool canStartElevated() const override { return elevation; }
    bool startElevated(const QString& program, const QString& parameters) override {
        started.append({program, parameters});
        return succeeds;
    }

    bool succeeds = true;
    // Whether the platform offers starting programs with administrator rights.
    bool elevation = true;
    QStringList openedUrls;
    QList<Started> started;
};

// The built-in resources, with some replaced or removed by the test.
class OverlayResourceStore : public ResourceStore {
public:
    std::optional<QByteArray> find(const QString& name) const override {
        const QString key = name.toLower();
        if (removed.contains(key)) return std::nullopt;
        if (auto it = replaced.constFind(key); it != replaced.constEnd()) return *it;
        return builtin.find(name);
    }
    void replace(const QString& name, const QByteArray& data) {
        replaced.insert(name.toLower(), data);
    }
    void remove(const QString& name) { removed.append(name.toLower()); }

    QtResourceStore builtin;
    QHash<QString, QByteArray> replaced;
    QStringList removed;
};
