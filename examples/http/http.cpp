// http: fetching a page over HTTP and showing it.
//
// Shows: download_text (the runtime's HTTP/1.0 client) with a size limit and a
// timeout, what a failure leaves in last_net_error_text, and taking arguments from
// the command line, which the runtime keeps as one text (command_line()). The fetch
// waits for its answer, so it happens between two frames; the frame before says so.
//
//   example-http [HOST [PORT [PATH]]]      (default: 127.0.0.1 8080 /hello.txt)
//
// example-http-page-server, built beside it, serves such a page on this machine:
// start it first (example-http-page-server 8080 &).
#include <tavrick/tavrick.h>

#include <sstream>
#include <string>
#include <vector>

namespace tvk {

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 640;
    s.screen_height = 480;
    s.frame_rate = 60;
    s.application_name = "Http";
}

// The words after the program's own name (simple words: no quoting).
std::vector<std::string> arguments() {
    std::istringstream words(command_line().c_str());
    std::vector<std::string> result;
    for (std::string word; words >> word;) result.push_back(word);
    if (!result.empty()) result.erase(result.begin());
    return result;
}

void program_main() {
    load_font("Media/small.png", 1);
    if (error_state().code != kErrSuccess) {
        print_err(string_concat("Media/small.png: ", error_text()));
        return;
    }
    const std::vector<std::string> args = arguments();
    const std::string host = args.size() > 0 ? args[0] : "127.0.0.1";
    const int32_t port = args.size() > 1 ? std::stoi(args[1]) : 8080;
    const std::string path = args.size() > 2 ? args[2] : "/hello.txt";

    std::vector<std::string> lines;
    std::string status = "fetching...";
    constexpr int32_t kKeyR = 19;
    bool fetch = true;
    for (int32_t frame = 0;; ++frame) {
        // Fetch on the frame after "fetching..." was shown; R fetches again.
        if (fetch && frame > 0) {
            const RtString body = download_text(host.c_str(), path.c_str(), port, 4000, 3000);
            lines.clear();
            std::istringstream text(body.c_str());
            for (std::string line; std::getline(text, line);) lines.push_back(line);
            // An empty body is also what a failure gives: the network error tells them apart.
            const RtString error = last_net_error_text();
            status = body.empty() && !error.empty() ? std::string("failed: ") + error.c_str()
                                                    : std::to_string(body.length) + " bytes";
            fetch = false;
        }
        if (key_down(kKeyR)) fetch = true, status = "fetching...";

        set_alpha_mode(-1);
        print_text("HTTP: a page fetched with download_text (R fetches again, Esc ends)", 20, 12, 1);
        // The port is left out: the tests start the server on any free one.
        print_text(("GET " + path + " from " + host + ": " + status).c_str(), 20, 40, 1);
        draw_rect(20, 70, 600, 380, 0x302018);
        for (size_t i = 0; i < lines.size() && i < 17; ++i) {
            print_text(lines[i].c_str(), 36, 84 + 21 * static_cast<int32_t>(i), 1);
        }
        flip_screen();
    }
}

}  // namespace tvk
