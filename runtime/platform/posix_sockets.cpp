// The socket service over BSD sockets. errno values and resolver failures are
// translated into the runtime's network codes as they happen.
#include "runtime/platform/sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tvk::platform {

namespace {

struct ErrnoCode {
    int error;
    int32_t code;
};

constexpr ErrnoCode kErrnoCodes[] = {
    {ENOMEM, kNetErrTableFull},
    {EINTR, kNetErrInterrupted},
    {EBADF, kNetErrBadHandle},
    {EACCES, kNetErrAccess},
    {EFAULT, kNetErrFault},
    {EINVAL, kNetErrInvalid},
    {EMFILE, kNetErrTooManyOpen},
    {EWOULDBLOCK, kNetErrWouldBlock},
    {EINPROGRESS, kNetErrInProgress},
    {EALREADY, kNetErrAlready},
    {ENOTSOCK, kNetErrNotSocket},
    {EDESTADDRREQ, kNetErrDestinationRequired},
    {EMSGSIZE, kNetErrMessageSize},
    {EPROTOTYPE, kNetErrProtocolType},
    {ENOPROTOOPT, kNetErrProtocolOption},
    {EPROTONOSUPPORT, kNetErrProtocolNotSupported},
    {ESOCKTNOSUPPORT, kNetErrSocketTypeNotSupported},
    {EOPNOTSUPP, kNetErrOperationNotSupported},
    {EAFNOSUPPORT, kNetErrFamilyNotSupported},
    {EADDRINUSE, kNetErrAddressInUse},
    {EADDRNOTAVAIL, kNetErrAddressNotAvailable},
    {ENETDOWN, kNetErrNetworkDown},
    {ENETUNREACH, kNetErrNetworkUnreachable},
    {ENETRESET, kNetErrNetworkReset},
    {ECONNABORTED, kNetErrConnectionAborted},
    {ECONNRESET, kNetErrConnectionReset},
    {EPIPE, kNetErrConnectionReset},
    {ENOBUFS, kNetErrNoBuffers},
    {EISCONN, kNetErrIsConnected},
    {ENOTCONN, kNetErrNotConnected},
    {ESHUTDOWN, kNetErrShutDown},
    {ETIMEDOUT, kNetErrTimedOut},
    {ECONNREFUSED, kNetErrConnectionRefused},
    {ENAMETOOLONG, kNetErrNameTooLong},
    {EHOSTDOWN, kNetErrHostDown},
    {EHOSTUNREACH, kNetErrHostUnreachable},
};

struct ResolverCode {
    int error;
    int32_t code;
};

constexpr ResolverCode kResolverCodes[] = {
    {EAI_NONAME, kNetErrHostNotFound},
    {EAI_AGAIN, kNetErrTryAgain},
    {EAI_FAIL, kNetErrNoRecovery},
    {EAI_NODATA, kNetErrNoData},
    {EAI_ADDRFAMILY, kNetErrNoData},
    {EAI_MEMORY, kNetErrNoBuffers},
};

// The runtime's code for an errno value; values without a counterpart are kept as
// they are.
int32_t code_of(int error) {
    if (error == EAGAIN) return kNetErrWouldBlock;
    for (const ErrnoCode& e : kErrnoCodes) {
        if (e.error == error) return e.code;
    }
    return error;
}

int32_t last_code() { return code_of(errno); }

int32_t resolver_code_of(int error) {
    if (error == EAI_SYSTEM) return last_code();
    for (const ResolverCode& r : kResolverCodes) {
        if (r.error == error) return r.code;
    }
    return kNetErrNoRecovery;
}

// A Socket holds the descriptor itself.
int fd_of(Socket socket) { return static_cast<int>(socket); }
Socket socket_of(int fd) { return static_cast<Socket>(fd); }

sockaddr_in system_address(SocketAddress address) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address.ip);
    a.sin_port = htons(address.port);
    return a;
}

SocketAddress runtime_address(const sockaddr_in& a) { return {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)}; }

int32_t set_option(Socket socket, int name, const void* value, socklen_t size) {
    return setsockopt(fd_of(socket), SOL_SOCKET, name, value, size) == 0 ? kNetErrNone : last_code();
}

bool wait_for(Socket socket, short events, int32_t timeout_ms) {
    pollfd p{fd_of(socket), events, 0};
    int r;
    do {
        r = poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);
    } while (r < 0 && errno == EINTR);
    return r > 0;
}

}  // namespace

int32_t sockets_start() { return kNetErrNone; }

int32_t sockets_stop() { return kNetErrNone; }

int32_t open_socket(SocketKind kind, Socket& socket) {
    const int type = kind == SocketKind::stream ? SOCK_STREAM : SOCK_DGRAM;
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    socket = socket_of(fd);
    return fd >= 0 ? kNetErrNone : last_code();
}

int32_t shutdown_socket(Socket socket) {
    return ::shutdown(fd_of(socket), SHUT_RDWR) == 0 ? kNetErrNone : last_code();
}

int32_t close_socket(Socket socket) {
    // Linux releases the descriptor even when close reports EINTR: never retry it.
    return ::close(fd_of(socket)) == 0 ? kNetErrNone : last_code();
}

int32_t set_socket_blocking(Socket socket, bool blocking) {
    const int fd = fd_of(socket);
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0) return last_code();
    const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    if (wanted == flags || fcntl(fd, F_SETFL, wanted) == 0) return kNetErrNone;
    return last_code();
}

int32_t set_reuse_address(Socket socket, bool on) {
    const int value = on ? 1 : 0;
    return set_option(socket, SO_REUSEADDR, &value, sizeof value);
}

int32_t set_broadcast(Socket socket, bool on) {
    const int value = on ? 1 : 0;
    if (set_option(socket, SO_BROADCAST, &value, sizeof value) == kNetErrNone) return kNetErrNone;
    // Some socket layers take this option as one byte only.
    const char byte = on ? 1 : 0;
    return set_option(socket, SO_BROADCAST, &byte, sizeof byte);
}

int32_t set_linger(Socket socket, bool on, int32_t seconds) {
    linger value{};
    value.l_onoff = on ? 1 : 0;
    value.l_linger = on ? seconds : 0;
    return set_option(socket, SO_LINGER, &value, sizeof value);
}

int32_t bind_socket(Socket socket, SocketAddress local) {
    const sockaddr_in a = system_address(local);
    const int r = bind(fd_of(socket), reinterpret_cast<const sockaddr*>(&a), sizeof a);
    return r == 0 ? kNetErrNone : last_code();
}

int32_t bound_address(Socket socket, SocketAddress& local) {
    sockaddr_in a{};
    socklen_t size = sizeof a;
    if (getsockname(fd_of(socket), reinterpret_cast<sockaddr*>(&a), &size) != 0) return last_code();
    local = runtime_address(a);
    return kNetErrNone;
}

int32_t listen_socket(Socket socket, int32_t backlog) {
    return listen(fd_of(socket), backlog) == 0 ? kNetErrNone : last_code();
}

int32_t accept_socket(Socket listening, Socket& accepted, SocketAddress& peer) {
    sockaddr_in a{};
    socklen_t size = sizeof a;
    int fd;
    do {
        fd = accept4(fd_of(listening), reinterpret_cast<sockaddr*>(&a), &size, SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    accepted = socket_of(fd);
    if (fd < 0) return last_code();
    peer = runtime_address(a);
    return kNetErrNone;
}

int32_t connect_socket(Socket socket, SocketAddress peer, int32_t timeout_ms) {
    const sockaddr_in a = system_address(peer);
    const int fd = fd_of(socket);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return kNetErrNone;
    // An interrupted attempt goes on by itself, like one still in progress.
    if (errno != EINPROGRESS && errno != EAGAIN && errno != EINTR) return last_code();
    if (!wait_for(socket, POLLOUT, timeout_ms)) return kNetErrInProgress;
    // Writable also means the attempt ended in failure; the socket says which.
    int failure = 0;
    socklen_t size = sizeof failure;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) != 0) failure = errno;
    return failure == 0 ? kNetErrNone : code_of(failure);
}

bool wait_readable(Socket socket, int32_t timeout_ms) { return wait_for(socket, POLLIN, timeout_ms); }

bool wait_writable(Socket socket, int32_t timeout_ms) { return wait_for(socket, POLLOUT, timeout_ms); }

int32_t send_bytes(Socket socket, const char* bytes, size_t size, size_t& sent) {
    ssize_t n;
    do {
        n = send(fd_of(socket), bytes, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    sent = n > 0 ? static_cast<size_t>(n) : 0;
    return n >= 0 ? kNetErrNone : last_code();
}

int32_t send_bytes_to(Socket socket, const char* bytes, size_t size, SocketAddress to, size_t& sent) {
    const sockaddr_in a = system_address(to);
    ssize_t n;
    do {
        n = sendto(fd_of(socket), bytes, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    } while (n < 0 && errno == EINTR);
    sent = n > 0 ? static_cast<size_t>(n) : 0;
    return n >= 0 ? kNetErrNone : last_code();
}

int32_t receive_bytes(Socket socket, char* into, size_t size, size_t& received) {
    ssize_t n;
    do {
        n = recv(fd_of(socket), into, size, 0);
    } while (n < 0 && errno == EINTR);
    received = n > 0 ? static_cast<size_t>(n) : 0;
    return n >= 0 ? kNetErrNone : last_code();
}

int32_t receive_bytes_from(Socket socket, char* into, size_t size, size_t& received, SocketAddress& from) {
    sockaddr_in a{};
    socklen_t address_size = sizeof a;
    ssize_t n;
    do {
        n = recvfrom(fd_of(socket), into, size, 0, reinterpret_cast<sockaddr*>(&a), &address_size);
    } while (n < 0 && errno == EINTR);
    received = n > 0 ? static_cast<size_t>(n) : 0;
    if (n < 0) return last_code();
    from = runtime_address(a);
    return kNetErrNone;
}

int32_t local_host_name(std::string& name) {
    char text[129] = {};
    if (gethostname(text, 128) != 0) return last_code();
    name = text;
    return kNetErrNone;
}

int32_t resolve_host_name(const std::string& name, std::vector<uint32_t>& addresses) {
    addresses.clear();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    const int rc = getaddrinfo(name.c_str(), nullptr, &hints, &result);
    if (rc != 0) return resolver_code_of(rc);
    for (const addrinfo* a = result; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr) continue;
        addresses.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr));
    }
    freeaddrinfo(result);
    return addresses.empty() ? kNetErrNoData : kNetErrNone;
}

std::string socket_error_text(int32_t code) {
    if (code == kNetErrNotStarted) return "The network layer has not been started";
    for (const ResolverCode& r : kResolverCodes) {
        if (r.code == code) return gai_strerror(r.error);
    }
    // The first errno that maps to the code names it; unmapped codes are errno values.
    int error = static_cast<int>(code);
    for (const ErrnoCode& e : kErrnoCodes) {
        if (e.code == code) {
            error = e.error;
            break;
        }
    }
    if (error < 0 || error > 4095) return {};
    const char* text = strerrordesc_np(error);
    return text ? text : std::string();
}

}  // namespace tvk::platform
