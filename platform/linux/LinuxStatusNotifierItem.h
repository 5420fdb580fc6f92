// The tray item on Linux desktops: our own org.kde.StatusNotifierItem on the
// session bus (service org.kde.StatusNotifierItem-PID-N, object
// /StatusNotifierItem) with its menu exported over com.canonical.dbusmenu.
// Unlike Qt's tray icon, which pads every image to a square and drops the
// sizes above 64 pixels, it hands the panel the wide image of values as it
// is, at every scale given.
//
// The item registers with org.kde.StatusNotifierWatcher when that appears
// on the bus, and again each time it comes back (a panel restart: the new
// watcher knows nothing of earlier items). Properties change only when the
// pixels or texts do, and each change is followed by its New… signal, after
// which hosts read the property again.
#pragma once

#include "platform/StatusItem.h"
#include "platform/linux/StatusNotifierTypes.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <memory>

namespace orbistat {

class LinuxDBusMenu;

class LinuxStatusNotifierItem : public QObject, public StatusItem {
    Q_OBJECT
public:
    // `id` is the item's Id property ("orbistat"); `title` its Title.
    LinuxStatusNotifierItem(QDBusConnection bus, const QString& id, const QString& title, QObject* parent = nullptr);
    ~LinuxStatusNotifierItem() override;

    void setImage(const std::vector<StatusPixmap>& sizes) override;
    void setToolTip(const QString& text) override;
    void setMenu(const std::vector<StatusMenuEntry>& entries) override;
    bool isShown() const override { return registered_; }
    // A StatusNotifierWatcher is on the bus (the item is registered with it
    // or about to be).
    bool hasWatcher() const { return watcherPresent_; }

    // The name hosts know the item by, and whether the item could be put on
    // the bus at all (no session bus: never shown).
    QString serviceName() const { return serviceName_; }
    bool isExported() const { return exported_; }
    // How many times a watcher accepted the item (tests follow re-registration).
    int registrations() const { return registrations_; }

    // Read by the adaptor.
    const QString& id() const { return id_; }
    const QString& title() const { return title_; }
    const SniImageList& images() const { return images_; }
    SniToolTip toolTip() const;
    QString menuPath() const;

    // Called by the adaptor for the protocol's methods.
    void clicked(Click click, int x, int y);

signals:
    void newIcon();
    void newToolTip();

private:
    void watcherAppeared();
    void watcherVanished();
    void setRegistered(bool registered);

    QDBusConnection bus_;
    QString id_;
    QString title_;
    QString serviceName_;
    bool exported_ = false;
    bool ownsName_ = false;
    bool registered_ = false;
    bool watcherPresent_ = false;
    int registrations_ = 0;
    // Answers of an earlier watcher that arrive after a newer one appeared
    // are ignored.
    int watcherGeneration_ = 0;
    SniImageList images_;
    QString toolTipText_;
    std::unique_ptr<LinuxDBusMenu> menu_;
    QDBusServiceWatcher watcher_;
};

} // namespace orbistat
