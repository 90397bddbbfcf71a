#include "runtime/net/host_names.h"

#include <cstdio>

#include "runtime/net/net_errors.h"
#include "runtime/net/socket_table.h"
#include "runtime/platform/sockets.h"

namespace tvk {

namespace {

constexpr size_t kLongestAddressList = 2047;
constexpr uint32_t kLoopback = 0x7F000001;

std::string dotted(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 255, (address >> 16) & 255,
                  (address >> 8) & 255, address & 255);
    return text;
}

// Every IPv4 address of a name, in the resolver's order (host order). Sets the
// last network error on failure.
bool lookup(const std::string& name, std::vector<uint32_t>& addresses) {
    const int32_t code = platform::resolve_host_name(name, addresses);
    if (code == kNetErrNone) return true;
    set_last_net_error(code);
    return false;
}

std::string machine_addresses(char separator, int& count) {
    count = 0;
    std::string name;
    if (platform::local_host_name(name) != kNetErrNone) return {};
    std::vector<uint32_t> addresses;
    if (!lookup(name, addresses)) return {};
    return join_local_addresses(addresses, separator, count);
}

}  // namespace

std::string join_local_addresses(const std::vector<uint32_t>& addresses, char separator, int& count) {
    std::string text;
    count = 0;
    bool loopback = false;
    auto add = [&](uint32_t address) {
        const std::string item = dotted(address) + separator;
        if (text.size() + item.size() > kLongestAddressList) return false;
        text += item;
        ++count;
        return true;
    };
    for (uint32_t address : addresses) {
        if (address == kLoopback) {
            loopback = true;
            continue;
        }
        if (!add(address)) break;
    }
    if (loopback) add(kLoopback);
    return text;
}

bool resolve_host_port(const RtString& name, int32_t port, platform::SocketAddress& address) {
    address = platform::SocketAddress{};
    std::vector<uint32_t> addresses;
    bool found = false;
    if (name.length == 0) {
        int count = 0;
        const std::string own = machine_addresses('\n', count);
        if (count > 0) found = lookup(own.substr(0, own.find('\n')), addresses);
        if (!found) found = lookup("127.0.0.1", addresses);
        if (!found) found = lookup("localhost.local", addresses);
    } else {
        found = lookup(name.c_str(), addresses);
    }
    if (!found) return false;
    address.ip = addresses.front();
    address.port = static_cast<uint16_t>(port);
    return true;
}

int32_t resolve_host(const RtString& name) {
    platform::SocketAddress address;
    resolve_host_port(name, 0, address);
    if (address.ip == 0) return -1;
    return static_cast<int32_t>(address.ip);
}

RtString ip_to_text(int32_t address) { return RtString(dotted(static_cast<uint32_t>(address)).c_str()); }

RtString local_addresses() {
    if (net_init() == 0) return RtString();
    int count = 0;
    std::string text = machine_addresses('|', count);
    net_shutdown();
    if (count == 0) return RtString();
    text.pop_back();
    return RtString(text.c_str());
}

}  // namespace tvk
