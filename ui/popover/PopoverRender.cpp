#include "ui/popover/PopoverRender.h"

#include "ui/OffscreenRender.h"
#include "ui/cards/SensorsCard.h"
#include "ui/components/MetricCard.h"
#include "ui/popover/PopoverView.h"

namespace orbistat::ui {

QImage renderPopover(PopoverView& view, int height, double scale)
{
    const int h = height > 0 ? height : view.naturalHeight();
    return renderWidget(view, QSize(PopoverView::viewWidth, h), scale);
}

QImage renderPopover(SystemMonitor& monitor, const SettingsStore& settings, Appearance appearance, int height, double scale)
{
    PopoverView view(monitor, settings, {}, appearance);
    return renderPopover(view, height, scale);
}

QImage renderCard(PopoverCard card, SystemMonitor& monitor, const SettingsStore& settings, Appearance appearance,
                  CardRenderOptions options)
{
    // The card inside a popover, so that it is built, coloured and sized
    // exactly as it is there; only its own rectangle is kept.
    PopoverView view(monitor, settings, {}, appearance);
    if (card == PopoverCard::sensors && options.showAllSensors)
        static_cast<SensorsCard*>(view.card(card))->setShowAllSensors(true);
    const int height = view.naturalHeight();
    return renderWidgetPart(view, QSize(PopoverView::viewWidth, height), *view.card(card), options.scale);
}

} // namespace orbistat::ui
