#include "app/TrayImageCache.h"

#include "app/TrayImage.h"
#include "menubar/MenuBarRenderer.h"

namespace orbistat {

std::optional<std::vector<StatusPixmap>> TrayImageCache::update(const TrayImageInputs& inputs)
{
    // Compared as drawn: a history point or a fraction the style does not
    // show draws nothing new.
    if (lastInputs_ && lastInputs_->style == inputs.style && lastInputs_->colorize == inputs.colorize
        && lastInputs_->appearance == inputs.appearance && MenuBarRenderer::drawsAlike(lastInputs_->items, inputs.items, inputs.style))
        return std::nullopt;
    lastInputs_ = inputs;
    ++drawings_;
    std::vector<StatusPixmap> sizes;
    for (const double ratio : {1.0, 2.0}) {
        const QImage image = inputs.items.empty()
            ? programSymbolImage(inputs.appearance, ratio)
            : MenuBarRenderer::render(inputs.items, inputs.style, inputs.colorize, inputs.appearance, ratio);
        sizes.push_back(toStatusPixmap(image));
    }
    // Other inputs can still draw the same pixels (colouring switched on
    // while every value is normal), and the panel need not hear of it.
    if (sizes == lastSizes_)
        return std::nullopt;
    lastSizes_ = sizes;
    return sizes;
}

} // namespace orbistat
