// The capture commands of the compiled program: grabbing the screen into sprites,
// saving sprites and the screen as image files, and sprites as integer arrays.
#include "runtime/gfx/capture_commands.h"

#include "runtime/gfx/image_writer.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

bool command_slot(int32_t slot) { return slot >= 0 && slot < kSpriteCommandSlots; }

}  // namespace

int32_t grab_sprite(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height) {
    OpenGLRainbows* device = graphics_device();
    return device && grab_sprite(*device, slot, x, y, width, height) ? 1 : 0;
}

int32_t save_sprite(const RtString& file_name, int32_t slot) {
    OpenGLRainbows* device = graphics_device();
    if (device) flush_draw_batch(*device);
    ImageBuffer image;
    if (device && command_slot(slot) && read_sprite_pixels(*device, slot, image) &&
        write_image_file(file_name.c_str(), image))
        return 1;
    set_error(kErrNoSuchFile);
    return 0;
}

int32_t save_screen(const RtString& file_name) {
    OpenGLRainbows* device = graphics_device();
    if (device) flush_draw_batch(*device);
    const int32_t slot = device ? free_sprite_index() : -1;
    if (slot < 0) {
        set_error(kErrNoSuchFile);
        return 0;
    }
    // The whole window, turned with the screen, whatever target is current.
    const DisplayState& display = device->display;
    const bool turned = device->screen.orientation == 1 || device->screen.orientation == 3;
    const int32_t w = turned ? display.window_height : display.window_width;
    const int32_t h = turned ? display.window_width : display.window_height;
    ImageBuffer image;
    const bool saved = grab_sprite(*device, slot, 0, 0, w, h) &&
                       read_sprite_pixels(*device, slot, image) &&
                       write_image_file(file_name.c_str(), image);
    delete_sprite(*device, slot);
    if (!saved) set_error(kErrNoSuchFile);
    return saved ? 1 : 0;
}

int32_t sprite_to_array(IntArray& pixels, int32_t slot) {
    OpenGLRainbows* device = graphics_device();
    if (device) flush_draw_batch(*device);
    ImageBuffer image;
    if (!device || !command_slot(slot) || !read_sprite_pixels(*device, slot, image)) return 0;
    image_to_packed_pixels(image, pixels);
    return 1;
}

}  // namespace tvk
