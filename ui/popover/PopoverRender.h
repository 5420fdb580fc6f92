// Renders the popover, or one of its cards, from a monitor into an image
// without a screen (the `offscreen` platform): for the tests, the benchmark
// and the screenshot export.
#pragma once

#include "core/PopoverCard.h"
#include "shared/drawing/Palette.h"

#include <QImage>

namespace orbistat {
class SettingsStore;
class SystemMonitor;
}

namespace orbistat::ui {

class PopoverView;

// The view as it stands, `height` points high (its natural height when 0),
// `scale` pixels per point.
QImage renderPopover(PopoverView& view, int height = 0, double scale = 2.0);
// A fresh popover for the monitor in the appearance.
QImage renderPopover(SystemMonitor& monitor, const SettingsStore& settings, Appearance appearance, int height = 0,
                     double scale = 2.0);

// One card as the popover lays it out (316 points wide, its own height) on
// the window background. The sensors card can be asked with its All-sensors
// list open.
struct CardRenderOptions {
    double scale = 2.0;
    bool showAllSensors = false;
};
QImage renderCard(PopoverCard card, SystemMonitor& monitor, const SettingsStore& settings, Appearance appearance,
                  CardRenderOptions options = {});

} // namespace orbistat::ui
