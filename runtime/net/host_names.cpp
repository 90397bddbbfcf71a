#include "runtime/net/host_names.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "runtime/net/net_errors.h"
#include "runtime/net/socket_table.h"

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
bool lookup(const char* name, std::vector<uint32_t>& addresses) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    const int rc = getaddrinfo(name, nullptr, &hints, &result);
    if (rc != 0) {
        net_state().last_error = net_error_from_resolver(rc);
        return false;
    }
    for (const addrinfo* a = result; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr) continue;
        addresses.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr));
    }
    freeaddrinfo(result);
    if (addresses.empty()) {
        net_state().last_error = kNetErrNoData;
        return false;
    }
    return true;
}

std::string machine_addresses(char separator, int& count) {
    count = 0;
    char name[129] = {};
    if (gethostname(name, 128) != 0) return {};
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

bool resolve_host_port(const RtString& name, int32_t port, uint32_t& address_n, uint16_t& port_n) {
    address_n = 0;
    port_n = 0;
    std::vector<uint32_t> addresses;
    bool found = false;
    if (name.length == 0) {
        int count = 0;
        const std::string own = machine_addresses('\n', count);
        if (count > 0) found = lookup(own.substr(0, own.find('\n')).c_str(), addresses);
        if (!found) found = lookup("127.0.0.1", addresses);
        if (!found) found = lookup("localhost.local", addresses);
    } else {
        found = lookup(name.c_str(), addresses);
    }
    if (!found) return false;
    address_n = htonl(addresses.front());
    port_n = htons(static_cast<uint16_t>(port));
    return true;
}

int32_t resolve_host(const RtString& name) {
    uint32_t address_n = 0;
    uint16_t port_n = 0;
    resolve_host_port(name, 0, address_n, port_n);
    if (address_n == 0) return -1;
    return static_cast<int32_t>(ntohl(address_n));
}

RtString ip_to_text(int32_t address) { return RtString(dotted(static_cast<uint32_t>(address)).c_str()); }

RtString local_addresses() {
    net_init();
    int count = 0;
    std::string text = machine_addresses('|', count);
    net_shutdown();
    if (count == 0) return RtString();
    text.pop_back();
    return RtString(text.c_str());
}

}  // namespace tvk
