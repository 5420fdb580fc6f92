#include "app/TrayImageCache.h"

#include "app/TrayImage.h"
#include "menubar/MenuBarRenderer.h"

#include <iterator>

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
    constexpr double ratios[] = {1.0, 2.0};
    sizes_.resize(std::size(ratios));
    bool changed = false;
    for (size_t i = 0; i < sizes_.size(); ++i) {
        Size& size = sizes_[i];
        QImage image = inputs.items.empty()
            ? programSymbolImage(inputs.appearance, ratios[i])
            : MenuBarRenderer::render(inputs.items, inputs.style, inputs.colorize, inputs.appearance, ratios[i]);
        const QRect area = differingPixels(image, size.image);
        size.image = std::move(image);
        if (area.isNull())
            continue;
        convertPixels(size.image, area | size.spareBehind, size.spare);
        // Other inputs can still draw the same pixels (colouring switched
        // on while every value is normal), and the panel need not hear of
        // it.
        changed = changed || !samePixels(size.spare, size.pixmap, area);
        std::swap(size.spare, size.pixmap);
        size.spareBehind = area;
    }
    if (!changed)
        return std::nullopt;
    std::vector<StatusPixmap> pixmaps;
    pixmaps.reserve(sizes_.size());
    for (const auto& size : sizes_)
        pixmaps.push_back(size.pixmap);
    return pixmaps;
}

} // namespace orbistat
