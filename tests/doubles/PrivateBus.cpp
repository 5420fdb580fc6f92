#include "doubles/PrivateBus.h"

#include <QFile>

namespace orbistat::test {

PrivateBus::PrivateBus()
{
    // A minimal session-style configuration: anyone on this machine may own
    // any name, so fake services can claim org.bluez, org.freedesktop.* ...
    const QString config = dir_.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig>\n"
               "  <type>session</type>\n"
               "  <listen>unix:tmpdir=" + dir_.path().toUtf8() + "</listen>\n"
               "  <auth>EXTERNAL</auth>\n"
               "  <policy context=\"default\">\n"
               "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
               "    <allow eavesdrop=\"true\"/>\n"
               "    <allow own=\"*\"/>\n"
               "  </policy>\n"
               "</busconfig>\n");
    file.close();

    daemon_.setProgram(QStringLiteral("dbus-daemon"));
    daemon_.setArguments({QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    daemon_.start();
    if (!daemon_.waitForStarted(5000))
        return;
    for (int i = 0; i < 50 && !daemon_.canReadLine(); ++i)
        daemon_.waitForReadyRead(100);
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    for (const auto& name : connectionNames_)
        QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        if (!daemon_.waitForFinished(3000))
            daemon_.kill();
        daemon_.waitForFinished(3000);
    }
}

QDBusConnection PrivateBus::connect(const QString& name)
{
    if (!connectionNames_.contains(name))
        connectionNames_.append(name);
    return QDBusConnection::connectToBus(address_, name);
}

void PrivateBus::disconnect(const QString& name)
{
    QDBusConnection::disconnectFromBus(name);
    connectionNames_.removeAll(name);
}

} // namespace orbistat::test
