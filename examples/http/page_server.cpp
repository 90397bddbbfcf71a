// http page server: a tiny HTTP server for the http example to fetch from, built on
// the runtime's own sockets. A plain console program: it links only tavrick and has
// its own main, since it opens no window.
//
// Shows: net_init, tcp_listen (port 0 takes any free port; socket_peer_port on the
// listening handle tells which), polling tcp_accept, reading a request with
// socket_receive until its blank line, and answering with socket_send.
//
//   example-http-page-server [PORT]     (default 8080; it serves until stopped)
#include <tavrick/tavrick.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

const char* const kPage =
    "Hello over HTTP!\n"
    "\n"
    "This page came from example-http-page-server, a console\n"
    "program on the runtime's own sockets: tcp_listen, tcp_accept,\n"
    "socket_receive and socket_send.\n"
    "\n"
    "The window fetched it with download_text, the runtime's\n"
    "HTTP client (download_file saves a page to a file instead).\n";

// The path of "GET /path HTTP/1.0", or "" for anything else.
std::string requested_path(const std::string& request) {
    if (request.compare(0, 4, "GET ") != 0) return "";
    const size_t end = request.find(' ', 4);
    return end == std::string::npos ? "" : request.substr(4, end - 4);
}

void answer(int32_t client) {
    // The request ends with a blank line; give a slow client two seconds for it.
    std::string request;
    tvk::RtString chunk;
    for (int waits = 0; request.find("\r\n\r\n") == std::string::npos && waits < 400;) {
        const int32_t n = tvk::socket_receive(client, chunk, 1024);
        if (n == -2) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ++waits;
            continue;
        }
        if (n <= 0) break;  // closed, or an error
        request.append(chunk.data, static_cast<size_t>(n));
    }
    const std::string path = requested_path(request);
    const bool found = path == "/" || path == "/hello.txt";
    const std::string body = found ? kPage : "There is no page " + path + " here.\n";
    const std::string response = std::string(found ? "HTTP/1.0 200 OK" : "HTTP/1.0 404 Not Found") +
                                 "\r\nContent-Type: text/plain\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\n\r\n" + body;
    tvk::socket_send(client, response.c_str());
    tvk::socket_close(client);
    std::printf("%s %s\n", path.empty() ? "(no request)" : path.c_str(), found ? "200" : "404");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int32_t port = argc > 1 ? std::atoi(argv[1]) : 8080;
    tvk::net_init();
    // Listens on every interface of the machine, not only on 127.0.0.1.
    const int32_t listener = tvk::tcp_listen(port);
    if (listener < 0) {
        std::fprintf(stderr, "cannot listen on port %d: %s\n", port, tvk::last_net_error_text().c_str());
        return 1;
    }
    std::printf("serving on port %d\n", tvk::socket_peer_port(listener));
    std::fflush(stdout);
    for (;;) {
        int32_t peer_address = 0;
        const int32_t client = tvk::tcp_accept(listener, peer_address);  // -1 while nobody calls
        if (client >= 0) {
            answer(client);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}
