#include "app/TrayImage.h"

#include "menubar/MenuBarRenderer.h"
#include "shared/drawing/AppFonts.h"
#include "shared/drawing/SymbolTable.h"

#include <QPainter>
#include <QSysInfo>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace orbistat {

namespace {

// Pixels as A, R, G, B bytes: each 0xAARRGGBB value in network byte order.
void toNetworkOrder(const QRgb* from, unsigned char* to, int count)
{
    int x = 0;
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        // Two pixels at a time: reversing eight bytes reverses each pixel
        // and swaps the two, which the rotation undoes.
        for (; x + 2 <= count; x += 2) {
            quint64 two;
            std::memcpy(&two, from + x, sizeof two);
            two = qbswap(two);
            two = (two << 32) | (two >> 32);
            std::memcpy(to + qsizetype(x) * 4, &two, sizeof two);
        }
    }
    for (; x < count; ++x)
        qToBigEndian<quint32>(from[x], to + qsizetype(x) * 4);
}

bool fits(const StatusPixmap& pixmap, const QImage& image)
{
    return pixmap.width == image.width() && pixmap.height == image.height()
        && pixmap.argb.size() == qsizetype(image.width()) * image.height() * 4;
}

} // namespace

StatusPixmap toStatusPixmap(const QImage& image)
{
    StatusPixmap pixmap;
    convertPixels(image, image.rect(), pixmap);
    return pixmap;
}

void convertPixels(const QImage& image, const QRect& area, StatusPixmap& pixmap)
{
    if (image.isNull()) {
        pixmap = {};
        return;
    }
    QRect inside = area & image.rect();
    if (!fits(pixmap, image)) {
        pixmap.width = image.width();
        pixmap.height = image.height();
        pixmap.argb.resize(qsizetype(image.width()) * image.height() * 4);
        inside = image.rect();
    }
    if (inside.isEmpty())
        return;
    // Qt's conversion unpremultiplies with the processor's vector
    // instructions, whose rounding no plain formula repeats: it stays, so
    // the bytes are Qt's. It works pixel by pixel, so an area alone, read in
    // place, converts as the whole image would.
    QImage plain;
    if (image.format() == QImage::Format_ARGB32) {
        plain = image.copy(inside);
    } else {
        const int depth = image.depth() / 8;
        const QImage part(image.constScanLine(inside.top()) + qsizetype(inside.left()) * depth, inside.width(), inside.height(),
                          image.bytesPerLine(), image.format());
        plain = depth == 4 ? part.convertToFormat(QImage::Format_ARGB32) : image.copy(inside).convertToFormat(QImage::Format_ARGB32);
    }
    auto* out = reinterpret_cast<unsigned char*>(pixmap.argb.data());
    for (int y = 0; y < inside.height(); ++y) {
        const qsizetype offset = (qsizetype(inside.top() + y) * pixmap.width + inside.left()) * 4;
        toNetworkOrder(reinterpret_cast<const QRgb*>(plain.constScanLine(y)), out + offset, inside.width());
    }
}

bool samePixels(const StatusPixmap& a, const StatusPixmap& b, const QRect& area)
{
    if (a.width != b.width || a.height != b.height || a.argb.size() != b.argb.size()
        || a.argb.size() != qsizetype(a.width) * a.height * 4)
        return false;
    const QRect inside = area & QRect(0, 0, a.width, a.height);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const qsizetype offset = (qsizetype(y) * a.width + inside.left()) * 4;
        if (std::memcmp(a.argb.constData() + offset, b.argb.constData() + offset, size_t(inside.width()) * 4) != 0)
            return false;
    }
    return true;
}

QRect differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != b.format() || a.depth() != 32)
        return a.rect();
    const int width = a.width();
    const int height = a.height();
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < height; ++y) {
        const auto* p = reinterpret_cast<const quint32*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const quint32*>(b.constScanLine(y));
        if (std::memcmp(p, q, size_t(width) * 4) == 0)
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        // Only pixels outside the columns found so far can widen the
        // rectangle, and whole runs of them compare at once.
        if (right < 0 || std::memcmp(p, q, size_t(left) * 4) != 0) {
            int first = 0;
            while (p[first] == q[first])
                ++first;
            left = std::min(left, first);
        }
        if (right < 0 || std::memcmp(p + right + 1, q + right + 1, size_t(width - right - 1) * 4) != 0) {
            int last = width - 1;
            while (p[last] == q[last])
                --last;
            right = std::max(right, last);
        }
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
