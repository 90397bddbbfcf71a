#include "runtime/value/error_state.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/platform/this_process.h"
#include "runtime/value/program_settings.h"
#include "runtime/value/trace_log.h"
#include "runtime/value/value_hooks.h"

namespace tvk {

namespace {
// Set when the stop begins, so that a failure raised while the runtime shuts down
// returns to its caller instead of starting a second stop.
bool& stopping_flag() {
    static bool stopping = false;
    return stopping;
}

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

void log_number(int64_t value) {
    char line[24];
    std::snprintf(line, sizeof line, "%lld\n", static_cast<long long>(value));
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

bool runtime_stopping() { return stopping_flag(); }

void runtime_stop() {
    if (stopping_flag()) return;
    stopping_flag() = true;
    if (runtime_settings().debug_mode != 0) {
        const RuntimeErrorState& s = error_state();
        log_line("-End On Line\n");
        log_number(s.code);
        log_number(int64_t{s.error_line} - 1);
        log_number(s.current_line);
        log_number(s.current_module);
    }
    // shutdown_runtime releases every service through its own subsystem, the window
    // included, so nothing is left to repaint afterwards.
    shutdown_runtime_services();
    // A closed standard output (its reader gone) must not turn the exit into a signal death.
    platform::quiet_broken_pipe();
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

bool debugger_attached() { return platform::debugger_attached(); }

void debug_output(const RtString& text) {
    if (!platform::debugger_attached()) return;
    std::string line = "TX";
    line.append(text.data, text.length);
    platform::debug_output(line.data(), line.size());
}

void print_out(const RtString& text) { std::fputs(text.c_str(), stdout); }

void print_err(const RtString& text) { std::fputs(text.c_str(), stderr); }

}  // namespace tvk
