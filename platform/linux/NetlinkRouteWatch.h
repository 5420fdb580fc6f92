// Tells whether the machine's network links, IPv4 addresses or routes may
// have changed: a NETLINK_ROUTE socket subscribed to the kernel's link,
// IPv4 address and IPv4/IPv6 route notifications, read without blocking when
// asked. The kernel sends a notification once a change is made, so while none
// is queued, what was read before is still what the kernel has.
//
// When the socket cannot be opened, or notifications were lost (the receive
// buffer overran), every question is answered "changed", and the reader
// falls back to reading afresh.
#pragma once

namespace orbistat {

class NetlinkRouteWatch {
public:
    NetlinkRouteWatch();
    ~NetlinkRouteWatch();
    NetlinkRouteWatch(const NetlinkRouteWatch&) = delete;
    NetlinkRouteWatch& operator=(const NetlinkRouteWatch&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // True when a notification arrived since the last call (the first call
    // always answers true). Reads every queued notification.
    bool takeChange();

private:
    int fd_ = -1;
    bool first_ = true;
};

} // namespace orbistat
