#include "app/SingleInstance.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMetaObject>

namespace orbistat {

namespace {

class InstanceAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orbistat.Orbistat")
public:
    explicit InstanceAdaptor(SingleInstance* instance)
        : QDBusAbstractAdaptor(instance)
        , instance_(instance)
    {
    }

public slots:
    // Both answer at once and act after the reply, so the asking program
    // can end without waiting for windows to open.
    void OpenPopover()
    {
        QMetaObject::invokeMethod(
            instance_, [i = instance_] { if (i->onOpenPopover) i->onOpenPopover(); }, Qt::QueuedConnection);
    }
    void ShowSettings(const QString& tab)
    {
        QMetaObject::invokeMethod(
            instance_, [i = instance_, tab] { if (i->onShowSettings) i->onShowSettings(tab); }, Qt::QueuedConnection);
    }

private:
    SingleInstance* instance_;
};

} // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus))
{
    new InstanceAdaptor(this);
}

SingleInstance::~SingleInstance()
{
    if (ownsName_)
        bus_.unregisterService(QString::fromLatin1(serviceName));
    if (exported_)
        bus_.unregisterObject(QString::fromLatin1(objectPath));
}

SingleInstance::Claim SingleInstance::claim()
{
    if (!bus_.isConnected() || !bus_.interface())
        return Claim::noBus;
    if (!exported_)
        exported_ = bus_.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportAdaptors);
    const auto reply = bus_.interface()->registerService(QString::fromLatin1(serviceName),
                                                        QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return Claim::noBus;
    ownsName_ = reply.value() == QDBusConnectionInterface::ServiceRegistered;
    return ownsName_ ? Claim::first : Claim::another;
}

bool SingleInstance::ask(QDBusConnection bus, const QString& method, const QVariantList& arguments)
{
    auto call = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), QString::fromLatin1(objectPath),
                                               QString::fromLatin1(interfaceName), method);
    call.setArguments(arguments);
    const QDBusMessage reply = bus.call(call, QDBus::BlockWithGui, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool becomeSingleInstance(SingleInstance& instance, QDBusConnection bus, const QString& method, const QVariantList& arguments)
{
    // The owner may end between our claim and our request: then the name
    // is free and the next claim takes it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        switch (instance.claim()) {
        case SingleInstance::Claim::first:
        case SingleInstance::Claim::noBus:
            return true;
        case SingleInstance::Claim::another:
            if (SingleInstance::ask(bus, method, arguments))
                return false;
            break;
        }
    }
    // A running program that owns the name but does not answer: starting a
    // second one would not help the user either.
    return false;
}

} // namespace orbistat

#include "SingleInstance.moc"
