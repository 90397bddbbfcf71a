#include "runtime/core/core_state.h"

#include "runtime/core/program_commands.h"
#include "runtime/value/clock.h"

namespace tvk {

CoreState& core_state() {
    static CoreState state;
    return state;
}

double program_clock_ms() { return clock_ms() - core_state().start_time; }

RtString command_line() { return core_state().command_line; }

}  // namespace tvk
