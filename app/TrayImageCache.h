// Keeps the tray from redrawing and resending an image that did not change:
// the image is drawn again only when one of its inputs (the items' values as
// the style draws them, the style, colouring, the appearance) differs from
// the last drawing, and handed on only when its pixels differ from the last
// ones handed on. Most ticks of a steady machine then cost a comparison of a
// few short strings: in the inline and stacked styles the history that grows
// every tick is not drawn, and the graph shows only its newest points.
#pragma once

#include "core/MenuBarStyle.h"
#include "menubar/MenuBarItem.h"
#include "platform/StatusItem.h"
#include "shared/drawing/Palette.h"

#include <QImage>
#include <QRect>
#include <optional>
#include <vector>

namespace orbistat {

struct TrayImageInputs {
    std::vector<MenuBarItem> items;  // empty: the program symbol
    MenuBarStyle style = MenuBarStyle::inline_;
    bool colorize = true;
    Appearance appearance = Appearance::light;

    friend bool operator==(const TrayImageInputs&, const TrayImageInputs&) = default;
};

class TrayImageCache {
public:
    // The image at 1× and 2× when it differs from the one last returned;
    // absent when the tray already shows these pixels.
    std::optional<std::vector<StatusPixmap>> update(const TrayImageInputs& inputs);

    int drawings() const { return drawings_; }

private:
    // One size of the image. A new drawing is compared with the last one
    // and only the pixels that differ are converted again, into the pixmap
    // handed on the time before: the tray has let go of it since, so it is
    // written in place, where the one it holds now would be copied first.
    struct Size {
        QImage image;          // as drawn, premultiplied
        StatusPixmap pixmap;   // its pixels as handed on
        StatusPixmap spare;    // the pixmap handed on before
        QRect spareBehind;     // where the spare differs from the pixmap
    };

    std::optional<TrayImageInputs> lastInputs_;
    std::vector<Size> sizes_;
    int drawings_ = 0;
};

} // namespace orbistat
