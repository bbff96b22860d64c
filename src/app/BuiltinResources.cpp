#include "app/BuiltinResources.h"

#include "app/EditorContext.h"
#include "app/TextFiles.h"
#include "platform/Dialogs.h"
#include "platform/ResourceStore.h"

bool LoadResourceLines(EditorContext& context, const QString& name) {
    const auto data = context.resources.find(name);
    if (!data) {
        context.dialogs.showMessage(
            QStringLiteral("Error loading resource: Resource %1 not found").arg(name));
        return false;
    }
    context.AlgorithmImageText = SplitTextLines(DecodeResourceText(*data));
    return true;
}

QString ResourceNameOf(const QString& effectName) {
    QString name = effectName;
    name.replace(u' ', u'_');
    name.replace(u'-', u'_');
    name.replace(QStringLiteral("+"), QStringLiteral("plus"));
    name.replace(QStringLiteral("X"), QStringLiteral("mult"));
    return name;
}

QString GetAppVersionText() {
#ifdef VARKUNDA_VERSION_TEXT
    return QStringLiteral(VARKUNDA_VERSION_TEXT);
#else
    return QStringLiteral("Version info not available");
#endif
}

std::optional<unsigned> AlgorithmNumberOfEffectName(const QString& effectName) {
    constexpr qsizetype kProductNameLength = 12;
    constexpr qsizetype kNumberField = 5;
    const QString digits = effectName.mid(kProductNameLength, kNumberField).trimmed();
    if (digits.isEmpty()) return std::nullopt;
    for (QChar c : digits)
        if (c < u'0' || c > u'9') return std::nullopt;
    return digits.toUInt();
}
