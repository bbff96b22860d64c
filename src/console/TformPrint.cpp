#include "console/TformPrint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include "app/EditorContext.h"
#include "app/Fonts.h"
#include "app/WindowPlacement.h"
#include "app/WrappingButton.h"

namespace {
constexpr int kClientWidth = 506;
constexpr int kClientHeight = 676;
constexpr int kDesignLeft = 1075;
constexpr int kDesignTop = 0;
}  // namespace

TformPrint::TformPrint(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setWindowTitle(QStringLiteral("Debug Console"));
    setFixedSize(kClientWidth, kClientHeight);
    PlaceAsDesigned(*this, QPoint(kDesignLeft, kDesignTop));
    SetTextFont(*this, text_size::kWindow);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(8, 62, 489, 606);
    Memo1->setReadOnly(true);
    Memo1->setUndoRedoEnabled(false);
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);

    btnClear = new QPushButton(QStringLiteral("Clear"), this);
    btnClear->setGeometry(8, 5, 37, 25);
    SetTextFont(*btnClear, text_size::kTool);
    btnScrollTop = new QPushButton(QStringLiteral("UP"), this);
    btnScrollTop->setGeometry(53, 5, 25, 25);
    CheckBox1 = new QCheckBox(QStringLiteral("scroll"), this);
    CheckBox1->setGeometry(86, 7, 56, 25);
    CheckBox1->setChecked(true);
    btnEraseEeprom = new WrappingButton(QStringLiteral("Erase E2P"), this);
    btnEraseEeprom->setGeometry(184, 5, 73, 32);
    SetTextFont(*btnEraseEeprom, text_size::kTool);
    btnReadEEPROM = new WrappingButton(QStringLiteral("Read E2P"), this);
    btnReadEEPROM->setGeometry(265, 4, 62, 32);
    SetTextFont(*btnReadEEPROM, text_size::kTool);
    Label1 = new QLabel(QStringLiteral("E2P addr"), this);
    Label1->setGeometry(387, 8, 43, 17);
    SetTextFont(*Label1, text_size::kTool);
    cmbI2Caddr = new QComboBox(this);
    cmbI2Caddr->setGeometry(438, 4, 43, 26);
    cmbI2Caddr->addItems({QStringLiteral("50"), QStringLiteral("51")});
    Label1->setBuddy(cmbI2Caddr);
    cmbI2Caddr->setAccessibleName(Label1->text());
    Memo1->setAccessibleName(QStringLiteral("Log"));
    // Tab reads the tools along the top first, then the log below them.
    setTabOrder(btnClear, btnScrollTop);
    setTabOrder(btnScrollTop, CheckBox1);
    setTabOrder(CheckBox1, btnEraseEeprom);
    setTabOrder(btnEraseEeprom, btnReadEEPROM);
    setTabOrder(btnReadEEPROM, cmbI2Caddr);
    setTabOrder(cmbI2Caddr, Memo1);

    connect(btnClear, &QPushButton::clicked, this, &TformPrint::btnClearClick);
    connect(btnScrollTop, &QPushButton::clicked, this, &TformPrint::btnScrollTopClick);
    connect(CheckBox1, &QCheckBox::toggled, this, &TformPrint::CheckBox1Change);
    connect(btnEraseEeprom, &QPushButton::clicked, this, &TformPrint::btnEraseEepromClick);
    connect(btnReadEEPROM, &QPushButton::clicked, this, &TformPrint::btnReadEEPROMClick);
    showEepromTools();
    connect(Memo1, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        QMenu* menu = CreateLogContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(Memo1->viewport()->mapToGlobal(position));
    });
    FormCreate();
}

void TformPrint::FormCreate() {
    autoScroll_ = true;
    cmbI2Caddr->setCurrentIndex(0);
}

void TformPrint::ConsolePrint(const QString& text) {
    appendLine(text);
    if (autoScroll_) scrollPending_ = true;
}

void TformPrint::ConsoleAppendDirect(const QString& text) { appendLine(text); }

void TformPrint::appendLine(const QString& text) {
    pendingLines_.append(text);
    scheduleViewUpdate();
}

QStringList TformPrint::Lines() {
    flushPendingLines();
    QStringList lines;
    if (documentLines_ == 0) return lines;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

// One edit of the document for the whole burst keeps logging cheap.
void TformPrint::flushPendingLines() {
    if (pendingLines_.isEmpty()) return;
    QString text = pendingLines_.join(u'\n');
    if (documentLines_ > 0) text.prepend(u'\n');
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    documentLines_ += pendingLines_.size();
    pendingLines_.clear();
}

void TformPrint::scheduleViewUpdate() {
    if (viewUpdateScheduled_) return;
    viewUpdateScheduled_ = true;
    QTimer::singleShot(0, this, &TformPrint::updateView);
}

void TformPrint::updateView() {
    viewUpdateScheduled_ = false;
    flushPendingLines();
    // A hidden log has no final layout yet; its scroll waits until it is shown.
    if (!scrollPending_ || !isVisible()) return;
    scrollPending_ = false;
    Memo1->horizontalScrollBar()->setValue(0);
    Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
}

void TformPrint::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scheduleViewUpdate();
}

void TformPrint::EnableEepromTools(bool enabled) {
    eepromToolsEnabled_ = enabled;
    showEepromTools();
}

void TformPrint::SetBusy(bool busy) {
    busy_ = busy;
    showEepromTools();
}

void TformPrint::showEepromTools() {
    for (QPushButton* tool : {btnReadEEPROM, btnEraseEeprom})
        tool->setEnabled(eepromToolsEnabled_ && !busy_);
}

void TformPrint::btnClearClick() {
    pendingLines_.clear();
    Memo1->clear();
    documentLines_ = 0;
}

void TformPrint::btnScrollTopClick() { Memo1->verticalScrollBar()->setValue(0); }

void TformPrint::CheckBox1Change() { autoScroll_ = CheckBox1->isChecked(); }
