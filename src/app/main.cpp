#include <QApplication>
#include <QCommandLineParser>

#include "app/BuiltinResources.h"
#include "app/EditorApplication.h"
#include "app/NoDeviceBackend.h"

namespace {
// --device wins over the environment variable VARKUNDA_DEVICE; "auto" when neither.
QString deviceChoice(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for the Varkunda TZ5 pedal"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("The pedal to talk to: sim, serial[:PORT], d2xx or auto."),
        QStringLiteral("VALUE"));
    parser.addOption(device);
    parser.process(app);
    if (parser.isSet(device)) return parser.value(device);
    const QString fromEnvironment = qEnvironmentVariable("VARKUNDA_DEVICE");
    return fromEnvironment.isEmpty() ? QStringLiteral("auto") : fromEnvironment;
}

// Until the backends are part of the editor, every choice finds no device.
std::unique_ptr<varkunda::link::D2xx> makeDriver(const QString&) {
    return std::make_unique<NoDeviceBackend>();
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varkunda-editor"));
    QApplication::setApplicationVersion(GetAppVersionText());
    EditorApplication editor(makeDriver(deviceChoice(app)));
    editor.show();
    return app.exec();
}
