#include "platform/linux/LinuxDBusNotifier.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QElapsedTimer>
#include <QStringList>
#include <QVariantMap>

namespace orbistat {

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString busService = QStringLiteral("org.freedesktop.DBus");
const QString busPath = QStringLiteral("/org/freedesktop/DBus");

// Long enough for a server started on demand, short enough that a hung one
// does not hold a test notification's answer for the bus's default 25 s.
constexpr int callTimeoutMs = 5000;
constexpr uchar normalUrgency = 1;

QDBusMessage serverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(service, path, interface, method);
}

QString withoutControls(const QString& text, bool keepLineBreaks)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (keepLineBreaks && (c == QLatin1Char('\n') || c == QLatin1Char('\t')))
            result.append(c);
        else if (c.category() == QChar::Other_Control)
            result.append(QLatin1Char(' '));
        else
            result.append(c);
    }
    return result;
}

} // namespace

LinuxDBusNotifier::LinuxDBusNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus))
{
    // A closed notification's id may be reused by the server for something
    // else; replacing it would hijack another program's notification.
    bus_.connect(service, path, interface, QStringLiteral("NotificationClosed"), this, SLOT(notificationClosed(uint, uint)));
}

QString LinuxDBusNotifier::plainSummary(const QString& text)
{
    return withoutControls(text, false);
}

QString LinuxDBusNotifier::bodyText(const QString& text, bool markup)
{
    const QString plain = withoutControls(text, true);
    if (!markup)
        return plain;
    QString escaped = plain.toHtmlEscaped();  // &, <, >, "
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return escaped;
}

void LinuxDBusNotifier::whenAnswered(const QDBusPendingCall& call, std::function<void(const QDBusPendingCall&)> then)
{
    // The watcher is this object's child: if the notifier goes away first,
    // the continuation is dropped with it.
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    ++callsInFlight_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, then = std::move(then)] {
        then(*watcher);
        --callsInFlight_;
        watcher->deleteLater();
    });
}

void LinuxDBusNotifier::requestAuthorization(std::function<void(bool granted)> answer)
{
    if (!bus_.isConnected()) {
        // Answer later, as a bus would, never from inside the request.
        QMetaObject::invokeMethod(this, [answer = std::move(answer)] { answer(false); }, Qt::QueuedConnection);
        return;
    }
    // Granted when a server runs or can be started on demand (dunst and mako
    // are started by the bus on the first call), and it answers.
    auto owner = QDBusMessage::createMethodCall(busService, busPath, busService, QStringLiteral("NameHasOwner"));
    owner << service;
    whenAnswered(bus_.asyncCall(owner, callTimeoutMs), [this, answer = std::move(answer)](const QDBusPendingCall& call) mutable {
        const QDBusPendingReply<bool> hasOwner = call;
        if (hasOwner.isValid() && hasOwner.value()) {
            serverAnswers(std::move(answer));
            return;
        }
        const auto list = QDBusMessage::createMethodCall(busService, busPath, busService, QStringLiteral("ListActivatableNames"));
        whenAnswered(bus_.asyncCall(list, callTimeoutMs), [this, answer = std::move(answer)](const QDBusPendingCall& call) mutable {
            const QDBusPendingReply<QStringList> names = call;
            if (names.isValid() && names.value().contains(service))
                serverAnswers(std::move(answer));
            else
                answer(false);
        });
    });
}

void LinuxDBusNotifier::serverAnswers(std::function<void(bool)> answer)
{
    whenAnswered(bus_.asyncCall(serverCall(QStringLiteral("GetServerInformation")), callTimeoutMs),
                 [answer = std::move(answer)](const QDBusPendingCall& call) {
                     const QDBusPendingReply<QString, QString, QString, QString> info = call;
                     answer(info.isValid());
                 });
}

void LinuxDBusNotifier::post(const Notification& notification)
{
    if (!bus_.isConnected())
        return;
    // One post per identifier at a time: a second one sent before the
    // server has told the first one's id would stack instead of replacing.
    // It waits, and only the newest waiting text is sent.
    if (const auto busy = inFlight_.find(notification.identifier); busy != inFlight_.end()) {
        busy->second = notification;
        return;
    }
    inFlight_.emplace(notification.identifier, std::nullopt);
    // Asked before every post: the server may have been replaced since (a
    // desktop restart, dunst swapped for mako), and alerts are rare.
    whenAnswered(bus_.asyncCall(serverCall(QStringLiteral("GetCapabilities")), callTimeoutMs),
                 [this, notification](const QDBusPendingCall& call) {
                     const QDBusPendingReply<QStringList> capabilities = call;
                     const bool markup = capabilities.isValid() && capabilities.value().contains(QStringLiteral("body-markup"));
                     notify(notification, markup);
                 });
}

void LinuxDBusNotifier::notify(const Notification& notification, bool markup)
{
    const auto known = shownIds_.find(notification.identifier);
    const uint replacesId = known != shownIds_.end() ? known->second : 0;
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orbistat"));
    hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    // A byte: some servers reject any other integer type here.
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(normalUrgency));

    auto message = serverCall(QStringLiteral("Notify"));
    message << QStringLiteral("Orbistat") << replacesId << QString() << plainSummary(notification.title)
            << bodyText(notification.body, markup) << QStringList() << hints << int(-1);
    const QString identifier = notification.identifier;
    whenAnswered(bus_.asyncCall(message, callTimeoutMs), [this, identifier](const QDBusPendingCall& call) {
        const QDBusPendingReply<uint> id = call;
        if (id.isValid())
            shownIds_[identifier] = id.value();
        std::optional<Notification> next;
        if (const auto busy = inFlight_.find(identifier); busy != inFlight_.end()) {
            next = std::move(busy->second);
            inFlight_.erase(busy);
        }
        if (next)
            post(*next);
    });
}

void LinuxDBusNotifier::settle(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (callsInFlight_ > 0 && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void LinuxDBusNotifier::notificationClosed(uint id, uint /*reason*/)
{
    for (auto it = shownIds_.begin(); it != shownIds_.end();) {
        if (it->second == id)
            it = shownIds_.erase(it);
        else
            ++it;
    }
}

} // namespace orbistat
