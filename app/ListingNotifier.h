// The headless run's notifier: keeps what the alerts post, so each tick's
// JSON line can list it, and passes every post on to the desktop's
// notification service when there is one. A run over a recorded tree has
// none: another machine's alerts must not pop up on this desktop, yet they
// are still evaluated and listed.
#pragma once

#include "platform/Notifier.h"

#include <QObject>
#include <vector>

namespace orbistat {

class ListingNotifier final : public QObject, public Notifier {
    Q_OBJECT
public:
    // `desktop` may be null: nothing is shown, and authorisation is granted
    // (listing needs no permission).
    explicit ListingNotifier(Notifier* desktop, QObject* parent = nullptr);

    void requestAuthorization(std::function<void(bool granted)> answer) override;
    void post(const Notification& notification) override;

    // The posts since the last call, oldest first.
    std::vector<Notification> takePosted();

private:
    Notifier* desktop_;
    std::vector<Notification> posted_;
};

} // namespace orbistat
