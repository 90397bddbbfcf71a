#include "runtime/core/shutdown.h"

#include "runtime/core/core_state.h"
#include "runtime/core/named_handlers.h"
#include "runtime/core/service_table.h"
#include "runtime/files/ini_store.h"
#include "runtime/files/line_store.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/platform/window.h"
#include "runtime/value/trace_log.h"

namespace tvk {

void shutdown_runtime() {
    CoreState& core = core_state();
    if (core.quit_notified == 0) {
        core.quit_notified = 1;
        call_by_name("TVK_ON_QUIT");
    }
    // The numbered-line and settings stores are saved on every way out, with or
    // without a window.
    write_back_line_store();
    write_back_ini_store();
    if (!graphics_device()) return;
    log_line("Shut down TVK\n");
    const auto rows = service_table();
    int32_t last_rank = 0;
    for (const ServiceSteps& row : rows) last_rank = row.stop_rank > last_rank ? row.stop_rank : last_rank;
    for (int32_t rank = 1; rank <= last_rank; ++rank) {
        for (const ServiceSteps& row : rows) {
            if (row.stop_rank == rank && row.stop) row.stop();
        }
    }
    log_line("tvk is shut down\n");
}

void shutdown_runtime_after_failed_start() {
    destroy_graphics_device();
    platform::video_stop();
}

}  // namespace tvk
