#pragma once

#include <QString>

// What a command that sends the pedal one setting came to. The pedal does not answer
// these messages, so the status line says what was sent and never that it took effect.
enum class SendOutcome { Declined, Sent, NotSent };

// The status line after a command that sends `what` ("tuning", "MIDI channel 10"):
// "Status: tuning sent", or "Status: sending failed" when the message did not leave
// (the console and the failure's own message say why); nothing for a declined command,
// which leaves the line as it was. The words fit the status line whole.
QString SentStatusText(const QString& what, SendOutcome outcome);

// The words for each command.
namespace sent_words {
inline const QString kParameters = QStringLiteral("parameters");
inline const QString kAssignments = QStringLiteral("assignments");
inline const QString kFootswitchMode = QStringLiteral("footswitch");
inline const QString kTuning = QStringLiteral("tuning");
QString MidiChannel(const QString& caption);  // the channel item's caption
// Whether the pedal stores its bypass state shows in the menu's check marks.
inline const QString kBypassStorage = QStringLiteral("bypass memory");
}  // namespace sent_words
