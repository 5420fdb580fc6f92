#include "ui/components/ValueHeadline.h"

#include "shared/drawing/PlainText.h"
#include "ui/Theme.h"
#include "ui/components/ColorRole.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace orbistat::ui {

ValueHeadline::ValueHeadline(QWidget* parent)
    : QWidget(parent)
    , valueFont_(uiFont(valuePoints, QFont::DemiBold))
    , captionFont_(uiFont(captionPoints))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ValueHeadline::setTexts(const QString& value, const QString& caption)
{
    const QString v = singleLine(value);
    const QString c = singleLine(caption);
    if (v == value_ && c == caption_)
        return;
    const QSize old = sizeHint();
    value_ = v;
    caption_ = c;
    valueWidth_ = QFontMetricsF(valueFont_).horizontalAdvance(value_);
    if (sizeHint() != old)
        updateGeometry();
    update();
    notifyNameChanged(this);
}

double ValueHeadline::baseline() const
{
    return std::ceil(QFontMetricsF(valueFont_).ascent());
}

QSize ValueHeadline::sizeHint() const
{
    const QFontMetricsF value(valueFont_);
    const double captionWidth = caption_.isEmpty() ? 0.0 : spacing + QFontMetricsF(captionFont_).horizontalAdvance(caption_);
    return {static_cast<int>(std::ceil(valueWidth_ + captionWidth)), static_cast<int>(std::ceil(value.height()))};
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
    const QFontMetricsF valueMetrics(valueFont_);
    painter.setFont(valueFont_);
    painter.setPen(colorOf(ColorRole::primary, appearance));
    painter.drawText(QPointF(0.0, base), valueMetrics.elidedText(value_, Qt::ElideRight, width()));
    if (caption_.isEmpty())
        return;
    const double x = valueWidth_ + spacing;
    if (x >= width())
        return;
    painter.setFont(captionFont_);
    painter.setPen(colorOf(ColorRole::secondary, appearance));
    painter.drawText(QPointF(x, base), QFontMetricsF(captionFont_).elidedText(caption_, Qt::ElideRight, width() - x));
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
        return caption_.isEmpty() ? value_ : value_ + QLatin1Char(' ') + caption_;
    return {};
}

} // namespace orbistat::ui
