#include "doubles/FakeDBusService.h"

#include <QDBusVariant>

namespace orbistat::test {

void FakeDBusService::setReply(const QString& path, const QString& interface, const QString& member, QVariantList arguments)
{
    setHandler(path, interface, member, [arguments](const QDBusMessage& call) -> std::optional<QDBusMessage> {
        return call.createReply(arguments);
    });
}

void FakeDBusService::setHandler(const QString& path, const QString& interface, const QString& member, Handler handler)
{
    std::lock_guard lock(mutex_);
    handlers_[path + QLatin1Char('|') + interface + QLatin1Char('.') + member] = std::move(handler);
}

void FakeDBusService::setProperties(const QString& path, const QString& interface, QVariantMap properties)
{
    std::lock_guard lock(mutex_);
    properties_[path + QLatin1Char('|') + interface] = std::move(properties);
}

bool FakeDBusService::attach(QDBusConnection connection, const QString& service, const QString& root)
{
    connection_ = connection;
    service_ = service;
    root_ = root;
    return connection.registerVirtualObject(root, this, QDBusConnection::SubPath) && connection.registerService(service);
}

void FakeDBusService::detach()
{
    if (!connection_)
        return;
    connection_->unregisterService(service_);
    connection_->unregisterObject(root_);
    connection_.reset();
}

void FakeDBusService::emitSignal(const QString& path, const QString& interface, const QString& member, QVariantList arguments)
{
    if (!connection_)
        return;
    auto message = QDBusMessage::createSignal(path, interface, member);
    message.setArguments(arguments);
    connection_->send(message);
}

int FakeDBusService::calls(const QString& member) const
{
    std::lock_guard lock(mutex_);
    const auto it = calls_.find(member);
    return it == calls_.end() ? 0 : it->second;
}

bool FakeDBusService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    Handler handler;
    std::optional<QVariantMap> properties;
    {
        std::lock_guard lock(mutex_);
        ++calls_[message.member()];
        const auto it = handlers_.find(message.path() + QLatin1Char('|') + message.interface() + QLatin1Char('.') + message.member());
        if (it != handlers_.end()) {
            handler = it->second;
        } else if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") && !message.arguments().isEmpty()) {
            const auto found = properties_.find(message.path() + QLatin1Char('|') + message.arguments().constFirst().toString());
            if (found != properties_.end())
                properties = found->second;
        }
    }
    if (handler) {
        if (const auto reply = handler(message))
            connection.send(*reply);
        return true;
    }
    if (properties && message.member() == QLatin1String("GetAll")) {
        connection.send(message.createReply(QVariant::fromValue(*properties)));
        return true;
    }
    if (properties && message.member() == QLatin1String("Get") && message.arguments().size() == 2) {
        const auto name = message.arguments().at(1).toString();
        if (properties->contains(name)) {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(properties->value(name)))));
            return true;
        }
    }
    connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), QStringLiteral("no such method")));
    return true;
}

} // namespace orbistat::test
