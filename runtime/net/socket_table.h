#pragma once
// TCP and UDP sockets over IPv4, addressed by handles 0..1023 into one table.
// Addresses given to and returned by these commands are 32-bit integers in host
// order (127.0.0.1 is 0x7F000001); ports are plain integers.
#include <array>
#include <cstdint>

#include "runtime/platform/sockets.h"
#include "runtime/value/rt_string.h"

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

// The last error: the state's, or kNetErrNotStarted without a state.
int32_t last_net_error();
// Stores the last error; without a state there is nowhere to keep it.
void set_last_net_error(int32_t code);

// Starts the network layer, or counts one more user of it. 1 on success.
int32_t net_init();
// Counts one user less; the last one closes every socket. Returns the users left,
// or the last error once the layer has stopped.
int32_t net_shutdown();
// The runtime's shutdown: closes every socket whatever the count.
void net_shutdown_all();

int32_t tcp_listen(int32_t port);
int32_t tcp_accept(int32_t handle, int32_t& peer_address);
// A timeout of 0 or less, or above 30000 ms, waits 30000 ms.
int32_t tcp_connect(const RtString& host, int32_t port, int32_t timeout_ms);
int32_t udp_open(int32_t port);

int32_t socket_send(int32_t handle, const RtString& data);
int32_t udp_send(int32_t handle, const RtString& data, int32_t address, int32_t port);
// Bytes received; 0 when the peer closed; -1 on error; -2 when nothing is waiting.
int32_t socket_receive(int32_t handle, RtString& output, int32_t maximum);
// Waits until count bytes have arrived: -2 when nothing was waiting at all, 0 when
// the peer closed first (output keeps what came), -1 on error.
int32_t socket_receive_all(int32_t handle, RtString& output, int32_t count);
int32_t socket_close(int32_t handle);
int32_t socket_set_blocking(int32_t handle, int32_t blocking);
int32_t socket_peer_ip(int32_t handle);
int32_t socket_peer_port(int32_t handle);

RtString last_net_error_text();

// Connects to an address and port (host order); the handle or -1.
int32_t tcp_connect_address(platform::SocketAddress peer, int32_t timeout_ms);
// Waits at most timeout_ms until the socket of a used entry has something to read.
void socket_wait_readable(int32_t handle, int32_t timeout_ms);

}  // namespace tvk
