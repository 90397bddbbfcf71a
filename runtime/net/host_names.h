#pragma once
// Host names inside the runtime: the address list and the resolution of a name with
// its port that the connections use. The program's host-name commands
// (resolve_host, ip_to_text, local_addresses) are in net_commands.h.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/net/net_commands.h"
#include "runtime/platform/sockets.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// Joins dotted texts of the addresses (host order), each followed by the separator,
// until the text would pass 2047 characters; 127.0.0.1 is moved to the end, once.
// count receives the number of addresses added.
std::string join_local_addresses(const std::vector<uint32_t>& addresses, char separator, int& count);

// Resolves a name (empty: this machine) to its first IPv4 address, with the port. On
// failure address and port are 0 and the last network error is set.
bool resolve_host_port(const RtString& name, int32_t port, platform::SocketAddress& address);

}  // namespace tvk
