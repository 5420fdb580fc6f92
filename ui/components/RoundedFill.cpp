#include "ui/components/RoundedFill.h"

#include <QCache>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace orbistat::ui {

namespace {

bool whole(double value)
{
    return std::fabs(value - std::round(value)) < 1e-6;
}

// A rectangle; without antialiasing when it covers whole device pixels.
void fillBox(QPainter& painter, const QRectF& box, const QColor& color)
{
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const QRectF device = painter.deviceTransform().mapRect(box);
    const bool aligned = painter.deviceTransform().type() <= QTransform::TxScale && whole(device.left()) &&
                         whole(device.top()) && whole(device.right()) && whole(device.bottom());
    if (aligned && painter.testRenderHint(QPainter::Antialiasing)) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(box, color);
        painter.setRenderHint(QPainter::Antialiasing, true);
    } else {
        painter.fillRect(box, color);
    }
}

// Quarter discs (or quarter rings from `inner` to `outer`) around the
// corner centres of one side: the top two or the bottom two.
QPainterPath corners(const QPointF& first, const QPointF& second, double startFirst, double startSecond, double inner,
                     double outer)
{
    QPainterPath path;
    const std::pair<QPointF, double> pieces[] = {{first, startFirst}, {second, startSecond}};
    for (const auto& [centre, start] : pieces) {
        const QRectF outerBox(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
        if (inner <= 0.0) {
            path.moveTo(centre);
            path.arcTo(outerBox, start, 90.0);
        } else {
            const QRectF innerBox(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
            path.arcMoveTo(outerBox, start);
            path.arcTo(outerBox, start, 90.0);
            path.arcTo(innerBox, start + 90.0, -90.0);
        }
        path.closeSubpath();
    }
    return path;
}

// The four corners drawn once as a disc (with its ring) of the radius, at the
// scale of the surface, kept for the next plates of the same look. Only for
// corners that span whole pixels, so the quarters meet the straight parts
// exactly.
struct CornerKey {
    double radius;
    double border;
    QRgb fill;
    QRgb edge;
    double scale;
    friend bool operator==(const CornerKey&, const CornerKey&) = default;
};

size_t qHash(const CornerKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.radius, key.border, key.fill, key.edge, key.scale);
}

const QImage* cornerDisc(const CornerKey& key)
{
    // A handful of looks per appearance (cards, bars): a small cache.
    static QCache<CornerKey, QImage> discs(64);
    if (const QImage* disc = discs.object(key))
        return disc;
    const int side = static_cast<int>(std::lround(2 * key.radius * key.scale));
    auto* disc = new QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    disc->setDevicePixelRatio(key.scale);
    disc->fill(Qt::transparent);
    QPainter painter(disc);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF whole(0.0, 0.0, 2 * key.radius, 2 * key.radius);
    QPainterPath inner;
    inner.addEllipse(whole.adjusted(key.border, key.border, -key.border, -key.border));
    painter.fillPath(inner, QColor::fromRgba(key.fill));
    if (key.border > 0.0) {
        QPainterPath ring;
        ring.addEllipse(whole);
        ring.addEllipse(whole.adjusted(key.border, key.border, -key.border, -key.border));
        painter.fillPath(ring, QColor::fromRgba(key.edge));
    }
    painter.end();
    discs.insert(key, disc);
    return discs.object(key);
}

} // namespace

void fillRoundedRect(QPainter& painter, const QRectF& rect, double radius, const QColor& color,
                     const std::optional<RoundedBorder>& border)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const double l = rect.left();
    const double t = rect.top();
    const double w = rect.width();
    const double h = rect.height();
    const double r = std::clamp(radius, 0.0, std::min(w, h) / 2.0);
    const double b = border ? std::clamp(border->width, 0.0, r) : 0.0;
    const QColor edge = border ? border->color : color;

    painter.save();
    painter.setPen(Qt::NoPen);
    if (b > 0.0) {
        // The border's straight parts.
        fillBox(painter, QRectF(l + r, t, w - 2 * r, b), edge);
        fillBox(painter, QRectF(l + r, t + h - b, w - 2 * r, b), edge);
        fillBox(painter, QRectF(l, t + r, b, h - 2 * r), edge);
        fillBox(painter, QRectF(l + w - b, t + r, b, h - 2 * r), edge);
    }
    // The body: a middle column and the two side strips between the
    // corners. The pieces do not overlap, so a translucent colour is not
    // laid down twice.
    fillBox(painter, QRectF(l + r, t + b, w - 2 * r, h - 2 * b), color);
    fillBox(painter, QRectF(l + b, t + r, r - b, h - 2 * r), color);
    fillBox(painter, QRectF(l + w - r, t + r, r - b, h - 2 * r), color);
    const double scale = painter.deviceTransform().m11();
    const bool pixelCorners = painter.deviceTransform().type() <= QTransform::TxScale && scale > 0.0 &&
                              painter.deviceTransform().m22() == scale && whole(r * scale) && whole(b * scale) &&
                              whole(painter.deviceTransform().map(rect.topLeft()).x()) &&
                              whole(painter.deviceTransform().map(rect.topLeft()).y());
    if (r > 0.0 && pixelCorners) {
        const QImage* disc = cornerDisc({r, b, color.rgba(), edge.rgba(), scale});
        const double p = r * scale;  // a quarter, in pixels
        painter.drawImage(QRectF(l, t, r, r), *disc, QRectF(0, 0, p, p));
        painter.drawImage(QRectF(l + w - r, t, r, r), *disc, QRectF(p, 0, p, p));
        painter.drawImage(QRectF(l + w - r, t + h - r, r, r), *disc, QRectF(p, p, p, p));
        painter.drawImage(QRectF(l, t + h - r, r, r), *disc, QRectF(0, p, p, p));
    } else if (r > 0.0) {
        const QPointF topLeft(l + r, t + r), topRight(l + w - r, t + r);
        const QPointF bottomRight(l + w - r, t + h - r), bottomLeft(l + r, t + h - r);
        painter.fillPath(corners(topLeft, topRight, 90.0, 0.0, 0.0, r - b), color);
        painter.fillPath(corners(bottomRight, bottomLeft, 270.0, 180.0, 0.0, r - b), color);
        if (b > 0.0) {
            painter.fillPath(corners(topLeft, topRight, 90.0, 0.0, r - b, r), edge);
            painter.fillPath(corners(bottomRight, bottomLeft, 270.0, 180.0, r - b, r), edge);
        }
    }
    painter.restore();
}

} // namespace orbistat::ui
