#pragma once

#include <QString>

class QWidget;

// Modal user feedback: a message with OK, a Yes/No question, open and save dialogs.
// The editor talks only to this interface so tests can script the answers.
class Dialogs {
public:
    enum class Answer { Yes, No };

    virtual ~Dialogs() = default;
    virtual void showMessage(const QString& text) = 0;
    virtual Answer askYesNo(const QString& question) = 0;
    // Empty result: cancelled.
    virtual QString openFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
};
