#include "frontend/LinkErrorText.h"

#include <array>

#include "link/Transport.h"

namespace {

using varkunda::link::LinkError;
using varkunda::link::LinkErrorKind;

// Indexed by status; 8 and 9 have no hyphen and 17 has a blank before its dots, exactly
// as the editor has always shown them.
constexpr std::array<const char*, 18> kStatusTexts = {
    "",
    " - Invalid handle...",
    " - Device not found...",
    " - Device not opened...",
    " - General IO error...",
    " - Insufficient resources...",
    " - Invalid parameter...",
    " - Invalid baud rate...",
    " Device not opened for erase...",
    " Device not opened for write...",
    " - Failed to write...",
    " - EEPROM read failed...",
    " - EEPROM write failed...",
    " - EEPROM erase failed...",
    " - EEPROM not present...",
    " - EEPROM not programmed...",
    " - Invalid arguments...",
    " - Other error ...",
};

const QString kDeviceChoices = QStringLiteral("sim, sim:N, serial, serial:PORT, d2xx or auto.");
const QString kLibraryNotLoaded = QStringLiteral("The FTDI D2XX library could not be loaded: ");

QString Text(const std::string& text) { return QString::fromStdString(text); }

// "FT_Write - General IO error...", and the system's words in brackets when there are any.
QString FailedCall(const LinkError& error) {
    QString text = Text(error.call) + DriverStatusText(error.driverStatus);
    if (!error.detail.empty()) text += QStringLiteral(" (%1)").arg(Text(error.detail));
    return text;
}

QString PermissionDeniedText(const LinkError& error) {
    const QString opening =
        QStringLiteral("Permission denied opening %1: ").arg(Text(error.device));
#ifdef Q_OS_LINUX
    return opening + QStringLiteral(
                         "add yourself to the dialout group (sudo usermod -aG dialout $USER) and "
                         "log in again.");
#else
    return opening + QStringLiteral("close the program that is using the port and try again.");
#endif
}

}  // namespace

QString DriverStatusText(varkunda::link::FtStatus status) {
    if (status < kStatusTexts.size()) return QString::fromLatin1(kStatusTexts[status]);
    return QStringLiteral(" - Unknown error (status %1)...").arg(status);
}

QString LinkErrorText(const LinkError& error) {
    switch (error.kind) {
        case LinkErrorKind::DriverCall:
            return FailedCall(error);
        case LinkErrorKind::DeviceLost:
            return QStringLiteral("The device is no longer connected: ") + FailedCall(error);
        case LinkErrorKind::PermissionDenied:
            return PermissionDeniedText(error);
        case LinkErrorKind::LineSettingsFailed:
            return QStringLiteral(
                       "The line settings could not be applied (%1); the device was closed and "
                       "is not linked.")
                .arg(FailedCall(error));
        case LinkErrorKind::NotHexadecimal:
            return QStringLiteral(
                       "The message text is not hexadecimal at byte %1; nothing was sent.")
                .arg(error.reached);
        case LinkErrorKind::MessageTooLong:
            return QStringLiteral(
                "The message is longer than the 65536-byte transfer buffer; nothing was sent.");
        case LinkErrorKind::WriteFailed:
            return QStringLiteral("The message could not be written to the pedal:") +
                   DriverStatusText(error.driverStatus);
        case LinkErrorKind::WriteIncomplete:
            return QStringLiteral("Only %1 of %2 bytes reached the pedal.")
                .arg(error.reached)
                .arg(error.expected);
        case LinkErrorKind::RequestNotSent:
            return QStringLiteral("The status request could not be sent to the pedal.");
        case LinkErrorKind::ReadFailed:
            return QStringLiteral(
                "The pedal could not be read: the device is not open or was unplugged.");
        case LinkErrorKind::NoReply:
            return QStringLiteral("The pedal did not answer the status request in time.");
        case LinkErrorKind::IncompleteReply:
            return QStringLiteral("The pedal's status reply was incomplete (%1 of %2 numbers).")
                .arg(error.reached)
                .arg(error.expected);
        case LinkErrorKind::UnreadableReply:
            return QStringLiteral("The pedal's status reply could not be read.");
        case LinkErrorKind::UnknownDeviceChoice:
            return QStringLiteral("Unknown device choice \"%1\": use ").arg(Text(error.detail)) +
                   kDeviceChoices;
        case LinkErrorKind::DeviceChoiceMissing:
            return QStringLiteral("The option --device needs a value: ") + kDeviceChoices;
        case LinkErrorKind::LibraryNotLoaded:
            return kLibraryNotLoaded + Text(error.detail);
        case LinkErrorKind::LibraryIncomplete:
            return kLibraryNotLoaded +
                   QStringLiteral("%1 lacks %2.").arg(Text(error.device), Text(error.call));
        case LinkErrorKind::IncompleteTable:
            return QStringLiteral(
                       "The tuning data is not the whole table of %1 bytes; nothing "
                       "was sent.")
                .arg(error.expected);
        case LinkErrorKind::NoUploadAnswer:
            return QStringLiteral("The pedal did not answer the upload within %1 s.")
                .arg(varkunda::link::kUploadAnswerTimeout.count() / 1000);
        case LinkErrorKind::NotAnEepromAddress:
            return QStringLiteral(
                       "\"%1\" is not an EEPROM bus address of two hexadecimal digits; nothing "
                       "was sent.")
                .arg(Text(error.device));
    }
    return FailedCall(error);
}
