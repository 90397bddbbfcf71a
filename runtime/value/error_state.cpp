#include "runtime/value/error_state.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "runtime/core/program_settings.h"
#include "runtime/core/shutdown.h"
#include "runtime/core/trace_log.h"

namespace tvk {

namespace {
bool g_stopping = false;

const char* code_text(int32_t code) {
    switch (code) {
        case kErrSuccess: return "success";
        case kErrNoSuchFile: return "no such file";
        case kErrOutOfMemory: return "out of memory";
        case kErrOutOfBounds: return "out of bounds";
        case kErrOutOfData: return "out of data";
        default: return "unknown error";
    }
}

void log_number(int32_t value) {
    char line[16];
    std::snprintf(line, sizeof line, "%d\n", value);
    log_line(line);
}
}  // namespace

RuntimeErrorState& error_state() {
    static RuntimeErrorState state;
    return state;
}

void set_error(int32_t code) {
    RuntimeErrorState& s = error_state();
    s.error_line = s.current_line;
    s.code = code;
}

void clear_error() { error_state().code = 0; }

RtString error_text() {
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, "%.4d %s", error_state().code, code_text(error_state().code));
    return RtString(buffer);
}

void set_position(int32_t module, int32_t line) {
    error_state().current_module = module;
    error_state().current_line = line;
}

bool runtime_stopping() { return g_stopping; }

void runtime_stop() {
    if (g_stopping) return;
    g_stopping = true;
    if (runtime_settings().debug_mode != 0) {
        const RuntimeErrorState& s = error_state();
        log_line("-End On Line\n");
        log_number(s.code);
        log_number(s.error_line - 1);
        log_number(s.current_line);
        log_number(s.current_module);
    }
    shutdown_runtime();
    std::fputs("exit\n", stdout);
    std::fflush(nullptr);
    std::exit(0);
}

void end_program() {
    set_error(kErrSuccess);
    runtime_stop();
}

void assert_true(int32_t flag) {
    if (flag != 0) return;
    debug_output(RtString("Assertion: Value = 0\n"));
    set_error(kErrAssertion);
    runtime_stop();
}

bool debugger_attached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
    }
    return false;
}

void debug_output(const RtString& text) {
    if (!debugger_attached()) return;
    std::fputs("TX", stderr);
    std::fwrite(text.data, 1, text.length, stderr);
    std::fflush(stderr);
}

void print_out(const RtString& text) { std::fputs(text.c_str(), stdout); }

void print_err(const RtString& text) { std::fputs(text.c_str(), stderr); }

}  // namespace tvk
