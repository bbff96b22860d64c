#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
struct EditorContext;

// Tells the user that a newer editor is available, shows both versions and offers to
// update, to read the release notes, or not to be told again at start-up. Created
// hidden at start-up; closing it only hides it.
class TformNewVersionMsg : public QWidget {
    Q_OBJECT

public:
    explicit TformNewVersionMsg(EditorContext& context, QWidget* parent = nullptr);

    // Fills the two labels; runs each time the window is shown.
    void FormShow();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* btnLaunchUpdate = nullptr;
    QPushButton* btnSeeWhatsNew = nullptr;
    QCheckBox* CheckBox1 = nullptr;

public slots:
    void btnLaunchUpdateClick();
    void btnSeeWhatsNewClick();
    void CheckBox1Change();

protected:
    void showEvent(QShowEvent* event) override;

private:
    EditorContext& context_;
};
