// A slider over fractions with a caption row above it: an optional coloured
// dot, the title, and on the right the value as a percentage. The slider
// moves on a grid of whole hundredths (0.50, 0.55, ... 0.95), and the value
// it reports is the grid value itself, so what is stored is 0.95 and never
// a sum of steps such as 0.9500000000000001.
#pragma once

#include "shared/drawing/Palette.h"

#include <QLabel>
#include <QSlider>
#include <QWidget>
#include <optional>

namespace orbistat::ui {

// From `minimum` to `maximum` in steps of `step`, all in hundredths.
struct FractionGrid {
    int minimum;
    int maximum;
    int step;

    int positions() const { return (maximum - minimum) / step + 1; }
    double valueAt(int position) const { return (minimum + position * step) / 100.0; }
    // The nearest position; values outside the grid go to its ends.
    int positionOf(double value) const;
    bool contains(double value) const { return value >= minimum / 100.0 - 1e-9 && value <= maximum / 100.0 + 1e-9; }
};

class SliderBlock : public QWidget {
    Q_OBJECT
public:
    // `dot` colours the dot in front of the title; without it there is none.
    SliderBlock(const QString& title, FractionGrid grid, const QString& accessibleName,
                std::optional<QColor Palette::*> dot = std::nullopt, QWidget* parent = nullptr);

    // Shows the value (the percentage as it is, the slider at the nearest
    // grid position) without emitting `moved`.
    void setValue(double value);
    QSlider* slider() const { return slider_; }
    QLabel* valueLabel() const { return value_; }
    const FractionGrid& grid() const { return grid_; }

signals:
    // The person moved the slider to this grid value.
    void moved(double value);

private:
    FractionGrid grid_;
    QSlider* slider_;
    QLabel* value_;
};

} // namespace orbistat::ui
