#include "doubles/BusSignalRecorder.h"

namespace orbistat::test {

bool BusSignalRecorder::follow(QDBusConnection connection, const QString& service, const QString& path,
                               const QString& interface, const QString& member)
{
    return connection.connect(service, path, interface, member, this, SLOT(record(QDBusMessage)));
}

void BusSignalRecorder::record(const QDBusMessage& message)
{
    received_.append(message.member());
    if (onSignal)
        onSignal(message);
}

} // namespace orbistat::test
