#include "ui/components/StatRow.h"

#include "ui/Theme.h"
#include "ui/components/SymbolView.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

namespace {
// The leading symbol's size and box.
constexpr int symbolPoints = 12;
constexpr double symbolBox = 14.0;
} // namespace

StatRow::StatRow(const QString& label, std::optional<ColorRole> dot, QWidget* parent)
    : QWidget(parent)
    , label_(uiFont(fontPoints), label)
    , value_(label_.font())
    , dot_(dot)
    , lineHeight_(static_cast<int>(std::ceil(label_.lineHeight())))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void StatRow::textChanged(int oldWidth)
{
    if (sizeHint().width() != oldWidth)
        updateGeometry();
    update();
}

void StatRow::setLabel(const QString& label)
{
    const int old = sizeHint().width();
    if (!label_.setText(label))
        return;
    textChanged(old);
    notifyNameChanged(this);
}

void StatRow::setValue(const QString& value)
{
    const int old = sizeHint().width();
    if (!value_.setText(value))
        return;
    textChanged(old);
    notifyValueChanged(this, value_.text());
}

void StatRow::setDot(std::optional<ColorRole> dot)
{
    if (dot == dot_)
        return;
    const int old = sizeHint().width();
    dot_ = dot;
    textChanged(old);
}

void StatRow::setLeadingSymbol(const QString& name, ColorRole color, std::optional<double> variableValue)
{
    if (symbol_ && name == symbol_->symbol() && color == symbolColor_ && variableValue == symbolValue_)
        return;
    const int old = sizeHint().width();
    if (!symbol_)
        symbol_.emplace(name, symbolPoints);
    symbol_->setSymbol(name);
    symbolColor_ = color;
    symbolValue_ = variableValue;
    textChanged(old);
}

double StatRow::leadingWidth() const
{
    if (symbol_)
        return symbolBox + spacing;
    if (dot_)
        return dotSize + spacing;
    return 0.0;
}

StatRow::Geometry StatRow::geometry(double width) const
{
    Geometry result;
    const double h = height() > 0 ? height() : lineHeight_;
    const double lead = leadingWidth();
    if (symbol_)
        result.dot = QRectF(0.0, (h - symbolPoints) / 2.0, symbolBox, symbolPoints);
    else if (dot_)
        result.dot = QRectF(0.0, (h - dotSize) / 2.0, dotSize, dotSize);

    const double labelWidth = label_.width();
    const double valueWidth = value_.width();
    const double room = std::max(width - lead - minimumGap, 0.0);
    double valueSpace = valueWidth;
    double labelSpace = labelWidth;
    if (labelWidth + valueWidth > room) {
        // Too narrow for both: the value keeps what it needs up to 60 % of
        // the room, or everything the label leaves over.
        valueSpace = std::min(valueWidth, std::max(room - labelWidth, room * 0.6));
        labelSpace = std::max(room - valueSpace, 0.0);
    }
    result.label = QRectF(lead, 0.0, labelSpace, h);
    result.value = QRectF(width - valueSpace, 0.0, valueSpace, h);
    return result;
}

QString StatRow::shownLabel() const
{
    return label_.shownText(geometry(width()).label.width());
}

QString StatRow::shownValue() const
{
    return value_.shownText(geometry(width()).value.width());
}

QSize StatRow::sizeHint() const
{
    return {static_cast<int>(std::ceil(leadingWidth() + label_.width() + minimumGap + value_.width())), lineHeight_};
}

QSize StatRow::minimumSizeHint() const
{
    return {static_cast<int>(std::ceil(leadingWidth() + minimumGap)), lineHeight_};
}

void StatRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = appearanceOf(*this);
    const auto g = geometry(width());
    if (symbol_) {
        symbol_->draw(painter, g.dot, colorOf(symbolColor_, appearance), symbolValue_, colorOf(ColorRole::quaternary, appearance));
    } else if (dot_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colorOf(*dot_, appearance));
        painter.drawEllipse(g.dot);
    }
    painter.setPen(colorOf(ColorRole::secondary, appearance));
    label_.draw(painter, g.label, Qt::AlignLeft);
    painter.setPen(colorOf(ColorRole::primary, appearance));
    value_.draw(painter, g.value, Qt::AlignRight);
}

void StatRow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString StatRow::accessibleText(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name)
        return label_.text();
    if (kind == QAccessible::Value)
        return value_.text();
    return {};
}

} // namespace orbistat::ui
