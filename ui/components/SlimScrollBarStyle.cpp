#include "ui/components/SlimScrollBarStyle.h"

#include "ui/Theme.h"
#include "ui/components/ColorRole.h"

#include <QPainter>
#include <QStyleOptionSlider>
#include <QWidget>
#include <algorithm>

namespace orbistat::ui {

namespace {

// The thumb's rectangle along the whole bar (there are no buttons).
QRect thumbRect(const QStyleOptionSlider& bar)
{
    const bool vertical = bar.orientation == Qt::Vertical;
    const int length = vertical ? bar.rect.height() : bar.rect.width();
    const int range = bar.maximum - bar.minimum;
    int thumb = length;
    if (range > 0)
        thumb = static_cast<int>(static_cast<qint64>(length) * bar.pageStep / (range + bar.pageStep));
    thumb = std::clamp(thumb, std::min(SlimScrollBarStyle::minimumThumb, length), length);
    const int position =
        QStyle::sliderPositionFromValue(bar.minimum, bar.maximum, bar.sliderPosition, length - thumb, bar.upsideDown);
    return vertical ? QRect(bar.rect.x(), bar.rect.y() + position, bar.rect.width(), thumb)
                    : QRect(bar.rect.x() + position, bar.rect.y(), thumb, bar.rect.height());
}

} // namespace

SlimScrollBarStyle::SlimScrollBarStyle() = default;

int SlimScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_ScrollBarExtent)
        return extent;
    if (metric == PM_ScrollBarSliderMin)
        return minimumThumb;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect SlimScrollBarStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                         const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const QRect thumb = thumbRect(*bar);
    const bool vertical = bar->orientation == Qt::Vertical;
    switch (sub) {
    case SC_ScrollBarSlider: return thumb;
    case SC_ScrollBarGroove: return bar->rect;
    case SC_ScrollBarSubPage:
        return vertical ? QRect(bar->rect.topLeft(), QPoint(bar->rect.right(), thumb.top() - 1))
                        : QRect(bar->rect.topLeft(), QPoint(thumb.left() - 1, bar->rect.bottom()));
    case SC_ScrollBarAddPage:
        return vertical ? QRect(QPoint(bar->rect.left(), thumb.bottom() + 1), bar->rect.bottomRight())
                        : QRect(QPoint(thumb.right() + 1, bar->rect.top()), bar->rect.bottomRight());
    default: return {};
    }
}

QStyle::SubControl SlimScrollBarStyle::hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                                             const QPoint& point, const QWidget* widget) const
{
    if (control != CC_ScrollBar)
        return QProxyStyle::hitTestComplexControl(control, option, point, widget);
    for (const SubControl sub : {SC_ScrollBarSlider, SC_ScrollBarSubPage, SC_ScrollBarAddPage}) {
        if (subControlRect(control, option, sub, widget).contains(point))
            return sub;
    }
    return SC_None;
}

void SlimScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                            const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const Appearance appearance = widget ? appearanceOf(*widget) : Appearance::light;
    const bool dragged = bar->activeSubControls & SC_ScrollBarSlider && bar->state & State_Sunken;
    const QRectF thumb = QRectF(thumbRect(*bar)).adjusted(2.0, 2.0, -2.0, -2.0);
    const double radius = std::min(thumb.width(), thumb.height()) / 2.0;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(colorOf(dragged ? ColorRole::secondary : ColorRole::tertiary, appearance));
    painter->drawRoundedRect(thumb, radius, radius);
    painter->restore();
}

int SlimScrollBarStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                  QStyleHintReturn* returnData) const
{
    // A click beside the thumb pages, as on every desktop.
    if (hint == SH_ScrollBar_LeftClickAbsolutePosition)
        return 0;
    if (hint == SH_ScrollBar_ContextMenu)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace orbistat::ui
