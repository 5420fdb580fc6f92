#include "app/ListingNotifier.h"

#include <QTimer>
#include <utility>

namespace orbistat {

ListingNotifier::ListingNotifier(Notifier* desktop, QObject* parent)
    : QObject(parent)
    , desktop_(desktop)
{
}

void ListingNotifier::requestAuthorization(std::function<void(bool granted)> answer)
{
    if (desktop_) {
        desktop_->requestAuthorization(std::move(answer));
        return;
    }
    // Answered later, as the port promises, and not once this is gone.
    QTimer::singleShot(0, this, [answer = std::move(answer)] { answer(true); });
}

void ListingNotifier::post(const Notification& notification)
{
    posted_.push_back(notification);
    if (desktop_)
        desktop_->post(notification);
}

std::vector<Notification> ListingNotifier::takePosted()
{
    return std::exchange(posted_, {});
}

} // namespace orbistat

// The meta-object code in this file rather than in the library's shared moc
// file: the terminal program needs this class, and the shared file would
// bring every other class of the folder (the tray's among them) and the
// graphics libraries with it.
#include "moc_ListingNotifier.cpp"
