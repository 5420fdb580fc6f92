// orbistat_bench_tray_host: the least a panel does for a StatusNotifierItem,
// so that the tray program can be measured with its item in a tray and its
// popover hidden, without a desktop's panel and its own costs around it.
// It owns org.kde.StatusNotifierWatcher on the session bus, takes the items
// that register, reads all their properties once, and reads the image or the
// tooltip again whenever an item announces a new one, as panels do.
// Each registration and each announcement is logged on standard output with
// the time in milliseconds since the epoch ("icon 1765200000123"), so that a
// measurement can say how often the image changed.
#include "doubles/FakeStatusNotifierWatcher.h"

#include <QCoreApplication>
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

    // An item the watcher took: follow its announcements, read it whole once.
    void follow(const QString& service, const QString& path)
    {
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
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    auto bus = QDBusConnection::sessionBus();
    Host host(bus);
    orbistat::test::FakeStatusNotifierWatcher watcher(bus);
    if (!watcher.isRunning()) {
        std::fprintf(stderr, "orbistat_bench_tray_host: cannot own org.kde.StatusNotifierWatcher\n");
        return 1;
    }
    watcher.onRegistered = [&host](const QString& service, const QString& path) { host.follow(service, path); };
    return app.exec();
}

#include "TrayHost.moc"
