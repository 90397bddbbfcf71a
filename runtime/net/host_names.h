#pragma once
// Host names, dotted texts and the machine's own addresses.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/platform/sockets.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// The address of a host name or dotted text (host order), or -1 when it cannot be
// resolved. An empty name means this machine.
int32_t resolve_host(const RtString& name);

// "%d.%d.%d.%d", the top byte first.
RtString ip_to_text(int32_t address);

// The machine's addresses joined by "|" ("127.0.0.1" last), or empty.
RtString local_addresses();

// Joins dotted texts of the addresses (host order), each followed by the separator,
// until the text would pass 2047 characters; 127.0.0.1 is moved to the end, once.
// count receives the number of addresses added.
std::string join_local_addresses(const std::vector<uint32_t>& addresses, char separator, int& count);

// Resolves a name (empty: this machine) to its first IPv4 address, with the port. On
// failure address and port are 0 and the last network error is set.
bool resolve_host_port(const RtString& name, int32_t port, platform::SocketAddress& address);

}  // namespace tvk
