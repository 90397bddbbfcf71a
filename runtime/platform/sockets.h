#pragma once
// The socket service: TCP streams and UDP datagrams over IPv4, host names and their
// addresses.
//
// Contract: sockets_start() comes before any other call and is matched by one
// sockets_stop() (the caller counts its users; a backend whose system needs no
// start-up does nothing there). A socket is an opaque Socket value, never a number
// to do arithmetic on; sockets are not inherited by child programs. Addresses and
// ports are plain integers in host order (127.0.0.1 is 0x7F000001); address 0 is
// "any". Every call that can fail returns a code of socket_errors.h, 0 for success,
// and a call interrupted by a signal is retried inside, never reported. Sending
// never raises a signal when the peer has gone: it fails with a code instead.
// Everything runs on the caller's thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/platform/socket_errors.h"

namespace tvk::platform {

// One open socket; none is no socket at all.
enum class Socket : intptr_t { none = -1 };

struct SocketAddress {
    uint32_t ip = 0;    // host order
    uint16_t port = 0;  // host order
};

enum class SocketKind : uint8_t { stream, datagram };

int32_t sockets_start();
// The system's last error as the socket layer stops (0 when there is none).
int32_t sockets_stop();

// A new socket, in blocking mode.
int32_t open_socket(SocketKind kind, Socket& socket);
// Shuts both directions down; a socket never connected may report kNetErrNotConnected.
int32_t shutdown_socket(Socket socket);
int32_t close_socket(Socket socket);

int32_t set_socket_blocking(Socket socket, bool blocking);
int32_t set_reuse_address(Socket socket, bool on);
int32_t set_broadcast(Socket socket, bool on);
// Off: closing returns at once and drops what was not sent yet.
int32_t set_linger(Socket socket, bool on, int32_t seconds);

int32_t bind_socket(Socket socket, SocketAddress local);
// The address a bound socket has (the real port when port 0 was asked for).
int32_t bound_address(Socket socket, SocketAddress& local);
int32_t listen_socket(Socket socket, int32_t backlog);
// The next waiting connection of a listening socket, in blocking mode; on a
// non-blocking socket with none waiting, kNetErrWouldBlock.
int32_t accept_socket(Socket listening, Socket& accepted, SocketAddress& peer);

// Connects a non-blocking stream socket and waits at most timeout_ms (0 or more) for
// the attempt to finish. 0 once connected; kNetErrInProgress when the time ran out
// first; otherwise why the attempt failed (kNetErrConnectionRefused, ...).
int32_t connect_socket(Socket socket, SocketAddress peer, int32_t timeout_ms);

// Wait until the socket has something to read (bytes, a connection to accept, or the
// peer's close) or can take more bytes. timeout_ms below 0 waits without limit.
// False when the time ran out or waiting itself failed.
bool wait_readable(Socket socket, int32_t timeout_ms);
bool wait_writable(Socket socket, int32_t timeout_ms);

// Sends what the socket takes of size bytes at once: sent is how many (on a
// non-blocking socket that has no room, kNetErrWouldBlock and sent 0).
int32_t send_bytes(Socket socket, const char* bytes, size_t size, size_t& sent);
int32_t send_bytes_to(Socket socket, const char* bytes, size_t size, SocketAddress to, size_t& sent);
// Receives at most size bytes: received 0 with code 0 means the peer closed; on a
// non-blocking socket with nothing waiting, kNetErrWouldBlock.
int32_t receive_bytes(Socket socket, char* into, size_t size, size_t& received);
// The same for datagrams; from is the sender of the one received.
int32_t receive_bytes_from(Socket socket, char* into, size_t size, size_t& received, SocketAddress& from);

// This machine's name (at most 128 bytes).
int32_t local_host_name(std::string& name);
// Every IPv4 address of a host name or dotted text, in the resolver's order; a name
// with no IPv4 address gives kNetErrNoData.
int32_t resolve_host_name(const std::string& name, std::vector<uint32_t>& addresses);

// The system's message for a code; empty when it has none.
std::string socket_error_text(int32_t code);

}  // namespace tvk::platform
