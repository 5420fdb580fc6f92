// A circular percentage gauge: a track circle, the same circle trimmed from
// 12 o'clock clockwise to the fraction in its severity colour, and the
// percentage in the middle. It takes the square its parent gives it.
//
// A new fraction moves the trim with a critically damped spring (response
// 0.4 s, no overshoot). The frame timer runs only while the trim moves and
// the gauge is on screen: a settled or hidden gauge costs no wake-ups. A
// value set while the gauge has not been seen (hidden, or not yet painted
// since it was shown) is shown at once, without animation.
#pragma once

#include "ui/components/ColorRole.h"
#include "ui/components/DrawnAccessibility.h"
#include "ui/components/TextRun.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QWidget>

namespace orbistat {
class SettingsStore;
}

namespace orbistat::ui {

class RingGauge : public QWidget, public DrawnAccessibility {
    Q_OBJECT
public:
    // Response of the spring in seconds and the frame period while moving.
    static constexpr double springResponse = 0.4;
    static constexpr int frameMilliseconds = 16;

    RingGauge(const SettingsStore& settings, double lineWidth, int side, QWidget* parent = nullptr);

    // The fraction, clamped to 0…1 (no number counts as 0). Its colour is
    // the severity colour of the clamped value, read now.
    void setFraction(double fraction);
    double fraction() const { return target_; }
    // The trim as currently drawn (moves towards fraction()).
    double shownFraction() const { return shown_; }
    ColorRole color() const { return color_; }
    bool isAnimating() const { return frameTimer_.isActive(); }

    QSize sizeHint() const override { return {side_, side_}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::ProgressBar; }
    QString accessibleText(QAccessible::Text kind) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void settle();

    const SettingsStore& settings_;
    double lineWidth_;
    int side_;
    double target_ = 0.0;
    double shown_ = 0.0;
    ColorRole color_ = ColorRole::accent;
    // The spring's state when the current movement began.
    double startOffset_ = 0.0;    // shown − target at the start
    double startVelocity_ = 0.0;  // fraction per second
    QElapsedTimer clock_;
    QBasicTimer frameTimer_;
    bool seen_ = false;  // painted since it was last shown
    TextRun percent_;
};

} // namespace orbistat::ui
