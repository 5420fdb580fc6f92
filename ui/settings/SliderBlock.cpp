#include "ui/settings/SliderBlock.h"

#include "menubar/MenuBarRenderer.h"
#include "ui/components/ColorDot.h"
#include "ui/settings/FormStyle.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

namespace {
constexpr int dotDiameter = 8;
constexpr int dotGap = 6;
} // namespace

int FractionGrid::positionOf(double value) const
{
    if (!std::isfinite(value))
        return 0;
    const double position = (value * 100.0 - minimum) / step;
    return std::clamp(static_cast<int>(std::lround(std::clamp(position, -1.0, double(positions())))), 0, positions() - 1);
}

SliderBlock::SliderBlock(const QString& title, FractionGrid grid, const QString& accessibleName,
                         std::optional<QColor Palette::*> dot, QWidget* parent)
    : QWidget(parent)
    , grid_(grid)
    , slider_(new QSlider(Qt::Horizontal, this))
    , value_(new QLabel(this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(form::blockSpacing);

    auto* caption = new QHBoxLayout;
    caption->setContentsMargins(0, 0, 0, 0);
    caption->setSpacing(0);
    if (dot) {
        caption->addWidget(new ColorDot(dotDiameter, *dot, this), 0, Qt::AlignVCenter);
        caption->addSpacing(dotGap);
    }
    auto* titleLabel = new QLabel(title, this);
    titleLabel->setTextFormat(Qt::PlainText);
    caption->addWidget(titleLabel);
    caption->addStretch(1);
    value_->setTextFormat(Qt::PlainText);
    value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->addWidget(value_);
    column->addLayout(caption);

    slider_->setRange(0, grid_.positions() - 1);
    slider_->setSingleStep(1);
    slider_->setPageStep(1);
    slider_->setAccessibleName(accessibleName);
    slider_->setFocusPolicy(Qt::StrongFocus);
    column->addWidget(slider_);
    titleLabel->setBuddy(slider_);

    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        const double value = grid_.valueAt(position);
        value_->setText(MenuBarRenderer::percentText(value));
        emit moved(value);
    });
}

void SliderBlock::setValue(double value)
{
    value_->setText(MenuBarRenderer::percentText(value));
    const QSignalBlocker blocker(slider_);
    slider_->setValue(grid_.positionOf(value));
    slider_->setAccessibleDescription(value_->text());
}

} // namespace orbistat::ui
