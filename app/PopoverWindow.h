// The window that holds the popover's content. Normally a frameless popup
// that opens at the tray item's click, sized to the screen (340 points wide,
// the available height − 30, at least 480), takes the keyboard at once and
// closes when it loses focus or on Escape. On X11 it is placed at the click,
// kept inside the screen's available area; on Wayland, where a client cannot
// place its windows, the compositor places it.
//
// Without any tray on the desktop it is an ordinary window titled
// "Orbistat" instead, with a line on how to get a tray; closing that window
// is the way to quit, until a tray shows the item.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>
#include <optional>

class QLabel;
class QVBoxLayout;

namespace orbistat {

class PopoverWindow : public QWidget {
    Q_OBJECT
public:
    explicit PopoverWindow(QWidget* parent = nullptr);

    // The widget shown inside (the popover's cards); the window takes it.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }

    // Opens as a popup at the click (absent: where the pointer is), or
    // closes it when it is open. A toggle right after the popup closed by
    // itself is the same click that closed it (a click on the tray item
    // while the popup is open) and leaves it closed.
    void toggle(std::optional<QPoint> click);
    void showAt(std::optional<QPoint> click);
    bool isOpen() const { return isVisible(); }

    // Opens as an ordinary window with the hint on enabling a tray.
    void showAsWindow();
    bool isWindowMode() const { return windowMode_; }
    // A tray now shows the item: the hint goes, and closing the window no
    // longer quits.
    void setTrayAvailable(bool available);

    static QString noTrayHint();

signals:
    // The user closed the window while it was the program's only way in.
    void lastWayInClosed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setWindowMode(bool windowMode);
    static bool isWayland();

    QVBoxLayout* layout_ = nullptr;
    QLabel* hint_ = nullptr;
    QWidget* content_ = nullptr;
    bool windowMode_ = false;
    bool trayAvailable_ = true;
    QElapsedTimer sinceHidden_;
};

} // namespace orbistat
