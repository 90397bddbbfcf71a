#include "runtime/net/http_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/net/socket_table.h"
#include "support/temp_dir.h"
#include "support/test_sockets.h"

namespace tvk {
namespace {

using testing_support::close_test_socket;
using testing_support::TempDir;
using testing_support::wait_readable_fd;
using Clock = std::chrono::steady_clock;

// A small HTTP server on 127.0.0.1 for one test. For every connection it reads the
// request up to its blank line, sends the response in the given pieces with a pause
// between them (so that they arrive as separate reads), then closes. It stops when
// the test ends, and by itself after ten seconds.
class LoopbackHttpServer {
public:
    struct Options {
        std::vector<std::string> pieces;
        bool read_request = true;
        int hold_open_ms = 0;  // keep the connection open this long after the last piece
    };

    explicit LoopbackHttpServer(Options options) : options_(std::move(options)) {
        listener_ = static_cast<int>(socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener_, 8);
        socklen_t size = sizeof a;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~LoopbackHttpServer() {
        stop_ = true;
        thread_.join();
        close_test_socket(listener_);
    }

    int32_t port() const { return port_; }
    int connections() const { return connections_; }
    std::string request() {
        std::lock_guard<std::mutex> lock(mutex_);
        return request_;
    }

private:
    void run() {
        const auto end = Clock::now() + std::chrono::seconds(10);
        while (!stop_ && Clock::now() < end) {
            if (!wait_readable_fd(listener_, 20)) continue;
            const int fd = static_cast<int>(accept(listener_, nullptr, nullptr));
            if (fd < 0) continue;
            ++connections_;
            serve(fd);
            close_test_socket(fd);
        }
    }

    void serve(int fd) {
        testing_support::set_no_delay(fd);
        if (options_.read_request) {
            std::string text;
            const auto end = Clock::now() + std::chrono::seconds(3);
            char buffer[4096];
            while (text.find("\r\n\r\n") == std::string::npos && Clock::now() < end && !stop_) {
                if (!wait_readable_fd(fd, 20)) continue;
                const auto n = recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                text.append(buffer, static_cast<size_t>(n));
            }
            std::lock_guard<std::mutex> lock(mutex_);
            request_ = text;
        }
        for (size_t i = 0; i < options_.pieces.size(); ++i) {
            if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(30));
            send(fd, options_.pieces[i].data(), static_cast<int>(options_.pieces[i].size()), testing_support::kNoSignal);
        }
        const auto hold_end = Clock::now() + std::chrono::milliseconds(options_.hold_open_ms);
        while (!stop_ && Clock::now() < hold_end) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    Options options_;
    int listener_ = -1;
    int32_t port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    std::string request_;
};

const RtString kHost("127.0.0.1");

std::string text_of(const RtString& s) { return std::string(s.data, s.length); }

// Every test leaves the network layer as it found it: stopped. Without start-up,
// the test makes the network state itself.
class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { create_network_state(); }
    void TearDown() override {
        EXPECT_EQ(net_state()->start_count, 0);
        release_network_state();
    }
    TempDir dir_;
};

TEST_F(HttpClientTest, BodyStartsAfterTheBlankLineWhereverThePiecesSplit) {
    const std::string body = "first line\r\n\r\nstill the body\n\nend";
    const struct {
        const char* name;
        std::vector<std::string> pieces;
    } cases[] = {
        {"after CR LF CR LF", {"HTTP/1.0 200 OK\r\nServer: t\r\n\r\n", body}},
        {"between the CR LF pairs", {"HTTP/1.0 200 OK\r\nServer: t\r\n", "\r\n" + body}},
        {"inside the last CR LF", {"HTTP/1.0 200 OK\r\nServer: t\r\n\r", "\n" + body}},
        {"after LF LF", {"HTTP/1.0 200 OK\nServer: t\n\n", body}},
        {"between the LFs", {"HTTP/1.0 200 OK\nServer: t\n", "\n" + body}},
        {"one piece", {"HTTP/1.0 200 OK\r\n\r\n" + body}},
        {"body in several pieces", {"HTTP/1.0 200 OK\r\n\r\nfirst ", "line\r\n\r\nstill ", "the body\n\nend"}},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server({c.pieces});
        EXPECT_EQ(text_of(download_text(kHost, "/index.html", server.port(), 1000, 2000)), body) << c.name;
        EXPECT_EQ(server.request(),
                  "GET /index.html HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Tavrick\r\n\r\n")
            << c.name;
    }
}

TEST_F(HttpClientTest, TextStopsAtTheMaximumAndAtAZeroByte) {
    std::string body;
    for (int i = 0; i < 100; ++i) body += static_cast<char>('a' + i % 26);
    LoopbackHttpServer server({{"HTTP/1.0 200 OK\r\n\r\n" + body}});
    EXPECT_EQ(text_of(download_text(kHost, "/", server.port(), 10, 2000)), body.substr(0, 10));

    LoopbackHttpServer with_zero({{"HTTP/1.0 200 OK\r\n\r\nbefore", std::string("zero\0after", 10), "more"}});
    EXPECT_EQ(text_of(download_text(kHost, "/", with_zero.port(), 1000, 2000)), "beforezero")
        << "a zero byte ends the text for good, whatever pieces come after it";
}

TEST_F(HttpClientTest, FileGetsTheWholeBodyAndReplacesAnOldFile) {
    std::string body;
    for (int i = 0; i < 5000; ++i) body += static_cast<char>((i * 7) & 255);  // zero bytes too
    LoopbackHttpServer server({{"HTTP/1.0 200 OK\r\nContent-Type: x\r\n\r\n" + body.substr(0, 3000),
                                body.substr(3000)}});
    const std::string target = dir_.write("sub/data.bin", std::string(9000, 'o'));
    EXPECT_EQ(download_file(kHost, "/data.bin", server.port(), RtString(target.c_str()), 2000), 1);
    EXPECT_EQ(dir_.read("sub/data.bin"), body);

    // Written with the other separator, and over an empty folder of that name.
    std::filesystem::create_directory(dir_.path() / "folder");
    LoopbackHttpServer small({{"HTTP/1.0 200 OK\r\n\r\nsmall"}});
    const std::string backslashed = dir_.path().string() + "\\folder";
    EXPECT_EQ(download_file(kHost, "/", small.port(), RtString(backslashed.c_str()), 2000), 1);
    EXPECT_EQ(dir_.read("folder"), "small");
}

TEST_F(HttpClientTest, LongPathsAndHostsGetALargerRequest) {
    const std::string path = "/" + std::string(3000, 'p');
    LoopbackHttpServer server({{"HTTP/1.0 200 OK\r\n\r\nok"}});
    EXPECT_EQ(text_of(download_text(kHost, RtString(path.c_str()), server.port(), 100, 2000)), "ok");
    EXPECT_EQ(server.request(), "GET " + path +
                                    " HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Tavrick\r\n\r\n");
}

TEST_F(HttpClientTest, RefusedConnectionFails) {
    int port = 0;
    {
        LoopbackHttpServer gone(LoopbackHttpServer::Options{});
        port = gone.port();
    }
    EXPECT_EQ(text_of(download_text(kHost, "/", port, 100, 2000)), "");
    EXPECT_EQ(download_file(kHost, "/", port, RtString(dir_.file("refused.txt").c_str()), 2000), 0);
    EXPECT_EQ(net_state()->last_error, 10061) << "the cause survives the shutdown";
}

TEST_F(HttpClientTest, ServerClosingEarlyEndsTheBody) {
    LoopbackHttpServer partial({{"HTTP/1.0 200 OK\r\n\r\nhalf of the b"}});
    EXPECT_EQ(text_of(download_text(kHost, "/", partial.port(), 100, 2000)), "half of the b");

    LoopbackHttpServer silent(LoopbackHttpServer::Options{});
    EXPECT_EQ(text_of(download_text(kHost, "/", silent.port(), 100, 2000)), "");
    EXPECT_EQ(download_file(kHost, "/", silent.port(), RtString(dir_.file("empty.txt").c_str()), 2000), 1);
    EXPECT_EQ(dir_.read("empty.txt"), "");

    LoopbackHttpServer headers_only({{"HTTP/1.0 200 OK\r\nServer: t\r\n"}});
    EXPECT_EQ(text_of(download_text(kHost, "/", headers_only.port(), 100, 2000)), "");
}

TEST_F(HttpClientTest, ServerThatStopsSendingTimesOut) {
    LoopbackHttpServer stalled({{"HTTP/1.0 200 OK\r\n\r\nsome"}, true, 5000});
    const auto start = Clock::now();
    EXPECT_EQ(text_of(download_text(kHost, "/", stalled.port(), 100, 300)), "");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
}

TEST_F(HttpClientTest, MemoryNamesAndBadTargetsFailAtOnce) {
    LoopbackHttpServer server({{"HTTP/1.0 200 OK\r\n\r\nbody"}});
    EXPECT_EQ(download_file(kHost, "/", server.port(), RtString("mem://00000010.12345678"), 2000), 0);
    EXPECT_EQ(download_file(kHost, "/", server.port(), RtString(""), 2000), 0);
    EXPECT_EQ(download_file(kHost, "/", server.port(), RtString("/no/such/folder/file"), 2000), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(server.connections(), 0);
}

TEST_F(HttpClientTest, ProgramsNetworkReferenceIsKept) {
    ASSERT_EQ(net_init(), 1);
    const int32_t listener = tcp_listen(0);
    ASSERT_GE(listener, 0);
    LoopbackHttpServer server({{"HTTP/1.0 200 OK\r\n\r\nbody"}});
    EXPECT_EQ(text_of(download_text(kHost, "/", server.port(), 100, 2000)), "body");
    EXPECT_EQ(text_of(download_text(kHost, "/", 1, 100, 2000)), "");
    EXPECT_EQ(net_state()->start_count, 1);
    EXPECT_GT(socket_peer_port(listener), 0) << "the program's socket stays open";
    EXPECT_EQ(net_shutdown(), 0);
}

}  // namespace
}  // namespace tvk
