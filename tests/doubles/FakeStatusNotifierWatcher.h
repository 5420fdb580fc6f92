// A minimal org.kde.StatusNotifierWatcher on a test's private bus: what a
// panel runs. It records every RegisterStatusNotifierItem call (the service
// as given, and the caller) and answers the watcher's properties. Stopping
// it takes its name off the bus, as a panel that exits does. The benchmark's
// tray host is this watcher with a host around it.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace orbistat::test {

class FakeStatusNotifierWatcher : public QObject, public QDBusContext {
    Q_OBJECT
public:
    // Claims the watcher's name on the connection; isRunning() says whether
    // that worked.
    explicit FakeStatusNotifierWatcher(QDBusConnection connection);
    ~FakeStatusNotifierWatcher() override;

    bool isRunning() const { return running_; }
    void stop();

    // The item's bus name as registered (the service argument, or the
    // caller's unique name when the argument is an object path).
    const QStringList& registrations() const { return registrations_; }

    // Called for each registration with the item's bus name and object path.
    std::function<void(const QString& service, const QString& path)> onRegistered;

    // Called by the adaptor.
    void registerItem(const QString& service, const QString& sender);

private:
    QDBusConnection connection_;
    bool running_ = false;
    QStringList registrations_;
};

} // namespace orbistat::test
