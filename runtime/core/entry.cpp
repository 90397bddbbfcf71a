#include "runtime/core/entry.h"

#include "runtime/core/program_settings.h"
#include "runtime/value/error_state.h"

namespace tvk {

int runtime_main(int /*argc*/, char** /*argv*/) {
    program_settings();
    error_state() = RuntimeErrorState{};
    program_main();
    runtime_stop();
    return 0;
}

}  // namespace tvk
