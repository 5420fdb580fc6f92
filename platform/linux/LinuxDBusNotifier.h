// Notifications through the freedesktop notification service
// (org.freedesktop.Notifications) on the session bus. Every call is
// asynchronous: a hung or missing server never stalls the main thread.
#pragma once

#include "platform/Notifier.h"

#include <QDBusConnection>
#include <QObject>
#include <map>
#include <optional>

class QDBusPendingCall;

namespace orbistat {

class LinuxDBusNotifier final : public QObject, public Notifier {
    Q_OBJECT
public:
    // The app passes the session bus; tests a private bus.
    explicit LinuxDBusNotifier(QDBusConnection bus, QObject* parent = nullptr);

    void requestAuthorization(std::function<void(bool granted)> answer) override;
    void post(const Notification& notification) override;

    // The server's id of the last notification posted per identifier, until
    // the server reports it closed.
    const std::map<QString, uint>& shownIds() const { return shownIds_; }

    // Runs the event loop until every call in flight has been answered, at
    // most `timeoutMs`: a short run (`--print --count 1`) that posts at its
    // last tick must not exit before the post has left.
    void settle(int timeoutMs);

    // What travels in the summary and the body: control characters (a NUL
    // would make the message invalid) become spaces, line breaks stay in the
    // body; with `markup` the body's <, >, &, " and ' are escaped so a device
    // name such as "<b>Mouse</b>" is shown as written.
    static QString plainSummary(const QString& text);
    static QString bodyText(const QString& text, bool markup);

private slots:
    void notificationClosed(uint id, uint reason);

private:
    void whenAnswered(const QDBusPendingCall& call, std::function<void(const QDBusPendingCall&)> then);
    void serverAnswers(std::function<void(bool)> answer);
    void notify(const Notification& notification, bool markup);

    QDBusConnection bus_;
    std::map<QString, uint> shownIds_;
    // Identifiers with a post on its way, and the post waiting behind it.
    std::map<QString, std::optional<Notification>> inFlight_;
    int callsInFlight_ = 0;
};

} // namespace orbistat
