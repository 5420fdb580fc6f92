// The desktop's notification service, as the alerts need it: ask whether
// notifications can be shown, and post one for immediate display with the
// default sound. A later post with the same identifier replaces the earlier
// notification instead of stacking a second one.
#pragma once

#include <QString>
#include <functional>

namespace orbistat {

struct Notification {
    QString identifier;  // "orbistat.cpu"
    QString title;
    QString body;        // plain text; the adapter escapes it where needed

    friend bool operator==(const Notification&, const Notification&) = default;
};

class Notifier {
public:
    virtual ~Notifier() = default;
    // Answers once, later, on the caller's thread; never while the notifier
    // is being destroyed.
    virtual void requestAuthorization(std::function<void(bool granted)> answer) = 0;
    // Fire and forget: a failure to deliver is not reported.
    virtual void post(const Notification& notification) = 0;
};

} // namespace orbistat
