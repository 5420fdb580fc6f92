#include "app/PopoverWindow.h"

#include "app/PopoverGeometry.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace orbistat {

namespace {

// A click on the tray item while the popup is open first closes the popup
// (the click lands outside it) and then reaches the item as a toggle; within
// this time the toggle belongs to that click.
constexpr qint64 reopenGuardMs = 300;

Qt::WindowFlags popupFlags(bool wayland)
{
    // On Wayland a popup needs a parent surface the tray item does not have:
    // an undecorated tool window is placed by the compositor instead.
    if (wayland)
        return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    return Qt::Popup | Qt::FramelessWindowHint;
}

} // namespace

PopoverWindow::PopoverWindow(QWidget* parent)
    : QWidget(parent, popupFlags(isWayland()))
{
    setWindowTitle(QStringLiteral("Orbistat"));
    setAttribute(Qt::WA_QuitOnClose, false);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    hint_ = new QLabel(noTrayHint(), this);
    hint_->setTextFormat(Qt::PlainText);
    hint_->setWordWrap(true);
    hint_->setContentsMargins(12, 8, 12, 8);
    hint_->setAccessibleName(hint_->text());
    hint_->hide();
    layout_->addWidget(hint_, 0, Qt::AlignTop);
    sinceHidden_.invalidate();
}

QString PopoverWindow::noTrayHint()
{
    return tr("No tray found: enable one to keep Orbistat in the panel (on GNOME, the AppIndicator extension).");
}

bool PopoverWindow::isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void PopoverWindow::setContent(QWidget* content)
{
    if (content_ == content)
        return;
    if (content_) {
        layout_->removeWidget(content_);
        content_->deleteLater();
    }
    content_ = content;
    if (content_) {
        layout_->addWidget(content_, 1);
        setFocusProxy(content_);
    }
}

void PopoverWindow::setWindowMode(bool windowMode)
{
    if (windowMode == windowMode_)
        return;
    windowMode_ = windowMode;
    hide();
    setWindowFlags(windowMode_ ? Qt::Window : popupFlags(isWayland()));
    hint_->setVisible(windowMode_ && !trayAvailable_);
}

void PopoverWindow::toggle(std::optional<QPoint> click)
{
    if (isVisible() && !windowMode_) {
        hide();
        return;
    }
    if (sinceHidden_.isValid() && sinceHidden_.elapsed() < reopenGuardMs)
        return;
    showAt(click);
}

void PopoverWindow::showAt(std::optional<QPoint> click)
{
    setWindowMode(false);
    const QPoint point = click.value_or(QCursor::pos());
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const std::optional<double> availableHeight
        = screen ? std::optional<double>(screen->availableGeometry().height()) : std::nullopt;
    const QSize size = PopoverGeometry::size(availableHeight);
    resize(size);
    if (!isWayland())
        move(screen ? PopoverGeometry::position(point, size, screen->availableGeometry()) : point);
    show();
    raise();
    activateWindow();
    if (content_)
        content_->setFocus(Qt::PopupFocusReason);
}

void PopoverWindow::showAsWindow()
{
    const bool wasWindow = windowMode_;
    setWindowMode(true);
    if (!wasWindow) {
        QScreen* screen = QGuiApplication::primaryScreen();
        resize(PopoverGeometry::size(screen ? std::optional<double>(screen->availableGeometry().height()) : std::nullopt));
    }
    show();
    raise();
    activateWindow();
}

void PopoverWindow::setTrayAvailable(bool available)
{
    trayAvailable_ = available;
    hint_->setVisible(windowMode_ && !trayAvailable_);
}

bool PopoverWindow::event(QEvent* event)
{
    // A popup closes when another window takes the focus (on X11 a popup
    // also closes on a click outside it; on Wayland this is the only way).
    if (event->type() == QEvent::WindowDeactivate && !windowMode_ && isVisible())
        hide();
    return QWidget::event(event);
}

void PopoverWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !windowMode_) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PopoverWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (windowMode_ && !trayAvailable_ && event->isAccepted())
        emit lastWayInClosed();
}

void PopoverWindow::hideEvent(QHideEvent* event)
{
    if (!windowMode_)
        sinceHidden_.start();
    QWidget::hideEvent(event);
}

} // namespace orbistat
