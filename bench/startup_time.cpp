// Start-up time: from the exec of a program to its K-th presented frame, measured
// from outside with a preloaded probe (bench/startup_probe) that reports every frame
// swap, the calls that bring up video, GL and audio, the files opened and the
// runtime's trace lines, each with its time. The program is ended once the frame has
// been seen.
//
//   bench_startup_time [--frame K] [--runs R] [--name NAME] [--timeline] -- program args...
//
// Prints one result line per run,
//   framework=tavrick workload=startup program=NAME frame=K first_swap_ms=... frame_ms=...
// and with --timeline the last run's events and its largest gaps between events
// (where the time went). A runtime program presents twice during its own start-up
// (the window's first frame and the start-up's), so its first own frame is frame 3.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Event {
    long long ns;
    std::string text;
};

long long now_ns() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Run {
    long long exec_ns = 0;
    std::vector<Event> events;
    double first_swap_ms = -1;
    double frame_ms = -1;
};

// Starts the program with the probe preloaded, collects its reports until the K-th
// swap (or the time limit), then ends it.
bool run_once(char** program, int frame, double limit_s, Run& run) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return false;
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        close(pipe_fds[0]);
        char fd_text[16];
        std::snprintf(fd_text, sizeof fd_text, "%d", pipe_fds[1]);
        setenv("TVK_PROBE_FD", fd_text, 1);
        setenv("LD_PRELOAD", TVK_STARTUP_PROBE, 1);
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%lld exec\n", now_ns());
        if (write(pipe_fds[1], line, static_cast<size_t>(n)) != n) _exit(127);
        execvp(program[0], program);
        _exit(127);
    }
    close(pipe_fds[1]);
    const long long give_up = now_ns() + static_cast<long long>(limit_s * 1e9);
    std::string pending;
    int swaps = 0;
    bool ended = false;
    long long end_by = 0;
    for (;;) {
        const long long now = now_ns();
        if (!ended && (swaps >= frame || now > give_up)) {
            kill(child, SIGTERM);
            ended = true;
            end_by = now + 5000000000LL;
        }
        if (ended && now > end_by) {
            kill(child, SIGKILL);
            break;
        }
        pollfd p{pipe_fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char buffer[4096];
        const ssize_t got = read(pipe_fds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        pending.append(buffer, static_cast<size_t>(got));
        size_t start = 0;
        for (size_t nl; (nl = pending.find('\n', start)) != std::string::npos; start = nl + 1) {
            const std::string line = pending.substr(start, nl - start);
            const size_t blank = line.find(' ');
            if (blank == std::string::npos) continue;
            Event e{std::atoll(line.c_str()), line.substr(blank + 1)};
            if (ended) continue;  // what comes after the measured frame is not kept
            if (e.text == "exec") {
                run.exec_ns = e.ns;
                continue;
            }
            if (e.text == "swap") ++swaps;
            run.events.push_back(e);
        }
        pending.erase(0, start);
    }
    close(pipe_fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    swaps = 0;
    for (const Event& e : run.events) {
        if (e.text != "swap") continue;
        ++swaps;
        const double ms = static_cast<double>(e.ns - run.exec_ns) / 1e6;
        if (swaps == 1) run.first_swap_ms = ms;
        if (swaps == frame) run.frame_ms = ms;
    }
    return run.frame_ms >= 0;
}

void print_timeline(const Run& run) {
    std::printf("\n  time ms  event (after exec)\n");
    for (const Event& e : run.events)
        std::printf("%9.2f  %s\n", static_cast<double>(e.ns - run.exec_ns) / 1e6, e.text.c_str());
    struct Gap {
        double ms;
        std::string from, to;
    };
    std::vector<Gap> gaps;
    long long last = run.exec_ns;
    std::string last_text = "exec";
    for (const Event& e : run.events) {
        gaps.push_back({static_cast<double>(e.ns - last) / 1e6, last_text, e.text});
        last = e.ns;
        last_text = e.text;
    }
    std::sort(gaps.begin(), gaps.end(), [](const Gap& a, const Gap& b) { return a.ms > b.ms; });
    std::printf("\n  largest gaps between events (ms)\n");
    for (size_t i = 0; i < gaps.size() && i < 10; ++i)
        std::printf("%9.2f  %s  ->  %s\n", gaps[i].ms, gaps[i].from.c_str(), gaps[i].to.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int frame = 3, runs = 1;
    bool timeline = false;
    std::string name;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--frame") && i + 1 < argc) {
            frame = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--name") && i + 1 < argc) {
            name = argv[++i];
        } else if (!std::strcmp(argv[i], "--timeline")) {
            timeline = true;
        }
    }
    if (i + 1 >= argc) {
        std::fprintf(stderr,
                     "usage: %s [--frame K] [--runs R] [--name NAME] [--timeline] -- program args...\n",
                     argv[0]);
        return 2;
    }
    char** program = argv + i + 1;
    if (name.empty()) {
        const char* slash = std::strrchr(program[0], '/');
        name = slash ? slash + 1 : program[0];
    }
    Run last;
    int failures = 0;
    for (int r = 0; r < runs; ++r) {
        Run run;
        if (!run_once(program, frame, 60.0, run)) {
            std::fprintf(stderr, "%s: frame %d not seen (%zu events)\n", name.c_str(), frame,
                         run.events.size());
            ++failures;
            continue;
        }
        std::printf("framework=tavrick workload=startup program=%s frame=%d first_swap_ms=%.1f "
                    "frame_ms=%.1f\n",
                    name.c_str(), frame, run.first_swap_ms, run.frame_ms);
        std::fflush(stdout);
        last = std::move(run);
    }
    if (timeline && !last.events.empty()) print_timeline(last);
    return failures == runs ? 1 : 0;
}
