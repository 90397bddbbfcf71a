#pragma once
// The program's network commands: TCP and UDP sockets over IPv4, addressed by
// handles 0..1023, and host names. Addresses given to and returned by these
// commands are 32-bit integers in host order (127.0.0.1 is 0x7F000001); ports are
// plain integers. The error codes are in net_errors.h.
#include <cstdint>

#include "runtime/net/net_errors.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// The last error: a code of net_errors.h (kNetErrNotStarted before start-up).
int32_t last_net_error();
// The last error as "code text", or empty when the system has no text for it.
RtString last_net_error_text();

// Starts the network layer, or counts one more user of it. 1 on success.
int32_t net_init();
// Counts one user less; the last one closes every socket. Returns the users left,
// or the last error once the layer has stopped.
int32_t net_shutdown();

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

// The address of a host name or dotted text (host order), or -1 when it cannot be
// resolved. An empty name means this machine.
int32_t resolve_host(const RtString& name);
// "%d.%d.%d.%d", the top byte first.
RtString ip_to_text(int32_t address);
// The machine's addresses joined by "|" ("127.0.0.1" last), or empty.
RtString local_addresses();

}  // namespace tvk
