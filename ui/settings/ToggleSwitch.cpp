#include "ui/settings/ToggleSwitch.h"

#include "shared/drawing/SymbolTable.h"
#include "ui/Theme.h"
#include "ui/settings/FormStyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace orbistat::ui {

namespace {
constexpr int symbolGap = 8;   // symbol to text
constexpr int switchGap = 12;  // text to switch
} // namespace

ToggleSwitch::ToggleSwitch(const QString& text, const QString& symbol, QWidget* parent)
    : QCheckBox(text, parent)
    , symbol_(symbol.isEmpty() ? QString() : symbolGlyphText(symbol))
{
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ToggleSwitch::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(text()) + switchGap + trackWidth;
    if (!symbol_.isEmpty())
        width += form::symbolSize + symbolGap;
    return {width, std::max(trackHeight + 4, metrics.height())};
}

QSize ToggleSwitch::minimumSizeHint() const
{
    return sizeHint();
}

bool ToggleSwitch::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    const Palette& colours = orbistat::palette(appearanceOf(*this));
    const bool dark = appearanceOf(*this) == Appearance::dark;
    const bool enabled = isEnabled();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QColor textColour = palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    int x = 0;
    if (!symbol_.isEmpty()) {
        painter.setFont(uiSymbolFont(form::symbolSize));
        painter.setPen(enabled ? colours.accent : textColour);
        painter.drawText(QRect(0, 0, form::symbolSize, height()), Qt::AlignCenter, symbol_);
        x += form::symbolSize + symbolGap;
    }
    painter.setFont(font());
    painter.setPen(textColour);
    const QRect textRect(x, 0, width() - x - switchGap - trackWidth, height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(font()).elidedText(text(), Qt::ElideRight, textRect.width()));

    // The track, the knob on the side of the state, a focus ring around it.
    const QRectF track(width() - trackWidth - 1.0, (height() - trackHeight) / 2.0, trackWidth, trackHeight);
    const double radius = trackHeight / 2.0;
    QColor trackColour = isChecked() ? colours.accent : (dark ? QColor(255, 255, 255, 46) : QColor(0, 0, 0, 28));
    if (!enabled)
        trackColour.setAlphaF(trackColour.alphaF() * 0.45f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(trackColour);
    painter.drawRoundedRect(track, radius, radius);

    const double inset = 2.0;
    const double knob = trackHeight - 2 * inset;
    const double knobX = isChecked() ? track.right() - inset - knob : track.left() + inset;
    QColor knobColour = dark ? QColor(236, 236, 236) : QColor(255, 255, 255);
    if (!enabled)
        knobColour = dark ? QColor(120, 120, 122) : QColor(250, 250, 250);
    const QRectF knobRect(knobX, track.top() + inset, knob, knob);
    painter.setBrush(QColor(0, 0, 0, enabled ? 40 : 16));
    painter.drawEllipse(knobRect.translated(0, 0.5).adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.setBrush(knobColour);
    painter.drawEllipse(knobRect);

    if (hasFocus()) {
        QColor ring = colours.accent;
        ring.setAlphaF(0.5f);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ring, 2.0));
        painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), radius + 2, radius + 2);
    }
}

} // namespace orbistat::ui
