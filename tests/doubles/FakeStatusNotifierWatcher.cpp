#include "doubles/FakeStatusNotifierWatcher.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>

namespace orbistat::test {

namespace {

class WatcherAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    explicit WatcherAdaptor(FakeStatusNotifierWatcher* watcher)
        : QDBusAbstractAdaptor(watcher)
        , watcher_(watcher)
    {
    }
    QStringList items() const { return watcher_->registrations(); }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& service)
    {
        watcher_->registerItem(service, watcher_->message().service());
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    FakeStatusNotifierWatcher* watcher_;
};

const auto watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");
const auto watcherObject = QStringLiteral("/StatusNotifierWatcher");

} // namespace

FakeStatusNotifierWatcher::FakeStatusNotifierWatcher(QDBusConnection connection)
    : connection_(std::move(connection))
{
    new WatcherAdaptor(this);
    running_ = connection_.registerObject(watcherObject, this, QDBusConnection::ExportAdaptors)
        && connection_.registerService(watcherName);
}

FakeStatusNotifierWatcher::~FakeStatusNotifierWatcher()
{
    stop();
}

void FakeStatusNotifierWatcher::stop()
{
    if (!running_)
        return;
    connection_.unregisterService(watcherName);
    connection_.unregisterObject(watcherObject);
    running_ = false;
}

void FakeStatusNotifierWatcher::registerItem(const QString& service, const QString& sender)
{
    // The argument is a bus name, or an object path on the caller.
    const bool isPath = service.startsWith(QLatin1Char('/'));
    registrations_.append(isPath ? sender : service);
    if (onRegistered)
        onRegistered(registrations_.back(), isPath ? service : QStringLiteral("/StatusNotifierItem"));
}

} // namespace orbistat::test

#include "FakeStatusNotifierWatcher.moc"
