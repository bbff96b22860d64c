#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "app/BuiltinResources.h"
#include "app/EditorApplication.h"
#include "app/TformMain.h"
#include "frontend/LinkErrorText.h"
#include "link/backends/BackendChoice.h"
#include "link/backends/BackendFactory.h"
#include "link/backends/NoDeviceBackend.h"
#include "platform/Dialogs.h"

namespace {
// --help, --version, --device and --link; the device choice itself is read by the link
// layer (the command line wins over VARKUNDA_DEVICE, "auto" when neither is given).
// Returns whether the pedal found at start-up is to be linked at once.
bool parseCommandLine(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for the Varkunda TZ5 pedal"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("device"),
        QStringLiteral("The pedal to talk to: sim, sim:N, serial, serial:PORT, d2xx, "
                       "d2xx:LIBRARY or auto (default; also VARKUNDA_DEVICE)."),
        QStringLiteral("VALUE")));
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Link the pedal found at start-up at once, as Connection > Link does."));
    parser.addOption(link);
    parser.process(app);
    return parser.isSet(link);
}

// A backend that cannot be made leaves the editor without a device; why is shown once
// the main window is up.
std::unique_ptr<varkunda::link::D2xx> makeDriver(const QStringList& arguments, QString& problem) {
    auto created = varkunda::link::CreateBackend(varkunda::link::ParseBackendChoice(arguments));
    if (created.device) return std::move(created.device);
    if (created.error) problem = LinkErrorText(*created.error);
    return std::make_unique<varkunda::link::NoDeviceBackend>();
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varkunda-editor"));
    QApplication::setApplicationVersion(GetAppVersionText());
    const bool linkAtStart = parseCommandLine(app);
    QString problem;
    EditorApplication editor(makeDriver(QApplication::arguments(), problem));
    editor.show();
    if (!problem.isEmpty())
        QTimer::singleShot(0, &app,
                           [&editor, problem] { editor.context().dialogs.showMessage(problem); });
    if (linkAtStart)
        QTimer::singleShot(0, &app, [&editor] {
            TformMain& main = editor.formMain();
            if (main.menuConnect->isEnabled()) main.menuConnect->trigger();
        });
    return QApplication::exec();
}
