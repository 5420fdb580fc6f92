#include "ui/settings/SymbolIcon.h"

#include "shared/drawing/SymbolTable.h"
#include "ui/Theme.h"

#include <QPainter>
#include <QPixmap>

namespace orbistat::ui {

QIcon symbolIcon(const QString& symbol, const QColor& color, int points)
{
    QIcon icon;
    const QString glyph = symbolGlyphText(symbol);
    for (const int ratio : {1, 2}) {
        QPixmap pixmap(points * ratio, points * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(uiSymbolFont(points));
        painter.setPen(color);
        painter.drawText(QRect(0, 0, points, points), Qt::AlignCenter, glyph);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace orbistat::ui
