#include "app/StatusLine.h"

QString SentStatusText(const QString& what, SendOutcome outcome) {
    switch (outcome) {
        case SendOutcome::Sent:
            return QStringLiteral("Status: %1 sent").arg(what);
        case SendOutcome::NotSent:
            return QStringLiteral("Status: %1 not sent").arg(what);
        case SendOutcome::Declined:
            break;
    }
    return {};
}

namespace sent_words {

QString MidiChannel(const QString& channel) { return QStringLiteral("MIDI channel ") + channel; }

QString BypassStorage(bool store) {
    return store ? QStringLiteral("bypass storing on") : QStringLiteral("bypass storing off");
}

}  // namespace sent_words
