// A generic-netlink socket to the kernel's nl80211 family (through
// libnl-genl-3, the library iw uses). Requests are dumps; each reply message
// is handed over as its attribute stream for the parsers of Nl80211Parsing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

struct nl_sock;

namespace orbistat {

class Nl80211Session {
public:
    // Absent when the kernel has no nl80211 (no cfg80211, or no netlink).
    static std::unique_ptr<Nl80211Session> open();
    ~Nl80211Session();
    Nl80211Session(const Nl80211Session&) = delete;
    Nl80211Session& operator=(const Nl80211Session&) = delete;

    using Reply = std::function<void(std::span<const std::byte> attributes)>;
    // Sends `command` as a dump (limited to one interface when given) and
    // calls `each` per reply. False when the exchange failed.
    bool dump(uint8_t command, std::optional<uint32_t> ifindex, const Reply& each);

private:
    Nl80211Session(nl_sock* socket, int family);

    nl_sock* socket_;
    int family_;
};

} // namespace orbistat
