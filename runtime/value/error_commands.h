#pragma once
// The program's error state and its text, ending the program, the assertion and
// the output channels.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Error codes programs compare against.
enum ErrorCode : int32_t {
    kErrSuccess = 0,
    kErrNoSuchFile = 3,
    kErrOutOfMemory = 7,
    kErrArrayHasSecondDimension = 8,
    kErrOutOfBounds = 9,
    kErrOutOfData = 20,
    kErrAssertion = 21,
};

struct RuntimeErrorState {
    int32_t code = 0;
    int32_t error_line = 0;    // current_line when code was last set by set_error
    int32_t current_line = 0;  // last line announced through set_position
    int32_t current_module = 0;
};

RuntimeErrorState& error_state();

void set_error(int32_t code);
void clear_error();
// "%.4d %s": the four-digit code and its text ("0003 no such file").
RtString error_text();
void set_position(int32_t module, int32_t line);

// Ends the program normally: code 0, then the error stop, which shuts the runtime
// down, prints "exit" and ends the process with status 0.
void end_program();
// Zero ends the program with code 21 after reporting on the debug channel.
void assert_true(int32_t flag);

// Reaches an attached debugger only ("TX" + text, on standard error here).
void debug_output(const RtString& text);
void print_out(const RtString& text);
void print_err(const RtString& text);

}  // namespace tvk
