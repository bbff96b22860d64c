// Every caption and list entry of the main window, the effect window and the console
// is whole in every look, at start-up and after switching looks.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include "EditorHarness.h"
#include "app/Styles.h"
#include "app/WrappingButton.h"
#include "effects/ArcDial.h"
#include "effects/TformFXsettings.h"
#include "link/backends/SimulatedD2xx.h"

namespace {

// The smallest text that stays legible, in pixels.
constexpr int kSmallestTextPixels = 9;

QString nameOf(const QWidget* widget, const QString& text) {
    const QString window = widget->window()->windowTitle();
    const QString name =
        widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName();
    return QStringLiteral("%1 / %2 \"%3\"").arg(window, name, text);
}

// Collects every text that does not fit its place, one line each.
class FitReport {
  public:
    void text(const QWidget* widget, const QString& text, const QFont& font, const QRect& area,
              bool wraps = false) {
        if (text.isEmpty()) return;
        const QFontMetrics metrics(font);
        const QString who = nameOf(widget, text);
        const int pixels = QFontInfo(font).pixelSize();
        if (font.pixelSize() <= 0) problem(who + " has a font in points, not pixels");
        if (pixels < kSmallestTextPixels)
            problem(who + QStringLiteral(" is %1 px, too small to read").arg(pixels));
        if (wraps) {
            for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
                if (metrics.horizontalAdvance(word) > area.width())
                    problem(who + QStringLiteral(": \"%1\" is %2 px wide, the place %3 px")
                                      .arg(word)
                                      .arg(metrics.horizontalAdvance(word))
                                      .arg(area.width()));
            const QRect needed =
                metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, text);
            if (needed.height() > area.height())
                problem(who + QStringLiteral(" needs %1 px in height wrapped, the place has %2")
                                  .arg(needed.height())
                                  .arg(area.height()));
            return;
        }
        const QSize needed(metrics.horizontalAdvance(text), metrics.height());
        if (needed.width() > area.width() || needed.height() > area.height())
            problem(who + QStringLiteral(" needs %1 x %2 px, the place is %3 x %4")
                              .arg(needed.width())
                              .arg(needed.height())
                              .arg(area.width())
                              .arg(area.height()));
    }
    void problem(const QString& line) { lines_.append(line); }
    QString lines() const { return lines_.join(u'\n'); }
    bool empty() const { return lines_.isEmpty(); }

  private:
    QStringList lines_;
};

void checkLabel(FitReport& report, const QLabel* label) {
    const int margin = label->margin();
    const QRect area = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    report.text(label, label->text(), label->font(), area, label->wordWrap());
}

void checkButton(FitReport& report, const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button)) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<const QRadioButton*>(button)) contents = QStyle::SE_RadioButtonContents;
    const QRect area = button->style()->subElementRect(contents, &option, button);
    report.text(button, button->text(), button->font(), area,
                qobject_cast<const WrappingButton*>(button) != nullptr);
}

// The shown entry fits the field, and the open list shows every entry whole and no more
// rows than the list allows.
void checkDropDown(FitReport& report, QComboBox* list) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, list);
    for (int i = 0; i < list->count(); ++i)
        report.text(list, list->itemText(i), list->font(), field);

    list->showPopup();
    QAbstractItemView* view = list->view();
    const int needed = view->sizeHintForColumn(0);
    if (needed > view->viewport()->width())
        report.problem(nameOf(list, {}) + QStringLiteral(" open list needs %1 px, shows %2")
                                              .arg(needed)
                                              .arg(view->viewport()->width()));
    const int rowHeight = view->sizeHintForRow(0);
    const int rowsShown = rowHeight > 0 ? view->viewport()->height() / rowHeight : 0;
    const int rowsWanted = std::min(list->count(), list->maxVisibleItems());
    if (rowsShown != rowsWanted)
        report.problem(
            nameOf(list, {}) +
            QStringLiteral(" open list shows %1 rows, not %2").arg(rowsShown).arg(rowsWanted));
    list->hidePopup();
}

void checkListBox(FitReport& report, const QListWidget* list) {
    const QRect viewport = list->viewport()->rect();
    for (int i = 0; i < list->count(); ++i) {
        const QString text = list->item(i)->text();
        report.text(list, text, list->font(), viewport);
        const QSize needed = list->sizeHintForIndex(list->model()->index(i, 0));
        if (needed.width() > viewport.width())
            report.problem(nameOf(list, text) +
                           QStringLiteral(" needs %1 px with its margins, the list shows %2")
                               .arg(needed.width())
                               .arg(viewport.width()));
    }
}

// Menu titles that do not fit the bar move into an overflow button.
void checkMenuBar(FitReport& report, const QMenuBar* bar) {
    for (QAction* title : bar->actions()) {
        const QRect place = bar->actionGeometry(title);
        if (place.isEmpty() || !bar->rect().contains(place))
            report.problem(nameOf(bar, title->text()) + " is not on the menu bar");
        report.text(bar, title->text(), bar->font(), place);
    }
}

void checkWindow(FitReport& report, QWidget* window) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window)) continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) checkLabel(report, label);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) checkButton(report, button);
        if (auto* list = qobject_cast<QComboBox*>(widget)) checkDropDown(report, list);
        if (auto* list = qobject_cast<QListWidget*>(widget)) checkListBox(report, list);
        if (auto* bar = qobject_cast<QMenuBar*>(widget)) checkMenuBar(report, bar);
        if (auto* dial = qobject_cast<ArcDial*>(widget))
            report.text(dial, dial->label(), dial->font(),
                        QRect(0, 0, dial->width(), dial->height()));
    }
}

// Every text's font, keyed by where it is shown.
QMap<QString, QString> fontsOf(const QList<QWidget*>& windows) {
    QMap<QString, QString> fonts;
    for (QWidget* window : windows)
        for (QWidget* widget : window->findChildren<QWidget*>())
            fonts[nameOf(widget, QString::number(quintptr(widget)))] = widget->font().toString();
    return fonts;
}

// The editor linked to a software pedal, so the labels show what a pedal makes them
// show, with its three windows open.
class OpenEditor {
  public:
    explicit OpenEditor(int look) : editor(&device) {
        EditorHarness::writeFile(editor.makerFile("style.txt"), QByteArray::number(look));
        editor.start();
        editor.main().show();
        editor.main().menuConnect->trigger();
        editor.console().show();
    }
    QList<QWidget*> windows() {
        return {&editor.main(), &editor.app().formFXsettings(), &editor.console()};
    }
    QString misfits() {
        FitReport report;
        for (QWidget* window : windows()) {
            window->ensurePolished();
            checkWindow(report, window);
        }
        return report.lines();
    }
    // As the Look menu does; the menu offers Style_0 .. Style_6 only.
    void switchTo(int look) {
        if (look < kLookItemCount)
            editor.main().LookItems[look]->trigger();
        else
            ApplyStyle(editor.resources, look);
    }

    varkunda::link::SimulatedD2xx device;
    EditorHarness editor;
};

class CaptionsFit : public ::testing::TestWithParam<int> {};

TEST_P(CaptionsFit, AtStartUpAfterASwitchAndBackWithTheSameFonts) {
    const int look = GetParam();
    OpenEditor editor(look);
    ASSERT_EQ(AppliedStyleIndex(), look);
    ASSERT_TRUE(editor.editor.app().formFXsettings().isVisible());
    ASSERT_TRUE(editor.editor.main().lblAlgorithmVersion->text().endsWith("0014"));
    ASSERT_EQ(editor.editor.app().formFXsettings().cmbVariableWavePitch->maxVisibleItems(), 12);
    EXPECT_EQ(editor.misfits(), QString()) << "look " << look << " at start-up";
    const auto startUpFonts = fontsOf(editor.windows());

    const int other = (look + 1) % 8;
    editor.switchTo(other);
    EXPECT_EQ(editor.misfits(), QString()) << "look " << other << " after a switch";

    editor.switchTo(look);
    EXPECT_EQ(editor.misfits(), QString()) << "look " << look << " switched back";
    EXPECT_EQ(fontsOf(editor.windows()), startUpFonts) << "look " << look;
}

INSTANTIATE_TEST_SUITE_P(Looks, CaptionsFit, ::testing::Range(0, 8));

}  // namespace
