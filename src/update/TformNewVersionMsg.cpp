#include "update/TformNewVersionMsg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/EditorContext.h"
#include "app/Fonts.h"
#include "app/SettingsFiles.h"
#include "app/TformMain.h"
#include "app/WindowPlacement.h"
#include "update/TformUpdateUpdater.h"
#include "update/UpdateServer.h"

TformNewVersionMsg::TformNewVersionMsg(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setWindowTitle(QStringLiteral("New Version"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(268, 151);
    SetTextFont(*this, text_size::kWindow);
    PlaceAsDesigned(*this, QPoint(81, 318));

    Label1 = new QLabel(this);
    Label1->setGeometry(8, 0, 252, 38);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label2 = new QLabel(this);
    Label2->setGeometry(14, 31, 236, 17);
    btnLaunchUpdate = new QPushButton(QStringLiteral("Update Now"), this);
    btnLaunchUpdate->setGeometry(86, 56, 93, 28);
    btnSeeWhatsNew = new QPushButton(QStringLiteral("What's New?"), this);
    btnSeeWhatsNew->setGeometry(91, 97, 83, 28);
    CheckBox1 = new QCheckBox(QStringLiteral("Don't Show This Message Again"), this);
    CheckBox1->setGeometry(35, 132, 215, 19);

    connect(btnLaunchUpdate, &QPushButton::clicked, this,
            &TformNewVersionMsg::btnLaunchUpdateClick);
    connect(btnSeeWhatsNew, &QPushButton::clicked, this, &TformNewVersionMsg::btnSeeWhatsNewClick);
    connect(CheckBox1, &QCheckBox::toggled, this, &TformNewVersionMsg::CheckBox1Change);
}

void TformNewVersionMsg::showEvent(QShowEvent* event) {
    FormShow();
    QWidget::showEvent(event);
}

void TformNewVersionMsg::FormShow() {
    Label1->setText(QStringLiteral("A new version of the Varkunda Editor is available"));
    const TformMain* main = context_.formMain;
    if (!main) return;
    Label2->setText(QStringLiteral("Your version: ") + main->CurrentAppVersionText +
                    QStringLiteral("     New version: ") + main->ServerAppVersionText);
}

void TformNewVersionMsg::btnLaunchUpdateClick() {
    if (context_.formUpdateUpdater) context_.formUpdateUpdater->LaunchEditorUpdate();
}

void TformNewVersionMsg::btnSeeWhatsNewClick() {
    const UpdateServer server(context_.UpdateServerAddress);
    if (server.usable() && context_.formMain)
        context_.formMain->OpenURL(server.address(updatepaths::kReleaseNotes).toString());
}

// Checking the box stores "NO" when the preference file exists; unchecking writes
// nothing. Both take effect at the next start.
void TformNewVersionMsg::CheckBox1Change() {
    if (CheckBox1->isChecked())
        ReplaceExistingSettingFile(context_, settings::kShowUpdateMessageFile,
                                   QStringLiteral("NO"));
}
