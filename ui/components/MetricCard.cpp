#include "ui/components/MetricCard.h"

#include "ui/Theme.h"
#include "ui/components/ColorRole.h"
#include "ui/components/RoundedFill.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TextLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace orbistat::ui {

namespace {
constexpr int titleSpacing = 6;
constexpr int titlePoints = 12;
constexpr int subtitlePoints = 11;
constexpr int minimumTitleGap = 8;
constexpr double plateOpacity = 0.06;
constexpr double borderWidth = 0.5;
} // namespace

MetricCard::MetricCard(const QString& title, const QString& symbol, QWidget* parent)
    : QWidget(parent)
    , column_(new QVBoxLayout(this))
    , symbol_(new SymbolView(symbol, titlePoints, ColorRole::secondary))
    , title_(new TextLabel(title, uiFont(titlePoints, QFont::DemiBold), ColorRole::primary))
    , subtitle_(new TextLabel(uiFont(subtitlePoints), ColorRole::secondary))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    column_->setContentsMargins(padding, padding, padding, padding);
    column_->setSpacing(spacing);

    auto* titleLine = new QHBoxLayout;
    titleLine->setContentsMargins(0, 0, 0, 0);
    titleLine->setSpacing(titleSpacing);
    title_->setElided(false);
    subtitle_->setAlignment(Qt::AlignRight);
    subtitle_->hide();
    titleLine->addWidget(symbol_, 0, Qt::AlignVCenter);
    titleLine->addWidget(title_, 0, Qt::AlignVCenter);
    titleLine->addSpacerItem(new QSpacerItem(minimumTitleGap, 0, QSizePolicy::MinimumExpanding, QSizePolicy::Minimum));
    titleLine->addWidget(subtitle_, 1, Qt::AlignVCenter);
    column_->addLayout(titleLine);
}

void MetricCard::setSymbol(const QString& symbol)
{
    symbol_->setSymbol(symbol);
}

void MetricCard::setSubtitle(const std::optional<QString>& subtitle)
{
    if (subtitle) {
        subtitle_->setText(*subtitle);
    }
    if (subtitle_->isVisibleTo(this) != subtitle.has_value())
        subtitle_->setVisible(subtitle.has_value());
}

QString MetricCard::title() const
{
    return title_->text();
}

QString MetricCard::symbol() const
{
    return symbol_->symbol();
}

std::optional<QString> MetricCard::subtitle() const
{
    if (!subtitle_->isVisibleTo(this))
        return std::nullopt;
    return subtitle_->text();
}

void MetricCard::addContent(QWidget* part)
{
    column_->addWidget(part);
}

void MetricCard::addContent(QLayout* part)
{
    column_->addLayout(part);
}

void MetricCard::setShown(QWidget* part, bool shown)
{
    if (part->isHidden() == shown)
        part->setVisible(shown);
}

void MetricCard::invalidate()
{
    outOfDate_ = true;
    if (!isVisible() || refreshPosted_)
        return;
    // One refresh after the tick's signals, not one per signal.
    refreshPosted_ = true;
    QMetaObject::invokeMethod(this, [this] {
        refreshPosted_ = false;
        if (isVisible())
            refreshIfNeeded();
    }, Qt::QueuedConnection);
}

void MetricCard::refreshIfNeeded()
{
    if (!outOfDate_)
        return;
    outOfDate_ = false;
    refresh();
}

void MetricCard::showEvent(QShowEvent* event)
{
    refreshIfNeeded();
    QWidget::showEvent(event);
}

void MetricCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // The plate is the label colour at a low opacity over the window
    // background the card always sits on. Composed here into one opaque
    // colour, it fills like any opaque colour (a plain memory fill inside
    // the edges) instead of being blended pixel by pixel.
    const Appearance appearance = appearanceOf(*this);
    const QColor tint = faded(colorOf(ColorRole::primary, appearance), plateOpacity);
    const QColor window = palette().color(QPalette::Window);
    const QColor plate = over(window, tint);
    const QColor edge = over(plate, tint);
    // The border, 0.5 wide inside the edge, is the same tint over the plate.
    fillRoundedRect(painter, QRectF(rect()), cornerRadius, plate, RoundedBorder{borderWidth, edge});
}

void MetricCard::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString MetricCard::accessibleText(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name)
        return title_->text();
    if (kind == QAccessible::Description)
        return subtitle().value_or(QString());
    return {};
}

} // namespace orbistat::ui
