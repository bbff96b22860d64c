#include "frontend/AlgorithmFileText.h"

using varkunda::protocol::AlgorithmFileFault;

QString AlgorithmFileRefusalText(const varkunda::protocol::AlgorithmFileCheck& check) {
    const QString notSent = QStringLiteral(" Nothing was sent.");
    switch (check.fault.value_or(AlgorithmFileFault::Empty)) {
        case AlgorithmFileFault::Empty:
            return QStringLiteral("The effect file is empty.") + notSent;
        case AlgorithmFileFault::TooLarge:
            return QStringLiteral(
                       "The effect file holds %1 bytes, more than the %2 the pedal "
                       "takes in one upload.")
                       .arg(check.size)
                       .arg(varkunda::protocol::kAlgorithmMessageLimit) +
                   notSent;
        case AlgorithmFileFault::NotAnUpload:
            return QStringLiteral(
                       "The effect file is not an algorithm upload: its first byte "
                       "is not 00.") +
                   notSent;
        case AlgorithmFileFault::LengthMismatch:
            return QStringLiteral("The effect file holds %1 bytes, but its length field says %2.")
                       .arg(check.size)
                       .arg(check.lengthField) +
                   notSent;
    }
    return notSent;
}
