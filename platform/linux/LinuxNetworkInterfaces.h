// Network interfaces on Linux: the default route from ROOT/proc/net/route
// (then ipv6_route), the kind from ROOT/sys/class/net/IF, the address from
// getifaddrs. Under a recorded tree the local address belongs to the host,
// not to the tree, and is not read.
//
// On the running machine the three answers are kept until the kernel
// announces a change of links, addresses or routes (NetlinkRouteWatch): a
// tick then costs one read of the notification socket instead of the route
// table, a netlink dump of every address and a handful of sysfs lookups.
// Without the socket, and always under a recorded tree (a replay swaps the
// files underneath), everything is read afresh on every call.
#pragma once

#include "platform/NetworkInterfaces.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"

#include <functional>
#include <memory>

namespace orbistat {

class NetlinkRouteWatch;

class LinuxNetworkInterfaces final : public NetworkInterfaces {
public:
    // True when links, addresses or routes may have changed since the last
    // call.
    using ChangeWatch = std::function<bool()>;

    explicit LinuxNetworkInterfaces(const LinuxRoot& root);
    // With a watch of the caller's; an empty one reads afresh every time.
    LinuxNetworkInterfaces(const LinuxRoot& root, ChangeWatch changed);
    ~LinuxNetworkInterfaces() override;

    std::optional<QString> primaryInterface() override;
    std::optional<QString> localIPv4(const QString& name) override;
    std::optional<InterfaceDescription> describe(const QString& name) override;

private:
    template <typename T>
    struct Kept {
        QString name;  // the interface asked about; unused for the route
        std::optional<T> value;
        bool valid = false;
    };

    // Forgets every kept answer when the watch reports a change.
    void refresh();
    // `read` tells a table or list that was read from one that could not be.
    std::optional<QString> readPrimaryInterface(bool& read);
    std::optional<QString> readLocalIPv4(const QString& name, bool& read);
    std::optional<InterfaceDescription> readDescription(const QString& name);

    const LinuxRoot& root_;
    // Read on every call that finds no kept answer.
    HotFile route_;
    HotFile ipv6Route_;
    std::unique_ptr<NetlinkRouteWatch> netlink_;
    ChangeWatch changed_;
    Kept<QString> primary_;
    Kept<QString> address_;
    Kept<InterfaceDescription> description_;
};

} // namespace orbistat
