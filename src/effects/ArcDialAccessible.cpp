#include "effects/ArcDialAccessible.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "effects/ArcDial.h"

namespace {

// Qt's own slider interface would read the degrees turned for every dial; this one
// reads what the dial says it shows.
class AccessibleArcDial : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit AccessibleArcDial(ArcDial* dial) : QAccessibleWidget(dial, QAccessible::Dial) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return dial()->readingText();
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return dial()->reading(); }
    void setCurrentValue(const QVariant& value) override { dial()->setReading(value.toInt()); }
    QVariant maximumValue() const override { return dial()->readingMaximum(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    ArcDial* dial() const { return static_cast<ArcDial*>(widget()); }
};

QAccessibleInterface* ArcDialFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(ArcDial::staticMetaObject.className())) return nullptr;
    auto* dial = qobject_cast<ArcDial*>(object);
    return dial ? new AccessibleArcDial(dial) : nullptr;
}

}  // namespace

void InstallArcDialAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ArcDialFactory);
        return true;
    }();
    (void)installed;
}
