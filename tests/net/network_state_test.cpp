// The network state exists from start-up's network step to the shutdown's network
// step (or, in a program without start-up, from its first net_init); before and
// after, every command fails as it does before net_init.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/core/service_table.h"
#include "runtime/net/host_names.h"
#include "runtime/net/http_client.h"
#include "runtime/net/net_errors.h"
#include "runtime/net/socket_table.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using testing_support::TempDir;

const ServiceSteps* network_row() {
    for (const ServiceSteps& row : service_table()) {
        if (std::strcmp(row.name, "network") == 0) return &row;
    }
    return nullptr;
}

// Trace lines go into a fresh folder; whatever a test leaves of the state is released.
class NetworkState : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv(testing_support::kTempFolderVariable);
        had_tmpdir_ = old != nullptr;
        if (old) old_tmpdir_ = old;
        setenv(testing_support::kTempFolderVariable, trace_folder_.path().string().c_str(), 1);
    }
    void TearDown() override {
        release_network_state();
        if (had_tmpdir_) setenv(testing_support::kTempFolderVariable, old_tmpdir_.c_str(), 1);
        else unsetenv(testing_support::kTempFolderVariable);
    }
    TempDir trace_folder_;
    bool had_tmpdir_ = false;
    std::string old_tmpdir_;
};

TEST_F(NetworkState, CommandsWithoutTheStateFailAsBeforeStarting) {
    ASSERT_EQ(net_state(), nullptr);
    EXPECT_EQ(tcp_listen(0), -1);
    EXPECT_EQ(udp_open(0), -1);
    EXPECT_EQ(tcp_connect(RtString("127.0.0.1"), 80, 100), -1);
    RtString out("stale");
    int32_t peer = 77;
    EXPECT_EQ(socket_receive(0, out, 10), -1);
    EXPECT_EQ(out.length, 0u);
    EXPECT_EQ(socket_receive_all(0, out, 10), -1);
    EXPECT_EQ(socket_send(0, RtString("x")), -1);
    EXPECT_EQ(udp_send(0, RtString("x"), 0x7F000001, 9), -1);
    EXPECT_EQ(tcp_accept(0, peer), -1);
    EXPECT_EQ(peer, 77);
    EXPECT_EQ(socket_close(0), 0);
    EXPECT_EQ(socket_peer_ip(0), 0);
    EXPECT_EQ(socket_peer_port(0), 0);
    EXPECT_EQ(socket_set_blocking(0, 1), kNetErrNotStarted);
    EXPECT_EQ(last_net_error(), kNetErrNotStarted);
    EXPECT_STREQ(last_net_error_text().c_str(), "10093 The network layer has not been started");
    EXPECT_EQ(net_shutdown(), 0);
    net_shutdown_all();
    EXPECT_EQ(net_state(), nullptr);
}

// A program without the runtime's start-up (a console tool) starts the network with
// net_init, or with the calls that start it themselves, which make the table for it.
TEST_F(NetworkState, NetInitWithoutStartUpMakesTheTable) {
    ASSERT_EQ(net_state(), nullptr);
    EXPECT_EQ(net_init(), 1);
    ASSERT_NE(net_state(), nullptr);
    const int32_t listener = tcp_listen(0);
    EXPECT_GE(listener, 0);
    EXPECT_EQ(socket_close(listener), 1);
    EXPECT_EQ(net_shutdown(), 0);
    release_network_state();
    EXPECT_NE(local_addresses().length, 0u);
    EXPECT_NE(net_state(), nullptr);
}

TEST_F(NetworkState, StartStepCreatesItAndStopStepClosesEverySocketAndReleasesIt) {
    const ServiceSteps* row = network_row();
    ASSERT_NE(row, nullptr);
    ASSERT_NE(row->start, nullptr);
    ASSERT_NE(row->stop, nullptr);
    ASSERT_EQ(net_state(), nullptr);
    StartUp start_up;
    EXPECT_TRUE(row->start(start_up));
    EXPECT_EQ(trace_folder_.read("ErrorLog.txt"), "Network\n");
    ASSERT_NE(net_state(), nullptr);
    EXPECT_EQ(net_state()->start_count, 0) << "made, not started";

    // Two users of the layer: the stop closes the sockets whatever the count.
    ASSERT_EQ(net_init(), 1);
    ASSERT_EQ(net_init(), 1);
    const int32_t listener = tcp_listen(0);
    ASSERT_GE(listener, 0);
    const int32_t port = socket_peer_port(listener);
    ASSERT_GE(tcp_connect(RtString("127.0.0.1"), port, 2000), 0);
    row->stop();
    EXPECT_EQ(net_state(), nullptr);
    EXPECT_EQ(socket_peer_port(listener), 0);

    // The listener is gone: the port now refuses connections.
    create_network_state();
    ASSERT_EQ(net_init(), 1);
    EXPECT_EQ(tcp_connect(RtString("127.0.0.1"), port, 2000), -1);
    EXPECT_EQ(last_net_error(), kNetErrConnectionRefused);
}

}  // namespace
}  // namespace tvk
