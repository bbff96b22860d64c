#include "app/StatusLine.h"

QString SentStatusText(const QString& what, SendOutcome outcome) {
    switch (outcome) {
        case SendOutcome::Sent:
            return QStringLiteral("Status: %1 sent").arg(what);
        case SendOutcome::NotSent:
            return QStringLiteral("Status: sending failed");
        case SendOutcome::Declined:
            break;
    }
    return {};
}

namespace sent_words {

// OMNI is a mode rather than a channel number.
QString MidiChannel(const QString& caption) {
    if (caption == QStringLiteral("OMNI")) return QStringLiteral("MIDI OMNI");
    return QStringLiteral("MIDI channel ") + caption;
}

}  // namespace sent_words
