// A horizontal stacked bar, 8 points high: a rounded track and, from the
// left, one rounded segment per share, 2 apart. Each segment is its share
// of the full width less 2 (so the gaps never push the total past the
// width); a share outside 0…1 is clamped, one that is no number counts as 0.
// Segments are told apart by their position.
#pragma once

#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"

#include <QRectF>
#include <QWidget>
#include <vector>

namespace orbistat::ui {

class SegmentedBar : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    static constexpr int barHeight = 8;
    static constexpr double gap = 2.0;

    struct Segment {
        double fraction = 0.0;
        ColorRole color = ColorRole::accent;
        friend bool operator==(const Segment&, const Segment&) = default;
    };

    // `fixedWidth` > 0 makes the bar exactly that wide (the accessory
    // lines' 56-point bars); otherwise it takes the width it is given.
    explicit SegmentedBar(int fixedWidth = 0, QWidget* parent = nullptr);

    void setSegments(std::vector<Segment> segments);
    const std::vector<Segment>& segments() const { return segments_; }
    // Shorthand for a bar of one segment.
    void setFraction(double fraction, ColorRole color);

    // Segment i's rectangle at a width (empty when absent or of width 0).
    QRectF segmentRect(size_t index, double width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::ProgressBar; }
    // The value is the filled share in percent.
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::vector<Segment> segments_;
    int fixedWidth_;
};

// A share as the bar draws it: clamped to 0…1, 0 for no number.
double segmentShare(double fraction);

} // namespace orbistat::ui
