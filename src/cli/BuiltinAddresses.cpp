#include "cli/BuiltinAddresses.h"

#include <QFile>

void varkundaInitBuiltinResources();

namespace varkunda::cli {

namespace {
const QString kBuiltinImage = QStringLiteral(":/builtin/VARKUNDA_TZ5_0014");
}

std::optional<protocol::AddressTable> BuiltinParameterAddresses(QString& error) {
    varkundaInitBuiltinResources();
    QFile image(kBuiltinImage);
    if (!image.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("The built-in algorithm image could not be read.");
        return std::nullopt;
    }
    const QByteArray firstLine = image.readLine().trimmed();
    std::string why;
    auto table = protocol::ParseAddressTable(firstLine.toStdString(), &why);
    if (!table)
        error =
            QStringLiteral("The built-in algorithm image holds no parameter address table (%1).")
                .arg(QString::fromStdString(why));
    return table;
}

}  // namespace varkunda::cli
