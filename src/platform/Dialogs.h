#pragma once

#include <QString>

class QWidget;

// Modal user feedback: a message with OK, a Yes/No question (optionally with a check
// box), open and save dialogs.
// The editor talks only to this interface so tests can script the answers.
class Dialogs {
public:
    enum class Answer { Yes, No };

    virtual ~Dialogs() = default;
    virtual void showMessage(const QString& text) = 0;
    virtual Answer askYesNo(const QString& question) = 0;
    // A Yes/No question with a check box below it; `checked` gives the box's first state
    // and returns the state it was left in. Without a check box of its own a dialog
    // service asks the plain question and leaves `checked` as it was.
    virtual Answer askYesNoWithCheckBox(const QString& question,
                                        const QString& /*checkBoxText*/, bool& /*checked*/) {
        return askYesNo(question);
    }
    // Empty result: cancelled.
    virtual QString openFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
};
