#include "link/backends/BackendChoice.h"

#include <QProcessEnvironment>

namespace varkunda::link {
namespace {

BackendChoice Unreadable(const QString& value) {
    BackendChoice choice;
    choice.error =
        LinkError{.kind = LinkErrorKind::UnknownDeviceChoice, .detail = value.toStdString()};
    return choice;
}

BackendChoice ParseValue(const QString& text) {
    const QString value = text.trimmed();
    const QString kind = value.section(':', 0, 0).toLower();
    const bool hasDetail = value.contains(':');
    const QString detail = value.section(':', 1);  // a port or library path may hold ':'

    BackendChoice choice;
    if (kind.isEmpty() || kind == "auto") {
        if (hasDetail) return Unreadable(value);
        choice.kind = BackendKind::Auto;
    } else if (kind == "sim") {
        choice.kind = BackendKind::Simulated;
        if (hasDetail) {
            bool isNumber = false;
            const unsigned pedals = detail.toUInt(&isNumber);
            if (!isNumber || pedals == 0 || pedals > kMaxSimulatedPedals) return Unreadable(value);
            choice.simulatedPedals = pedals;
        }
    } else if (kind == "serial") {
        choice.kind = BackendKind::Serial;
        if (hasDetail && detail.isEmpty()) return Unreadable(value);
        choice.serialPort = detail.toStdString();
    } else if (kind == "d2xx") {
        choice.kind = BackendKind::Vendor;
        if (hasDetail && detail.isEmpty()) return Unreadable(value);
        choice.vendorLibrary = detail.toStdString();
    } else {
        return Unreadable(value);
    }
    return choice;
}

}  // namespace

BackendChoice ParseBackendChoice(const QStringList& arguments, const QString& environmentValue) {
    const QString option = QString::fromLatin1(kDeviceOption);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(option + '=')) return ParseValue(argument.mid(option.size() + 1));
        if (argument == option) {
            if (i + 1 >= arguments.size()) {
                BackendChoice choice;
                choice.error = LinkError{.kind = LinkErrorKind::DeviceChoiceMissing};
                return choice;
            }
            return ParseValue(arguments[i + 1]);
        }
    }
    return ParseValue(environmentValue);
}

BackendChoice ParseBackendChoice(const QStringList& arguments) {
    return ParseBackendChoice(arguments, QProcessEnvironment::systemEnvironment().value(
                                             QString::fromLatin1(kDeviceEnvironmentVariable)));
}

}  // namespace varkunda::link
