#include "widget/MessageView.h"

#include "shared/drawing/AppFonts.h"
#include "widget/WidgetText.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

namespace orbistat::widget {

void MessageView::draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const
{
    const QFont font = textFont(textPointSize);
    const QFontMetricsF metrics = pointMetrics(font);
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    const double symbolHeight = symbolPointSize;
    const double maxTextHeight = std::max(0.0, bounds.height() - symbolHeight - spacing);
    const double textHeight = std::min(
        metrics.boundingRect(QRectF(0, 0, bounds.width(), 1e6), flags, text).height(), maxTextHeight);

    const double top = bounds.center().y() - (symbolHeight + spacing + textHeight) / 2;
    drawSymbol(painter, QRectF(bounds.left(), top, bounds.width(), symbolHeight), symbol, symbolPointSize,
               palette.secondaryLabel);

    painter.save();
    const QRectF textRect(bounds.left(), top + symbolHeight + spacing, bounds.width(), textHeight);
    painter.setClipRect(textRect);
    painter.setFont(font);
    painter.setPen(palette.secondaryLabel);
    painter.drawText(textRect, flags, text);
    painter.restore();
}

MessageView staleMessage()
{
    return {QStringLiteral("gauge.with.dots.needle.33percent"),
            QCoreApplication::translate("Widget", "Open Orbistat to see live stats")};
}

MessageView noBatteriesMessage()
{
    return {QStringLiteral("dot.radiowaves.left.and.right"),
            QCoreApplication::translate("Widget", "No batteries to show")};
}

} // namespace orbistat::widget
