#include "platform/linux/LinuxNetworkInterfaces.h"

#include "platform/linux/NetlinkRouteWatch.h"
#include "platform/linux/RouteParsing.h"

#include <QCoreApplication>
#include <array>
#include <ifaddrs.h>
#include <memory>
#include <netdb.h>
#include <sys/socket.h>

namespace orbistat {

namespace {

// Routing tables of busy hosts run to thousands of lines.
constexpr size_t routeFileLimit = 4 << 20;

// ARPHRD_ETHER, and ARPHRD_NONE as tun devices in layer-3 mode report it.
constexpr int64_t arphrdEther = 1;
constexpr int64_t arphrdNone = 65534;

std::string netPath(const std::string& name, std::string_view entry = {})
{
    std::string path = "sys/class/net/" + name;
    if (!entry.empty()) {
        path += '/';
        path += entry;
    }
    return path;
}

QString translated(const char* text)
{
    return QCoreApplication::translate("NetworkInterfaces", text);
}

} // namespace

LinuxNetworkInterfaces::LinuxNetworkInterfaces(const LinuxRoot& root)
    : LinuxNetworkInterfaces(root, ChangeWatch())
{
    // The host's notifications say nothing about a recorded tree.
    if (root.isRecorded())
        return;
    netlink_ = std::make_unique<NetlinkRouteWatch>();
    if (netlink_->isOpen())
        changed_ = [watch = netlink_.get()] { return watch->takeChange(); };
}

LinuxNetworkInterfaces::LinuxNetworkInterfaces(const LinuxRoot& root, ChangeWatch changed)
    : root_(root)
    , route_(root, "proc/net/route", routeFileLimit)
    , ipv6Route_(root, "proc/net/ipv6_route", routeFileLimit)
    , changed_(std::move(changed))
{
}

LinuxNetworkInterfaces::~LinuxNetworkInterfaces() = default;

void LinuxNetworkInterfaces::refresh()
{
    if (changed_ && !changed_())
        return;
    primary_.valid = false;
    address_.valid = false;
    description_.valid = false;
}

std::optional<QString> LinuxNetworkInterfaces::primaryInterface()
{
    refresh();
    if (!primary_.valid) {
        bool read = false;
        primary_.value = readPrimaryInterface(read);
        // A table that could not be read is asked again next time.
        primary_.valid = read;
    }
    return primary_.value;
}

std::optional<QString> LinuxNetworkInterfaces::localIPv4(const QString& name)
{
    refresh();
    if (!address_.valid || address_.name != name) {
        bool read = false;
        address_ = {name, readLocalIPv4(name, read), false};
        address_.valid = read;
    }
    return address_.value;
}

std::optional<InterfaceDescription> LinuxNetworkInterfaces::describe(const QString& name)
{
    refresh();
    if (!description_.valid || description_.name != name)
        description_ = {name, readDescription(name), true};
    return description_.value;
}

std::optional<QString> LinuxNetworkInterfaces::readPrimaryInterface(bool& read)
{
    if (const auto table = route_.read()) {
        read = true;
        if (auto name = parseIPv4DefaultRoute(*table))
            return QString::fromStdString(*name);
    }
    // An IPv6-only network has no IPv4 default route at all.
    if (const auto table = ipv6Route_.read()) {
        read = true;
        if (auto name = parseIPv6DefaultRoute(*table))
            return QString::fromStdString(*name);
    }
    return std::nullopt;
}

std::optional<QString> LinuxNetworkInterfaces::readLocalIPv4(const QString& name, bool& read)
{
    if (root_.isRecorded())
        return std::nullopt;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return std::nullopt;
    read = true;
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(list, &::freeifaddrs);
    const QByteArray wanted = name.toUtf8();
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr || wanted != entry->ifa_name)
            continue;
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        std::array<char, 1025> host{};
        if (::getnameinfo(entry->ifa_addr, sizeof(sockaddr_in), host.data(), host.size(), nullptr, 0, NI_NUMERICHOST) != 0)
            continue;
        return QString::fromLatin1(host.data());
    }
    return std::nullopt;
}

std::optional<InterfaceDescription> LinuxNetworkInterfaces::readDescription(const QString& name)
{
    const std::string interface = name.toStdString();
    if (!isPlausibleInterfaceName(interface) || !root_.exists(netPath(interface)))
        return std::nullopt;

    // cfg80211 gives every Wi-Fi netdev a phy80211 link; old wireless
    // extensions drivers a wireless directory.
    if (root_.exists(netPath(interface, "wireless")) || root_.exists(netPath(interface, "phy80211")))
        return InterfaceDescription{InterfaceType::ieee80211, translated("Wi-Fi")};
    const auto type = root_.readSigned(netPath(interface, "type"));
    // Virtual links (veth, bridges, bonds) are type 1 as well; only a port
    // backed by a device is a wired adapter.
    if (type == arphrdEther && root_.exists(netPath(interface, "device")))
        return InterfaceDescription{InterfaceType::ethernet, translated("Ethernet")};

    InterfaceDescription other;
    if (name.startsWith(QLatin1String("ww")))
        other.displayName = translated("Mobile broadband");
    else if (root_.exists(netPath(interface, "bridge")))
        other.displayName = translated("Bridge");
    else if (type == arphrdNone || name.startsWith(QLatin1String("tun")) || name.startsWith(QLatin1String("wg")))
        other.displayName = translated("VPN");
    return other;
}

} // namespace orbistat
