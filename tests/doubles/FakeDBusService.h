// A D-Bus service made of canned answers, registered on a connection of a
// PrivateBus: every object below a root path answers the methods the test
// sets (with whatever types the test chooses, wrong ones included), and
// Properties.Get/GetAll from per-object property maps. Signals are sent
// with emitSignal().
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <functional>
#include <map>
#include <mutex>

namespace orbistat::test {

class FakeDBusService final : public QDBusVirtualObject {
public:
    // (path, interface, member) -> reply arguments; a handler may instead
    // build any reply (an error, or none at all to let the caller time out).
    using Handler = std::function<std::optional<QDBusMessage>(const QDBusMessage& call)>;

    void setReply(const QString& path, const QString& interface, const QString& member, QVariantList arguments);
    void setHandler(const QString& path, const QString& interface, const QString& member, Handler handler);
    // Properties of one interface of one object, for Properties.Get/GetAll.
    void setProperties(const QString& path, const QString& interface, QVariantMap properties);

    // Registers below `root` and claims `service` on the connection.
    bool attach(QDBusConnection connection, const QString& service, const QString& root = QStringLiteral("/"));
    void detach();

    void emitSignal(const QString& path, const QString& interface, const QString& member, QVariantList arguments);

    int calls(const QString& member) const;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString&) const override { return {}; }

private:
    mutable std::mutex mutex_;
    std::map<QString, Handler> handlers_;  // "path|interface.member"
    std::map<QString, QVariantMap> properties_;  // "path|interface"
    std::map<QString, int> calls_;
    std::optional<QDBusConnection> connection_;
    QString service_;
    QString root_;
};

} // namespace orbistat::test
