// The socket service over Winsock 2. Its error codes are the runtime's own, so
// they pass through as WSAGetLastError gives them. Two Winsock habits are undone
// so that sockets behave as on other systems: a datagram socket would report a
// "connection reset" after one of its datagrams met a closed port, and a datagram
// longer than the buffer would be an error instead of arriving cut short.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mstcpip.h>
#include <windows.h>

#include "runtime/platform/sockets.h"
#include "runtime/platform/win32_text.h"

#ifndef WSA_FLAG_NO_HANDLE_INHERIT
#define WSA_FLAG_NO_HANDLE_INHERIT 0x80
#endif
#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif

namespace tvk::platform {

namespace {

int32_t last_code() { return WSAGetLastError(); }

SOCKET handle_of(Socket socket) { return static_cast<SOCKET>(static_cast<intptr_t>(socket)); }
Socket socket_of(SOCKET handle) {
    return handle == INVALID_SOCKET ? Socket::none : static_cast<Socket>(static_cast<intptr_t>(handle));
}

sockaddr_in system_address(SocketAddress address) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address.ip);
    a.sin_port = htons(address.port);
    return a;
}

SocketAddress runtime_address(const sockaddr_in& a) { return {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)}; }

int32_t set_option(Socket socket, int name, const void* value, int size) {
    return setsockopt(handle_of(socket), SOL_SOCKET, name, static_cast<const char*>(value), size) == 0
               ? kNetErrNone
               : last_code();
}

// Waits for one of the socket's sets; false on a timeout or a failed wait.
bool wait_for(Socket socket, bool read, bool write, int32_t timeout_ms, bool* failed = nullptr) {
    for (;;) {
        fd_set readable;
        fd_set writable;
        fd_set failures;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        FD_ZERO(&failures);
        if (read) FD_SET(handle_of(socket), &readable);
        if (write) FD_SET(handle_of(socket), &writable);
        FD_SET(handle_of(socket), &failures);
        timeval limit{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
        const int r = select(0, &readable, &writable, &failures, timeout_ms < 0 ? nullptr : &limit);
        if (r < 0 && WSAGetLastError() == WSAEINTR) continue;
        if (failed) *failed = r > 0 && FD_ISSET(handle_of(socket), &failures);
        // A connection attempt that failed shows in the failure set only.
        return r > 0;
    }
}

}  // namespace

int32_t sockets_start() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
}

int32_t sockets_stop() {
    if (WSACleanup() != 0) return last_code();
    return kNetErrNone;
}

int32_t open_socket(SocketKind kind, Socket& socket) {
    const bool stream = kind == SocketKind::stream;
    const SOCKET handle = WSASocketW(AF_INET, stream ? SOCK_STREAM : SOCK_DGRAM, stream ? IPPROTO_TCP : IPPROTO_UDP,
                                     nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    socket = socket_of(handle);
    if (handle == INVALID_SOCKET) return last_code();
    if (!stream) {
        BOOL report = FALSE;
        DWORD returned = 0;
        WSAIoctl(handle, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr, nullptr);
    }
    return kNetErrNone;
}

int32_t shutdown_socket(Socket socket) {
    return ::shutdown(handle_of(socket), SD_BOTH) == 0 ? kNetErrNone : last_code();
}

int32_t close_socket(Socket socket) { return closesocket(handle_of(socket)) == 0 ? kNetErrNone : last_code(); }

int32_t set_socket_blocking(Socket socket, bool blocking) {
    u_long non_blocking = blocking ? 0 : 1;
    return ioctlsocket(handle_of(socket), FIONBIO, &non_blocking) == 0 ? kNetErrNone : last_code();
}

int32_t set_reuse_address(Socket socket, bool on) {
    const BOOL value = on ? TRUE : FALSE;
    return set_option(socket, SO_REUSEADDR, &value, sizeof value);
}

int32_t set_broadcast(Socket socket, bool on) {
    const BOOL value = on ? TRUE : FALSE;
    if (set_option(socket, SO_BROADCAST, &value, sizeof value) == kNetErrNone) return kNetErrNone;
    // Some socket layers take this option as one byte only.
    const char byte = on ? 1 : 0;
    return set_option(socket, SO_BROADCAST, &byte, sizeof byte);
}

int32_t set_linger(Socket socket, bool on, int32_t seconds) {
    linger value{};
    value.l_onoff = on ? 1 : 0;
    value.l_linger = static_cast<u_short>(on ? seconds : 0);
    return set_option(socket, SO_LINGER, &value, sizeof value);
}

int32_t bind_socket(Socket socket, SocketAddress local) {
    const sockaddr_in a = system_address(local);
    return bind(handle_of(socket), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 ? kNetErrNone : last_code();
}

int32_t bound_address(Socket socket, SocketAddress& local) {
    sockaddr_in a{};
    int size = sizeof a;
    if (getsockname(handle_of(socket), reinterpret_cast<sockaddr*>(&a), &size) != 0) return last_code();
    local = runtime_address(a);
    return kNetErrNone;
}

int32_t listen_socket(Socket socket, int32_t backlog) {
    return listen(handle_of(socket), backlog) == 0 ? kNetErrNone : last_code();
}

int32_t accept_socket(Socket listening, Socket& accepted, SocketAddress& peer) {
    sockaddr_in a{};
    int size = sizeof a;
    SOCKET handle;
    do {
        handle = accept(handle_of(listening), reinterpret_cast<sockaddr*>(&a), &size);
    } while (handle == INVALID_SOCKET && WSAGetLastError() == WSAEINTR);
    accepted = socket_of(handle);
    if (handle == INVALID_SOCKET) return last_code();
    // An accepted socket takes the listener's non-blocking mode: it starts blocking here.
    SetHandleInformation(reinterpret_cast<HANDLE>(handle), HANDLE_FLAG_INHERIT, 0);
    set_socket_blocking(accepted, true);
    peer = runtime_address(a);
    return kNetErrNone;
}

int32_t connect_socket(Socket socket, SocketAddress peer, int32_t timeout_ms) {
    const sockaddr_in a = system_address(peer);
    if (connect(handle_of(socket), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return kNetErrNone;
    const int32_t code = last_code();
    if (code != WSAEWOULDBLOCK && code != WSAEINPROGRESS && code != WSAEINTR) return code;
    bool failed = false;
    if (!wait_for(socket, false, true, timeout_ms, &failed)) return kNetErrInProgress;
    if (!failed) return kNetErrNone;
    int failure = 0;
    int size = sizeof failure;
    if (getsockopt(handle_of(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&failure), &size) != 0) {
        failure = last_code();
    }
    return failure == 0 ? kNetErrConnectionRefused : failure;
}

bool wait_readable(Socket socket, int32_t timeout_ms) { return wait_for(socket, true, false, timeout_ms); }

bool wait_writable(Socket socket, int32_t timeout_ms) { return wait_for(socket, false, true, timeout_ms); }

int32_t send_bytes(Socket socket, const char* bytes, size_t size, size_t& sent) {
    int n;
    const int want = static_cast<int>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size);
    do {
        n = send(handle_of(socket), bytes, want, 0);
    } while (n < 0 && WSAGetLastError() == WSAEINTR);
    sent = n > 0 ? static_cast<size_t>(n) : 0;
    return n >= 0 ? kNetErrNone : last_code();
}

int32_t send_bytes_to(Socket socket, const char* bytes, size_t size, SocketAddress to, size_t& sent) {
    const sockaddr_in a = system_address(to);
    const int want = static_cast<int>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size);
    int n;
    do {
        n = sendto(handle_of(socket), bytes, want, 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    } while (n < 0 && WSAGetLastError() == WSAEINTR);
    sent = n > 0 ? static_cast<size_t>(n) : 0;
    return n >= 0 ? kNetErrNone : last_code();
}

int32_t receive_bytes(Socket socket, char* into, size_t size, size_t& received) {
    const int want = static_cast<int>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size);
    int n;
    do {
        n = recv(handle_of(socket), into, want, 0);
    } while (n < 0 && WSAGetLastError() == WSAEINTR);
    received = n > 0 ? static_cast<size_t>(n) : 0;
    return n >= 0 ? kNetErrNone : last_code();
}

int32_t receive_bytes_from(Socket socket, char* into, size_t size, size_t& received, SocketAddress& from) {
    sockaddr_in a{};
    int address_size = sizeof a;
    const int want = static_cast<int>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size);
    int n;
    do {
        n = recvfrom(handle_of(socket), into, want, 0, reinterpret_cast<sockaddr*>(&a), &address_size);
    } while (n < 0 && WSAGetLastError() == WSAEINTR);
    // A datagram longer than the buffer arrives cut to its size, as elsewhere.
    if (n < 0 && WSAGetLastError() == WSAEMSGSIZE) n = want;
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
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* result = nullptr;
    const int rc = GetAddrInfoW(wide_from_utf8(name).c_str(), nullptr, &hints, &result);
    // The resolver's failures are Winsock codes already; memory is the one exception.
    if (rc != 0) return rc == WSA_NOT_ENOUGH_MEMORY ? kNetErrNoBuffers : rc;
    for (const ADDRINFOW* a = result; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr) continue;
        addresses.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr));
    }
    FreeAddrInfoW(result);
    return addresses.empty() ? kNetErrNoData : kNetErrNone;
}

std::string socket_error_text(int32_t code) {
    if (code < 0) return {};
    std::string text = system_message(static_cast<unsigned long>(code));
    // Not every Windows (Wine among them) has a message for a network layer that
    // was never started; the runtime reports it with or without one.
    if (text.empty() && code == kNetErrNotStarted) text = "The network layer has not been started";
    return text;
}

}  // namespace tvk::platform
