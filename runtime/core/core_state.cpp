#include "runtime/core/core_state.h"

namespace tvk {

CoreState& core_state() {
    static CoreState state;
    return state;
}

RtString command_line() { return core_state().command_line; }

}  // namespace tvk
