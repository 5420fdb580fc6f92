#include "platform/linux/LinuxStatusNotifierItem.h"

#include "platform/linux/LinuxDBusMenu.h"
#include "platform/linux/StatusNotifierItemResponder.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <unistd.h>

namespace orbistat {

namespace {

const auto watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const auto watcherPath = QStringLiteral("/StatusNotifierWatcher");
const auto itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const auto itemPath = QStringLiteral("/StatusNotifierItem");
const auto menuObjectPath = QStringLiteral("/MenuBar");

// Numbers the items of this process, so that each has a name of its own.
std::atomic<int> itemCounter{0};

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

    responder_ = new StatusNotifierItemResponder(id_, title_,
                                                 menu_->isExported() ? menu_->path() : QStringLiteral("/NO_DBUSMENU"));
    // Queued whichever thread the responder lives in: the click is handled
    // after the reply has gone out (the handler opens windows and menus).
    connect(responder_, &StatusNotifierItemResponder::clicked, this, &LinuxStatusNotifierItem::clicked,
            Qt::QueuedConnection);
    // The bus's own interface object lives in the thread that reads the
    // connection; an object there is answered without a detour through
    // this thread. A connection without it (peer to peer) keeps the
    // responder here.
    if (auto* busInterface = bus_.interface(); busInterface && busInterface->thread())
        responder_->moveToThread(busInterface->thread());
    exported_ = bus_.registerObject(itemPath, responder_, QDBusConnection::ExportAdaptors);
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
    if (!responder_)
        return;
    // No click is queued to this item from here on; one already queued goes
    // with it.
    disconnect(responder_, nullptr, this, nullptr);
    if (ownsName_)
        bus_.unregisterService(serviceName_);
    // Unregistering waits for a read being answered to finish; a call
    // already handed to the responder's thread is answered (or refused)
    // there before the responder is deleted, as deletion is queued behind
    // it in the same thread.
    if (exported_)
        bus_.unregisterObject(itemPath);
    if (responder_->thread() == QThread::currentThread())
        delete responder_;
    else
        responder_->deleteLater();
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
    if (responder_)
        responder_->setImages(images_);
    announce(Announcement::newIcon);
    emit newIcon();
}

void LinuxStatusNotifierItem::setToolTip(const QString& text)
{
    if (text == toolTipText_)
        return;
    toolTipText_ = text;
    if (responder_)
        responder_->setToolTipText(toolTipText_);
    announce(Announcement::newToolTip);
    emit newToolTip();
}

void LinuxStatusNotifierItem::setMenu(const std::vector<StatusMenuEntry>& entries)
{
    if (menu_)
        menu_->setEntries(entries);
}

void LinuxStatusNotifierItem::clicked(Click click, int x, int y)
{
    if (!onClick)
        return;
    // Hosts that do not know where the click was send 0, 0.
    onClick(click, (x == 0 && y == 0) ? std::nullopt : std::optional(QPoint(x, y)));
}

// A tick usually changes the image and the tool tip one after the other:
// the announcements are gathered and sent once the event loop is back, from
// the responder's thread, which then writes both in one go (a message sent
// from this thread is handed to that thread anyway).
void LinuxStatusNotifierItem::announce(Announcement what)
{
    if (!exported_)
        return;
    const bool queued = newIconPending_ || newToolTipPending_;
    (what == Announcement::newIcon ? newIconPending_ : newToolTipPending_) = true;
    if (!queued)
        QMetaObject::invokeMethod(this, &LinuxStatusNotifierItem::sendAnnouncements, Qt::QueuedConnection);
}

void LinuxStatusNotifierItem::sendAnnouncements()
{
    QList<QDBusMessage> messages;
    if (newIconPending_)
        messages.append(QDBusMessage::createSignal(itemPath, itemInterface, QStringLiteral("NewIcon")));
    if (newToolTipPending_)
        messages.append(QDBusMessage::createSignal(itemPath, itemInterface, QStringLiteral("NewToolTip")));
    newIconPending_ = newToolTipPending_ = false;
    // Only the connection and the messages travel: the responder may be
    // deleted before this runs, which drops it.
    QMetaObject::invokeMethod(responder_, [bus = bus_, messages = std::move(messages)] {
        for (const auto& message : messages)
            bus.send(message);
    }, Qt::QueuedConnection);
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
