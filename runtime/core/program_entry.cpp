// The two ways a program hands the process to the runtime. They live apart from the
// start-up itself because they call the program's own routines: only programs that
// supply program_settings and program_main link this file.
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/core/core_state.h"
#include "runtime/core/entry.h"
#include "runtime/core/hook_wiring.h"
#include "runtime/core/shutdown.h"
#include "runtime/platform/this_process.h"
#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"

namespace tvk {

namespace {

void clear_error_state() {
    RuntimeErrorState& s = error_state();
    s.code = 0;
    s.error_line = 0;
    s.current_line = 0;
}

}  // namespace

int runtime_main(int argc, char** argv) {
    // Before the program's settings routine: a stop from there already shuts down.
    connect_layer_hooks();
    core_state().command_line = RtString(platform::command_line(argc, argv).c_str());
    program_settings();
    const ProgramSettings& settings = runtime_settings();
    if (!init_runtime(nullptr, kShowDefault, settings.application_name.c_str())) {
        const char* name = argc > 0 ? argv[0] : "program";
        const char* slash = std::strrchr(name, '/');
        std::fprintf(stderr, "%s: cannot open a window: %s\n", slash ? slash + 1 : name,
                     init_failure_reason());
        std::fflush(stderr);
        shutdown_runtime_after_failed_start();
        return 1;
    }
    clear_error_state();
    program_main();
    runtime_stop();
    return 0;
}

int runtime_start_without_main() {
    connect_layer_hooks();
    program_settings();
    if (!init_runtime(nullptr, kShowNormal, runtime_settings().application_name.c_str())) return 0;
    clear_error_state();
    return 1;
}

}  // namespace tvk
