// A private dbus-daemon for one test: real bus traffic between the code under
// test and fake services the test registers, without touching the machine's
// session or system bus.
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace orbistat::test {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    QString address() const { return address_; }
    // A new, separate connection to the bus (one per simulated peer); each
    // name gives a distinct connection. Disconnecting a peer (a service that
    // "exits") takes effect once no QDBusConnection handle of it remains.
    QDBusConnection connect(const QString& name);
    void disconnect(const QString& name);

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QStringList connectionNames_;
};

} // namespace orbistat::test
