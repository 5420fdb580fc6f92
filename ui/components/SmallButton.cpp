#include "ui/components/SmallButton.h"

#include "ui/Theme.h"
#include "ui/components/ColorRole.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace orbistat::ui {

namespace {
constexpr double horizontalPadding = 8.0;
constexpr double verticalPadding = 2.0;
constexpr double cornerRadius = 5.0;
} // namespace

SmallButton::SmallButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    setFont(uiFont(fontPoints));
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

QSize SmallButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(text()) + 2 * horizontalPadding)),
            static_cast<int>(std::ceil(metrics.height() + 2 * verticalPadding))};
}

void SmallButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = appearanceOf(*this);
    const QColor primary = colorOf(ColorRole::primary, appearance);
    const QRectF plate = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(hasFocus() ? colorOf(ColorRole::accent, appearance) : faded(primary, 0.2), hasFocus() ? 1.5 : 0.5));
    painter.setBrush(faded(primary, isDown() ? 0.22 : 0.1));
    painter.drawRoundedRect(plate, cornerRadius, cornerRadius);
    painter.setPen(isEnabled() ? primary : colorOf(ColorRole::tertiary, appearance));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace orbistat::ui
