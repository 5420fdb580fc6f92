#include "ui/components/MenuButton.h"

#include "ui/Theme.h"
#include "ui/components/ColorRole.h"
#include "ui/components/SymbolView.h"

#include <QMenu>
#include <QPainter>

namespace orbistat::ui {

namespace {
// Room around the glyph for the focus ring.
constexpr int margin = 3;
} // namespace

MenuButton::MenuButton(const QString& symbol, int points, QMenu* menu, QWidget* parent)
    : QAbstractButton(parent)
    , glyph_(symbol, points)
    , menu_(menu)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &MenuButton::openMenu);
}

QSize MenuButton::sizeHint() const
{
    return {glyph_.points() + 2 * margin, glyph_.points() + 2 * margin};
}

void MenuButton::openMenu()
{
    if (!menu_)
        return;
    // Below the button, right edges aligned, as a popover's own menu opens.
    const QSize menuSize = menu_->sizeHint();
    menu_->popup(mapToGlobal(QPoint(width() - menuSize.width(), height())));
}

void MenuButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = appearanceOf(*this);
    const ColorRole role = isDown() || hovered_ ? ColorRole::primary : ColorRole::secondary;
    glyph_.draw(painter, QRectF(rect()), colorOf(role, appearance));
    if (hasFocus()) {
        QPen ring(colorOf(ColorRole::accent, appearance), 1.5);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75));
    }
}

void MenuButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void MenuButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace orbistat::ui
