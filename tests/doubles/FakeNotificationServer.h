// A freedesktop notification server for tests: register it on a private
// bus and it records every Notify call that reaches it.
#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <vector>

namespace orbistat::test {

class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString appName;
        uint replacesId;
        QString icon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    std::vector<Call> calls;
    QStringList capabilities{QStringLiteral("body"), QStringLiteral("actions")};
    uint nextId = 41;

    // Serves the notification interface and takes its well-known name.
    bool registerOn(QDBusConnection connection)
    {
        return connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots)
               && connection.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& icon, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap& hints, int timeout)
    {
        calls.push_back(Call{appName, replacesId, icon, summary, body, actions, hints, timeout});
        return replacesId != 0 ? replacesId : ++nextId;
    }
    QStringList GetCapabilities() { return capabilities; }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion)
    {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("fake");
    }
};

// Runs the event loop until `done` holds, at most `ms`.
inline bool waitUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace orbistat::test
