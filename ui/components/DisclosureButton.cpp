#include "ui/components/DisclosureButton.h"

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
    , title_(uiFont(fontPoints))
    , collapsed_(QStringLiteral("chevron.right"), static_cast<int>(chevronBox))
    , expanded_(QStringLiteral("chevron.down"), static_cast<int>(chevronBox))
{
    setCheckable(true);
    setChecked(false);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setTitle(title);
}

void DisclosureButton::setTitle(const QString& title)
{
    const int old = sizeHint().width();
    if (!title_.setText(title))
        return;
    // The button's text is what a screen reader reads.
    setText(title_.text());
    if (sizeHint().width() != old)
        updateGeometry();
    update();
}

QSize DisclosureButton::sizeHint() const
{
    return {static_cast<int>(std::ceil(chevronBox + chevronGap + title_.width())), static_cast<int>(std::ceil(title_.lineHeight()))};
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
    (isChecked() ? expanded_ : collapsed_).draw(painter, chevron, colorOf(ColorRole::secondary, appearance));
    const QRectF titleBox(chevronBox + chevronGap, 0.0, width() - chevronBox - chevronGap, height());
    painter.setPen(colorOf(ColorRole::primary, appearance));
    title_.draw(painter, titleBox, Qt::AlignLeft);
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
