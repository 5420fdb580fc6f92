#include "ui/components/Divider.h"

#include "ui/Theme.h"
#include "ui/components/ColorRole.h"

#include <QPainter>

namespace orbistat::ui {

Divider::Divider(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(1);
}

void Divider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), colorOf(ColorRole::quaternary, appearanceOf(*this)));
}

} // namespace orbistat::ui
