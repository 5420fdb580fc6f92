// Screen-reader support for the custom-painted widgets (rings, bars, charts,
// rows, labels): each says what role it plays, what it is called and what
// value it shows. A widget opts in by deriving from DrawnAccessibility; one
// accessibility factory, installed when the first such widget is made,
// serves them all.
#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

namespace orbistat::ui {

class DrawnAccessibility {
public:
    DrawnAccessibility();
    virtual ~DrawnAccessibility() = default;

    virtual QAccessible::Role accessibleRole() const = 0;
    // The text of the kind asked for (name, description, value); a null
    // string leaves it to the widget's own accessible name and description.
    virtual QString accessibleText(QAccessible::Text kind) const = 0;

protected:
    // Tells an active screen reader that the value or name of the widget
    // changed; costs nothing when no assistive technology listens.
    static void notifyValueChanged(QWidget* widget, const QString& value);
    static void notifyNameChanged(QWidget* widget);
};

} // namespace orbistat::ui
