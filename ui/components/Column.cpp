#include "ui/components/Column.h"

namespace orbistat::ui {

Column::Column(int spacing, QBoxLayout::Direction direction, QWidget* parent)
    : QWidget(parent)
    , box_(new QBoxLayout(direction, this))
{
    box_->setContentsMargins(0, 0, 0, 0);
    box_->setSpacing(spacing);
}

void Column::add(QWidget* part, int stretch, Qt::Alignment alignment)
{
    box_->addWidget(part, stretch, alignment);
}

} // namespace orbistat::ui
