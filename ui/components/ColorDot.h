// A small filled circle in one colour of the drawing palette (the orange and
// red dots beside the threshold sliders). The colour follows the appearance
// the dot is shown in.
#pragma once

#include "shared/drawing/Palette.h"

#include <QWidget>

namespace orbistat::ui {

class ColorDot : public QWidget {
    Q_OBJECT
public:
    // `role` picks the colour from the palette of the dot's appearance
    // (&Palette::orange); `diameter` in points.
    ColorDot(int diameter, QColor Palette::*role, QWidget* parent = nullptr);

    QColor color() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int diameter_;
    QColor Palette::*role_;
};

} // namespace orbistat::ui
