#include "ui/settings/MenuBarPreview.h"

#include "menubar/MenuBarRenderer.h"
#include "ui/Theme.h"

#include <QPainter>
#include <cmath>

namespace orbistat::ui {

MenuBarPreview::MenuBarPreview(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The picture repeats what the menu bar already says; a screen reader
    // hears only the placeholder text.
    setAccessibleName(placeholderText());
}

QString MenuBarPreview::placeholderText()
{
    return tr("Select at least one module");
}

void MenuBarPreview::setItems(std::vector<MenuBarItem> items, MenuBarStyle style, bool colorize)
{
    if (items == items_ && style == style_ && colorize == colorize_)
        return;
    const bool wasEmpty = items_.empty();
    items_ = std::move(items);
    style_ = style;
    colorize_ = colorize;
    cached_ = QImage();
    if (wasEmpty != items_.empty())
        setAccessibleName(items_.empty() ? placeholderText() : QString());
    update();
}

QSize MenuBarPreview::sizeHint() const
{
    return {200, static_cast<int>(MenuBarRenderer::imageHeight)};
}

QSize MenuBarPreview::minimumSizeHint() const
{
    return {0, static_cast<int>(MenuBarRenderer::imageHeight)};
}

const QImage& MenuBarPreview::image(double pixelRatio, Appearance appearance)
{
    if (cached_.isNull() || cachedRatio_ != pixelRatio || cachedAppearance_ != appearance) {
        cached_ = MenuBarRenderer::render(items_, style_, colorize_, appearance, pixelRatio);
        cachedRatio_ = pixelRatio;
        cachedAppearance_ = appearance;
    }
    return cached_;
}

void MenuBarPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (items_.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter, placeholderText());
        return;
    }
    // Whole pixels per point: the renderer rounds the ratio the same way.
    const double ratio = std::max(1.0, std::round(painter.device()->devicePixelRatioF()));
    const QImage& picture = image(ratio, appearanceOf(*this));
    const QSizeF points(picture.width() / ratio, picture.height() / ratio);
    const QPointF origin(std::round((width() - points.width()) / 2.0), std::round((height() - points.height()) / 2.0));
    painter.drawImage(QRectF(origin, points), picture);
}

} // namespace orbistat::ui
