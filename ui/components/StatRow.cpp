#include "ui/components/StatRow.h"

#include "shared/drawing/PlainText.h"
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
    , label_(singleLine(label))
    , dot_(dot)
    , font_(uiFont(fontPoints))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    const QFontMetricsF metrics(font_);
    labelWidth_ = metrics.horizontalAdvance(label_);
    lineHeight_ = static_cast<int>(std::ceil(metrics.height()));
}

void StatRow::textChanged(int oldWidth)
{
    if (sizeHint().width() != oldWidth)
        updateGeometry();
    update();
}

void StatRow::setLabel(const QString& label)
{
    QString line = singleLine(label);
    if (line == label_)
        return;
    const int old = sizeHint().width();
    label_ = std::move(line);
    labelWidth_ = QFontMetricsF(font_).horizontalAdvance(label_);
    textChanged(old);
    notifyNameChanged(this);
}

void StatRow::setValue(const QString& value)
{
    QString line = singleLine(value);
    if (line == value_)
        return;
    const int old = sizeHint().width();
    value_ = std::move(line);
    valueWidth_ = QFontMetricsF(font_).horizontalAdvance(value_);
    textChanged(old);
    notifyValueChanged(this, value_);
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
    if (name == symbol_ && color == symbolColor_ && variableValue == symbolValue_)
        return;
    const int old = sizeHint().width();
    symbol_ = name;
    symbolColor_ = color;
    symbolValue_ = variableValue;
    textChanged(old);
}

double StatRow::leadingWidth() const
{
    if (!symbol_.isEmpty())
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
    if (!symbol_.isEmpty())
        result.dot = QRectF(0.0, (h - symbolPoints) / 2.0, symbolBox, symbolPoints);
    else if (dot_)
        result.dot = QRectF(0.0, (h - dotSize) / 2.0, dotSize, dotSize);

    const double room = std::max(width - lead - minimumGap, 0.0);
    double valueSpace = valueWidth_;
    double labelSpace = labelWidth_;
    if (labelWidth_ + valueWidth_ > room) {
        // Too narrow for both: the value keeps what it needs up to 60 % of
        // the room, or everything the label leaves over.
        valueSpace = std::min(valueWidth_, std::max(room - labelWidth_, room * 0.6));
        labelSpace = std::max(room - valueSpace, 0.0);
    }
    result.label = QRectF(lead, 0.0, labelSpace, h);
    result.value = QRectF(width - valueSpace, 0.0, valueSpace, h);
    return result;
}

QString StatRow::shownLabel() const
{
    const auto g = geometry(width());
    return QFontMetricsF(font_).elidedText(label_, Qt::ElideRight, std::ceil(g.label.width()));
}

QString StatRow::shownValue() const
{
    const auto g = geometry(width());
    return QFontMetricsF(font_).elidedText(value_, Qt::ElideRight, std::ceil(g.value.width()));
}

QSize StatRow::sizeHint() const
{
    return {static_cast<int>(std::ceil(leadingWidth() + labelWidth_ + minimumGap + valueWidth_)), lineHeight_};
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
    if (!symbol_.isEmpty()) {
        drawSymbol(painter, g.dot, symbol_, symbolPoints, colorOf(symbolColor_, appearance), symbolValue_,
                   colorOf(ColorRole::quaternary, appearance));
    } else if (dot_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colorOf(*dot_, appearance));
        painter.drawEllipse(g.dot);
    }
    painter.setFont(font_);
    constexpr int flags = Qt::TextSingleLine | Qt::AlignVCenter;
    const QFontMetricsF metrics(font_);
    if (g.label.width() > 0) {
        painter.setPen(colorOf(ColorRole::secondary, appearance));
        painter.drawText(g.label, flags | Qt::AlignLeft, metrics.elidedText(label_, Qt::ElideRight, std::ceil(g.label.width())));
    }
    if (g.value.width() > 0) {
        painter.setPen(colorOf(ColorRole::primary, appearance));
        painter.drawText(g.value, flags | Qt::AlignRight, metrics.elidedText(value_, Qt::ElideRight, std::ceil(g.value.width())));
    }
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
        return label_;
    if (kind == QAccessible::Value)
        return value_;
    return {};
}

} // namespace orbistat::ui
