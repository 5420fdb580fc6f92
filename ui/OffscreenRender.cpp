#include "ui/OffscreenRender.h"

#include <QApplication>
#include <QImageWriter>
#include <QLayout>
#include <QPainter>
#include <QWidget>
#include <cmath>

namespace orbistat::ui {

QImage renderWidget(QWidget& widget, QSize points, double scale)
{
    const bool wasVisible = widget.isVisible();
    if (!wasVisible) {
        widget.setAttribute(Qt::WA_DontShowOnScreen, true);
        widget.resize(points);
        widget.show();
    } else {
        widget.resize(points);
    }
    // Layouts run on posted LayoutRequest events; deliver them (and only
    // them) so that nested layouts settle at the new size before painting.
    for (int pass = 0; pass < 4; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (widget.layout())
        widget.layout()->activate();

    QImage image(static_cast<int>(std::lround(points.width() * scale)), static_cast<int>(std::lround(points.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);

    if (!wasVisible) {
        widget.hide();
        widget.setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    return image;
}

bool savePng(const QImage& image, const QString& path)
{
    QImageWriter writer(path, "png");
    return writer.write(image);
}

} // namespace orbistat::ui
