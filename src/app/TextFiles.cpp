#include "app/TextFiles.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {
std::optional<QString> decodeByBom(const QByteArray& bytes) {
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (!encoding) return std::nullopt;
    QStringDecoder decoder(*encoding);
    return QString(decoder.decode(bytes));
}
}  // namespace

QString DecodeSettingText(const QByteArray& bytes) {
    if (auto text = decodeByBom(bytes)) return *text;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return QString::fromLatin1(bytes);
    return text;
}

QString DecodeResourceText(const QByteArray& bytes) {
    if (auto text = decodeByBom(bytes)) return *text;
    return QString::fromLatin1(bytes);
}

QStringList SplitTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.mid(start));
    return lines;
}

std::optional<QString> ReadSettingText(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return std::nullopt;
    }
    return DecodeSettingText(bytes);
}

bool WriteSettingText(const QString& path, const QString& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}
