#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Reading and writing the editor's small text files and resources.

// A byte-order mark selects the encoding; otherwise UTF-8, or 8-bit Latin-1 when the
// bytes are not valid UTF-8.
QString DecodeSettingText(const QByteArray& bytes);

// A byte-order mark selects the encoding; otherwise 8-bit Latin-1.
QString DecodeResourceText(const QByteArray& bytes);

// Splits at CR LF, LF or CR; a final line break ends the last line, it adds no empty one.
QStringList SplitTextLines(const QString& text);

// The whole file decoded as a setting; nullopt with the reason when it cannot be read.
std::optional<QString> ReadSettingText(const QString& path, QString* error = nullptr);

// Replaces the file as a whole or leaves it untouched: UTF-8 without byte-order mark,
// written to a temporary file that is then renamed over the old one.
bool WriteSettingText(const QString& path, const QString& text, QString* error = nullptr);
