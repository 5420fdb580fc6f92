#include "samplers/LocationAccess.h"

namespace orbistat {

LocationAccess::LocationAccess(int32_t initialStatus, QObject* parent)
    : QObject(parent)
    , status_(initialStatus)
{
}

void LocationAccess::authorizationChanged(int32_t status)
{
    // Queued even on the main thread, so the callback never runs inside the
    // caller's stack; dropped if this object is gone by then.
    QMetaObject::invokeMethod(this, [this, status] {
        status_ = status;
        if (onChange)
            onChange();
    }, Qt::QueuedConnection);
}

} // namespace orbistat
