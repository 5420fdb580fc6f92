// Whether the program may learn the Wi-Fi network name, and a callback when
// that changes. Linux never withholds the name, so the status is "authorized
// always" from the start; the change path stays for platforms that ask.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

namespace orbistat {

class LocationAccess : public QObject {
    Q_OBJECT
public:
    // Raw authorization values.
    static constexpr int32_t notDetermined = 0;
    static constexpr int32_t restricted = 1;
    static constexpr int32_t denied = 2;
    static constexpr int32_t authorizedAlways = 3;
    static constexpr int32_t authorizedWhenInUse = 4;

    explicit LocationAccess(int32_t initialStatus = authorizedAlways, QObject* parent = nullptr);

    int32_t status() const { return status_; }
    // Only "authorized always" lets the name through.
    bool isGranted() const { return status_ == authorizedAlways; }

    // The permission changed. May be called on any thread: the new status is
    // stored, and `onChange` called, on this object's (the main) thread.
    void authorizationChanged(int32_t status);

    std::function<void()> onChange;

private:
    int32_t status_;
};

} // namespace orbistat
