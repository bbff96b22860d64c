#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <algorithm>
#include <initializer_list>
#include <optional>

#include "app/BuiltinResources.h"
#include "app/EditorApplication.h"
#include "app/TformMain.h"
#include "frontend/LinkErrorText.h"
#include "link/ConnectionDoctor.h"
#include "link/DeviceArrivalWatcher.h"
#include "link/backends/BackendChoice.h"
#include "link/backends/BackendFactory.h"
#include "link/backends/NoDeviceBackend.h"
#include "link/backends/SerialPortD2xx.h"
#include "link/backends/SimulatedD2xx.h"
#include "platform/Dialogs.h"

namespace {
// --help, --version, --device and --link; the device choice itself is read by the link
// layer (the command line wins over VARKUNDA_DEVICE, "auto" when neither is given).
struct EditorOptions {
    QCommandLineParser parser;
    QCommandLineOption link{
        QStringLiteral("link"),
        QStringLiteral("Link the pedal found at start-up at once, as Connection > Link does.")};

    EditorOptions() {
        parser.setApplicationDescription(QStringLiteral("Editor for the Varkunda TZ5 pedal"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(QCommandLineOption(
            QStringLiteral("device"),
            QStringLiteral("The pedal to talk to: sim, sim:N, serial, serial:PORT, d2xx, "
                           "d2xx:LIBRARY or auto (default; also VARKUNDA_DEVICE)."),
            QStringLiteral("VALUE")));
        parser.addOption(link);
    }
};

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("varkunda-editor"));
    QCoreApplication::setApplicationVersion(GetAppVersionText());
}

// --help and --version answer without a display: they are read before the window system
// is started, and the window system's own options do not stand in their way. Anything
// else, --help-all with the window system's options among it, waits for QApplication.
void answerHelpOrVersion(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    EditorOptions options;
    options.parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    options.parser.parse(arguments);
    const QStringList asked = options.parser.optionNames();
    const auto askedFor = [&asked](std::initializer_list<const char*> names) {
        return std::any_of(names.begin(), names.end(), [&asked](const char* name) {
            return asked.contains(QLatin1String(name));
        });
    };
    const bool help = askedFor({"help", "h", "?"});
    if (!help && !askedFor({"version", "v"})) return;
    QCoreApplication core(argc, argv);
    nameApplication();
    if (help) options.parser.showHelp(0);
    options.parser.showVersion();
}

// A backend that cannot be made leaves the editor without a device; why is shown once
// the main window is up.
std::unique_ptr<varkunda::link::D2xx> makeDriver(const QStringList& arguments, QString& problem) {
    auto created = varkunda::link::CreateBackend(varkunda::link::ParseBackendChoice(arguments));
    if (created.device) return std::move(created.device);
    if (created.error) problem = LinkErrorText(*created.error);
    return std::make_unique<varkunda::link::NoDeviceBackend>();
}

// Bridges come and go, and the connection doctor examines the kernel's serial ports, for
// real devices only; the doctor's advice is for the serial-port backend.
void addSystemServices(varkunda::link::D2xx& driver, EditorServices& services,
                       std::unique_ptr<varkunda::link::DeviceArrivalWatcher>& arrivals,
                       std::optional<varkunda::link::DoctorSystem>& doctor) {
    const bool simulated = dynamic_cast<varkunda::link::SimulatedD2xx*>(&driver) ||
                           dynamic_cast<varkunda::link::NoDeviceBackend*>(&driver);
    if (simulated) return;
    arrivals = varkunda::link::CreateSystemArrivalWatcher();
    services.arrivals = arrivals.get();
    if (dynamic_cast<varkunda::link::SerialPortD2xx*>(&driver)) {
        doctor = varkunda::link::DoctorSystem::ThisMachine();
        services.doctorSystem = &*doctor;
    }
}
}  // namespace

int main(int argc, char** argv) {
    answerHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    nameApplication();
    EditorOptions options;
    options.parser.process(app);
    const bool linkAtStart = options.parser.isSet(options.link);
    QString problem;
    std::unique_ptr<varkunda::link::D2xx> driver = makeDriver(QApplication::arguments(), problem);
    EditorServices services;
    std::unique_ptr<varkunda::link::DeviceArrivalWatcher> arrivals;
    std::optional<varkunda::link::DoctorSystem> doctor;
    addSystemServices(*driver, services, arrivals, doctor);
    EditorApplication editor(std::move(driver), services);
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
