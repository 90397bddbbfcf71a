#include "runtime/net/http_client.h"

#include <chrono>
#include <string>

#include "runtime/files/file_record.h"
#include "runtime/net/host_names.h"
#include "runtime/net/http_response.h"
#include "runtime/net/net_errors.h"
#include "runtime/net/socket_table.h"

namespace tvk {

namespace {

constexpr int32_t kChunkBytes = 1023;
constexpr int32_t kLongestWaitMs = 30000;
constexpr int kIdlePollMs = 5;

// Where the body goes: a file, a text of fixed room, or both.
struct BodySink {
    FileRecord* file = nullptr;
    ResponseBodyText* text = nullptr;
    bool write_failed = false;

    void take(const char* bytes, size_t size) {
        if (file && !write_failed && file_write(*file, bytes, static_cast<int64_t>(size)) == 0) {
            write_failed = true;
            return;
        }
        if (text) text->take(bytes, size);
    }

    bool text_full() const { return text && text->full(); }
};

std::string request_text(const RtString& host, const RtString& path) {
    std::string request;
    request.reserve(host.length + path.length + 100);
    request += "GET ";
    request.append(path.data, path.length);
    request += " HTTP/1.0\r\nHost:";
    request.append(host.data, host.length);
    request += "\r\nAccept: */*\r\nUser-Agent: Tavrick\r\n\r\n";
    return request;
}

// Connects, sends the request and feeds the body to the sink. The network layer is
// started for the exchange and released again; on failure the last error stays the
// one that caused it.
bool exchange(const RtString& host, const RtString& path, int32_t port, BodySink& sink, int32_t timeout_ms) {
    if (net_init() == 0) return false;
    const int32_t wait_ms = (timeout_ms <= 0 || timeout_ms > kLongestWaitMs) ? kLongestWaitMs : timeout_ms;
    int32_t handle = -1;
    bool ok = false;
    do {
        platform::SocketAddress server;
        resolve_host_port(host, port == 0 ? 80 : port, server);
        if (server.ip == 0 && server.port == 0) break;
        handle = tcp_connect_address(server, timeout_ms);
        if (handle < 0) break;
        socket_set_blocking(handle, 0);
        const std::string request = request_text(host, path);
        if (socket_send(handle, RtString(request.c_str())) <= 0) break;

        ResponseHeaderSkipper headers;
        RtString chunk;
        auto last_byte = std::chrono::steady_clock::now();
        for (;;) {
            const int32_t n = socket_receive(handle, chunk, kChunkBytes);
            if (n == -2) {
                const auto idle = std::chrono::steady_clock::now() - last_byte;
                if (idle > std::chrono::milliseconds(wait_ms)) {
                    set_last_net_error(kNetErrTimedOut);
                    break;
                }
                socket_wait_readable(handle, kIdlePollMs);
                continue;
            }
            if (n == 0) {
                ok = true;
                break;
            }
            if (n < 0) break;
            last_byte = std::chrono::steady_clock::now();
            const size_t size = static_cast<size_t>(n);
            const size_t start = headers.body_start(chunk.data, size);
            if (start < size) sink.take(chunk.data + start, size - start);
            if (sink.write_failed) break;
            if (sink.text_full()) {
                ok = true;
                break;
            }
        }
    } while (false);

    if (handle >= 0) socket_close(handle);
    const int32_t error = last_net_error();
    net_shutdown();
    if (!ok) set_last_net_error(error);
    return ok;
}

}  // namespace

int32_t download_file(const RtString& host, const RtString& path, int32_t port, const RtString& file_name,
                      int32_t timeout_ms) {
    // The file is made anew (a file or empty folder of that name goes first), and
    // no other program may open it while the body arrives.
    FileRecord file;
    if (file_open_write(file, file_name.c_str()) == 0) return 0;
    BodySink sink;
    sink.file = &file;
    const bool ok = exchange(host, path, port, sink, timeout_ms);
    file_close(file);
    return ok ? 1 : 0;
}

RtString download_text(const RtString& host, const RtString& path, int32_t port, int32_t maximum,
                       int32_t timeout_ms) {
    if (maximum < 0) maximum = 0;
    ResponseBodyText body;
    body.room = static_cast<size_t>(maximum) + 1;
    body.text.reserve(body.room);
    BodySink sink;
    sink.text = &body;
    if (!exchange(host, path, port, sink, timeout_ms)) return RtString();
    return RtString(body.text.c_str());
}

}  // namespace tvk
