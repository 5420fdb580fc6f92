#include "widget/WidgetText.h"

#include "shared/drawing/AppFonts.h"
#include "shared/drawing/SymbolTable.h"

#include <QImage>
#include <QPainter>

namespace orbistat::widget {

QFontMetricsF pointMetrics(const QFont& font)
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(pointDotsPerMeter);
        image.setDotsPerMeterY(pointDotsPerMeter);
        return image;
    }();
    return QFontMetricsF(font, &device);
}

double lineHeight(const QFont& font)
{
    return pointMetrics(font).height();
}

double textWidth(const QFont& font, const QString& text)
{
    return pointMetrics(font).horizontalAdvance(singleLine(text));
}

QString drawLine(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
                 Qt::Alignment alignment)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return {};
    const QString shown = pointMetrics(font).elidedText(singleLine(text), Qt::ElideRight, rect.width());
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, static_cast<int>(alignment | Qt::TextSingleLine), shown);
    painter.restore();
    return shown;
}

void drawSymbol(QPainter& painter, const QRectF& rect, const QString& symbol, double pointSize, const QColor& color)
{
    if (rect.width() <= 0 || rect.height() <= 0 || !(pointSize > 0))
        return;
    painter.save();
    painter.setFont(symbolFont(pointSize));
    painter.setPen(color);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, symbolGlyphText(symbol));
    painter.restore();
}

} // namespace orbistat::widget
