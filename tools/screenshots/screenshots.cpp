// Pictures of the editor for the README: the whole editor against a software pedal in
// this process, each window drawn into a PNG in the folder given (at the scale factor the
// environment sets). Questions are answered
// Yes and messages go to the standard error, so nothing waits for a click.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "app/EditorApplication.h"
#include "app/TformMain.h"
#include "console/TformPrint.h"
#include "effects/ArcDial.h"
#include "effects/TformFXsettings.h"
#include "firmware/TformFirmwareUpgrade.h"
#include "link/backends/SimulatedD2xx.h"
#include "platform/Dialogs.h"

namespace {

class YesDialogs final : public Dialogs {
  public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    Answer askYesNo(const QString& question) override {
        std::fprintf(stderr, "question (Yes): %s\n", qPrintable(question));
        return Answer::Yes;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

bool Save(QWidget& window, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    const bool saved = window.grab().save(folder.filePath(name));
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(name));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    varkunda::link::SimulatedD2xx device;
    device.pedal(0)->setPacing(true);  // the real link's pace, so the upgrade can be caught
    YesDialogs dialogs;
    EditorServices services;
    services.dialogs = &dialogs;
    EditorApplication editor(device, services);
    TformMain& main = editor.formMain();
    main.move(20, 20);
    editor.show();
    QApplication::processEvents();

    bool ok = true;
    main.menuConnect->trigger();
    ok &= Save(main, folder, QStringLiteral("main-window.png"));
    ok &= Save(editor.formFXsettings(), folder, QStringLiteral("effect-window.png"));
    TformPrint& console = editor.formPrint();
    console.show();
    ok &= Save(console, folder, QStringLiteral("console.png"));
    console.hide();

    // The keyboard's focus mark on a dial, in a light and a dark look.
    TformFXsettings& effects = editor.formFXsettings();
    const std::pair<int, const char*> looks[] = {{3, "focus-dark.png"}, {0, "focus-light.png"}};
    for (const auto& [look, name] : looks) {
        main.menuLook->actions().at(look)->trigger();
        effects.activateWindow();
        effects.dialDry->setFocus(Qt::TabFocusReason);
        ok &= Save(effects, folder, QString::fromLatin1(name));
    }

    // Upgrade Mode on the linked pedal, then the run, pictured once it is well under way.
    main.menuFirmwareUpgradeMode->trigger();
    main.menuStartFirmwareUpgrade->trigger();
    TformFirmwareUpgrade& upgrade = editor.formFirmwareUpgrade();
    bool pictured = false;
    QObject::connect(upgrade.ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
        if (pictured || value * 5 < upgrade.ProgressBar1->maximum() * 2) return;
        pictured = true;
        ok &= Save(upgrade, folder, QStringLiteral("firmware-upgrade.png"));
    });
    upgrade.btnUpgradeFirmware->click();
    return ok && pictured ? 0 : 1;
}
