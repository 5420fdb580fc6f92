// The live menu bar picture of the Menu Bar tab: the renderer's image of the
// given items, centred, or "Select at least one module" when there are none.
// It keeps the items it was given and draws the image at the pixel ratio of
// whatever it is painted on, once per change.
#pragma once

#include "core/MenuBarStyle.h"
#include "menubar/MenuBarItem.h"
#include "shared/drawing/Palette.h"

#include <QImage>
#include <QWidget>
#include <vector>

namespace orbistat::ui {

class MenuBarPreview : public QWidget {
    Q_OBJECT
public:
    explicit MenuBarPreview(QWidget* parent = nullptr);

    // Repaints only when something differs from what is shown.
    void setItems(std::vector<MenuBarItem> items, MenuBarStyle style, bool colorize);

    const std::vector<MenuBarItem>& items() const { return items_; }
    MenuBarStyle style() const { return style_; }
    bool colorize() const { return colorize_; }
    bool showsPlaceholder() const { return items_.empty(); }
    static QString placeholderText();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& image(double pixelRatio, Appearance appearance);

    std::vector<MenuBarItem> items_;
    MenuBarStyle style_ = MenuBarStyle::stacked;
    bool colorize_ = true;
    QImage cached_;
    double cachedRatio_ = 0.0;
    Appearance cachedAppearance_ = Appearance::light;
};

} // namespace orbistat::ui
