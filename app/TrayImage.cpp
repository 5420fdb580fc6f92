#include "app/TrayImage.h"

#include "menubar/MenuBarRenderer.h"
#include "shared/drawing/AppFonts.h"
#include "shared/drawing/SymbolTable.h"

#include <QPainter>
#include <QtEndian>
#include <cmath>

namespace orbistat {

StatusPixmap toStatusPixmap(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    const int width = plain.width();
    const int height = plain.height();
    StatusPixmap pixmap{width, height, {}};
    pixmap.argb.resize(qsizetype(width) * height * 4);
    // Each pixel as alpha, red, green, blue bytes: the 0xAARRGGBB value in
    // network byte order.
    auto* out = reinterpret_cast<unsigned char*>(pixmap.argb.data());
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(plain.constScanLine(y));
        for (int x = 0; x < width; ++x, out += 4)
            qToBigEndian<quint32>(row[x], out);
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
