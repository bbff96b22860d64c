#include "app/Styles.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QSet>

#include "app/EditorContext.h"
#include "app/SettingsFiles.h"
#include "app/TextFiles.h"
#include "platform/ResourceStore.h"

namespace {
std::optional<int> appliedStyle;

QColor mixed(const QColor& a, const QColor& b) {
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

// Disabled text is drawn halfway between the text and its background.
void deriveDisabledColours(QPalette& palette) {
    const auto disable = [&palette](QPalette::ColorRole text, QPalette::ColorRole background) {
        palette.setColor(QPalette::Disabled, text,
                         mixed(palette.color(QPalette::Active, text),
                               palette.color(QPalette::Active, background)));
    };
    disable(QPalette::WindowText, QPalette::Window);
    disable(QPalette::Text, QPalette::Base);
    disable(QPalette::ButtonText, QPalette::Button);
}

std::optional<int> styleIndexOf(const QString& text) {
    bool isNumber = false;
    const int index = text.trimmed().toInt(&isNumber, 10);
    if (!isNumber) return std::nullopt;
    return index;
}
}  // namespace

QString StyleResourceName(int index) { return QStringLiteral("Style_%1").arg(index); }

std::optional<QPalette> PaletteOfStyleSheet(const QString& styleSheet) {
    static const QRegularExpression entry(
        QStringLiteral(R"(^\s*palette\s+(\w+)\s+(#[0-9A-Fa-f]{6})\s*$)"),
        QRegularExpression::MultilineOption);
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    std::optional<QPalette> palette;
    QSet<int> named;
    for (auto match = entry.globalMatch(styleSheet); match.hasNext();) {
        const auto found = match.next();
        bool known = false;
        const int role = roles.keyToValue(found.captured(1).toLatin1().constData(), &known);
        if (!known) continue;
        if (!palette) palette = QPalette();
        named.insert(role);
        palette->setColor(static_cast<QPalette::ColorRole>(role), QColor(found.captured(2)));
    }
    if (!palette) return std::nullopt;
    // Bevels and shadows follow the button colour unless the sheet names them.
    const QPalette derived(palette->color(QPalette::Button), palette->color(QPalette::Window));
    for (auto role :
         {QPalette::Light, QPalette::Midlight, QPalette::Mid, QPalette::Dark, QPalette::Shadow}) {
        if (!named.contains(role)) palette->setColor(role, derived.color(role));
    }
    deriveDisabledColours(*palette);
    return palette;
}

bool ApplyStyle(const ResourceStore& resources, int index) {
    const auto data = resources.find(StyleResourceName(index));
    if (!data) return false;
    const QString styleSheet = QString::fromUtf8(*data);
    if (auto palette = PaletteOfStyleSheet(styleSheet)) QApplication::setPalette(*palette);
    qApp->setStyleSheet(styleSheet);
    appliedStyle = index;
    return true;
}

void ApplySavedStyle(EditorContext& context) {
    const QString path = QDir(MakerFolderPath(context.folders)).filePath(settings::kStyleFile);
    if (!QFileInfo::exists(path)) {
        ApplyStyle(context.resources, 0);
        return;
    }
    QString error;
    const auto text = ReadSettingText(path, &error);
    const auto index = text ? styleIndexOf(*text) : std::nullopt;
    if (index && ApplyStyle(context.resources, *index)) return;
    const QString problem =
        !text    ? QStringLiteral("cannot be read (%1)").arg(error)
        : !index ? QStringLiteral("holds \"%1\", not a style number").arg(text->left(40))
                 : QStringLiteral("names style %1, which does not exist").arg(*index);
    context.ConsolePrint(
        QStringLiteral("%1 %2; using style 0").arg(QDir::toNativeSeparators(path), problem));
    ApplyStyle(context.resources, 0);
}

std::optional<int> AppliedStyleIndex() { return appliedStyle; }
