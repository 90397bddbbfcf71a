// The background commands of the compiled program.
#include "runtime/gfx/background_commands.h"

#include <string>

#include "runtime/files/media_archive.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/error_state.h"

namespace tvk {

void use_screen_as_background() {
    if (OpenGLRainbows* device = graphics_device()) grab_background(*device, 0);
}

void load_background(const RtString& file_name) {
    clear_error();
    OpenGLRainbows* device = graphics_device();
    if (!device) {
        set_error(kErrNoSuchFile);
        return;
    }
    flush_draw_batch(*device);
    std::string path;
    if (resolve_media_path(media_archives().memory_files, file_name.c_str(), path, true) &&
        load_background_image(*device, 0, path)) {
        draw_background(*device, 0);
        return;
    }
    set_error(kErrNoSuchFile);
    free_background(*device, 0);
    set_clear_colour(*device, 0);
}

}  // namespace tvk
