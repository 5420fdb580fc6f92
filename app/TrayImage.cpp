#include "app/TrayImage.h"

#include "menubar/MenuBarRenderer.h"
#include "shared/drawing/AppFonts.h"
#include "shared/drawing/SymbolTable.h"

#include <QPainter>
#include <cmath>

namespace orbistat {

StatusPixmap toStatusPixmap(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    StatusPixmap pixmap{plain.width(), plain.height(), {}};
    pixmap.argb.resize(qsizetype(plain.width()) * plain.height() * 4);
    auto* out = reinterpret_cast<unsigned char*>(pixmap.argb.data());
    for (int y = 0; y < plain.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(plain.constScanLine(y));
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb pixel = row[x];
            *out++ = static_cast<unsigned char>(qAlpha(pixel));
            *out++ = static_cast<unsigned char>(qRed(pixel));
            *out++ = static_cast<unsigned char>(qGreen(pixel));
            *out++ = static_cast<unsigned char>(qBlue(pixel));
        }
    }
    return pixmap;
}

QImage programSymbolImage(Appearance appearance, double pixelRatio)
{
    const double points = MenuBarRenderer::imageHeight;
    const int pixels = static_cast<int>(std::lround(points * pixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    // 72 dpi: one point is one logical pixel, as in the menu bar image.
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(palette(appearance).label);
    painter.setFont(symbolFont(18.0));
    painter.drawText(QRectF(0, 0, points, points), Qt::AlignCenter,
                     symbolGlyphText(u"gauge.with.dots.needle.33percent"));
    return image;
}

} // namespace orbistat
