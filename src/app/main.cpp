#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "app/BuiltinResources.h"
#include "app/EditorApplication.h"
#include "link/backends/BackendFactory.h"

namespace {
// Handles --help and --version; --device itself is read with VARKUNDA_DEVICE below.
void ParseCommandLine(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for the Varkunda TZ5 pedal"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("device"),
        QStringLiteral("The pedal to talk to: sim, sim:N, serial, serial:PORT, d2xx, "
                       "d2xx:LIBRARY or auto (default; also VARKUNDA_DEVICE)."),
        QStringLiteral("VALUE")));
    parser.process(app);
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varkunda-editor"));
    QApplication::setApplicationVersion(GetAppVersionText());
    ParseCommandLine(app);

    std::string error;
    auto driver = varkunda::link::CreateBackend(
        varkunda::link::ParseBackendChoice(QApplication::arguments()), error);
    if (!driver) {
        std::fprintf(stderr, "varkunda-editor: %s\n", error.c_str());
        return 2;
    }
    EditorApplication editor(std::move(driver));
    editor.show();
    return QApplication::exec();
}
