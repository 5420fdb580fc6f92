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
    constexpr size_t count = std::size(ratios);
    bool changed = lastImages_.size() != count;
    lastImages_.resize(count);
    lastSizes_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        QImage image = inputs.items.empty()
            ? programSymbolImage(inputs.appearance, ratios[i])
            : MenuBarRenderer::render(inputs.items, inputs.style, inputs.colorize, inputs.appearance, ratios[i]);
        // Other inputs can still draw the same pixels (colouring switched
        // on while every value is normal), and the panel need not hear of
        // it.
        if (const QRect area = differingPixels(image, lastImages_[i]); !area.isNull()) {
            if (image.size() == lastImages_[i].size()) {
                changed = convertPixels(image, area, lastSizes_[i]) || changed;
            } else {
                StatusPixmap pixmap = toStatusPixmap(image);
                changed = changed || pixmap != lastSizes_[i];
                lastSizes_[i] = std::move(pixmap);
            }
        }
        lastImages_[i] = std::move(image);
    }
    if (!changed)
        return std::nullopt;
    return lastSizes_;
}

} // namespace orbistat
