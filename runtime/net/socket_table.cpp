#include "runtime/net/socket_table.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "runtime/net/host_names.h"
#include "runtime/net/net_errors.h"

namespace tvk {

namespace {

constexpr int32_t kLongestConnectWaitMs = 30000;

void store_errno() { net_state().last_error = net_error_from_errno(errno); }

// The entry behind a handle, or null for a handle outside the table or a free entry.
SocketEntry* used_entry(int32_t handle) {
    if (handle < 0 || handle >= kSocketTableSize) {
        net_state().last_error = kNetErrNotSocket;
        return nullptr;
    }
    SocketEntry& entry = net_state().entries[static_cast<size_t>(handle)];
    if (entry.socket < 0) {
        net_state().last_error = kNetErrNotSocket;
        return nullptr;
    }
    return &entry;
}

// The lowest free index, or -1 with the table-full code.
int32_t free_index() {
    NetState& state = net_state();
    for (int32_t i = 0; i < kSocketTableSize; ++i) {
        if (state.entries[static_cast<size_t>(i)].socket < 0) return i;
    }
    state.last_error = kNetErrTableFull;
    return -1;
}

bool started() {
    if (net_state().start_count > 0) return true;
    net_state().last_error = kNetErrNotStarted;
    return false;
}

bool set_non_blocking(int fd, bool non_blocking) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0) return false;
    const int wanted = non_blocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return wanted == flags || fcntl(fd, F_SETFL, wanted) == 0;
}

// Frees the entry first, then lets go of the socket without lingering.
bool close_entry(SocketEntry& entry) {
    const int fd = entry.socket;
    entry.socket = -1;
    linger off{};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &off, sizeof off);
    shutdown(fd, SHUT_RDWR);
    return close(fd) == 0;
}

void set_reuse_address(int fd) {
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
}

// After binding, the address the system chose (the real port when 0 was asked for).
void record_bound_address(int fd, sockaddr_in& address) {
    sockaddr_in bound{};
    socklen_t size = sizeof bound;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size) == 0) address = bound;
}

// Waits until the socket can take more bytes; false when waiting itself fails.
bool wait_writable(int fd, int timeout_ms) {
    pollfd p{fd, POLLOUT, 0};
    int r;
    do {
        r = poll(&p, 1, timeout_ms);
    } while (r < 0 && errno == EINTR);
    return r > 0;
}

void wait_readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, -1) < 0 && errno == EINTR) {
    }
}

int32_t send_bytes(int32_t handle, const RtString& data, const sockaddr_in* destination) {
    SocketEntry* entry = used_entry(handle);
    if (!entry) return -1;
    sockaddr_in to{};
    if (entry->udp) {
        if (!destination || (destination->sin_addr.s_addr == 0 && destination->sin_port == 0)) return -1;
        to = *destination;
        to.sin_family = AF_INET;
    }
    if (data.length == 0) return 0;
    uint32_t sent = 0;
    while (sent < data.length) {
        const char* rest = data.data + sent;
        const size_t size = data.length - sent;
        const ssize_t n = entry->udp
            ? sendto(entry->socket, rest, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to)
            : send(entry->socket, rest, size, MSG_NOSIGNAL);
        if (n >= 0) {
            sent += static_cast<uint32_t>(n);
            continue;
        }
        if (errno == EINTR) continue;
        store_errno();
        if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
        wait_writable(entry->socket, -1);
    }
    return static_cast<int32_t>(sent);
}

void empty(RtString& s) {
    if (s.capacity > 0) s.data[0] = 0;
    s.length = 0;
}

// One receive call into the output's own block, which holds maximum + 1 bytes.
// Returns the count or -1 with errno set.
ssize_t receive_once(SocketEntry& entry, char* into, size_t maximum) {
    ssize_t n;
    do {
        if (entry.udp) {
            sockaddr_in from{};
            socklen_t size = sizeof from;
            n = recvfrom(entry.socket, into, maximum, 0, reinterpret_cast<sockaddr*>(&from), &size);
            if (n >= 0) entry.address = from;
        } else {
            n = recv(entry.socket, into, maximum, 0);
        }
    } while (n < 0 && errno == EINTR);
    return n;
}

}  // namespace

NetState& net_state() {
    static NetState state;
    return state;
}

int32_t net_init() {
    NetState& state = net_state();
    if (state.start_count > 0) {
        ++state.start_count;
        state.last_error = kNetErrNone;
        return 1;
    }
    for (SocketEntry& entry : state.entries) entry = SocketEntry{};
    state.start_count = 1;
    state.last_error = kNetErrNone;
    return 1;
}

int32_t net_shutdown() {
    NetState& state = net_state();
    if (state.start_count > 1) return --state.start_count;
    for (SocketEntry& entry : state.entries) {
        if (entry.socket >= 0) close_entry(entry);
    }
    state.start_count = 0;
    state.last_error = kNetErrNone;
    return state.last_error;
}

void net_shutdown_all() {
    net_state().start_count = 1;
    net_shutdown();
}

int32_t tcp_listen(int32_t port) {
    if (!started()) return -1;
    const int32_t index = free_index();
    if (index < 0) return -1;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        store_errno();
        return -1;
    }
    set_reuse_address(fd);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 10) != 0) {
        store_errno();
        close(fd);
        return -1;
    }
    record_bound_address(fd, address);
    SocketEntry& entry = net_state().entries[static_cast<size_t>(index)];
    entry.socket = fd;
    entry.address = address;
    entry.udp = 0;
    set_non_blocking(fd, true);
    return index;
}

int32_t tcp_accept(int32_t handle, int32_t& peer_address) {
    SocketEntry* listening = used_entry(handle);
    if (!listening) return -1;
    if (listening->udp) {
        net_state().last_error = kNetErrNone;
        return -1;
    }
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    const int fd = accept4(listening->socket, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
    if (fd < 0) {
        store_errno();
        return -1;
    }
    const int32_t index = free_index();
    if (index < 0) {
        close(fd);
        return -1;
    }
    SocketEntry& entry = net_state().entries[static_cast<size_t>(index)];
    entry = *listening;
    entry.socket = fd;
    entry.address = peer;
    set_non_blocking(fd, true);
    peer_address = static_cast<int32_t>(ntohl(peer.sin_addr.s_addr));
    return index;
}

int32_t tcp_connect_address(uint32_t address_n, uint16_t port_n, int32_t timeout_ms) {
    if (!started()) return -1;
    if (address_n == 0 && port_n == 0) return -1;
    const int32_t index = free_index();
    if (index < 0) return -1;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        store_errno();
        return -1;
    }
    SocketEntry& entry = net_state().entries[static_cast<size_t>(index)];
    entry.socket = fd;
    entry.udp = 0;
    entry.address = sockaddr_in{};
    entry.address.sin_family = AF_INET;
    entry.address.sin_addr.s_addr = address_n;
    entry.address.sin_port = port_n;
    set_non_blocking(fd, true);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&entry.address), sizeof entry.address) == 0) return index;
    if (errno != EINPROGRESS && errno != EAGAIN && errno != EINTR) {
        store_errno();
        close_entry(entry);
        return -1;
    }
    const int wait_ms = (timeout_ms <= 0 || timeout_ms > kLongestConnectWaitMs) ? kLongestConnectWaitMs : timeout_ms;
    if (!wait_writable(fd, wait_ms)) {
        close_entry(entry);
        net_state().last_error = kNetErrInProgress;
        return -1;
    }
    // Writable also means the attempt ended in failure; the socket says which.
    int failure = 0;
    socklen_t size = sizeof failure;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) != 0) failure = errno;
    if (failure != 0) {
        net_state().last_error = net_error_from_errno(failure);
        close_entry(entry);
        return -1;
    }
    return index;
}

int32_t tcp_connect(const RtString& host, int32_t port, int32_t timeout_ms) {
    uint32_t address_n = 0;
    uint16_t port_n = 0;
    resolve_host_port(host, port, address_n, port_n);
    return tcp_connect_address(address_n, port_n, timeout_ms);
}

int32_t udp_open(int32_t port) {
    if (!started()) return -1;
    const int32_t index = free_index();
    if (index < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        store_errno();
        return -1;
    }
    set_reuse_address(fd);
    if (port != 0) {
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            store_errno();
            close(fd);
            return -1;
        }
        record_bound_address(fd, address);
    }
    const int on = 1;
    if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        const char on_byte = 1;
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on_byte, sizeof on_byte);
    }
    set_non_blocking(fd, true);
    SocketEntry& entry = net_state().entries[static_cast<size_t>(index)];
    entry.socket = fd;
    entry.address = address;
    entry.udp = 1;
    return index;
}

int32_t socket_send(int32_t handle, const RtString& data) { return send_bytes(handle, data, nullptr); }

int32_t udp_send(int32_t handle, const RtString& data, int32_t address, int32_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(static_cast<uint32_t>(address));
    to.sin_port = htons(static_cast<uint16_t>(port));
    return send_bytes(handle, data, &to);
}

int32_t socket_receive(int32_t handle, RtString& output, int32_t maximum) {
    SocketEntry* entry = used_entry(handle);
    if (!entry) {
        empty(output);
        return -1;
    }
    if (maximum < 0) maximum = 0;
    string_reserve(output, static_cast<uint32_t>(maximum), false);
    if (entry->udp) {
        entry->address.sin_addr.s_addr = 0;
        entry->address.sin_port = 0;
    }
    const ssize_t n = receive_once(*entry, output.capacity > 0 ? output.data : nullptr,
                                   static_cast<size_t>(maximum));
    if (n > 0) {
        output.data[n] = 0;
        output.length = static_cast<uint32_t>(n);
        return static_cast<int32_t>(n);
    }
    empty(output);
    if (n == 0) return 0;
    store_errno();
    if (errno == ECONNRESET) return 0;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return -2;
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
        const ssize_t n = receive_once(*entry, output.data + got, wanted - got);
        if (n > 0) {
            got += static_cast<size_t>(n);
            continue;
        }
        if (n == 0) {
            result = 0;
            break;
        }
        store_errno();
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (got == 0) {
                result = -2;
                break;
            }
            wait_readable(entry->socket);
            continue;
        }
        result = errno == ECONNRESET ? 0 : -1;
        break;
    }
    if (output.capacity > 0) output.data[got] = 0;
    output.length = static_cast<uint32_t>(got);
    return result;
}

int32_t socket_close(int32_t handle) {
    SocketEntry* entry = used_entry(handle);
    if (!entry) return 0;
    if (close_entry(*entry)) return 1;
    store_errno();
    return 0;
}

int32_t socket_set_blocking(int32_t handle, int32_t blocking) {
    SocketEntry* entry = used_entry(handle);
    if (entry) {
        if (set_non_blocking(entry->socket, blocking == 0)) net_state().last_error = kNetErrNone;
        else store_errno();
    }
    return net_state().last_error;
}

int32_t socket_peer_ip(int32_t handle) {
    if (handle < 0 || handle >= kSocketTableSize) return 0;
    const SocketEntry& entry = net_state().entries[static_cast<size_t>(handle)];
    if (entry.socket < 0) return 0;
    return static_cast<int32_t>(ntohl(entry.address.sin_addr.s_addr));
}

int32_t socket_peer_port(int32_t handle) {
    if (handle < 0 || handle >= kSocketTableSize) return 0;
    const SocketEntry& entry = net_state().entries[static_cast<size_t>(handle)];
    if (entry.socket < 0) return 0;
    return ntohs(entry.address.sin_port);
}

RtString last_net_error_text() {
    const int32_t code = net_state().last_error;
    std::string message = net_error_message(code);
    if (message.empty()) return RtString();
    if (message.size() > 511) message.resize(511);
    char text[600];
    std::snprintf(text, sizeof text, "%d %s", code, message.c_str());
    return RtString(text);
}

}  // namespace tvk
