#include "runtime/core/shutdown.h"

#include <unistd.h>

#include "runtime/core/core_state.h"
#include "runtime/core/named_handlers.h"
#include "runtime/core/service_hooks.h"
#include "runtime/core/trace_log.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/scene_3d.h"
#include "runtime/platform/system_ui.h"
#include "runtime/platform/window.h"

namespace tvk {

void shutdown_runtime() {
    CoreState& core = core_state();
    if (core.quit_notified == 0) {
        core.quit_notified = 1;
        call_by_name("TVK_ON_QUIT");
    }
    // The numbered-line and settings stores are saved on every way out, with or
    // without a window.
    service_write_back_stores();
    OpenGLRainbows* device = graphics_device();
    if (!device) return;
    log_line("Shut down TVK\n");
    service_close_music();
    if (!core.executable_folder.empty() && chdir(core.executable_folder.c_str()) != 0) {
        // Channels close wherever the process stands.
    }
    service_close_all_channels();
    service_release_network();
    service_release_input_devices();
    service_release_sound();
    service_delete_all_sprites(*device);
    // Shader objects belong to the context that is about to go.
    service_delete_all_shaders();
    // The window outlives the device: it is destroyed last, after the media temporaries.
    if (device->window == core.main_window) device->window = nullptr;
    destroy_graphics_device();
    destroy_scene_3d();
    service_release_media_archives();
    platform::set_screensaver_allowed(true);
    platform::destroy_window(core.main_window);
    core.main_window = nullptr;
    platform::video_stop();
    log_line("tvk is shut down\n");
}

void shutdown_runtime_after_failed_start() {
    destroy_graphics_device();
    platform::video_stop();
}

}  // namespace tvk
