// The default route of the kernel's routing tables, as /proc/net/route and
// /proc/net/ipv6_route print them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orbistat {

// IPv4: destination and mask 0, RTF_UP set, RTF_REJECT clear, a real
// interface; the lowest metric wins, the first of equals.
std::optional<std::string> parseIPv4DefaultRoute(std::string_view routeFile);
// IPv6: prefix length 0, RTF_REJECT clear, not the loopback (the kernel
// keeps an unreachable default on lo); the lowest metric wins.
std::optional<std::string> parseIPv6DefaultRoute(std::string_view ipv6RouteFile);

// A name that can be a kernel interface name and is safe as one path
// component: 1 to 15 bytes, no '/', no blank or control byte, not "." or "..".
bool isPlausibleInterfaceName(std::string_view name);

} // namespace orbistat
