#include "runtime/net/socket_table.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <chrono>
#include <string>
#include <thread>

#include "runtime/net/host_names.h"
#include "runtime/net/net_errors.h"
#include "runtime/platform/sockets.h"
#include "support/test_sockets.h"

namespace tvk {
namespace {

constexpr int32_t kLoopback = 0x7F000001;

// Repeats a non-blocking step until it gives something other than "nothing yet",
// for at most two seconds.
template <typename Step>
int32_t retry(Step step, int32_t nothing_yet) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int32_t r = step();
    while (r == nothing_yet && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        r = step();
    }
    return r;
}

int32_t receive_waiting(int32_t handle, RtString& out, int32_t maximum) {
    return retry([&] { return socket_receive(handle, out, maximum); }, -2);
}

// A UDP port that was free a moment ago.
int32_t free_udp_port() {
    const int fd = static_cast<int>(socket(AF_INET, SOCK_DGRAM, 0));
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t size = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    testing_support::close_test_socket(fd);
    return ntohs(a.sin_port);
}

// Without start-up, each test makes the network state itself and releases it after.
class SocketTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        create_network_state();
        ASSERT_EQ(net_init(), 1);
    }
    void TearDown() override { release_network_state(); }

    // A connected pair over loopback: [client, server side].
    void connect_pair(int32_t& listener, int32_t& client, int32_t& server) {
        listener = tcp_listen(0);
        ASSERT_GE(listener, 0);
        const int32_t port = socket_peer_port(listener);
        ASSERT_GT(port, 0);
        client = tcp_connect(RtString("127.0.0.1"), port, 2000);
        ASSERT_GE(client, 0);
        int32_t peer = 0;
        server = retry([&] { return tcp_accept(listener, peer); }, -1);
        ASSERT_GE(server, 0);
        EXPECT_EQ(peer, kLoopback);
    }
};

TEST_F(SocketTableTest, TcpCarriesBytesBothWays) {
    int32_t listener, client, server;
    connect_pair(listener, client, server);
    EXPECT_EQ(socket_peer_ip(server), kLoopback);
    EXPECT_EQ(socket_peer_ip(client), kLoopback);
    EXPECT_EQ(socket_peer_port(client), socket_peer_port(listener));

    RtString got;
    EXPECT_EQ(socket_send(client, RtString("hello server")), 12);
    EXPECT_EQ(receive_waiting(server, got, 100), 12);
    EXPECT_STREQ(got.c_str(), "hello server");
    EXPECT_EQ(got.length, 12u);

    EXPECT_EQ(socket_send(server, RtString("hi client")), 9);
    EXPECT_EQ(receive_waiting(client, got, 4), 4) << "at most the maximum";
    EXPECT_STREQ(got.c_str(), "hi c");
    EXPECT_EQ(receive_waiting(client, got, 100), 5);
    EXPECT_STREQ(got.c_str(), "lient");

    EXPECT_EQ(socket_send(client, RtString("")), 0);
}

TEST_F(SocketTableTest, ReceiveReportsNothingWaitingAndClosedPeer) {
    int32_t listener, client, server;
    connect_pair(listener, client, server);
    RtString got("stale text");
    EXPECT_EQ(socket_receive(server, got, 100), -2);
    EXPECT_STREQ(got.c_str(), "");
    EXPECT_EQ(got.length, 0u);
    EXPECT_EQ(net_state()->last_error, kNetErrWouldBlock);

    ASSERT_EQ(socket_close(client), 1);
    got = RtString("stale");
    EXPECT_EQ(receive_waiting(server, got, 100), 0);
    EXPECT_EQ(got.length, 0u);
    EXPECT_EQ(socket_close(client), 0) << "closing twice";
}

TEST_F(SocketTableTest, ReceiveAllWaitsForEveryByte) {
    int32_t listener, client, server;
    connect_pair(listener, client, server);
    RtString got;
    EXPECT_EQ(socket_receive_all(server, got, 6), -2);
    EXPECT_EQ(got.length, 0u);

    std::thread late_sender([&] {
        socket_send(client, RtString("abc"));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        socket_send(client, RtString("def"));
    });
    const int32_t first = retry([&] { return socket_receive_all(server, got, 6); }, -2);
    late_sender.join();
    EXPECT_EQ(first, 6);
    EXPECT_STREQ(got.c_str(), "abcdef");

    socket_send(client, RtString("xy"));
    socket_close(client);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(socket_receive_all(server, got, 6), 0) << "the peer closed before all came";
    EXPECT_STREQ(got.c_str(), "xy");
}

TEST_F(SocketTableTest, UdpRecordsTheSenderOfEachDatagram) {
    const int32_t port = free_udp_port();
    const int32_t receiver = udp_open(port);
    ASSERT_GE(receiver, 0);
    EXPECT_EQ(socket_peer_port(receiver), port);
    const int32_t sender = udp_open(0);
    ASSERT_GE(sender, 0);

    EXPECT_EQ(udp_send(sender, RtString("ping"), kLoopback, port), 4);
    RtString got;
    EXPECT_EQ(receive_waiting(receiver, got, 100), 4);
    EXPECT_STREQ(got.c_str(), "ping");
    EXPECT_EQ(socket_peer_ip(receiver), kLoopback);
    const int32_t sender_port = socket_peer_port(receiver);
    EXPECT_GT(sender_port, 0);

    EXPECT_EQ(udp_send(receiver, RtString("pong"), socket_peer_ip(receiver), sender_port), 4);
    EXPECT_EQ(receive_waiting(sender, got, 100), 4);
    EXPECT_STREQ(got.c_str(), "pong");
    EXPECT_EQ(socket_peer_port(sender), port);

    EXPECT_EQ(socket_receive(receiver, got, 100), -2);
    EXPECT_EQ(socket_peer_ip(receiver), 0) << "a receive clears the last sender first";
    EXPECT_EQ(socket_send(sender, RtString("no destination")), -1);
    EXPECT_EQ(udp_send(sender, RtString("nowhere"), 0, 0), -1);
}

TEST_F(SocketTableTest, SecondInitKeepsSocketsThroughOneShutdown) {
    ASSERT_EQ(net_init(), 1);
    const int32_t listener = tcp_listen(0);
    ASSERT_GE(listener, 0);
    const int32_t port = socket_peer_port(listener);
    EXPECT_EQ(net_shutdown(), 1);
    EXPECT_EQ(socket_peer_port(listener), port);
    const int32_t client = tcp_connect(RtString("127.0.0.1"), port, 2000);
    EXPECT_GE(client, 0) << "the listener still answers";

    EXPECT_EQ(net_shutdown(), 0);
    EXPECT_EQ(socket_peer_ip(client), 0);
    EXPECT_EQ(socket_peer_port(listener), 0);
    EXPECT_EQ(socket_close(listener), 0);
    EXPECT_EQ(tcp_listen(0), -1) << "nothing opens before the layer starts";
    EXPECT_EQ(net_state()->last_error, kNetErrNotStarted);
    ASSERT_EQ(net_init(), 1);
}

TEST_F(SocketTableTest, FullTableFailsWithCodeEight) {
#ifndef _WIN32
    // Windows sets no limit on the sockets a process holds.
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < 1200 && limit.rlim_max >= 1200) {
        limit.rlim_cur = 1200;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    if (limit.rlim_cur < 1200) GTEST_SKIP() << "the process may not open enough files";
#endif
    for (int32_t i = 0; i < kSocketTableSize; ++i) ASSERT_EQ(udp_open(0), i);
    EXPECT_EQ(udp_open(0), -1);
    EXPECT_EQ(net_state()->last_error, kNetErrTableFull);
    EXPECT_EQ(tcp_listen(0), -1);
    EXPECT_EQ(tcp_connect(RtString("127.0.0.1"), 80, 100), -1);
    EXPECT_EQ(net_state()->last_error, kNetErrTableFull);
#ifdef _WIN32
    // The code, then the system's own message for it.
    EXPECT_EQ(last_net_error_text().c_str(), "8 " + platform::socket_error_text(8));
#else
    EXPECT_STREQ(last_net_error_text().c_str(), "8 Cannot allocate memory");
#endif

    ASSERT_EQ(socket_close(700), 1);
    EXPECT_EQ(udp_open(0), 700) << "the lowest free entry is reused";
}

TEST_F(SocketTableTest, BadHandlesFailWithoutTouchingTheTable) {
    const int32_t open_handle = udp_open(0);
    ASSERT_EQ(open_handle, 0);
    for (int32_t handle : {-1, -100000, kSocketTableSize, 5000, 1}) {
        RtString out("stale");
        int32_t peer = 77;
        EXPECT_EQ(socket_send(handle, RtString("x")), -1) << handle;
        EXPECT_EQ(udp_send(handle, RtString("x"), kLoopback, 9), -1) << handle;
        EXPECT_EQ(socket_receive(handle, out, 10), -1) << handle;
        EXPECT_EQ(out.length, 0u) << handle;
        EXPECT_EQ(socket_receive_all(handle, out, 10), -1) << handle;
        EXPECT_EQ(socket_close(handle), 0) << handle;
        EXPECT_EQ(socket_peer_ip(handle), 0) << handle;
        EXPECT_EQ(socket_peer_port(handle), 0) << handle;
        EXPECT_EQ(tcp_accept(handle, peer), -1) << handle;
        EXPECT_EQ(peer, 77) << handle;
        EXPECT_EQ(socket_set_blocking(handle, 1), kNetErrNotSocket) << handle;
    }
    int32_t peer = 0;
    EXPECT_EQ(tcp_accept(open_handle, peer), -1) << "a UDP entry does not accept";
    EXPECT_EQ(net_state()->last_error, 0);
    EXPECT_EQ(socket_set_blocking(open_handle, 1), 0);
}

TEST_F(SocketTableTest, RefusedConnectionStoresItsError) {
    const int32_t listener = tcp_listen(0);
    const int32_t port = socket_peer_port(listener);
    socket_close(listener);
    EXPECT_EQ(tcp_connect(RtString("127.0.0.1"), port, 2000), -1);
    EXPECT_EQ(net_state()->last_error, kNetErrConnectionRefused);
#ifdef _WIN32
    EXPECT_EQ(last_net_error_text().c_str(), "10061 " + platform::socket_error_text(10061));
#else
    EXPECT_STREQ(last_net_error_text().c_str(), "10061 Connection refused");
#endif
    EXPECT_EQ(socket_peer_ip(0), 0) << "the half-made entry is free again";
}

TEST_F(SocketTableTest, ConnectionThatNeverCompletesTimesOut) {
    // A listener that never accepts and has a full queue leaves further attempts
    // unanswered.
    const int fd = static_cast<int>(socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(fd, 0), 0);
    socklen_t size = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    const int32_t port = ntohs(a.sin_port);
    int32_t handle = 0;
    int32_t completed = 0;  // attempts the queue still took, in entries 0, 1, ...
    for (int attempt = 0; attempt < 8 && handle >= 0; ++attempt) {
        handle = tcp_connect(RtString("127.0.0.1"), port, 300);
        if (handle >= 0) ++completed;
    }
    testing_support::close_test_socket(fd);
    if (handle >= 0) GTEST_SKIP() << "this system completes connections beyond the queue";
    EXPECT_EQ(net_state()->last_error, kNetErrInProgress);
    EXPECT_EQ(socket_peer_ip(completed), 0) << "the half-made entry is free again";
}

// The network state a program gets from start-up, made here.
class HostNames : public ::testing::Test {
protected:
    void SetUp() override { create_network_state(); }
    void TearDown() override { release_network_state(); }
};

TEST_F(HostNames, DottedTexts) {
    const struct {
        int32_t address;
        const char* text;
    } cases[] = {
        {kLoopback, "127.0.0.1"},
        {0, "0.0.0.0"},
        {-1, "255.255.255.255"},
        {static_cast<int32_t>(0xC0A8010Au), "192.168.1.10"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(ip_to_text(c.address).c_str(), c.text);
        if (c.address != 0 && c.address != -1) {
            EXPECT_EQ(resolve_host(RtString(c.text)), c.address);
        }
    }
    EXPECT_EQ(resolve_host(RtString("localhost")), kLoopback);
}

TEST_F(HostNames, JoiningAddressesPutsLoopbackLastAndStopsAtTheLimit) {
    int count = -1;
    EXPECT_EQ(join_local_addresses({}, '|', count), "");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(join_local_addresses({0x7F000001, 0x0A000002, 0x7F000001, 0xC0A80001}, '|', count),
              "10.0.0.2|192.168.0.1|127.0.0.1|");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(join_local_addresses({0x7F000001}, '\n', count), "127.0.0.1\n");

    // "100.100.100.100|" is 16 characters: 127 of them fit in 2047, the 128th not.
    const std::vector<uint32_t> many(200, 0x64646464);
    const std::string text = join_local_addresses(many, '|', count);
    EXPECT_EQ(count, 127);
    EXPECT_EQ(text.size(), 127u * 16);
}

TEST_F(HostNames, LocalAddressesAreDottedTextsWithoutTrailingSeparator) {
    const std::string text = local_addresses().c_str();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '|');
    const size_t loopback = text.find("127.0.0.1");
    if (loopback != std::string::npos) {
        EXPECT_EQ(loopback + 9, text.size()) << text;
    }
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('|', start);
        const std::string item = text.substr(start, end - start);
        in_addr parsed{};
        EXPECT_EQ(inet_pton(AF_INET, item.c_str(), &parsed), 1) << item;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    EXPECT_EQ(net_state()->start_count, 0) << "the layer is started only for the query";
}

}  // namespace
}  // namespace tvk
