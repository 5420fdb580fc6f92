#include "ui/components/DisclosureButton.h"

#include "shared/drawing/PlainText.h"
#include "ui/Theme.h"
#include "ui/components/ColorRole.h"
#include "ui/components/SymbolView.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace orbistat::ui {

namespace {
constexpr double chevronBox = 12.0;
constexpr double chevronGap = 4.0;
} // namespace

DisclosureButton::DisclosureButton(const QString& title, QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setChecked(false);
    setFocusPolicy(Qt::StrongFocus);
    setFont(uiFont(fontPoints));
    setText(singleLine(title));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

QSize DisclosureButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return {static_cast<int>(std::ceil(chevronBox + chevronGap + metrics.horizontalAdvance(text()))),
            static_cast<int>(std::ceil(metrics.height()))};
}

QSize DisclosureButton::minimumSizeHint() const
{
    return {static_cast<int>(chevronBox), sizeHint().height()};
}

void DisclosureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = appearanceOf(*this);
    const QRectF chevron(0.0, (height() - chevronBox) / 2.0, chevronBox, chevronBox);
    drawSymbol(painter, chevron, isChecked() ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"),
               static_cast<int>(chevronBox), colorOf(ColorRole::secondary, appearance));
    const QRectF titleBox(chevronBox + chevronGap, 0.0, width() - chevronBox - chevronGap, height());
    painter.setFont(font());
    painter.setPen(colorOf(ColorRole::primary, appearance));
    const QString shown = QFontMetricsF(font()).elidedText(text(), Qt::ElideRight, std::max(titleBox.width(), 0.0));
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    if (hasFocus()) {
        // Keyboard focus: an accent outline around the whole line.
        QPen ring(colorOf(ColorRole::accent, appearance), 1.5);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 3.0, 3.0);
    }
}

void DisclosureButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QAbstractButton::changeEvent(event);
}

} // namespace orbistat::ui
