#include "widget/WidgetWindow.h"

#include "widget/WidgetRenderer.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QWindow>

namespace orbistat::widget {

WidgetWindow::WidgetWindow(WidgetKind kind, WidgetFamily family, std::optional<Appearance> appearance,
                           QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnBottomHint)
    , kind_(kind)
    , family_(family)
    , appearance_(appearance)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(widgetSize(family).toSize());
    setWindowTitle(displayName(kind));
    setAccessibleName(displayName(kind));
}

void WidgetWindow::setEntry(StatsEntry entry)
{
    entry_ = std::move(entry);
    setAccessibleDescription(accessibilityLabels(kind_, family_, entry_).join(QStringLiteral(", ")));
    update();
}

Appearance WidgetWindow::appearance() const
{
    if (appearance_)
        return *appearance_;
    return appearanceFor(QGuiApplication::palette().color(QPalette::Window));
}

void WidgetWindow::paintEvent(QPaintEvent*)
{
    // Drawn through the same image as a rendered file, so the window and
    // the file look alike at any screen scale.
    const QImage image = renderWidget(kind_, family_, entry_, appearance(), devicePixelRatioF());
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPointF(0, 0), image);
}

void WidgetWindow::mousePressEvent(QMouseEvent* event)
{
    // Frameless: the whole widget is the handle to move it by.
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
}

void WidgetWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("Refresh"), this, &WidgetWindow::refreshRequested);
    menu.addAction(tr("Close"), this, &QWidget::close);
    menu.exec(event->globalPos());
}

void WidgetWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace orbistat::widget
