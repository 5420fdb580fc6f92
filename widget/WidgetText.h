// Text and symbol drawing shared by the widget views. Every text from the
// machine (accessory names) is drawn as plain text on one line, clipped to
// its box with an ellipsis, so a hostile name can neither inject markup nor
// push the layout out of the widget.
#pragma once

#include "shared/drawing/PlainText.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>

class QPainter;

namespace orbistat::widget {

// Metrics of the font where one point is one unit, as the widgets are
// drawn (72 dots per inch), whatever the screen's resolution.
QFontMetricsF pointMetrics(const QFont& font);
// The resolution widget images are drawn at: 72 dots per inch.
inline constexpr int pointDotsPerMeter = 2835;

// Height of one line of the font, in points.
double lineHeight(const QFont& font);
// Advance of the text on one line, in points.
double textWidth(const QFont& font, const QString& text);

// Draws the text on one line inside rect, elided at the right when it does
// not fit. Returns the text actually drawn.
QString drawLine(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
                 Qt::Alignment alignment);

// Draws the glyph of a symbol name centred in rect at the point size.
void drawSymbol(QPainter& painter, const QRectF& rect, const QString& symbol, double pointSize, const QColor& color);

} // namespace orbistat::widget
