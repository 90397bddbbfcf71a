#pragma once
// The BSD socket calls the network tests make for their own servers and probes,
// on Winsock as well: there the headers differ, a socket is closed with closesocket
// and waited for with WSAPoll, options are passed as bytes, and the socket layer is
// started once for the test program.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tvk::testing_support {

#ifdef _WIN32
// Nothing raises a signal for a peer that has gone.
inline constexpr int kNoSignal = 0;

inline const bool kWinsockStarted = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();

inline void close_test_socket(int fd) { closesocket(static_cast<SOCKET>(fd)); }

inline bool wait_readable_fd(int fd, int timeout_ms) {
    WSAPOLLFD p{static_cast<SOCKET>(fd), POLLRDNORM, 0};
    return WSAPoll(&p, 1, timeout_ms) > 0;
}
#else
inline constexpr int kNoSignal = MSG_NOSIGNAL;

inline void close_test_socket(int fd) { ::close(fd); }

inline bool wait_readable_fd(int fd, int timeout_ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeout_ms) > 0;
}
#endif

inline void set_no_delay(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

}  // namespace tvk::testing_support
