// The tray item for X11 trays that speak only the old XEmbed protocol (no
// StatusNotifierWatcher on the bus), through Qt's QSystemTrayIcon. Such a
// tray gives every icon a square slot, so the wide image is shrunk into
// it; it is the fallback that keeps the program reachable there. It lives
// in app/ rather than platform/linux/ because QSystemTrayIcon and its menu
// are QtWidgets, which the platform adapters do not link.
#pragma once

#include "platform/StatusItem.h"

#include <QObject>
#include <QSystemTrayIcon>

namespace orbistat {

class SystemTrayIconItem : public QObject, public StatusItem {
    Q_OBJECT
public:
    explicit SystemTrayIconItem(QObject* parent = nullptr);

    // A tray that shows XEmbed icons is on the screen.
    static bool isTrayAvailable();

    void setImage(const std::vector<StatusPixmap>& sizes) override;
    void setToolTip(const QString& text) override;
    // The menu is shown by the application on the context click, as for
    // the other tray items, so this keeps nothing.
    void setMenu(const std::vector<StatusMenuEntry>&) override {}
    bool isShown() const override;

    void setVisible(bool visible);

private:
    QSystemTrayIcon icon_;
};

} // namespace orbistat
