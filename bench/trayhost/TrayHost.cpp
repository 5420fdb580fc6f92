// orbistat_bench_tray_host: the least a panel does for a StatusNotifierItem,
// so that the tray program can be measured with its item in a tray and its
// popover hidden, without a desktop's panel and its own costs around it.
// It owns org.kde.StatusNotifierWatcher on the session bus, takes the items
// that register, reads all their properties once, and reads the image or the
// tooltip again whenever an item announces a new one, as panels do.
// Each registration and each announcement is logged on standard output with
// the time in milliseconds since the epoch ("icon 1765200000123"), so that a
// measurement can say how often the image changed.
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDateTime>
#include <QStringList>
#include <cstdio>

namespace {

const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");

class Host : public QObject, public QDBusContext {
    Q_OBJECT
public:
    explicit Host(QDBusConnection bus)
        : bus_(std::move(bus))
    {
    }

    QStringList items() const { return items_; }

    void registerItem(const QString& argument)
    {
        // The argument is a bus name, or an object path on the caller.
        const QString service = argument.startsWith(QLatin1Char('/')) ? message().service() : argument;
        const QString path = argument.startsWith(QLatin1Char('/')) ? argument : QStringLiteral("/StatusNotifierItem");
        items_.append(service + path);
        bus_.connect(service, path, itemInterface, QStringLiteral("NewIcon"), this, SLOT(iconChanged()));
        bus_.connect(service, path, itemInterface, QStringLiteral("NewToolTip"), this, SLOT(toolTipChanged()));
        ask(service, path, QStringLiteral("GetAll"), {itemInterface});
        log("registered", service);
    }

private slots:
    void iconChanged()
    {
        reread(QStringLiteral("IconPixmap"));
        log("icon");
    }
    void toolTipChanged()
    {
        reread(QStringLiteral("ToolTip"));
        log("tooltip");
    }

private:
    static void log(const char* what, const QString& detail = {})
    {
        std::printf("%s %lld%s%s\n", what, static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                    detail.isEmpty() ? "" : " ", qPrintable(detail));
        std::fflush(stdout);
    }
    void reread(const QString& property)
    {
        ask(message().service(), message().path(), QStringLiteral("Get"), {itemInterface, property});
    }
    void ask(const QString& service, const QString& path, const QString& method, const QVariantList& arguments)
    {
        auto call = QDBusMessage::createMethodCall(service, path, propertiesInterface, method);
        call.setArguments(arguments);
        bus_.asyncCall(call);  // the answer is read and dropped
    }

    QDBusConnection bus_;
    QStringList items_;
};

class WatcherAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    explicit WatcherAdaptor(Host* host)
        : QDBusAbstractAdaptor(host)
        , host_(host)
    {
    }
    QStringList items() const { return host_->items(); }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& service) { host_->registerItem(service); }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    Host* host_;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    auto bus = QDBusConnection::sessionBus();
    Host host(bus);
    new WatcherAdaptor(&host);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &host, QDBusConnection::ExportAdaptors)
        || !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "orbistat_bench_tray_host: cannot own org.kde.StatusNotifierWatcher\n");
        return 1;
    }
    return app.exec();
}

#include "TrayHost.moc"
