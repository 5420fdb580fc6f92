#include "platform/linux/StatusNotifierItemResponder.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QMutexLocker>

namespace orbistat {

namespace {

// Exposes the responder as org.kde.StatusNotifierItem. Every property of the
// protocol is listed (some hosts read them through an introspected proxy and
// fail on a missing one); the ones Orbistat does not use carry their empty
// values. The signals are here for introspection: the item sends them on
// the bus itself.
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
    explicit StatusNotifierItemAdaptor(StatusNotifierItemResponder* responder)
        : QDBusAbstractAdaptor(responder)
        , responder_(responder)
    {
        setAutoRelaySignals(false);
    }

    QString category() const { return QStringLiteral("SystemServices"); }
    QString id() const { return responder_->id(); }
    QString title() const { return responder_->title(); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString emptyText() const { return {}; }
    QList<SniImage> iconPixmap() const { return responder_->images(); }
    QList<SniImage> noImages() const { return {}; }
    SniToolTip toolTip() const { return responder_->toolTip(); }
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const { return QDBusObjectPath(responder_->menuPath()); }

public slots:
    void Activate(int x, int y) { responder_->click(StatusItem::Click::primary, x, y); }
    void SecondaryActivate(int x, int y) { responder_->click(StatusItem::Click::secondary, x, y); }
    void ContextMenu(int x, int y) { responder_->click(StatusItem::Click::context, x, y); }
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
    // The adaptor is the responder's child: it never outlives it.
    StatusNotifierItemResponder* responder_;
};

} // namespace

StatusNotifierItemResponder::StatusNotifierItemResponder(const QString& id, const QString& title, const QString& menuPath)
    : id_(id)
    , title_(title)
    , menuPath_(menuPath)
{
    new StatusNotifierItemAdaptor(this);
}

// QtDBus follows the destruction of every object ever registered with a
// blocking queued connection to the connection's own thread, so that a
// registration cannot outlive its object. Deleted in that very thread (as
// the responder is), the signal would wait for itself. The item takes the
// responder off the bus before deleting it, so there is nothing left for
// QtDBus to clean up.
StatusNotifierItemResponder::~StatusNotifierItemResponder()
{
    disconnect(this, &QObject::destroyed, nullptr, nullptr);
}

// The values are swapped in under the lock; the old ones are released
// after it, so a reader never waits for memory to be freed.
void StatusNotifierItemResponder::setImages(const SniImageList& images)
{
    SniImageList value = images;
    const QMutexLocker lock(&mutex_);
    images_.swap(value);
}

void StatusNotifierItemResponder::setToolTipText(const QString& text)
{
    QString value = text;
    const QMutexLocker lock(&mutex_);
    toolTipText_.swap(value);
}

SniImageList StatusNotifierItemResponder::images() const
{
    const QMutexLocker lock(&mutex_);
    return images_;
}

SniToolTip StatusNotifierItemResponder::toolTip() const
{
    const QMutexLocker lock(&mutex_);
    return {QString(), {}, title_, toolTipText_};
}

} // namespace orbistat

#include "StatusNotifierItemResponder.moc"
