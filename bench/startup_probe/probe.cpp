// A library preloaded into a program whose start-up is being timed (by
// bench_startup_time). It stands between the program and a few library calls and
// reports each one, with the CLOCK_MONOTONIC time in ns, as a line on the file
// descriptor named by TVK_PROBE_FD:
//   <ns> swap                       a frame presented (SDL_GL_SwapWindow, glXSwapBuffers)
//   <ns> begin|end <call> [name]    around the calls that bring up video and GL, and dlopen
//   <ns> open <path>                a file opened by name
//   <ns> trace <text>               a line appended to the runtime's "ErrorLog.txt"
// Without TVK_PROBE_FD every call passes straight through.
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int report_fd = -1;
int trace_fd = -1;  // the runtime's trace file while it is open

using WriteFn = ssize_t (*)(int, const void*, size_t);

WriteFn real_write() {
    static auto fn = reinterpret_cast<WriteFn>(dlsym(RTLD_NEXT, "write"));
    return fn;
}

long long now_ns() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// One line; newlines inside the text become blanks so each event stays one line.
void report(const char* what, const char* text = nullptr, size_t length = 0) {
    if (report_fd < 0) return;
    char line[512];
    int n = std::snprintf(line, sizeof line, "%lld %s", now_ns(), what);
    if (text) {
        if (length == 0) length = std::strlen(text);
        if (n < static_cast<int>(sizeof line) - 2) line[n++] = ' ';
        for (size_t i = 0; i < length && n < static_cast<int>(sizeof line) - 1; ++i)
            line[n++] = (text[i] == '\n' || text[i] == '\r') ? ' ' : text[i];
    }
    while (n > 0 && line[n - 1] == ' ') --n;
    line[n++] = '\n';
    real_write()(report_fd, line, static_cast<size_t>(n));
}

__attribute__((constructor)) void start_probe() {
    if (const char* fd = std::getenv("TVK_PROBE_FD")) report_fd = std::atoi(fd);
    report("probe");
}

template <typename Fn>
Fn next(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

bool is_trace_file(const char* path) {
    const size_t n = path ? std::strlen(path) : 0;
    return n >= 12 && std::strcmp(path + n - 12, "ErrorLog.txt") == 0;
}

int opened(const char* path, int fd) {
    if (fd >= 0 && is_trace_file(path)) {
        trace_fd = fd;
    } else if (path && std::strncmp(path, "/proc/", 6) != 0 && std::strncmp(path, "/sys/", 5) != 0 &&
               std::strncmp(path, "/dev/", 5) != 0) {
        report("open", path);
    }
    return fd;
}

// The mode argument of open and open64, present only when the flags create a file.
mode_t mode_argument(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

FILE* fopened(const char* path, FILE* f) {
    if (f) opened(path, -1);
    return f;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    static auto fn = next<int (*)(const char*, int, ...)>("open");
    return opened(path, fn(path, flags, mode));
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    static auto fn = next<int (*)(const char*, int, ...)>("open64");
    return opened(path, fn(path, flags, mode));
}

FILE* fopen(const char* path, const char* mode) {
    static auto fn = next<FILE* (*)(const char*, const char*)>("fopen");
    return fopened(path, fn(path, mode));
}

FILE* fopen64(const char* path, const char* mode) {
    static auto fn = next<FILE* (*)(const char*, const char*)>("fopen64");
    return fopened(path, fn(path, mode));
}

ssize_t write(int fd, const void* data, size_t size) {
    if (fd >= 0 && fd == trace_fd) report("trace", static_cast<const char*>(data), size);
    return real_write()(fd, data, size);
}

int close(int fd) {
    static auto fn = next<int (*)(int)>("close");
    if (fd == trace_fd) trace_fd = -1;
    return fn(fd);
}

void* dlopen(const char* name, int flags) {
    static auto fn = next<void* (*)(const char*, int)>("dlopen");
    report("begin dlopen", name ? name : "(self)");
    void* handle = fn(name, flags);
    report("end dlopen", name ? name : "(self)");
    return handle;
}

void SDL_GL_SwapWindow(void* window) {
    static auto fn = next<void (*)(void*)>("SDL_GL_SwapWindow");
    fn(window);
    report("swap");
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    static auto fn = next<void (*)(void*, unsigned long)>("glXSwapBuffers");
    fn(display, drawable);
    report("swap");
}

int SDL_Init(unsigned flags) {
    static auto fn = next<int (*)(unsigned)>("SDL_Init");
    report("begin SDL_Init");
    const int result = fn(flags);
    report("end SDL_Init");
    return result;
}

int SDL_InitSubSystem(unsigned flags) {
    static auto fn = next<int (*)(unsigned)>("SDL_InitSubSystem");
    char what[32];
    std::snprintf(what, sizeof what, "0x%x", flags);
    report("begin SDL_InitSubSystem", what);
    const int result = fn(flags);
    report("end SDL_InitSubSystem", what);
    return result;
}

void* SDL_CreateWindow(const char* title, int x, int y, int w, int h, unsigned flags) {
    static auto fn = next<void* (*)(const char*, int, int, int, int, unsigned)>("SDL_CreateWindow");
    report("begin SDL_CreateWindow");
    void* window = fn(title, x, y, w, h, flags);
    report("end SDL_CreateWindow");
    return window;
}

void* SDL_GL_CreateContext(void* window) {
    static auto fn = next<void* (*)(void*)>("SDL_GL_CreateContext");
    report("begin SDL_GL_CreateContext");
    void* context = fn(window);
    report("end SDL_GL_CreateContext");
    return context;
}

int SDL_OpenAudioDevice(const char* device, int capture, const void* desired, void* obtained,
                        int changes) {
    static auto fn =
        next<int (*)(const char*, int, const void*, void*, int)>("SDL_OpenAudioDevice");
    report("begin SDL_OpenAudioDevice");
    const int id = fn(device, capture, desired, obtained, changes);
    report("end SDL_OpenAudioDevice");
    return id;
}

int Mix_OpenAudioDevice(int frequency, unsigned short format, int channels, int chunk_size,
                        const char* device, int changes) {
    static auto fn =
        next<int (*)(int, unsigned short, int, int, const char*, int)>("Mix_OpenAudioDevice");
    report("begin Mix_OpenAudioDevice");
    const int result = fn(frequency, format, channels, chunk_size, device, changes);
    report("end Mix_OpenAudioDevice");
    return result;
}

}  // extern "C"
