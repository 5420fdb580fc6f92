#include "platform/linux/NetlinkRouteWatch.h"

#include <cerrno>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace orbistat {

NetlinkRouteWatch::NetlinkRouteWatch()
{
    fd_ = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    if (fd_ < 0)
        return;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    // Links come, go and are renamed; addresses and default routes change
    // with every connection.
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

NetlinkRouteWatch::~NetlinkRouteWatch()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool NetlinkRouteWatch::takeChange()
{
    if (fd_ < 0)
        return true;
    bool changed = std::exchange(first_, false);
    // Only the arrival matters, not the content: a short buffer with
    // MSG_TRUNC takes each message off the queue whole.
    char buffer[64];
    for (;;) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
        if (got >= 0) {
            changed = true;
            continue;
        }
        if (errno == EINTR)
            continue;
        // ENOBUFS: notifications were dropped, so anything may have changed.
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            changed = true;
        if (errno == ENOBUFS)
            continue;
        return changed;
    }
}

} // namespace orbistat
