// One vertical bar per logical processor, 30 points high, 3 apart, each an
// equal share of the width: a capsule track with a capsule of the busy
// fraction rising from the bottom in its severity colour. An idle processor
// still shows a 3-point stub. The bars draw the vector they are pointed at
// (the monitor's per-core values) and keep only their colours.
#pragma once

#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"

#include <QRectF>
#include <QWidget>
#include <vector>

namespace orbistat {
class SettingsStore;
}

namespace orbistat::ui {

class CoreBars : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    static constexpr int barsHeight = 30;
    static constexpr double spacing = 3.0;
    static constexpr double stub = 3.0;

    explicit CoreBars(const SettingsStore& settings, QWidget* parent = nullptr);

    // Points at the values (fractions, processor order) and takes their
    // severity colours now. The vector must outlive the bars or be replaced.
    void setValues(const std::vector<double>* values);

    // The track and the filled part of bar i for a width, in the widget's
    // coordinates; empty rectangles when the bar does not exist.
    QRectF trackRect(size_t index, double width) const;
    QRectF fillRect(size_t index, double width) const;
    ColorRole barColor(size_t index) const { return index < colors_.size() ? colors_[index] : ColorRole::accent; }
    size_t count() const { return colors_.size(); }

    QSize sizeHint() const override { return {120, barsHeight}; }
    QSize minimumSizeHint() const override { return {0, barsHeight}; }

    QAccessible::Role accessibleRole() const override { return QAccessible::Chart; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    double gap(double width) const;

    const SettingsStore& settings_;
    const std::vector<double>* values_ = nullptr;
    std::vector<ColorRole> colors_;
};

// The filled height of a bar of height h for a fraction: v × h below 1, h
// from 1 up, 0 for a negative value or one that is no number; never below
// the 3-point stub.
double coreBarFill(double value, double h);

} // namespace orbistat::ui
