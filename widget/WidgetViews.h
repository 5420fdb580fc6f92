// The two widgets' top views: each decides from the entry whether to show
// data, and in which arrangement for the family, or a message.
#pragma once

#include "widget/DevicesViews.h"
#include "widget/MessageView.h"
#include "widget/StatsProvider.h"
#include "widget/StatsViews.h"
#include "widget/WidgetKind.h"

#include <QStringList>
#include <variant>

namespace orbistat::widget {

using StatsBody = std::variant<MessageView, SmallView, MediumView, LargeView>;
using DevicesBody = std::variant<MessageView, DevicesSmall, DevicesMedium, DevicesLarge>;

struct StatsWidgetView {
    WidgetFamily family = WidgetFamily::small;
    StatsEntry entry;

    StatsBody body() const;
    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
    // One text per element a screen reader announces ("CPU 32%", ...).
    QStringList accessibilityLabels() const;
};

struct DevicesWidgetView {
    WidgetFamily family = WidgetFamily::small;
    StatsEntry entry;

    DevicesBody body() const;
    void draw(QPainter& painter, const QRectF& bounds, const WidgetPalette& palette) const;
    QStringList accessibilityLabels() const;
};

} // namespace orbistat::widget
