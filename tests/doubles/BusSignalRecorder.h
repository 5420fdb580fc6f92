// Follows signals on a bus connection the way a panel does (a match on the
// sender, object path, interface and name) and keeps the names of those
// that arrived, in order. A test can act on each one as it arrives.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <functional>

namespace orbistat::test {

class BusSignalRecorder : public QObject {
    Q_OBJECT
public:
    bool follow(QDBusConnection connection, const QString& service, const QString& path, const QString& interface,
                const QString& member);

    const QStringList& received() const { return received_; }
    void clear() { received_.clear(); }

    std::function<void(const QDBusMessage&)> onSignal;

private slots:
    void record(const QDBusMessage& message);

private:
    QStringList received_;
};

} // namespace orbistat::test
