// Renders a QtWidgets view into an image without putting it on a screen:
// used by the tests, the benchmarks and the screenshot export, which run on
// the `offscreen` platform.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QWidget;

namespace orbistat::ui {

// Lays the widget out at `points` (logical pixels) and paints it into an
// image of `scale` pixels per point (device pixel ratio `scale`). The widget
// is shown without reaching the screen (Qt::WA_DontShowOnScreen) so that its
// layouts run as they do in a window; it is hidden again afterwards unless it
// was visible before.
QImage renderWidget(QWidget& widget, QSize points, double scale = 2.0);

// Lays the widget out the same way but keeps only the rectangle of `part`
// (a descendant), with whatever the widget draws beneath it. A null image
// when the part is hidden or empty.
QImage renderWidgetPart(QWidget& widget, QSize points, const QWidget& part, double scale = 2.0);

// Writes the image as PNG; false when encoding or writing failed.
bool savePng(const QImage& image, const QString& path);

} // namespace orbistat::ui
