#include "app/TrayImage.h"

#include "menubar/MenuBarRenderer.h"
#include "shared/drawing/AppFonts.h"
#include "shared/drawing/SymbolTable.h"

#include <QPainter>
#include <QVarLengthArray>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace orbistat {

StatusPixmap toStatusPixmap(const QImage& image)
{
    if (image.isNull())
        return {};
    StatusPixmap pixmap{image.width(), image.height(), {}};
    pixmap.argb.resize(qsizetype(image.width()) * image.height() * 4);
    convertPixels(image, image.rect(), pixmap);
    return pixmap;
}

bool convertPixels(const QImage& image, const QRect& area, StatusPixmap& pixmap)
{
    const QRect inside = area & image.rect();
    if (inside.isEmpty() || pixmap.width != image.width() || pixmap.height != image.height()
        || pixmap.argb.size() != qsizetype(image.width()) * image.height() * 4)
        return false;
    // Qt's conversion unpremultiplies with the processor's vector
    // instructions, whose rounding no plain formula repeats: it stays, so
    // the bytes are Qt's. It works pixel by pixel, so the area alone, read
    // in place, converts as the whole image would.
    const int depth = image.depth() / 8;
    const QImage part(image.constScanLine(inside.top()) + qsizetype(inside.left()) * depth, inside.width(), inside.height(),
                      image.bytesPerLine(), image.format());
    const QImage plain = part.convertToFormat(QImage::Format_ARGB32);
    // Each pixel as alpha, red, green, blue bytes: the 0xAARRGGBB value in
    // network byte order.
    const qsizetype rowBytes = qsizetype(inside.width()) * 4;
    QVarLengthArray<unsigned char, 1024> row(rowBytes);
    bool changed = false;
    for (int y = 0; y < inside.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(plain.constScanLine(y));
        for (int x = 0; x < inside.width(); ++x)
            qToBigEndian<quint32>(from[x], row.data() + qsizetype(x) * 4);
        const qsizetype offset = (qsizetype(inside.top() + y) * image.width() + inside.left()) * 4;
        if (std::memcmp(pixmap.argb.constData() + offset, row.constData(), size_t(rowBytes)) == 0)
            continue;
        std::memcpy(pixmap.argb.data() + offset, row.constData(), size_t(rowBytes));
        changed = true;
    }
    return changed;
}

QRect differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != b.format() || a.depth() != 32)
        return a.rect();
    int top = -1, bottom = -1, left = a.width(), right = -1;
    const size_t rowBytes = size_t(a.width()) * 4;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const quint32*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const quint32*>(b.constScanLine(y));
        if (std::memcmp(p, q, rowBytes) == 0)
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        int first = 0;
        while (p[first] == q[first])
            ++first;
        int last = a.width() - 1;
        while (p[last] == q[last])
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
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
