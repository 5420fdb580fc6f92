#include "ui/OffscreenRender.h"

#include <QApplication>
#include <QImageWriter>
#include <QLayout>
#include <QPainter>
#include <QWidget>
#include <cmath>

namespace orbistat::ui {

namespace {

// Shows the widget without reaching the screen for as long as it lives, and
// settles its layouts at the size.
class OffscreenLayout {
public:
    OffscreenLayout(QWidget& widget, QSize points)
        : widget_(widget)
        , wasVisible_(widget.isVisible())
    {
        if (!wasVisible_) {
            widget.setAttribute(Qt::WA_DontShowOnScreen, true);
            widget.resize(points);
            widget.show();
        } else {
            widget.resize(points);
        }
        // Layouts run on posted LayoutRequest events, and some views finish
        // their geometry in queued calls (a scroll area shows or hides its
        // bars that way); deliver what is posted so that everything settles
        // at the new size before painting. Each pass delivers what the
        // previous one raised, one level of nesting at a time.
        for (int pass = 0; pass < 16; ++pass)
            QCoreApplication::sendPostedEvents();
        if (widget.layout())
            widget.layout()->activate();
    }

    ~OffscreenLayout()
    {
        if (!wasVisible_) {
            widget_.hide();
            widget_.setAttribute(Qt::WA_DontShowOnScreen, false);
        }
    }

    OffscreenLayout(const OffscreenLayout&) = delete;
    OffscreenLayout& operator=(const OffscreenLayout&) = delete;

private:
    QWidget& widget_;
    bool wasVisible_;
};

QImage blankImage(QSize points, double scale)
{
    QImage image(static_cast<int>(std::lround(points.width() * scale)), static_cast<int>(std::lround(points.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage renderWidget(QWidget& widget, QSize points, double scale)
{
    const OffscreenLayout laidOut(widget, points);
    QImage image = blankImage(points, scale);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

QImage renderWidgetPart(QWidget& widget, QSize points, const QWidget& part, double scale)
{
    const OffscreenLayout laidOut(widget, points);
    if (part.isHidden() || part.size().isEmpty() || !widget.isAncestorOf(&part))
        return {};
    const QRect area(part.mapTo(&widget, QPoint(0, 0)), part.size());
    QImage image = blankImage(area.size(), scale);
    widget.render(&image, QPoint(), QRegion(area), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

bool savePng(const QImage& image, const QString& path)
{
    QImageWriter writer(path, "png");
    return writer.write(image);
}

} // namespace orbistat::ui
