// Draws a whole widget, background included, the same way for the desktop
// window and for an image file.
#pragma once

#include "widget/StatsProvider.h"
#include "widget/WidgetKind.h"
#include "widget/WidgetPalette.h"

#include <QImage>
#include <QStringList>

class QPainter;

namespace orbistat::widget {

// Paints the widget with its top-left corner at the painter's origin, in
// points: the rounded background, then the content inset by the margin.
void paintWidget(QPainter& painter, WidgetKind kind, WidgetFamily family, const StatsEntry& entry,
                 Appearance appearance);

// The widget as an image of scale pixels per point (device pixel ratio
// `scale`), transparent outside the rounded corners.
QImage renderWidget(WidgetKind kind, WidgetFamily family, const StatsEntry& entry, Appearance appearance,
                    double scale);

QStringList accessibilityLabels(WidgetKind kind, WidgetFamily family, const StatsEntry& entry);

} // namespace orbistat::widget
