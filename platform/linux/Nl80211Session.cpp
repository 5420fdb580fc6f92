#include "platform/linux/Nl80211Session.h"

#include <linux/nl80211.h>
#include <netlink/genl/ctrl.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>
#include <netlink/netlink.h>
#include <sys/socket.h>
#include <sys/time.h>

namespace orbistat {

namespace {

struct Exchange {
    const Nl80211Session::Reply* each = nullptr;
    bool done = false;
    int error = 0;
};

int onValid(nl_msg* message, void* context)
{
    auto* exchange = static_cast<Exchange*>(context);
    auto* header = static_cast<genlmsghdr*>(nlmsg_data(nlmsg_hdr(message)));
    const int length = genlmsg_attrlen(header, 0);
    if (length > 0) {
        const auto* data = reinterpret_cast<const std::byte*>(genlmsg_attrdata(header, 0));
        (*exchange->each)(std::span<const std::byte>(data, static_cast<size_t>(length)));
    }
    return NL_SKIP;
}

int onFinish(nl_msg*, void* context)
{
    static_cast<Exchange*>(context)->done = true;
    return NL_SKIP;
}

int onAck(nl_msg*, void* context)
{
    static_cast<Exchange*>(context)->done = true;
    return NL_STOP;
}

int onError(sockaddr_nl*, nlmsgerr* error, void* context)
{
    auto* exchange = static_cast<Exchange*>(context);
    exchange->error = error->error != 0 ? error->error : -1;
    exchange->done = true;
    return NL_STOP;
}

} // namespace

std::unique_ptr<Nl80211Session> Nl80211Session::open()
{
    nl_sock* socket = nl_socket_alloc();
    if (socket == nullptr)
        return nullptr;
    if (genl_connect(socket) != 0) {
        nl_socket_free(socket);
        return nullptr;
    }
    // The kernel answers at once; the limit only guards against a reply that
    // never comes, so a tick can never hang here.
    const timeval limit{1, 0};
    setsockopt(nl_socket_get_fd(socket), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    const int family = genl_ctrl_resolve(socket, NL80211_GENL_NAME);
    if (family < 0) {
        nl_socket_free(socket);
        return nullptr;
    }
    return std::unique_ptr<Nl80211Session>(new Nl80211Session(socket, family));
}

Nl80211Session::Nl80211Session(nl_sock* socket, int family)
    : socket_(socket)
    , family_(family)
{
}

Nl80211Session::~Nl80211Session()
{
    nl_socket_free(socket_);
}

bool Nl80211Session::dump(uint8_t command, std::optional<uint32_t> ifindex, const Reply& each)
{
    nl_msg* message = nlmsg_alloc();
    if (message == nullptr)
        return false;
    bool built = genlmsg_put(message, NL_AUTO_PORT, NL_AUTO_SEQ, family_, 0, NLM_F_DUMP, command, 0) != nullptr;
    if (built && ifindex)
        built = nla_put_u32(message, NL80211_ATTR_IFINDEX, *ifindex) == 0;
    const bool sent = built && nl_send_auto(socket_, message) >= 0;
    nlmsg_free(message);
    if (!sent)
        return false;

    nl_cb* callbacks = nl_cb_alloc(NL_CB_DEFAULT);
    if (callbacks == nullptr)
        return false;
    Exchange exchange;
    exchange.each = &each;
    nl_cb_set(callbacks, NL_CB_VALID, NL_CB_CUSTOM, onValid, &exchange);
    nl_cb_set(callbacks, NL_CB_FINISH, NL_CB_CUSTOM, onFinish, &exchange);
    nl_cb_set(callbacks, NL_CB_ACK, NL_CB_CUSTOM, onAck, &exchange);
    nl_cb_err(callbacks, NL_CB_CUSTOM, onError, &exchange);
    while (!exchange.done) {
        if (nl_recvmsgs(socket_, callbacks) < 0) {
            exchange.error = exchange.error != 0 ? exchange.error : -1;
            break;
        }
    }
    nl_cb_put(callbacks);
    return exchange.error == 0;
}

} // namespace orbistat
