#include "ui/components/DrawnAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace orbistat::ui {

namespace {

class DrawnAccessibleWidget final : public QAccessibleWidget {
public:
    DrawnAccessibleWidget(QWidget* widget, const DrawnAccessibility& drawn)
        : QAccessibleWidget(widget, drawn.accessibleRole())
        , drawn_(drawn)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const QString own = drawn_.accessibleText(kind);
        return own.isNull() ? QAccessibleWidget::text(kind) : own;
    }

private:
    const DrawnAccessibility& drawn_;
};

QAccessibleInterface* drawnFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    auto* drawn = dynamic_cast<DrawnAccessibility*>(object);
    if (!widget || !drawn)
        return nullptr;
    return new DrawnAccessibleWidget(widget, *drawn);
}

} // namespace

DrawnAccessibility::DrawnAccessibility()
{
    // Installed once, before any interface for a drawn widget is asked for.
    static const bool installed = [] {
        QAccessible::installFactory(drawnFactory);
        return true;
    }();
    (void)installed;
}

void DrawnAccessibility::notifyValueChanged(QWidget* widget, const QString& value)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

void DrawnAccessibility::notifyNameChanged(QWidget* widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace orbistat::ui
