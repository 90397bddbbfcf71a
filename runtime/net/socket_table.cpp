#include "runtime/net/socket_table.h"

#include <cstdio>
#include <memory>
#include <string>

#include "runtime/net/host_names.h"
#include "runtime/net/net_errors.h"

namespace tvk {

namespace {

using platform::Socket;
using platform::SocketAddress;

constexpr int32_t kLongestConnectWaitMs = 30000;

std::unique_ptr<NetState>& state_holder() {
    static std::unique_ptr<NetState> state;
    return state;
}

// The entry behind a handle, or null for a handle outside the table or a free entry.
SocketEntry* used_entry(int32_t handle) {
    NetState* state = net_state();
    if (!state) return nullptr;
    if (handle < 0 || handle >= kSocketTableSize) {
        state->last_error = kNetErrNotSocket;
        return nullptr;
    }
    SocketEntry& entry = state->entries[static_cast<size_t>(handle)];
    if (entry.socket == Socket::none) {
        state->last_error = kNetErrNotSocket;
        return nullptr;
    }
    return &entry;
}

// The lowest free index, or -1 with the table-full code.
int32_t free_index() {
    NetState* state = net_state();
    if (!state) return -1;
    for (int32_t i = 0; i < kSocketTableSize; ++i) {
        if (state->entries[static_cast<size_t>(i)].socket == Socket::none) return i;
    }
    state->last_error = kNetErrTableFull;
    return -1;
}

bool started() {
    NetState* state = net_state();
    if (state && state->start_count > 0) return true;
    set_last_net_error(kNetErrNotStarted);
    return false;
}

// Frees the entry first, then lets go of the socket without lingering. Returns the
// close's code.
int32_t close_entry(SocketEntry& entry) {
    const Socket socket = entry.socket;
    entry.socket = Socket::none;
    platform::set_linger(socket, false, 0);
    platform::shutdown_socket(socket);
    return platform::close_socket(socket);
}

// Puts a new socket into the free entry at index.
SocketEntry& take_entry(int32_t index, Socket socket, SocketAddress address, uint8_t udp) {
    SocketEntry& entry = net_state()->entries[static_cast<size_t>(index)];
    entry.socket = socket;
    entry.address = address;
    entry.udp = udp;
    return entry;
}

int32_t send_all(int32_t handle, const RtString& data, const SocketAddress* destination) {
    SocketEntry* entry = used_entry(handle);
    if (!entry) return -1;
    SocketAddress to;
    if (entry->udp) {
        if (!destination || (destination->ip == 0 && destination->port == 0)) return -1;
        to = *destination;
    }
    if (data.length == 0) return 0;
    uint32_t sent = 0;
    while (sent < data.length) {
        const char* rest = data.data + sent;
        const size_t size = data.length - sent;
        size_t n = 0;
        const int32_t code = entry->udp ? platform::send_bytes_to(entry->socket, rest, size, to, n)
                                        : platform::send_bytes(entry->socket, rest, size, n);
        if (code == kNetErrNone) {
            sent += static_cast<uint32_t>(n);
            continue;
        }
        set_last_net_error(code);
        if (code != kNetErrWouldBlock) return -1;
        platform::wait_writable(entry->socket, -1);
    }
    return static_cast<int32_t>(sent);
}

void empty(RtString& s) {
    if (s.capacity > 0) s.data[0] = 0;
    s.length = 0;
}

// One receive call into the output's own block, which holds maximum + 1 bytes. A
// datagram's sender becomes the entry's address.
int32_t receive_once(SocketEntry& entry, char* into, size_t maximum, size_t& received) {
    if (!entry.udp) return platform::receive_bytes(entry.socket, into, maximum, received);
    SocketAddress from;
    const int32_t code = platform::receive_bytes_from(entry.socket, into, maximum, received, from);
    if (code == kNetErrNone) entry.address = from;
    return code;
}

}  // namespace

NetState* net_state() { return state_holder().get(); }

NetState& create_network_state() {
    std::unique_ptr<NetState>& holder = state_holder();
    if (!holder) holder = std::make_unique<NetState>();
    return *holder;
}

void release_network_state() {
    net_shutdown_all();
    state_holder().reset();
}

int32_t last_net_error() {
    const NetState* state = net_state();
    return state ? state->last_error : kNetErrNotStarted;
}

void set_last_net_error(int32_t code) {
    if (NetState* state = net_state()) state->last_error = code;
}

int32_t net_init() {
    // A program that never ran the runtime's start-up (a console tool using only the
    // sockets) gets the table here; it then lasts until the process ends.
    NetState* state = net_state();
    if (!state) state = &create_network_state();
    if (state->start_count > 0) {
        ++state->start_count;
        state->last_error = kNetErrNone;
        return 1;
    }
    state->last_error = platform::sockets_start();
    if (state->last_error != kNetErrNone) return 0;
    for (SocketEntry& entry : state->entries) entry = SocketEntry{};
    state->start_count = 1;
    return 1;
}

int32_t net_shutdown() {
    NetState* state = net_state();
    if (!state) return kNetErrNone;
    if (state->start_count > 1) return --state->start_count;
    for (SocketEntry& entry : state->entries) {
        if (entry.socket != Socket::none) close_entry(entry);
    }
    // Only a started layer is stopped: every stop matches one start.
    const bool was_started = state->start_count == 1;
    state->start_count = 0;
    state->last_error = was_started ? platform::sockets_stop() : kNetErrNone;
    return state->last_error;
}

void net_shutdown_all() {
    NetState* state = net_state();
    if (!state) return;
    if (state->start_count > 1) state->start_count = 1;
    net_shutdown();
}

int32_t tcp_listen(int32_t port) {
    if (!started()) return -1;
    const int32_t index = free_index();
    if (index < 0) return -1;
    Socket socket = Socket::none;
    int32_t code = platform::open_socket(platform::SocketKind::stream, socket);
    if (code != kNetErrNone) {
        set_last_net_error(code);
        return -1;
    }
    platform::set_reuse_address(socket, true);
    SocketAddress address{0, static_cast<uint16_t>(port)};
    code = platform::bind_socket(socket, address);
    if (code == kNetErrNone) code = platform::listen_socket(socket, 10);
    if (code != kNetErrNone) {
        set_last_net_error(code);
        platform::close_socket(socket);
        return -1;
    }
    platform::bound_address(socket, address);  // the real port when 0 was asked for
    take_entry(index, socket, address, 0);
    platform::set_socket_blocking(socket, false);
    return index;
}

int32_t tcp_accept(int32_t handle, int32_t& peer_address) {
    SocketEntry* listening = used_entry(handle);
    if (!listening) return -1;
    if (listening->udp) {
        set_last_net_error(kNetErrNone);
        return -1;
    }
    Socket socket = Socket::none;
    SocketAddress peer;
    const int32_t code = platform::accept_socket(listening->socket, socket, peer);
    if (code != kNetErrNone) {
        set_last_net_error(code);
        return -1;
    }
    const int32_t index = free_index();
    if (index < 0) {
        platform::close_socket(socket);
        return -1;
    }
    SocketEntry& entry = net_state()->entries[static_cast<size_t>(index)];
    entry = *listening;
    entry.socket = socket;
    entry.address = peer;
    platform::set_socket_blocking(socket, false);
    peer_address = static_cast<int32_t>(peer.ip);
    return index;
}

int32_t tcp_connect_address(SocketAddress peer, int32_t timeout_ms) {
    if (!started()) return -1;
    if (peer.ip == 0 && peer.port == 0) return -1;
    const int32_t index = free_index();
    if (index < 0) return -1;
    Socket socket = Socket::none;
    int32_t code = platform::open_socket(platform::SocketKind::stream, socket);
    if (code != kNetErrNone) {
        set_last_net_error(code);
        return -1;
    }
    SocketEntry& entry = take_entry(index, socket, peer, 0);
    platform::set_socket_blocking(socket, false);
    const int32_t wait_ms =
        (timeout_ms <= 0 || timeout_ms > kLongestConnectWaitMs) ? kLongestConnectWaitMs : timeout_ms;
    // A connection that did not finish in time fails with kNetErrInProgress.
    code = platform::connect_socket(socket, peer, wait_ms);
    if (code != kNetErrNone) {
        close_entry(entry);
        set_last_net_error(code);
        return -1;
    }
    return index;
}

int32_t tcp_connect(const RtString& host, int32_t port, int32_t timeout_ms) {
    SocketAddress peer;
    resolve_host_port(host, port, peer);
    return tcp_connect_address(peer, timeout_ms);
}

int32_t udp_open(int32_t port) {
    if (!started()) return -1;
    const int32_t index = free_index();
    if (index < 0) return -1;
    SocketAddress address{0, static_cast<uint16_t>(port)};
    Socket socket = Socket::none;
    int32_t code = platform::open_socket(platform::SocketKind::datagram, socket);
    if (code != kNetErrNone) {
        set_last_net_error(code);
        return -1;
    }
    platform::set_reuse_address(socket, true);
    if (port != 0) {
        code = platform::bind_socket(socket, address);
        if (code != kNetErrNone) {
            set_last_net_error(code);
            platform::close_socket(socket);
            return -1;
        }
        platform::bound_address(socket, address);
    }
    platform::set_broadcast(socket, true);
    platform::set_socket_blocking(socket, false);
    take_entry(index, socket, address, 1);
    return index;
}

int32_t socket_send(int32_t handle, const RtString& data) { return send_all(handle, data, nullptr); }

int32_t udp_send(int32_t handle, const RtString& data, int32_t address, int32_t port) {
    const SocketAddress to{static_cast<uint32_t>(address), static_cast<uint16_t>(port)};
    return send_all(handle, data, &to);
}

int32_t socket_receive(int32_t handle, RtString& output, int32_t maximum) {
    SocketEntry* entry = used_entry(handle);
    if (!entry) {
        empty(output);
        return -1;
    }
    if (maximum < 0) maximum = 0;
    string_reserve(output, static_cast<uint32_t>(maximum), false);
    if (entry->udp) entry->address = SocketAddress{};
    size_t n = 0;
    const int32_t code = receive_once(*entry, output.capacity > 0 ? output.data : nullptr,
                                      static_cast<size_t>(maximum), n);
    if (code == kNetErrNone && n > 0) {
        output.data[n] = 0;
        output.length = static_cast<uint32_t>(n);
        return static_cast<int32_t>(n);
    }
    empty(output);
    if (code == kNetErrNone) return 0;
    set_last_net_error(code);
    if (code == kNetErrConnectionReset) return 0;
    if (code == kNetErrWouldBlock) return -2;
    return -1;
}

int32_t socket_receive_all(int32_t handle, RtString& output, int32_t count) {
    SocketEntry* entry = used_entry(handle);
    if (!entry) {
        empty(output);
        return -1;
    }
    if (count < 0) count = 0;
    string_reserve(output, static_cast<uint32_t>(count), false);
    size_t got = 0;
    const size_t wanted = static_cast<size_t>(count);
    int32_t result = static_cast<int32_t>(count);
    while (got < wanted) {
        size_t n = 0;
        const int32_t code = receive_once(*entry, output.data + got, wanted - got, n);
        if (code == kNetErrNone && n > 0) {
            got += n;
            continue;
        }
        if (code == kNetErrNone) {
            result = 0;
            break;
        }
        set_last_net_error(code);
        if (code == kNetErrWouldBlock) {
            if (got == 0) {
                result = -2;
                break;
            }
            platform::wait_readable(entry->socket, -1);
            continue;
        }
        result = code == kNetErrConnectionReset ? 0 : -1;
        break;
    }
    if (output.capacity > 0) output.data[got] = 0;
    output.length = static_cast<uint32_t>(got);
    return result;
}

int32_t socket_close(int32_t handle) {
    SocketEntry* entry = used_entry(handle);
    if (!entry) return 0;
    const int32_t code = close_entry(*entry);
    if (code == kNetErrNone) return 1;
    set_last_net_error(code);
    return 0;
}

int32_t socket_set_blocking(int32_t handle, int32_t blocking) {
    if (SocketEntry* entry = used_entry(handle)) {
        set_last_net_error(platform::set_socket_blocking(entry->socket, blocking != 0));
    }
    return last_net_error();
}

int32_t socket_peer_ip(int32_t handle) {
    const NetState* state = net_state();
    if (!state || handle < 0 || handle >= kSocketTableSize) return 0;
    const SocketEntry& entry = state->entries[static_cast<size_t>(handle)];
    if (entry.socket == Socket::none) return 0;
    return static_cast<int32_t>(entry.address.ip);
}

int32_t socket_peer_port(int32_t handle) {
    const NetState* state = net_state();
    if (!state || handle < 0 || handle >= kSocketTableSize) return 0;
    const SocketEntry& entry = state->entries[static_cast<size_t>(handle)];
    if (entry.socket == Socket::none) return 0;
    return entry.address.port;
}

void socket_wait_readable(int32_t handle, int32_t timeout_ms) {
    const NetState* state = net_state();
    if (!state || handle < 0 || handle >= kSocketTableSize) return;
    const SocketEntry& entry = state->entries[static_cast<size_t>(handle)];
    if (entry.socket != Socket::none) platform::wait_readable(entry.socket, timeout_ms);
}

RtString last_net_error_text() {
    const int32_t code = last_net_error();
    std::string message = platform::socket_error_text(code);
    if (message.empty()) return RtString();
    if (message.size() > 511) message.resize(511);
    char text[600];
    std::snprintf(text, sizeof text, "%d %s", code, message.c_str());
    return RtString(text);
}

}  // namespace tvk
