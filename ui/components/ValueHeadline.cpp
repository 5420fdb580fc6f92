#include "ui/components/ValueHeadline.h"

#include "ui/Theme.h"
#include "ui/components/ColorRole.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace orbistat::ui {

ValueHeadline::ValueHeadline(QWidget* parent)
    : QWidget(parent)
    , value_(uiFont(valuePoints, QFont::DemiBold))
    , caption_(uiFont(captionPoints))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ValueHeadline::setTexts(const QString& value, const QString& caption)
{
    const QSize old = sizeHint();
    const bool valueChanged = value_.setText(value);
    const bool captionChanged = caption_.setText(caption);
    if (!valueChanged && !captionChanged)
        return;
    if (sizeHint() != old)
        updateGeometry();
    update();
    notifyNameChanged(this);
}

double ValueHeadline::baseline() const
{
    return std::ceil(value_.ascent());
}

QSize ValueHeadline::sizeHint() const
{
    const double captionWidth = caption_.text().isEmpty() ? 0.0 : spacing + caption_.width();
    return {static_cast<int>(std::ceil(value_.width() + captionWidth)), static_cast<int>(std::ceil(value_.lineHeight()))};
}

QSize ValueHeadline::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void ValueHeadline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Appearance appearance = appearanceOf(*this);
    const double base = baseline();
    painter.setPen(colorOf(ColorRole::primary, appearance));
    value_.drawOnBaseline(painter, 0.0, base, width());
    const double x = value_.width() + spacing;
    if (caption_.text().isEmpty() || x >= width())
        return;
    painter.setPen(colorOf(ColorRole::secondary, appearance));
    caption_.drawOnBaseline(painter, x, base, width() - x);
}

void ValueHeadline::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString ValueHeadline::accessibleText(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name)
        return caption_.text().isEmpty() ? value_.text() : value_.text() + QLatin1Char(' ') + caption_.text();
    return {};
}

} // namespace orbistat::ui
