#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
struct EditorContext;

// The debug console: a hidden window that keeps a running log of what the editor
// does, opened with Ctrl+Shift+P on the main window, and the EEPROM tools.
class TformPrint : public QWidget {
    Q_OBJECT

public:
    explicit TformPrint(EditorContext& context, QWidget* parent = nullptr);

    // Appends text as the new last line; with auto-scroll on the view then follows
    // the end of the log. Lines that come in a burst reach the view together, with one
    // scroll, as soon as control returns to the event loop.
    void ConsolePrint(const QString& text);
    // Appends a line without scrolling the view.
    void ConsoleAppendDirect(const QString& text);

    // The log, one entry per line, including lines not yet in the view.
    QStringList Lines();
    bool AutoScroll() const { return autoScroll_; }

    // The EEPROM tools talk to the pedal: they are offered while one is linked and no
    // exchange with it is in progress.
    void EnableEepromTools(bool enabled);
    void SetBusy(bool busy);

    // Erases the pedal's EEPROM at the bus address given as two hexadecimal digits
    // ("50" the settings, "51" the data); shared with the main window's Erase Settings.
    void EraseEEPROM(const QString& i2cAddr);

    // The log's context menu: the text edit's own entries and "Save Log As...".
    QMenu* CreateLogContextMenu();

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnScrollTop = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* btnEraseEeprom = nullptr;
    QPushButton* btnReadEEPROM = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cmbI2Caddr = nullptr;

public slots:
    void btnClearClick();
    void btnScrollTopClick();
    void CheckBox1Change();
    // EEPROM tools (TformPrintEeprom.cpp).
    void btnEraseEepromClick();
    void btnReadEEPROMClick();
    // Writes the whole log to a text file the player chooses (TformPrintLog.cpp).
    void SaveLogAs();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void appendLine(const QString& text);
    void scheduleViewUpdate();
    void updateView();
    void flushPendingLines();
    void showEepromTools();

    EditorContext& context_;
    bool autoScroll_ = true;
    bool viewUpdateScheduled_ = false;
    bool scrollPending_ = false;
    qsizetype documentLines_ = 0;
    QStringList pendingLines_;
    bool eepromToolsEnabled_ = false;
    bool busy_ = false;
};
