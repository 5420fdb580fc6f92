// Port: the machine's network interfaces as the network-info sampler needs
// them: which one carries the default route, its first IPv4 address and what
// kind of link it is.
#pragma once

#include <QString>
#include <optional>

namespace orbistat {

// The link type the system reports for an interface.
enum class InterfaceType { ieee80211, ethernet, other };

struct InterfaceDescription {
    InterfaceType type = InterfaceType::other;
    std::optional<QString> displayName;  // user-visible, translated

    friend bool operator==(const InterfaceDescription&, const InterfaceDescription&) = default;
};

class NetworkInterfaces {
public:
    virtual ~NetworkInterfaces() = default;
    // The interface of the IPv4 default route, else of the IPv6 one; absent
    // when the machine has no default route.
    virtual std::optional<QString> primaryInterface() = 0;
    // First IPv4 address of the interface in numeric form.
    virtual std::optional<QString> localIPv4(const QString& name) = 0;
    // Absent when the system does not know the interface.
    virtual std::optional<InterfaceDescription> describe(const QString& name) = 0;
};

} // namespace orbistat
