// A filled line chart of a history, 34 points high and as wide as it is
// given. The horizontal scale is fixed at 60 points (0 … 59), so a short
// history fills only the left part and a full one reaches the right edge;
// the vertical scale runs from 0 to `maximum` when given, else to the larger
// of the largest value and `minimumScale`. Area and line follow the same
// monotone curve through the points, which never overshoots the values
// (straight where the data is flat, never below 0).
//
// The chart draws the history it is pointed at (the monitor's own vector):
// it keeps no copy of the values, only the picture drawn from them, made at
// the first paint after `valuesChanged()` (or a change of size, colour or
// pixel density) and reused by every repaint until then.
#pragma once

#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"

#include <QImage>
#include <QPainterPath>
#include <QWidget>
#include <optional>
#include <vector>

namespace orbistat::ui {

class Sparkline : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    static constexpr int chartHeight = 34;
    static constexpr int pointSlots = 60;

    explicit Sparkline(QWidget* parent = nullptr);

    // The values, oldest first; the vector must outlive the chart or be
    // replaced first. Null draws an empty chart.
    void setValues(const std::vector<double>* values);
    void setColor(ColorRole color);
    void setMaximum(std::optional<double> maximum);
    void setMinimumScale(double minimumScale);
    // Asks for a repaint after the values changed in place.
    void valuesChanged();
    // What a screen reader says as the chart's value (the latest reading).
    void setValueText(const QString& text);

    ColorRole color() const { return color_; }
    // The top of the vertical scale for the current values.
    double top() const;
    // The line through the points in the widget's coordinates (empty
    // without values).
    QPainterPath linePath(QSizeF size) const;

    QSize sizeHint() const override { return {120, chartHeight}; }
    QSize minimumSizeHint() const override { return {0, chartHeight}; }

    QAccessible::Role accessibleRole() const override { return QAccessible::Chart; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void shapesChanged();

    const std::vector<double>* values_ = nullptr;
    ColorRole color_ = ColorRole::accent;
    std::optional<double> maximum_;
    double minimumScale_ = 1.0;
    QString valueText_;
    // The chart as last drawn, and what it was drawn for.
    QImage picture_;
    QColor pictureColor_;
    bool cached_ = false;
};

} // namespace orbistat::ui
