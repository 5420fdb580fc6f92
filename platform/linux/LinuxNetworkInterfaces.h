// Network interfaces on Linux: the default route from ROOT/proc/net/route
// (then ipv6_route), the kind from ROOT/sys/class/net/IF, the address from
// getifaddrs. Under a recorded tree the local address belongs to the host,
// not to the tree, and is not read.
#pragma once

#include "platform/NetworkInterfaces.h"
#include "platform/linux/HotFile.h"
#include "platform/linux/LinuxRoot.h"

namespace orbistat {

class LinuxNetworkInterfaces final : public NetworkInterfaces {
public:
    explicit LinuxNetworkInterfaces(const LinuxRoot& root);

    std::optional<QString> primaryInterface() override;
    std::optional<QString> localIPv4(const QString& name) override;
    std::optional<InterfaceDescription> describe(const QString& name) override;

private:
    const LinuxRoot& root_;
    // Read on every tick.
    HotFile route_;
    HotFile ipv6Route_;
};

} // namespace orbistat
