#include "ui/components/ColorDot.h"

#include "ui/Theme.h"

#include <QPainter>

namespace orbistat::ui {

ColorDot::ColorDot(int diameter, QColor Palette::*role, QWidget* parent)
    : QWidget(parent)
    , diameter_(diameter)
    , role_(role)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor ColorDot::color() const
{
    return orbistat::palette(appearanceOf(*this)).*role_;
}

QSize ColorDot::sizeHint() const
{
    return {diameter_, diameter_};
}

void ColorDot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color());
    const QRectF circle((width() - diameter_) / 2.0, (height() - diameter_) / 2.0, diameter_, diameter_);
    painter.drawEllipse(circle);
}

} // namespace orbistat::ui
