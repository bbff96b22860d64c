#include "effects/EffectImage.h"

#include <QRegularExpression>

#include "app/EditorContext.h"
#include "platform/Dialogs.h"
#include "platform/ResourceStore.h"

QString ResourceNameOf(const QString& effectName) {
    QString name = effectName;
    name.replace(" ", "_");
    name.replace("-", "_");
    name.replace("+", "plus");
    name.replace("X", "mult");
    return name;
}

bool LoadEffectImage(EditorContext& context, const QString& resourceName) {
    const std::optional<QByteArray> data = context.resources.find(resourceName);
    if (!data) {
        context.dialogs.showMessage("Error loading resource: Resource " + resourceName +
                                    " not found");
        return false;
    }
    static const QRegularExpression lineBreak("\r\n|\n|\r");
    QStringList lines = QString::fromUtf8(*data).split(lineBreak);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    context.AlgorithmImageText = lines;
    return true;
}
