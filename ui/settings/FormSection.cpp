#include "ui/settings/FormSection.h"

#include "ui/Theme.h"
#include "ui/settings/FormStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace orbistat::ui {

QLabel* makeSecondaryLabel(const QString& text, int points, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(uiFont(points));
    // The palette's opaque secondary text colour; as a role rather than a
    // colour of its own, it follows the appearance and the disabled state.
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

FormSection::FormSection(const QString& title, const QString& footer, QWidget* parent)
    : QWidget(parent)
    , panel_(new QWidget(this))
    , rows_(new QVBoxLayout(panel_))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (!title.isEmpty()) {
        title_ = new QLabel(title, this);
        title_->setTextFormat(Qt::PlainText);
        title_->setFont(uiFont(form::titleTextSize, QFont::Bold));
        title_->setContentsMargins(form::footerInset, 0, 0, 0);
        layout->addWidget(title_);
        layout->addSpacing(form::titleSpacing);
    }
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(0);
    layout->addWidget(panel_);
    if (!footer.isEmpty()) {
        footer_ = makeSecondaryLabel(footer, form::footerTextSize, this);
        footer_->setContentsMargins(form::footerInset, 0, form::footerInset, 0);
        layout->addSpacing(form::footerSpacing);
        layout->addWidget(footer_);
    }
}

void FormSection::addRow(QWidget* row, int padding)
{
    if (padding < 0)
        padding = form::rowPadding;
    auto* holder = new QWidget(panel_);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(form::rowInset, padding, form::rowInset, padding);
    layout->setSpacing(0);
    layout->addWidget(row);
    rows_->addWidget(holder);
    rowHolders_.push_back(holder);
}

QWidget* FormSection::addLabeledRow(const QString& text, QWidget* control)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(text, row);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(control);
    control->setAccessibleName(text);
    layout->addWidget(label);
    layout->addStretch(1);
    layout->addWidget(control);
    addRow(row);
    return row;
}

void FormSection::reorderRows(const std::vector<QWidget*>& rows)
{
    std::vector<QWidget*> holders;
    for (QWidget* row : rows) {
        QWidget* holder = row->parentWidget();
        if (std::find(rowHolders_.begin(), rowHolders_.end(), holder) == rowHolders_.end())
            return;  // not a row of this section
        holders.push_back(holder);
    }
    if (holders.size() != rowHolders_.size() || holders == rowHolders_)
        return;
    for (QWidget* holder : holders)
        rows_->removeWidget(holder);
    for (QWidget* holder : holders)
        rows_->addWidget(holder);
    rowHolders_ = std::move(holders);
    update();
}

void FormSection::paintEvent(QPaintEvent*)
{
    const auto appearance = appearanceOf(*this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Half a pixel in, so the one-point outline falls on whole pixels.
    const QRectF box = QRectF(panel_->geometry()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(box, form::panelRadius, form::panelRadius);
    painter.fillPath(outline, form::panelFill(appearance));
    painter.setPen(QPen(form::panelBorder(appearance), 1.0));
    painter.drawPath(outline);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(form::rowSeparator(appearance), 1.0));
    const QWidget* previous = nullptr;
    for (const QWidget* holder : rowHolders_) {
        if (holder->isHidden())
            continue;
        if (previous) {
            const int y = panel_->y() + holder->y();
            painter.drawLine(panel_->x() + form::rowInset, y, panel_->x() + panel_->width() - form::rowInset, y);
        }
        previous = holder;
    }
}

} // namespace orbistat::ui
