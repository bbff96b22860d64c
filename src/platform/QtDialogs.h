#pragma once

#include "platform/Dialogs.h"

// Dialogs shown with Qt's standard message boxes and file dialogs, modal to the
// application's active window.
class QtDialogs : public Dialogs {
public:
    void showMessage(const QString& text) override;
    Answer askYesNo(const QString& question) override;
    Answer askYesNoWithCheckBox(const QString& question, const QString& checkBoxText,
                                bool& checked) override;
    QString openFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
};
