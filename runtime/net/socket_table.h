#pragma once
// The socket table behind the program's network commands (net_commands.h): 1024
// entries, a handle being an entry's index.
#include <array>
#include <cstdint>

#include "runtime/net/net_commands.h"
#include "runtime/platform/sockets.h"

namespace tvk {

constexpr int32_t kSocketTableSize = 1024;

struct SocketEntry {
    platform::Socket socket = platform::Socket::none;  // none: the entry is free
    platform::SocketAddress address;  // listening: bound address; stream: the peer; UDP:
                                      // the bound port, then the sender of the last datagram
    uint8_t udp = 0;
};

struct NetState {
    std::array<SocketEntry, kSocketTableSize> entries;
    int32_t start_count = 0;  // net_init calls not yet matched by net_shutdown
    int32_t last_error = 0;   // a code of net_errors.h
};

// The process's network state: made by start-up's network step and released by the
// shutdown (programs and tests that run without start-up make it themselves). While
// there is none, every command fails as it does before net_init (net_init itself
// gives 0), and the last error reads as kNetErrNotStarted.
NetState* net_state();
NetState& create_network_state();
// Closes every socket (net_shutdown_all) and releases the state.
void release_network_state();

// Stores the last error; without a state there is nowhere to keep it.
void set_last_net_error(int32_t code);

// The runtime's shutdown: closes every socket whatever the count.
void net_shutdown_all();

// Connects to an address and port (host order); the handle or -1.
int32_t tcp_connect_address(platform::SocketAddress peer, int32_t timeout_ms);
// Waits at most timeout_ms until the socket of a used entry has something to read.
void socket_wait_readable(int32_t handle, int32_t timeout_ms);

}  // namespace tvk
