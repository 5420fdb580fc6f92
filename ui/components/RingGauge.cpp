#include "ui/components/RingGauge.h"

#include "menubar/MenuBarRenderer.h"
#include "ui/Theme.h"
#include "ui/components/SeverityColor.h"

#include <QEvent>
#include <QPainter>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbistat::ui {

namespace {

// A critically damped spring of the given response (the period of the
// undamped oscillation): x(t) = (x0 + (v0 + ω·x0)·t)·e^(−ωt), ω = 2π/response,
// where x is the distance to the target.
constexpr double omega = 2.0 * std::numbers::pi / RingGauge::springResponse;
// Closer than this (a twentieth of a pixel on the 76-point ring) and slower
// than a pixel a second, the ring has arrived.
constexpr double restDistance = 1e-4;
constexpr double restSpeed = 4e-3;

constexpr int percentPoints = 17;

double clampedFraction(double fraction)
{
    return std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
}

} // namespace

RingGauge::RingGauge(const SettingsStore& settings, double lineWidth, int side, QWidget* parent)
    : QWidget(parent)
    , settings_(settings)
    , lineWidth_(lineWidth)
    , side_(side)
    , percent_(uiFont(percentPoints, QFont::DemiBold), MenuBarRenderer::percentText(0.0))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    color_ = severityColor(0.0, settings_);
}

void RingGauge::setFraction(double fraction)
{
    const double f = clampedFraction(fraction);
    const ColorRole color = severityColor(f, settings_);
    if (color != color_) {
        color_ = color;
        update();
    }
    if (f == target_)
        return;
    percent_.setText(MenuBarRenderer::percentText(f));
    if (!seen_ || !isVisible()) {
        // Nobody saw the old value: nothing to move from.
        target_ = f;
        settle();
        update();
    } else {
        // Start a new movement from where the trim is, keeping its speed.
        double velocity = 0.0;
        if (frameTimer_.isActive()) {
            const double t = clock_.nsecsElapsed() / 1e9;
            const double decay = std::exp(-omega * t);
            velocity = (startVelocity_ - omega * (startVelocity_ + omega * startOffset_) * t) * decay;
        }
        target_ = f;
        startOffset_ = shown_ - target_;
        startVelocity_ = velocity;
        clock_.start();
        frameTimer_.start(frameMilliseconds, Qt::PreciseTimer, this);
    }
    notifyValueChanged(this, MenuBarRenderer::percentText(target_));
}

void RingGauge::settle()
{
    frameTimer_.stop();
    shown_ = target_;
    startOffset_ = 0.0;
    startVelocity_ = 0.0;
}

void RingGauge::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != frameTimer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    const double t = clock_.nsecsElapsed() / 1e9;
    const double decay = std::exp(-omega * t);
    const double offset = (startOffset_ + (startVelocity_ + omega * startOffset_) * t) * decay;
    const double velocity = (startVelocity_ - omega * (startVelocity_ + omega * startOffset_) * t) * decay;
    if (std::fabs(offset) < restDistance && std::fabs(velocity) < restSpeed)
        settle();
    else
        shown_ = std::clamp(target_ + offset, 0.0, 1.0);
    update();
}

void RingGauge::hideEvent(QHideEvent* event)
{
    // Off screen the movement would be wasted: jump to the end.
    settle();
    seen_ = false;
    QWidget::hideEvent(event);
}

void RingGauge::paintEvent(QPaintEvent*)
{
    seen_ = true;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = appearanceOf(*this);
    const double side = std::min(width(), height());
    // The stroke lies inside the square: inset by half the line width.
    const QRectF circle(lineWidth_ / 2.0 + (width() - side) / 2.0, lineWidth_ / 2.0 + (height() - side) / 2.0,
                        side - lineWidth_, side - lineWidth_);
    if (circle.width() > 0) {
        QPen track(colorOf(ColorRole::quaternary, appearance), lineWidth_);
        painter.setPen(track);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle);
        if (shown_ > 0.0) {
            QPen trim(colorOf(color_, appearance), lineWidth_);
            trim.setCapStyle(Qt::RoundCap);
            painter.setPen(trim);
            // Qt angles are in sixteenths of a degree, counter-clockwise
            // from 3 o'clock: start at 12 o'clock, run clockwise.
            painter.drawArc(circle, 90 * 16, -static_cast<int>(std::lround(shown_ * 360.0 * 16.0)));
        }
    }
    painter.setPen(colorOf(ColorRole::primary, appearance));
    // Centred on the ring whatever its width (no eliding inside the ring).
    const double textWidth = percent_.width();
    percent_.draw(painter, QRectF((width() - textWidth) / 2.0, 0.0, textWidth, height()), Qt::AlignLeft);
}

void RingGauge::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

QString RingGauge::accessibleText(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return MenuBarRenderer::percentText(target_);
    return {};
}

} // namespace orbistat::ui
