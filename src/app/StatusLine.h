#pragma once

#include <QString>

// What a command that sends the pedal one setting came to. The pedal does not answer
// these messages, so the status line says what was sent and never that it took effect.
enum class SendOutcome { Declined, Sent, NotSent };

// The status line after a command that sends `what` ("tuning", "MIDI channel 10"):
// "Status: tuning sent" or "Status: tuning not sent"; nothing for a declined command,
// which leaves the line as it was.
QString SentStatusText(const QString& what, SendOutcome outcome);

// The words for each command.
namespace sent_words {
inline const QString kParameters = QStringLiteral("parameters");
inline const QString kAssignments = QStringLiteral("assignments");
inline const QString kFootswitchMode = QStringLiteral("footswitch mode");
inline const QString kTuning = QStringLiteral("tuning");
QString MidiChannel(const QString& channel);
QString BypassStorage(bool store);
}  // namespace sent_words
