// A symbol over a short text, centred in the widget: shown instead of data
// when there is none to show.
#pragma once

#include "widget/WidgetPalette.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace orbistat::widget {

struct MessageView {
    QString symbol;
    QString text;

    static constexpr double spacing = 6.0;
    static constexpr double symbolPointSize = 22.0;  // title style
    static constexpr double textPointSize = 12.0;    // caption style

    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;

    friend bool operator==(const MessageView&, const MessageView&) = default;
};

// "Open Orbistat to see live stats": no live snapshot.
MessageView staleMessage();
// "No batteries to show": a live snapshot without any battery.
MessageView noBatteriesMessage();

} // namespace orbistat::widget
