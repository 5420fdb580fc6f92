#include "platform/linux/LinuxStatusNotifierItem.h"

#include "platform/linux/LinuxDBusMenu.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <atomic>
#include <unistd.h>

namespace orbistat {

namespace {

const auto watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const auto watcherPath = QStringLiteral("/StatusNotifierWatcher");
const auto itemPath = QStringLiteral("/StatusNotifierItem");
const auto menuObjectPath = QStringLiteral("/MenuBar");

// Numbers the items of this process, so that each has a name of its own.
std::atomic<int> itemCounter{0};

// Exposes LinuxStatusNotifierItem as org.kde.StatusNotifierItem. Every
// property of the protocol is listed (some hosts read them through an
// introspected proxy and fail on a missing one); the ones Orbistat does not
// use carry their empty values.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ emptyText)
    Q_PROPERTY(QList<orbistat::SniImage> IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyText)
    Q_PROPERTY(QList<orbistat::SniImage> OverlayIconPixmap READ noImages)
    Q_PROPERTY(QString AttentionIconName READ emptyText)
    Q_PROPERTY(QList<orbistat::SniImage> AttentionIconPixmap READ noImages)
    Q_PROPERTY(QString AttentionMovieName READ emptyText)
    Q_PROPERTY(orbistat::SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(QString IconThemePath READ emptyText)
public:
    explicit StatusNotifierItemAdaptor(LinuxStatusNotifierItem* item)
        : QDBusAbstractAdaptor(item)
        , item_(item)
    {
        setAutoRelaySignals(false);
        connect(item, &LinuxStatusNotifierItem::newIcon, this, &StatusNotifierItemAdaptor::NewIcon);
        connect(item, &LinuxStatusNotifierItem::newToolTip, this, &StatusNotifierItemAdaptor::NewToolTip);
    }

    QString category() const { return QStringLiteral("SystemServices"); }
    QString id() const { return item_->id(); }
    QString title() const { return item_->title(); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString emptyText() const { return {}; }
    QList<SniImage> iconPixmap() const { return item_->images(); }
    QList<SniImage> noImages() const { return {}; }
    SniToolTip toolTip() const { return item_->toolTip(); }
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const { return QDBusObjectPath(item_->menuPath()); }

public slots:
    void Activate(int x, int y) { item_->clicked(StatusItem::Click::primary, x, y); }
    void SecondaryActivate(int x, int y) { item_->clicked(StatusItem::Click::secondary, x, y); }
    void ContextMenu(int x, int y) { item_->clicked(StatusItem::Click::context, x, y); }
    // The item has nothing to scroll through.
    void Scroll(int, const QString&) {}

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    LinuxStatusNotifierItem* item_;
};

bool isWellFormed(const StatusPixmap& pixmap)
{
    return pixmap.width > 0 && pixmap.height > 0 && pixmap.width <= 4096 && pixmap.height <= 4096
        && pixmap.argb.size() == qsizetype(pixmap.width) * pixmap.height * 4;
}

} // namespace

LinuxStatusNotifierItem::LinuxStatusNotifierItem(QDBusConnection bus, const QString& id, const QString& title, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus))
    , id_(id)
    , title_(title)
{
    registerStatusNotifierTypes();
    if (!bus_.isConnected())
        return;
    menu_ = std::make_unique<LinuxDBusMenu>(bus_, menuObjectPath);
    menu_->onEntry = [this](int entryId) {
        if (onMenuEntry)
            onMenuEntry(entryId);
    };
    new StatusNotifierItemAdaptor(this);
    exported_ = bus_.registerObject(itemPath, this, QDBusConnection::ExportAdaptors);
    if (!exported_)
        return;

    // The protocol's name; when it cannot be had, hosts accept the
    // connection's unique name as well.
    serviceName_ = QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(getpid()).arg(++itemCounter);
    ownsName_ = bus_.registerService(serviceName_);
    if (!ownsName_)
        serviceName_ = bus_.baseService();

    watcher_.setConnection(bus_);
    watcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration);
    watcher_.addWatchedService(watcherService);
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &LinuxStatusNotifierItem::watcherAppeared);
    connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &LinuxStatusNotifierItem::watcherVanished);
    if (bus_.interface() && bus_.interface()->isServiceRegistered(watcherService).value())
        watcherAppeared();
}

LinuxStatusNotifierItem::~LinuxStatusNotifierItem()
{
    if (ownsName_)
        bus_.unregisterService(serviceName_);
    if (exported_)
        bus_.unregisterObject(itemPath);
}

void LinuxStatusNotifierItem::setImage(const std::vector<StatusPixmap>& sizes)
{
    SniImageList images;
    for (const auto& pixmap : sizes) {
        if (isWellFormed(pixmap))
            images.append({pixmap.width, pixmap.height, pixmap.argb});
    }
    const bool same = images.size() == images_.size()
        && std::equal(images.begin(), images.end(), images_.begin(), [](const SniImage& a, const SniImage& b) {
               return a.width == b.width && a.height == b.height && a.argb == b.argb;
           });
    if (same)
        return;
    images_ = std::move(images);
    emit newIcon();
}

void LinuxStatusNotifierItem::setToolTip(const QString& text)
{
    if (text == toolTipText_)
        return;
    toolTipText_ = text;
    emit newToolTip();
}

void LinuxStatusNotifierItem::setMenu(const std::vector<StatusMenuEntry>& entries)
{
    if (menu_)
        menu_->setEntries(entries);
}

SniToolTip LinuxStatusNotifierItem::toolTip() const
{
    return {QString(), {}, title_, toolTipText_};
}

QString LinuxStatusNotifierItem::menuPath() const
{
    return menu_ && menu_->isExported() ? menu_->path() : QStringLiteral("/NO_DBUSMENU");
}

void LinuxStatusNotifierItem::clicked(Click click, int x, int y)
{
    // Hosts that do not know where the click was send 0, 0.
    const std::optional<QPoint> position = (x == 0 && y == 0) ? std::nullopt : std::optional(QPoint(x, y));
    // Handled after the D-Bus reply: the handler opens windows and menus.
    QMetaObject::invokeMethod(
        this, [this, click, position] { if (onClick) onClick(click, position); }, Qt::QueuedConnection);
}

void LinuxStatusNotifierItem::watcherAppeared()
{
    watcherPresent_ = true;
    const int generation = ++watcherGeneration_;
    auto call = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                               QStringLiteral("RegisterStatusNotifierItem"));
    call << serviceName_;
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, pending, generation] {
        pending->deleteLater();
        if (generation != watcherGeneration_)
            return;
        if (pending->isError()) {
            setRegistered(false);
            return;
        }
        ++registrations_;
        setRegistered(true);
    });
}

void LinuxStatusNotifierItem::watcherVanished()
{
    watcherPresent_ = false;
    ++watcherGeneration_;
    setRegistered(false);
}

void LinuxStatusNotifierItem::setRegistered(bool registered)
{
    if (registered == registered_)
        return;
    registered_ = registered;
    if (onShownChanged)
        onShownChanged(registered_);
}

} // namespace orbistat

#include "LinuxStatusNotifierItem.moc"
