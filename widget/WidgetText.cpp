#include "widget/WidgetText.h"

#include "shared/drawing/AppFonts.h"
#include "shared/drawing/SymbolTable.h"

#include <QFontMetricsF>
#include <QPainter>

namespace orbistat::widget {

QString singleLine(const QString& text)
{
    QString line = text;
    for (QChar& c : line) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return line;
}

double lineHeight(const QFont& font)
{
    return QFontMetricsF(font).height();
}

double textWidth(const QFont& font, const QString& text)
{
    return QFontMetricsF(font).horizontalAdvance(singleLine(text));
}

QString drawLine(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
                 Qt::Alignment alignment)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return {};
    const QString shown = QFontMetricsF(font).elidedText(singleLine(text), Qt::ElideRight, rect.width());
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
