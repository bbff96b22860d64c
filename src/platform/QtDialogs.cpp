#include "platform/QtDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>

namespace {
// The window-title suffix Qt adds for a display name is not wanted, so the title is
// given here.
QString dialogTitle() { return QStringLiteral("Varkunda Editor"); }
}  // namespace

void QtDialogs::showMessage(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), dialogTitle(), text, QMessageBox::Ok);
}

Dialogs::Answer QtDialogs::askYesNo(const QString& question) {
    const auto button = QMessageBox::question(QApplication::activeWindow(), dialogTitle(), question,
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return button == QMessageBox::No ? Answer::No : Answer::Yes;
}

Dialogs::Answer QtDialogs::askYesNoWithCheckBox(const QString& question,
                                                const QString& checkBoxText, bool& checked) {
    QMessageBox box(QMessageBox::Question, dialogTitle(), question,
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    auto* checkBox = new QCheckBox(checkBoxText, &box);
    checkBox->setChecked(checked);
    box.setCheckBox(checkBox);
    const int button = box.exec();
    checked = checkBox->isChecked();
    return button == QMessageBox::No ? Answer::No : Answer::Yes;
}

QString QtDialogs::openFileName(const QString& caption, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}

QString QtDialogs::saveFileName(const QString& caption, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, folder, filter);
}
